// The action palette as the event editor's menu reaches it: the submenus, the
// palette dialog after "新規保存" and from "アクションパレットの並べ替え", Cancel
// and OK with the palette file.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "events/action_kinds.h"
#include "events/window/action_palette_dialog.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"

namespace {

const char* kPath = "EventActionPlt.dat";

cEventActPlt Entry(const std::string& name, std::vector<int32_t> kinds)
{
    cEventActPlt e;
    e.m_Name = Utf8ToCp932(name);
    for (int32_t k : kinds)
        e.m_Actions.push_back(cEventAct(k));
    return e;
}

ActionPalette Palette(int count)
{
    ActionPalette palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back(Entry("P" + std::to_string(i + 1), {Act::Wait}));
        palette.back().m_Actions[0].m_Ints[0] = i + 1;
    }
    return palette;
}

// The item of the open modal dialog with the id.
template <class W>
W* ItemOf(int id)
{
    QWidget* dlg = CurrentModalDialog();
    if (!dlg)
        return nullptr;
    for (QWidget* w : dlg->findChildren<QWidget*>())
        if (w->property("ctrlId").toInt() == id)
            return qobject_cast<W*>(w);
    return nullptr;
}

void ClickRow(int row)
{
    auto* list = ItemOf<QListWidget>(DLG_EVENTACTPLT::IDC_LIST);
    ASSERT_NE(list, nullptr);
    ASSERT_LT(row, list->count());
    QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    Pump();
}

void Click(int id)
{
    auto* b = ItemOf<QPushButton>(id);
    ASSERT_NE(b, nullptr);
    b->click();
    Pump();
}

QString Text(int id)
{
    if (auto* e = ItemOf<QLineEdit>(id))
        return e->text();
    if (auto* l = ItemOf<QLabel>(id))
        return l->text();
    return QStringLiteral("<missing>");
}

void Type(int id, const QString& text)
{
    auto* e = ItemOf<QLineEdit>(id);
    ASSERT_NE(e, nullptr);
    e->setFocus();
    e->selectAll();
    TypeText(e, text);
    Pump();
}

int CurrentRow()
{
    auto* list = ItemOf<QListWidget>(DLG_EVENTACTPLT::IDC_LIST);
    return list ? list->currentRow() : -2;
}

QMenu* SubMenu(QMenu& menu, const char* utf8)
{
    for (QAction* a : menu.actions())
        if (a->menu() && a->text() == QString::fromUtf8(utf8))
            return a->menu();
    return nullptr;
}

class ActionPaletteGuiTest : public ::testing::Test {
protected:
    TempDir dir;
    RecordingSink sink;
    std::vector<cEventAct> actions = {cEventAct(Act::Message), cEventAct(Act::Wait), cEventAct(Act::SoundEffect)};
};

}  // namespace

TEST_F(ActionPaletteGuiTest, NewSaveShowsTheNewEntryAndATypedNameSurvivesSwitchingAndOk)
{
    ActionPalette palette = Palette(2);
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ran = true;
        QWidget* dlg = CurrentModalDialog();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("イベントアクションパレット"));
        EXPECT_EQ(CurrentRow(), 2);
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_CONTENTS), QStringLiteral("内容： メッセージ → ウエイト → 効果音の再生"));
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_NAME), QString());
        Type(DLG_EVENTACTPLT::IDC_NAME, QStringLiteral("三つの流れ"));
        Type(DLG_EVENTACTPLT::IDC_DESCRIPTION, QStringLiteral("説明です"));
        // The list line follows the typed name.
        auto* list = ItemOf<QListWidget>(DLG_EVENTACTPLT::IDC_LIST);
        EXPECT_EQ(list->item(2)->text(), QStringLiteral("3 三つの流れ"));
        ClickRow(0);
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_NAME), QStringLiteral("P1"));
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_CONTENTS), QStringLiteral("内容： ウエイト"));
        ClickRow(2);
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_NAME), QStringLiteral("三つの流れ"));
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_DESCRIPTION), QStringLiteral("説明です"));
        // "↑" carries the entry and its edits along.
        Click(DLG_EVENTACTPLT::IDC_UP);
        EXPECT_EQ(CurrentRow(), 1);
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_NAME), QStringLiteral("三つの流れ"));
        QDir().mkpath(VANTOR_BUILD_DIR "/screenshots");
        dlg->grab().save(VANTOR_BUILD_DIR "/screenshots/action_palette.png");
        Click(IDC_OK);
    });
    ActionPaletteOutcome out =
        RunActionPaletteMenuCommand(nullptr, 40127, actions, {2, 0, 1}, 0, false, palette, kPath);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(out.paletteChanged);
    ASSERT_EQ(palette.size(), 3);
    EXPECT_EQ(palette[1].m_Name, SJ("三つの流れ"));
    EXPECT_EQ(palette[1].m_Description, SJ("説明です"));
    EXPECT_EQ(palette[2].m_Name, SJ("P2"));
    ActionPalette read;
    ASSERT_EQ(LoadListFile(read, kPath), 1);
    ASSERT_EQ(read.size(), 3);
    EXPECT_EQ(read[1].m_Name, SJ("三つの流れ"));
    EXPECT_EQ(read[1].m_Actions.size(), 3);
}

TEST_F(ActionPaletteGuiTest, CancelLeavesMemoryAndFileAsTheyWere)
{
    ActionPalette palette = Palette(3);
    SaveActionPalette(palette, kPath);
    const std::vector<uint8_t> bytes = ReadFile(kPath);
    const ActionPalette before = palette;
    for (int id : {40127, 40126}) {
        SCOPED_TRACE(id);
        QTimer::singleShot(0, [&] {
            EXPECT_EQ(CurrentRow(), id == 40127 ? 3 : 0);
            Type(DLG_EVENTACTPLT::IDC_NAME, QStringLiteral("捨てる名前"));
            Click(DLG_EVENTACTPLT::IDC_DELETE);
            Click(DLG_EVENTACTPLT::IDC_DOWN);
            Click(IDC_CANCEL);
        });
        ActionPaletteOutcome out = RunActionPaletteMenuCommand(nullptr, id, actions, {1}, 0, false, palette, kPath);
        EXPECT_TRUE(out.handled);
        EXPECT_FALSE(out.paletteChanged);
        ASSERT_EQ(palette.size(), before.size());
        for (int i = 0; i < palette.size(); ++i)
            EXPECT_TRUE(palette[i].Equals(before[i])) << i;
        EXPECT_EQ(ReadFile(kPath), bytes);
    }
}

TEST_F(ActionPaletteGuiTest, ManagingReordersDeletesAndUpdatesTheContents)
{
    ActionPalette palette = Palette(3);
    palette[2] = Entry("混合", {Act::Money, Act::Party});
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(CurrentRow(), 0);
        Click(DLG_EVENTACTPLT::IDC_UP);  // the first: nothing
        EXPECT_EQ(CurrentRow(), 0);
        ClickRow(2);
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_CONTENTS), QStringLiteral("内容： 所持金の操作 → パーティーの変更"));
        Click(DLG_EVENTACTPLT::IDC_DOWN);  // the last: nothing
        EXPECT_EQ(CurrentRow(), 2);
        ClickRow(0);
        Click(DLG_EVENTACTPLT::IDC_DELETE);
        EXPECT_EQ(CurrentRow(), 0);
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_NAME), QStringLiteral("P2"));
        Click(DLG_EVENTACTPLT::IDC_DELETE);
        Click(DLG_EVENTACTPLT::IDC_DELETE);
        // Nothing left: nothing to edit or move.
        EXPECT_EQ(Text(DLG_EVENTACTPLT::IDC_CONTENTS), QString());
        EXPECT_FALSE(ItemOf<QLineEdit>(DLG_EVENTACTPLT::IDC_NAME)->isEnabled());
        EXPECT_FALSE(ItemOf<QPushButton>(DLG_EVENTACTPLT::IDC_DELETE)->isEnabled());
        Click(IDC_OK);
    });
    ActionPaletteOutcome out = RunActionPaletteMenuCommand(nullptr, 40126, actions, {}, 0, false, palette, kPath);
    EXPECT_TRUE(out.paletteChanged);
    EXPECT_TRUE(palette.empty());
    EXPECT_EQ(ReadFile(kPath).size(), 8u);  // the header and a zero count
}

TEST_F(ActionPaletteGuiTest, SubmenusListEveryEntryAndEntry120Pastes)
{
    ActionPalette palette = Palette(120);
    palette[119].m_Description = SJ("最後の項目");
    QMenu menu;
    menu.addAction(QStringLiteral("切り取り"))->setData(40075);
    FillActionPaletteMenu(menu, palette);

    QMenu* paste = SubMenu(menu, "アクションパレットから貼り付け");
    QMenu* save = SubMenu(menu, "アクションパレットへ保存");
    ASSERT_NE(paste, nullptr);
    ASSERT_NE(save, nullptr);
    QMenu* overwrite = SubMenu(*save, "上書き保存");
    ASSERT_NE(overwrite, nullptr);
    ASSERT_EQ(paste->actions().size(), 120);
    ASSERT_EQ(overwrite->actions().size(), 120);
    EXPECT_EQ(save->actions().front()->text(), QStringLiteral("新規保存"));
    EXPECT_EQ(save->actions().front()->data().toInt(), 40127);
    EXPECT_EQ(menu.actions().back()->text(), QStringLiteral("アクションパレットの並べ替え"));
    EXPECT_EQ(menu.actions().back()->data().toInt(), 40126);

    struct Row { int index; const char* text; int pasteId, overwriteId; };
    for (const Row& r : {Row{0, "01 P1", 35500, 35000}, Row{99, "100 P100", 35599, 35099},
                         Row{119, "120 P120", 37119, 36119}}) {
        SCOPED_TRACE(r.index);
        QAction* p = paste->actions()[r.index];
        EXPECT_EQ(p->text(), QString::fromUtf8(r.text));
        EXPECT_EQ(p->data().toInt(), r.pasteId);
        EXPECT_TRUE(p->isEnabled());
        EXPECT_EQ(overwrite->actions()[r.index]->data().toInt(), r.overwriteId);
    }
    EXPECT_EQ(paste->actions()[119]->toolTip(), QStringLiteral("最後の項目\n内容： ウエイト"));
    EXPECT_EQ(paste->actions()[0]->toolTip(), QStringLiteral("内容： ウエイト"));

    // Entry 120 pastes before the selected line.
    int id = paste->actions()[119]->data().toInt();
    ActionPaletteOutcome out = RunActionPaletteMenuCommand(nullptr, id, actions, {1}, 1, false, palette, kPath);
    EXPECT_EQ(out.inserted, 1);
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions[1].m_nKind, Act::Wait);
    EXPECT_EQ(actions[1].P(0), 120);
    EXPECT_EQ(actions[2].m_nKind, Act::Wait);

    // An empty palette: the entry submenus cannot be opened, "新規保存" stays.
    QMenu empty;
    FillActionPaletteMenu(empty, ActionPalette());
    EXPECT_FALSE(SubMenu(empty, "アクションパレットから貼り付け")->isEnabled());
    EXPECT_TRUE(SubMenu(empty, "アクションパレットへ保存")->isEnabled());
}
