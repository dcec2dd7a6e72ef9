// Small shared dialogs: one number, one line of text, the open and save file
// dialogs, and showing a file in the file manager.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/wnd.h"

// Dialog "値の入力": one number between a minimum and a maximum.
class DLG_INPUT : public DLG_CLASS {
public:
    enum { IDC_EDIT = 1077, IDC_SPIN = 1078 };
    DLG_INPUT(int* value, int minimum, int maximum, const QString& title);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    int* m_pValue;
    int m_nMin, m_nMax;
};

// Dialog "テキストの入力": one line of text.
class DLG_INPUT_STR : public DLG_CLASS {
public:
    enum { IDC_EDIT = 1077 };
    DLG_INPUT_STR(std::string* text, int maxLength, bool messageChars, const QString& title);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    std::string* m_pText;
    int m_nMaxLength;
    bool m_bMessageChars;
};

// Asks for a number; 1 for OK (value set), 0 for Cancel. database: the owner is
// the database window.
int InputValue(WND_CLASS* owner, bool database, int& value, int minimum, int maximum, const std::string& title);
// Asks for one line of text of at most maxLength bytes (and, with messageChars,
// at most maxLength message characters).
int InputText(WND_CLASS* owner, bool database, std::string& text, int maxLength, bool messageChars,
              const std::string& title);

// Filter entries: display text and pattern (CP932), e.g. "StageFile ( *.stg2 )", "*.stg2".
using FileFilter = std::vector<std::pair<std::string, std::string>>;
// The Qt filter string of the entries ("StageFile ( *.stg2 ) (*.stg2);;...").
QString QtFileFilter(const FileFilter& filter);

// The open-file dialog; the chosen file (a stored path) goes into path. With a
// result list several files may be chosen, each added as "folder\name".
int OpenFileDialog(WND_CLASS* owner, std::string& path, const std::string& initialFolder, const std::string& title,
                   const FileFilter& filter, const std::string& defaultExt,
                   std::vector<std::string>* results = nullptr);
// The save-file dialog; path is cleared first unless keepPath is set.
int SaveFileDialog(WND_CLASS* owner, std::string& path, const std::string& initialFolder, const std::string& title,
                   const FileFilter& filter, const std::string& defaultExt, bool keepPath = false);
// Opens the file manager on the folder of the file (a stored path).
void ShowInExplorer(const std::string& path, WND_CLASS* owner);
