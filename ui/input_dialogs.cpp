#include "ui/input_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <memory>

#include "base/paths.h"
#include "ui/controls.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

namespace {

// One instance of each input dialog at a time.
std::unique_ptr<DLG_INPUT> g_input;
std::unique_ptr<DLG_INPUT_STR> g_inputStr;

QWidget* OwnerWidget(WND_CLASS* owner) { return owner ? owner->Widget() : nullptr; }

}  // namespace

DLG_INPUT::DLG_INPUT(int* value, int minimum, int maximum, const QString& title)
    : m_pValue(value), m_nMin(minimum), m_nMax(maximum)
{
    SetTitle(title);
}

void DLG_INPUT::Build(QDialog* dialog)
{
    auto* layout = new QGridLayout(dialog);
    auto* edit = new QLineEdit(dialog);
    auto* spin = new UpDownWidget(dialog);
    layout->addWidget(edit, 0, 0);
    layout->addWidget(spin, 0, 1);
    layout->addLayout(OkCancelRow(this, dialog), 1, 0, 1, 2);
    AddItem(IDC_EDIT, edit);
    AddItem(IDC_SPIN, spin);
}

void DLG_INPUT::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    (new CTRL_EDITVAL_CLASS<int>)->Attach(this, IDC_EDIT, m_pValue, m_nMin, m_nMax, IDC_SPIN, 1);
    UpdateAll();
    Control<CTRL_EDITVAL_CLASS<int>>(IDC_EDIT)->SelectAll();
    Item(IDC_EDIT)->setFocus();
}

void DLG_INPUT::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    StandardButtons(id);
}

DLG_INPUT_STR::DLG_INPUT_STR(std::string* text, int maxLength, bool messageChars, const QString& title)
    : m_pText(text), m_nMaxLength(maxLength), m_bMessageChars(messageChars)
{
    SetTitle(title);
}

void DLG_INPUT_STR::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* edit = new QLineEdit(dialog);
    edit->setMinimumWidth(240);
    layout->addWidget(edit);
    layout->addLayout(OkCancelRow(this, dialog));
    AddItem(IDC_EDIT, edit);
}

void DLG_INPUT_STR::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    // The single line is as wide as the length allows (in message characters
    // when those are asked for).
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_EDIT, m_pText, m_nMaxLength, m_nMaxLength, 1, m_bMessageChars);
    UpdateAll();
    Control<CTRL_EDITSTR_CLASS>(IDC_EDIT)->SelectAll();
    Item(IDC_EDIT)->setFocus();
}

void DLG_INPUT_STR::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    StandardButtons(id);
}

int InputValue(WND_CLASS* owner, bool /*database*/, int& value, int minimum, int maximum, const std::string& title)
{
    int work = value;
    g_input = std::make_unique<DLG_INPUT>(&work, minimum, maximum, ToQt(title));
    g_input->SetupWindow(0, OwnerWidget(owner), owner);
    g_input->SetOwner(owner, true);
    if (g_input->DoModal() != 1)
        return 0;
    value = work;
    return 1;
}

int InputText(WND_CLASS* owner, bool /*database*/, std::string& text, int maxLength, bool messageChars,
              const std::string& title)
{
    std::string work = text;
    g_inputStr = std::make_unique<DLG_INPUT_STR>(&work, maxLength, messageChars, ToQt(title));
    g_inputStr->SetupWindow(0, OwnerWidget(owner), owner);
    g_inputStr->SetOwner(owner, true);
    if (g_inputStr->DoModal() != 1)
        return 0;
    text = work;
    return 1;
}

QString QtFileFilter(const FileFilter& filter)
{
    QStringList parts;
    for (const auto& [display, pattern] : filter) {
        QString patterns = ToQt(pattern);
        patterns.replace(';', ' ');
        parts << ToQt(display) + " (" + patterns + ")";
    }
    return parts.join(";;");
}

namespace {

QString HostFolder(const std::string& stored)
{
    if (stored.empty())
        return QString();
    return QString::fromUtf8(HostPath(stored));
}

std::string StoredFromQt(const QString& host) { return StoredPath(host.toUtf8().toStdString()); }

void SetupFileDialog(QFileDialog& d, const std::string& title, const FileFilter& filter,
                     const std::string& defaultExt)
{
    d.setWindowTitle(ToQt(title));
    // The platform's own dialog cannot be driven by the editor's key rules.
    d.setOption(QFileDialog::DontUseNativeDialog, true);
    // The file-type box shows each filter's own text only ("StageFile ( *.stg2 )"),
    // without the patterns Qt would add to it once more.
    d.setOption(QFileDialog::HideNameFilterDetails, true);
    d.setNameFilter(QtFileFilter(filter));
    d.setDefaultSuffix(ToQt(defaultExt));
}

}  // namespace

int OpenFileDialog(WND_CLASS* owner, std::string& path, const std::string& initialFolder, const std::string& title,
                   const FileFilter& filter, const std::string& defaultExt, std::vector<std::string>* results)
{
    QFileDialog d(OwnerWidget(owner), QString(), HostFolder(initialFolder));
    SetupFileDialog(d, title, filter, defaultExt);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(results ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return 0;
    QStringList files = d.selectedFiles();
    path = StoredFromQt(files.front());
    if (results) {
        for (const QString& f : files) {
            QFileInfo info(f);
            results->push_back(StoredFromQt(info.absolutePath()) + "\\" + StoredFromQt(info.fileName()));
        }
    }
    return 1;
}

int SaveFileDialog(WND_CLASS* owner, std::string& path, const std::string& initialFolder, const std::string& title,
                   const FileFilter& filter, const std::string& defaultExt, bool keepPath)
{
    if (!keepPath)
        path.clear();
    QFileDialog d(OwnerWidget(owner), QString(), HostFolder(initialFolder));
    SetupFileDialog(d, title, filter, defaultExt);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    if (!path.empty())
        d.selectFile(ToQt(FileNamePart(path)));
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return 0;
    path = StoredFromQt(d.selectedFiles().front());
    return 1;
}

void ShowInExplorer(const std::string& path, WND_CLASS* /*owner*/)
{
    QFileInfo info(QString::fromUtf8(HostPath(path)));
    QDesktopServices::openUrl(QUrl::fromLocalFile(info.absolutePath()));
}
