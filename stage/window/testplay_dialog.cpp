#include "stage/window/testplay_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/test_play.h"
#include "base/paths.h"
#include "base/text.h"
#include "project/project.h"
#include "ui/controls.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

namespace {

// The controls of the settings, in the order of TestPlayOptions.
constexpr int kOptionIds[] = {DLG_TESTPLAY::IDC_NO_GROWTH, DLG_TESTPLAY::IDC_NO_SENSE, DLG_TESTPLAY::IDC_SKILL,
                              DLG_TESTPLAY::IDC_SKILL_LEVEL, DLG_TESTPLAY::IDC_TRAINING};

}  // namespace

DLG_TESTPLAY::DLG_TESTPLAY()
{
    SetTitle(QStringLiteral("テストプレイの設定"));
    chooseFile = [this](std::string& path, const FileQuestion& q) {
        return OpenFileDialog(this, path, q.folder, q.title, q.filter, q.defaultExt) != 0;
    };
}

void DLG_TESTPLAY::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);

    auto* pathFrame = new QGroupBox(QStringLiteral("テストプレイ用のゲームプログラムのパス"), dialog);
    auto* pathLayout = new QHBoxLayout(pathFrame);
    auto* autoFind = new QCheckBox(QStringLiteral("自動で取得"), pathFrame);
    auto* path = new QLineEdit(pathFrame);
    path->setMinimumWidth(240);
    auto* browse = new QPushButton(QStringLiteral("参照"), pathFrame);
    pathLayout->addWidget(autoFind);
    pathLayout->addWidget(path, 1);
    pathLayout->addWidget(browse);
    layout->addWidget(pathFrame);
    AddItem(IDC_AUTO, autoFind);
    AddItem(IDC_PATH, path);
    AddItem(IDC_BROWSE, browse);

    auto* playFrame = new QGroupBox(QStringLiteral("テストプレイ時のみ有効な設定"), dialog);
    auto* grid = new QGridLayout(playFrame);
    int row = 0;
    for (std::size_t i = 0; i < TestPlayOptions().size(); ++i) {
        const TestPlayOption& o = TestPlayOptions()[i];
        QWidget* w;
        if (o.texts.empty()) {
            w = new QCheckBox(QString::fromUtf8(o.label), playFrame);
            grid->addWidget(w, row++, 0, 1, 2);
        } else {
            auto* combo = new QComboBox(playFrame);
            combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            w = combo;
            grid->addWidget(new QLabel(QString::fromUtf8(o.label), playFrame), row, 0);
            grid->addWidget(w, row++, 1);
        }
        AddItem(kOptionIds[i], w);
    }
    layout->addWidget(playFrame);

    layout->addLayout(OkCancelRow(this, dialog));
}

void DLG_TESTPLAY::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Settings.CopyFrom(TheProject().m_TestPlay);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_AUTO, &m_Settings.m_bAutoFind);
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_PATH, &m_Settings.m_GamePath, 260);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_BROWSE);
    for (std::size_t i = 0; i < TestPlayOptions().size(); ++i) {
        const TestPlayOption& o = TestPlayOptions()[i];
        if (o.texts.empty()) {
            (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, kOptionIds[i], &(m_Settings.*o.member));
            continue;
        }
        auto* combo = new CTRL_COMBO_CLASS<int32_t>;
        combo->Attach(this, kOptionIds[i], &(m_Settings.*o.member));
        std::vector<std::string> texts;
        for (const char* t : o.texts)
            texts.push_back(Utf8ToCp932(t));
        combo->SetItems(texts);
    }
    UpdateAll();
    EnablePath();
}

void DLG_TESTPLAY::EnablePath()
{
    if (auto* autoFind = qobject_cast<QCheckBox*>(Item(IDC_AUTO)))
        if (QWidget* path = Item(IDC_PATH))
            path->setEnabled(!autoFind->isChecked());
}

void DLG_TESTPLAY::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    switch (id) {
    case IDC_AUTO: EnablePath(); break;
    case IDC_BROWSE: {
        FileQuestion q;
        q.title = SJ("ゲームプログラムの選択");
        q.folder = ".\\";
        // Programs here carry no extension: every file is offered.
        q.filter = {{"Program ( * )", "*"}};
        std::string path;
        if (chooseFile && chooseFile(path, q) && MakeRelative(path))
            if (auto* edit = qobject_cast<QLineEdit*>(Item(IDC_PATH)))
                edit->setText(ToQt(path));
        break;
    }
    case IDC_OK:
        StoreAll();
        TheProject().m_TestPlay.CopyFrom(m_Settings);
        TheProject().m_TestPlay.SaveFile(ProjectFile::TestPlay);
        Close(1);
        break;
    case IDC_CANCEL: Close(0); break;
    default: break;
    }
}
