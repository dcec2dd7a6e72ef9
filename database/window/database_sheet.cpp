#include "database/window/database_sheet.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "app/database_sheet.h"
#include "app/startup.h"
#include "database/window/class_page.h"
#include "database/window/chara_pages.h"
#include "database/window/db_pages.h"
#include "database/window/skill_page.h"
#include "database/window/system_pages.h"
#include "database/window/system_word_pages.h"
#include "project/project.h"

namespace {

// The pages in sheet order: class, resource id and tab title (the blanks are
// full-width). Pages without a maker stay empty for now.
struct PageRow {
    int resource;
    const char* title;
    std::unique_ptr<DB_PAGE> (*make)();
};

template <class Page>
std::unique_ptr<DB_PAGE> Make()
{
    return std::make_unique<Page>();
}

const PageRow kPages[] = {
    {111, "　　クラス　　", Make<DLG_DBCLASS>},
    {110, "　味方キャラ　", Make<DLG_DBFRIEND>},
    {127, "　敵キャラ　", Make<DLG_DBENEMY>},
    {196, "　　スキル　　", Make<DLG_DBSKILLLIST>},
    {227, "相性タイプ", Make<DLG_DBSKILLTYPE>},
    {194, "　　地形　　", Make<DLG_DBLAND>},
    {197, "パーティー変数", Make<DLG_DB_PTVAL>},
    {209, "キャラアニメ", [] { return std::unique_ptr<DB_PAGE>(new DLG_DB_CHARAANIM(209, QStringLiteral("キャラアニメ"), true)); }},
    {210, "エフェクトアニメ",
     [] { return std::unique_ptr<DB_PAGE>(new DLG_DB_EFFECTANIM(210, QStringLiteral("エフェクトアニメ"), false)); }},
    {217, "ピクチャー",
     [] { return std::unique_ptr<DB_PAGE>(new DLG_DB_PICTURE(217, QStringLiteral("ピクチャー"), MediaKind::Picture, {1, 999, 0})); }},
    {220, "　バック　",
     [] { return std::unique_ptr<DB_PAGE>(new DLG_DB_BACK(220, QStringLiteral("　バック　"), MediaKind::Back, {1, 999, 0})); }},
    // Sound effects hide index 0 and number their records from 1.
    {123, "　効果音　",
     [] { return std::unique_ptr<DB_PAGE>(new DLG_DB_SOUND(123, QStringLiteral("　効果音　"), MediaKind::Sound, {1, 9999, 1})); }},
    {195, "　BGM　",
     [] { return std::unique_ptr<DB_PAGE>(new DLG_DB_BGM(195, QStringLiteral("　BGM　"), MediaKind::Bgm, {1, 999, 0})); }},
    {230, "　ヘルプ　", Make<DLG_DB_HELP>},
    {226, "ワールドチップ", Make<DLG_DBWORLDCHIP>},
    {112, "システム1", Make<DLG_DBSYSTEM>},
    {128, "システム2", Make<DLG_DBSYSTEM_2>},
    {172, "システム3", Make<DLG_DBSYSTEM_3>},
    {191, "システム4", Make<DLG_DBSYSTEM_4>},
    {203, "システム5", Make<DLG_DBSYSTEM_5>},
    {204, "システム6", Make<DLG_DBSYSTEM_6>},
    {205, "システム7", Make<DLG_DBSYSTEM_7>},
    {206, "システム8", Make<DLG_DBSYSTEM_8>},
    {207, "システム9", Make<DLG_DBSYSTEM_9>},
    {208, "システム10", Make<DLG_DBSYSTEM_10>},
};

SheetFont FontOf(const QFont& font)
{
    QFontMetrics m(font);
    SheetFont f;
    f.width = m.averageCharWidth();
    f.height = m.height();
    f.face = Utf8ToCp932(font.family().toStdString());
    f.pitch = font.fixedPitch() ? 1 : 2;
    f.value = font.weight();
    return f;
}

std::unique_ptr<PROP_DATABASE> g_sheet;
// The windows the sheet put away while it is open.
std::vector<QPointer<QWidget>> g_hidden, g_disabled;

void PutOthersAway()
{
    g_hidden.clear();
    g_disabled.clear();
    std::vector<QWidget*> others;
    for (DLG_CLASS* d : ModelessRegistry::Instance().Dialogs())
        if (d->Widget() && d->Kind() != WindowKind::Page)
            others.push_back(d->Widget());
    for (PROP_CLASS* s : ModelessRegistry::Instance().Sheets())
        if (s->Widget())
            others.push_back(s->Widget());
    for (QWidget* w : others) {
        if (w->isVisible()) {
            w->hide();
            g_hidden.emplace_back(w);
        }
        if (w->isEnabled()) {
            w->setEnabled(false);
            g_disabled.emplace_back(w);
        }
    }
}

void BringOthersBack()
{
    for (auto& w : g_disabled)
        if (w)
            w->setEnabled(true);
    for (auto& w : g_hidden)
        if (w)
            w->show();
    g_hidden.clear();
    g_disabled.clear();
}

}  // namespace

PROP_DATABASE::PROP_DATABASE()
{
    for (const PageRow& row : kPages) {
        m_Pages.push_back(row.make ? row.make() : std::make_unique<DB_PAGE>(row.resource, QString::fromUtf8(row.title)));
        AddPage(m_Pages.back().get(), QString::fromUtf8(row.title));
    }
    SetBuildOnShow(true);
}

PROP_DATABASE::~PROP_DATABASE()
{
    onClosed = nullptr;
    Destroy();
    RemovePages();
}

bool PROP_DATABASE::Open(QWidget* parent)
{
    m_Snapshot.Take(TheProject());
    if (!Create(parent, QStringLiteral("データベースの設定"), true)) {
        ErrorBoxPrintf("%s", SJ("ウインドウの生成に失敗！").c_str());
        return false;
    }
    SheetFont current = FontOf(QApplication::font());
    SheetFont design = FontOf(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    SheetSize size = SheetRequestSize(current, design, SheetScaleX, SheetScaleY);
    Widget()->resize(size.width, size.height);
    // Placed once its size is known: centred in the work area, its top-left
    // corner inside it.
    if (QScreen* screen = Widget()->screen()) {
        const QRect area = screen->availableGeometry();
        const QSize frame = Widget()->frameGeometry().size();
        Widget()->move(std::max(area.left(), area.left() + (area.width() - frame.width()) / 2),
                       std::max(area.top(), area.top() + (area.height() - frame.height()) / 2));
    }
    RunSheetSizeCheck(Widget()->width(), Widget()->height(), current);
    Widget()->raise();
    Widget()->activateWindow();
    if (auto* page = dynamic_cast<DB_PAGE*>(CurrentPage()))
        page->FocusList();
    return true;
}

void PROP_DATABASE::OnApply()
{
    // Twice: values one page derives from another's settle in the second pass.
    for (int pass = 0; pass < 2; ++pass)
        for (auto& page : m_Pages)
            page->StorePage();
    for (auto& page : m_Pages)
        if (page->Exists())
            page->applied = true;
    SaveDatabaseReporting();
    m_Snapshot.Take(TheProject());
    // Saving repairs records in place (clamped references): the page shows them.
    if (auto* page = dynamic_cast<DB_PAGE*>(CurrentPage()))
        page->ReloadPage();
}

void PROP_DATABASE::OnCancel()
{
    m_Snapshot.Restore(TheProject());
    for (auto& page : m_Pages)
        if (page->Exists())
            page->StopPage();
    ClosePages();
}

void PROP_DATABASE::OnSheetClosed()
{
    for (auto& page : m_Pages)
        page->StopPage();
    if (onClosed)
        onClosed();
}

PROP_DATABASE* DatabaseWindow() { return g_sheet && g_sheet->Widget() ? g_sheet.get() : nullptr; }

void OpenDatabaseWindow(std::function<void()> onClosed)
{
    if (g_sheet) {
        g_sheet->onClosed = nullptr;
        g_sheet->Destroy();
        BringOthersBack();
    }
    // A sheet still open when the application ends goes before the windows do.
    static const bool quitHook = [] {
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { g_sheet.reset(); });
        return true;
    }();
    (void)quitHook;
    g_sheet = std::make_unique<PROP_DATABASE>();
    PROP_DATABASE* sheet = g_sheet.get();
    sheet->onClosed = [sheet, onClosed] {
        BringOthersBack();
        if (onClosed)
            onClosed();
        // The sheet object goes once its own call has returned.
        QTimer::singleShot(0, [sheet] {
            if (g_sheet.get() == sheet)
                g_sheet.reset();
        });
    };
    PutOthersAway();
    sheet->Open(nullptr);
}
