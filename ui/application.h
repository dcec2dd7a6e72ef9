// The editor's application object: the message filter of the window framework
// runs on every event before Qt delivers it.
#pragma once

#include <QApplication>

class EditorApplication : public QApplication {
public:
    EditorApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* e) override;
};

// Qt's own texts (standard buttons, the file dialog) in Japanese, from Qt's
// translations "qtbase_ja"; false when they are not installed.
bool LoadQtTranslations(QCoreApplication& app);
