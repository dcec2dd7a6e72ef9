// The database window over the large project of bench_project (offscreen):
// opening it, switching pages, apply and cancel, beside the plain work under
// them (copying the tables once, writing the database files' bytes).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <cstdio>

#include "base/heap.h"
#include "base/host_file.h"
#include "big_project.h"
#include "database/window/chara_pages.h"
#include "database/window/database_sheet.h"
#include "project/database_snapshot.h"
#include "ui/application.h"

[[maybe_unused]] static const bool kHeapKept = (KeepFreedHeapMemory(), true);

namespace {

enum { kLandPage = 5, kSoundPage = 11 };

// The editor's application on the offscreen platform, the project loaded.
void Prepare()
{
    static bool done = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "bench_database";
        static char* argv[] = {name, nullptr};
        new EditorApplication(argc, argv);
        Folder();
        ResetProject();
        ProjectLoadOptions options;
        options.images = false;
        LoadProject(options);
        return true;
    }();
    (void)done;
}

void Pump() { QCoreApplication::processEvents(); }

PROP_DATABASE* OpenSheet()
{
    OpenDatabaseWindow(nullptr);
    Pump();
    return DatabaseWindow();
}

void CloseSheet()
{
    if (PROP_DATABASE* s = DatabaseWindow())
        s->Destroy();
    Pump();
}

void BM_Open(benchmark::State& state)
{
    Prepare();
    for (auto _ : state) {
        benchmark::DoNotOptimize(OpenSheet());
        state.PauseTiming();
        CloseSheet();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

// Between the land page (248 + 8 lands) and the sound page (300 sounds): the
// page left is stored, the page entered reads its list again.
void BM_PageSwitch(benchmark::State& state)
{
    Prepare();
    PROP_DATABASE* s = OpenSheet();
    s->SetCurrentPage(kLandPage);
    s->SetCurrentPage(kSoundPage);
    bool land = true;
    for (auto _ : state) {
        s->SetCurrentPage(land ? kLandPage : kSoundPage);
        land = !land;
    }
    CloseSheet();
}
BENCHMARK(BM_PageSwitch)->Unit(benchmark::kMillisecond);

// Every built page stored twice, then every database file written and
// flushed as the editor saves.
void BM_Apply(benchmark::State& state)
{
    Prepare();
    PROP_DATABASE* s = OpenSheet();
    s->SetCurrentPage(kLandPage);
    s->SetCurrentPage(kSoundPage);
    for (auto _ : state)
        s->OnApply();
    CloseSheet();
}
BENCHMARK(BM_Apply)->Unit(benchmark::kMillisecond);

// The tables put back from the snapshot and the pages closed.
void BM_Cancel(benchmark::State& state)
{
    Prepare();
    for (auto _ : state) {
        state.PauseTiming();
        PROP_DATABASE* s = OpenSheet();
        s->SetCurrentPage(kLandPage);
        TheProject().m_Lands[1].m_Name = "changed";
        state.ResumeTiming();
        s->OnCancel();
        Pump();
    }
}
BENCHMARK(BM_Cancel)->Unit(benchmark::kMillisecond);

// Plain baselines: one copy of every table the window edits, and writing the
// database files' bytes with fwrite.
void BM_PlainTableCopy(benchmark::State& state)
{
    Prepare();
    DatabaseSnapshot snap;
    for (auto _ : state)
        snap.Take(TheProject());
}
BENCHMARK(BM_PlainTableCopy)->Unit(benchmark::kMillisecond);

void BM_PlainFwrite(benchmark::State& state)
{
    Prepare();
    std::vector<std::pair<std::string, std::vector<char>>> files;
    for (const auto& e : fs::directory_iterator(fs::path(Folder()) / "data" / "database")) {
        if (!e.is_regular_file())
            continue;
        std::vector<char> bytes(fs::file_size(e.path()));
        std::FILE* f = std::fopen(e.path().c_str(), "rb");
        if (!f)
            continue;
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
        files.emplace_back((fs::path(Folder()) / ("plain_" + e.path().filename().string())).string(), std::move(bytes));
    }
    for (auto _ : state)
        for (auto& [path, bytes] : files) {
            std::FILE* w = std::fopen(path.c_str(), "wb");
            if (!w)
                continue;
            benchmark::DoNotOptimize(std::fwrite(bytes.data(), 1, bytes.size(), w));
            std::fclose(w);
        }
}
BENCHMARK(BM_PlainFwrite)->Unit(benchmark::kMillisecond);

// The enemy page over the 2,000 enemies of the large project. Entering it
// from the party value page (leaving it is not timed): the class and party
// value names, the list's 2,000 lines, one record into the inputs.
enum { kEnemyPage = 2, kPtValPage = 6 };

void BM_EnemyPageSwitch(benchmark::State& state)
{
    Prepare();
    PROP_DATABASE* s = OpenSheet();
    s->SetCurrentPage(kEnemyPage);
    for (auto _ : state) {
        state.PauseTiming();
        s->SetCurrentPage(kPtValPage);
        state.ResumeTiming();
        s->SetCurrentPage(kEnemyPage);
    }
    CloseSheet();
}
BENCHMARK(BM_EnemyPageSwitch)->Unit(benchmark::kMillisecond);

// Selecting the first and the last enemy in turn: the record left written
// back, the one selected shown with its game and reference values.
void BM_EnemyPageSelect(benchmark::State& state)
{
    Prepare();
    PROP_DATABASE* s = OpenSheet();
    s->SetCurrentPage(kEnemyPage);
    DLG_CLASS* page = s->DbPage(kEnemyPage);
    auto* list = qobject_cast<QListWidget*>(page->Item(IDC_DB_LIST));
    auto* name = qobject_cast<QLineEdit*>(page->Item(DLG_DBENEMY::IDC_NAME));
    const int last = list->count() - 1;
    int row = 0;
    for (auto _ : state) {
        row = row == 0 ? last : 0;
        list->setCurrentRow(row);
    }
    if (name->text().toStdString() != Cp932ToUtf8(TheProject().m_Enemies[row].m_Name))
        state.SkipWithError("the selected enemy was not shown");
    CloseSheet();
}
BENCHMARK(BM_EnemyPageSelect)->Unit(benchmark::kMillisecond);

// One key typed into the enemy's name, then one backspace: each writes the
// record into the list and its line.
void BM_EnemyPageKeystroke(benchmark::State& state)
{
    Prepare();
    PROP_DATABASE* s = OpenSheet();
    s->SetCurrentPage(kEnemyPage);
    DLG_CLASS* page = s->DbPage(kEnemyPage);
    qobject_cast<QListWidget*>(page->Item(IDC_DB_LIST))->setCurrentRow(1000);
    auto* name = qobject_cast<QLineEdit*>(page->Item(DLG_DBENEMY::IDC_NAME));
    name->end(false);
    bool type = true;
    bool typed = false;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, type ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                      type ? QStringLiteral("a") : QString());
        QApplication::sendEvent(name, &key);
        if (type)
            typed = typed || TheProject().m_Enemies[1000].m_Name.back() == 'a';
        type = !type;
    }
    if (!typed)
        state.SkipWithError("the key did not reach the record");
    CloseSheet();
}
BENCHMARK(BM_EnemyPageKeystroke)->Unit(benchmark::kMillisecond);

// Plain baselines of the enemy page: copying one enemy, and copying the whole
// list (what the page must never do on a switch, a selection or a key).
void BM_PlainEnemyCopy(benchmark::State& state)
{
    Prepare();
    const cEnemy& source = TheProject().m_Enemies[1000];
    for (auto _ : state) {
        cEnemy copy = source;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_PlainEnemyCopy)->Unit(benchmark::kMicrosecond);

void BM_PlainEnemyListCopy(benchmark::State& state)
{
    Prepare();
    for (auto _ : state) {
        std::vector<cEnemy> copy = TheProject().m_Enemies.items();
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_PlainEnemyListCopy)->Unit(benchmark::kMillisecond);

}  // namespace

// ---------------------------------------------------------------------------
// The skill page over 30 skill groups of 150 skills each (more than the page
// lets one make: a loaded table is shown whole), beside a plain copy of one
// group, which is the least a switch does (the group into the page's copy).

#include <QListWidget>

#include "database/window/skill_page.h"

namespace {

constexpr int kSkillPageIndex = 3;

// Puts the large skill table in place for the benchmark's time and the
// loaded one back afterwards.
class LargeSkillTable {
public:
    LargeSkillTable()
    {
        Prepare();
        m_Saved = TheProject().m_SkillLists;
        RecordList<cSkillList> table;
        for (int g = 0; g < 30; ++g) {
            cSkillList& group = table.emplace_back();
            group.m_Name = "group " + std::to_string(g + 1);
            group.m_Scenes.assign(11, 1);
            group.m_Categs.resize(5);
            group.m_OrgMenu.resize(7);
            for (int s = 0; s < 150; ++s) {
                cSkill& skill = group.m_Skills.emplace_back();
                skill.m_Name = "skill " + std::to_string(s);
                skill.m_Description = "a skill of the benchmark's large table";
            }
        }
        RenumberSkillTable(table);
        TheProject().m_SkillLists = std::move(table);
    }
    ~LargeSkillTable()
    {
        CloseSheet();
        TheProject().m_SkillLists = m_Saved;
    }

private:
    RecordList<cSkillList> m_Saved;
};

// Selecting another group: the group left is written back, the next one
// copied and shown with its 150 skills and the usage of its first skill.
void BM_SkillGroupSwitch(benchmark::State& state)
{
    LargeSkillTable large;
    PROP_DATABASE* s = OpenSheet();
    s->SetCurrentPage(kSkillPageIndex);
    Pump();
    auto* page = dynamic_cast<DLG_DBSKILLLIST*>(s->DbPage(kSkillPageIndex));
    auto* list = page ? qobject_cast<QListWidget*>(page->Item(IDC_DB_LIST)) : nullptr;
    if (!list || list->count() != 30) {
        state.SkipWithError("the skill page is not there");
        return;
    }
    int row = 0;
    for (auto _ : state) {
        row = (row + 1) % 30;
        list->setCurrentRow(row);
    }
    if (page->Current().m_nGroupNo != row)
        state.SkipWithError("the selection did not reach the page");
}
BENCHMARK(BM_SkillGroupSwitch)->Unit(benchmark::kMillisecond);

// Entering the skill page from the land page and back.
void BM_SkillPageSwitch(benchmark::State& state)
{
    LargeSkillTable large;
    PROP_DATABASE* s = OpenSheet();
    s->SetCurrentPage(kLandPage);
    s->SetCurrentPage(kSkillPageIndex);
    bool skill = false;
    for (auto _ : state) {
        s->SetCurrentPage(skill ? kSkillPageIndex : kLandPage);
        skill = !skill;
    }
}
BENCHMARK(BM_SkillPageSwitch)->Unit(benchmark::kMillisecond);

void BM_PlainSkillGroupCopy(benchmark::State& state)
{
    LargeSkillTable large;
    cSkillList copy;
    int g = 0;
    for (auto _ : state) {
        copy = TheProject().m_SkillLists[g];
        g = (g + 1) % 30;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_PlainSkillGroupCopy)->Unit(benchmark::kMillisecond);

}  // namespace
