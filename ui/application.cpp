#include "ui/application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool LoadQtTranslations(QCoreApplication& app)
{
    // Parented to the application: it must live as long as the texts are used.
    auto* qt = new QTranslator(&app);
    if (!qt->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}
