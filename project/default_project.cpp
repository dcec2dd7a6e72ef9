#include "project/default_project.h"

#include <filesystem>
#include <fstream>

#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "events/action_kinds.h"
#include "media/image_write.h"
#include "media/starter_sounds.h"
#include "project/project.h"

namespace fs = std::filesystem;

namespace {

// The starter texts are written in the source as UTF-8.
std::string J(const char* utf8) { return Utf8ToCp932(utf8); }

// ---------------------------------------------------------------------------
// Records

struct LandRow {
    const char* name;
    int moveCost;
    int impassable;
    const char* help;
};

// Map chip n shows land n; the colours of the placeholder chips follow this order.
const LandRow kLands[] = {
    {"平地", 1, 0, "見通しの良い平らな土地。"},
    {"草原", 1, 0, "背の低い草が生えた土地。"},
    {"森", 2, 0, "木々に覆われ、身を隠しやすい。"},
    {"山", 3, 0, "険しい山地。歩兵には厳しい。"},
    {"水", 1, 1, "深い水。通行できない。"},
    {"道", 1, 0, "踏み固められた道。"},
    {"砂地", 2, 0, "足を取られる砂地。"},
    {"城壁", 1, 1, "石造りの壁。通行できない。"},
};

// Index 0 of several tables stands for "none" wherever the data refer to them:
// a placement of enemy 0 is unset, the action dialogs list friends, pictures
// and sounds from 1, music 0 is silence, skill 0 of a group is neither listed
// nor exported, and new skills take sound and animations from 1. Those tables
// start with a record of their kind named "なし" so that every real record
// can be chosen.
const char* const kNone = "なし";

// The media and animations the skills use (index 0 is the placeholder).
struct SkillMedia {
    int sound, charaAnim, effectAnim;
};
constexpr SkillMedia kStrike{3, 1, 1};  // 攻撃, 攻撃, 斬撃
constexpr SkillMedia kFire{3, 2, 2};    // 攻撃, 魔法, 炎
constexpr SkillMedia kHeal{4, 3, 3};    // 回復, 回復, 癒し

cSkill MakeSkill(const char* name, const char* text, int kind, int power, int sp, SkillMedia media)
{
    cSkill s;
    s.m_Name = J(name);
    s.m_Description = J(text);
    s.m_nKind = kind;
    s.m_nEffectValue = power;
    s.m_nSpCost = sp;
    s.m_nPrice = power * 10;
    s.m_nSound = media.sound;
    s.m_nCharaAnim = media.charaAnim;
    s.m_nEffectAnim = media.effectAnim;
    return s;
}

// A skill group with its categories and the placeholder skill 0.
cSkillList MakeSkillList(const char* name, std::initializer_list<const char*> categories)
{
    cSkillList list;
    list.m_Name = J(name);
    list.m_SenseWord = J("センス");
    for (const char* c : categories)
        list.m_Categs.emplace_back().m_Name = J(c);
    list.m_Skills.emplace_back().m_Name = J(kNone);
    return list;
}

// A media entry named "なし" that does not follow a file name.
template <class T>
void AddNone(RecordList<T>& list)
{
    T& none = list.emplace_back();
    none.m_Name = J(kNone);
    if constexpr (requires { none.m_bNameIsFile; })
        none.m_bNameIsFile = 0;
}

cClass MakeClass(const char* name, int graphic, int move, std::array<int32_t, 9> first, std::array<int32_t, 9> last)
{
    cClass c;
    c.m_Name = J(name);
    c.m_nGraphic = graphic;
    c.m_nMove = move;
    c.m_InitialStats = first;
    c.m_FinalStats = last;
    c.AdjustToTables();
    return c;
}

// A named character of a class at a level, resolved against its class (the
// class table must be installed as the characters' context).
template <class C>
C MakeChara(const char* name, int cls, int level)
{
    C c;
    c.m_Name = J(name);
    c.m_bRandomName = 0;
    c.m_nClass = cls;
    c.m_nLevel = level;
    c.ResolveClass(false);
    c.AdjustToDatabase();
    return c;
}

cLearnSkill Learn(int group, int skill, int level)
{
    cLearnSkill l;
    l.m_nSkillList = group;
    l.m_nSkill = skill;
    l.m_nLevel = level;
    return l;
}

cEnemy MakeEnemy(const char* name, const char* text, int cls, int level, int reward)
{
    cEnemy e = MakeChara<cEnemy>(name, cls, level);
    e.m_Description = J(text);
    e.m_nRewardPartyVal = 1;  // お金
    e.m_nReward = reward;
    return e;
}

void BuildSystem(cSystem& s)
{
    s.NewSystem();
    s.m_GameName = J("ヴァントール戦記");
    // The placeholder images are drawn on this colour.
    s.m_nColorR = kDefaultColorKey.r;
    s.m_nColorG = kDefaultColorKey.g;
    s.m_nColorB = kDefaultColorKey.b;
    // Party values: 0 名声, 1 お金, 2 食料.
    s.m_bScoutEnabled = 1;
    s.m_nScoutVariable = 0;
    s.m_nMoneyVariable = 1;
    s.m_nHireVariable = 1;
    s.m_nHireCost = 100;
    s.m_nHireCostPerLevel = 20;
    s.m_nReviveVariable = 1;
    s.m_nReviveCost = 50;
    s.m_nReviveCostPerLevel = 10;
    s.m_nReleaseVariable = 1;
    s.m_nReleasePrice = 30;
    s.m_nReleasePricePerLevel = 5;
    s.m_nSkillSaleMod = 50;
    s.m_nGrowthMin = 20;
    s.m_nGrowthMax = 40;
    s.m_nGrowthPeriodMin = -5;
    s.m_nGrowthPeriodMax = 5;
    s.m_nGrowthUnit = 1;
    s.m_nSenseMin = 5;
    s.m_nSenseMax = 10;
    s.m_nSenseUnit = 1;
    s.m_StatRates.fill(1.0);
    s.m_EnemyClassMod.fill(100);
    s.m_nExpBase = 10;
    s.m_dExpLevelFactor = 2.0;
    s.m_dExpDifficultyFactor = 0.1;
    s.m_dExpFinishFactor = 1.5;
    s.m_nExpMin = 1;
    s.m_nExpMax = 100;
    s.m_bAutoTurnEnd = 1;
    s.m_bLeaderRule = 1;
    s.m_nSkillNameTime = 30;
    s.UpdateDerived();
}

cEventAct Message(const char* text)
{
    cEventAct a(Act::Message);
    if (a.m_Strings.empty())
        a.m_Strings.resize(1);
    a.m_Strings[0] = J(text);
    return a;
}

cEndCond Condition(int target, const char* text)
{
    cEndCond c;
    c.m_nTarget = target;
    c.m_Text = J(text);
    return c;
}

// The sample stage: a river across a meadow, a wood and hills to the north,
// a road to the enemy's fort in the east.
void BuildSampleStage(cStage& s)
{
    s.NewStage();
    s.m_Name = J("はじまりの草原");
    s.m_nReward = 500;
    s.ResizeMap(20, 15);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            int land = 1;
            if (x == 9 || x == 10)
                land = 4;  // the river
            if (y == 7 && x >= 3)
                land = 5;  // the road, over a bridge
            if (y < 4 && x < 8)
                land = 2;
            if (y < 3 && x >= 12)
                land = 3;
            if (x >= 16 && y >= 5 && y <= 9)
                land = (x == 16 || y == 5 || y == 9) && y != 7 ? 7 : 0;
            s.SetCell(x, y, land);
        }
    cGroupPos& allies = s.m_GroupPos[0];
    allies.m_Name = J("味方初期位置");
    allies.m_nX = 2;
    allies.m_nY = 7;
    allies.m_Positions = {{1, 6}, {2, 6}, {1, 7}, {2, 7}, {1, 8}, {2, 8}};
    cGroupPos& fort = s.m_GroupPos[1];
    fort.m_Name = J("砦");
    fort.m_nX = 18;
    fort.m_nY = 7;
    fort.m_Positions = {{17, 6}, {18, 6}, {17, 7}, {18, 7}, {17, 8}, {18, 8}};
    struct Placement { int enemy, x, y, group; } placements[] = {
        {2, 13, 6, 1}, {2, 13, 8, 1}, {3, 17, 7, 2}, {2, 6, 2, 3}, {3, 14, 1, 3},
    };
    for (const Placement& p : placements) {
        cPutEnemy& e = s.m_PutEnemy.emplace_back();
        e.m_nEnemy = p.enemy;
        e.m_nX = p.x;
        e.m_nY = p.y;
        e.m_bGroup = 1;
        e.m_nGroup = p.group;
    }
    cEvent& start = s.m_Events.emplace_back();
    start.m_Name = J("開幕");
    start.m_nX = 2;
    start.m_nY = 7;
    start.m_Pages[0].m_Actions.push_back(Message("東の砦を落とせ！"));
    cEvent& chest = s.m_Events.emplace_back();
    chest.m_Name = J("宝箱");
    chest.m_nX = 4;
    chest.m_nY = 1;
    chest.m_Pages[0].m_nGraphic = 1;
    chest.m_Pages[0].m_Actions.push_back(Message("宝箱を見つけた。"));
    s.m_Victory.push_back(Condition(0, "敵を全滅させる"));
    s.m_Defeat.push_back(Condition(1, "リーダーが倒れる"));
}

void BuildWorldMap(cWorldMap& w)
{
    w.NewWorldMap();
    struct Chip { const char* name; int impassable; } chips[] = {
        {"草原", 0}, {"森", 0}, {"山", 1}, {"海", 1}, {"道", 0}, {"砂漠", 0},
    };
    for (int i = 0; i < 6; ++i) {
        cWorldChip& c = w.m_Chips.emplace_back();
        c.m_Name = J(chips[i].name);
        c.m_bImpassable = chips[i].impassable;
        c.m_nGraphic = i;
    }
    for (int y = 0; y < w.m_nHeight; ++y)
        for (int x = 0; x < w.m_nWidth; ++x) {
            int chip = 0;
            if (x + y < 5 || y > 12)
                chip = 3;
            else if (y < 4 && x > 12)
                chip = 2;
            else if (x > 14 && y > 8)
                chip = 5;
            else if (y == 7)
                chip = 4;
            else if ((x * 7 + y * 3) % 11 == 0)
                chip = 1;
            w.SetCell(x, y, chip);
        }
    cWorldEvent& first = w.m_Events.emplace_back();
    first.m_Name = J("はじまりの草原");
    first.m_nX = 12;
    first.m_nY = 7;
    cWorldEventPage& page = first.m_Pages[0];
    page.m_nGraphic = 1;
    page.m_nStageNumber = 1;
    page.m_StageName = J("はじまりの草原");
    page.m_StageFile = "data\\stg\\Stage01.stg2";
}

// ---------------------------------------------------------------------------
// Images

struct Palette {
    Rgb base, detail;
};

const Palette kTerrainColours[] = {
    {{200, 190, 140}, {180, 170, 120}},  // plain
    {{110, 180, 80}, {80, 150, 60}},     // meadow
    {{40, 110, 50}, {20, 70, 30}},       // wood
    {{140, 120, 100}, {90, 75, 60}},     // hills
    {{50, 100, 200}, {120, 170, 240}},   // water
    {{190, 160, 110}, {160, 130, 90}},   // road
    {{230, 210, 150}, {210, 185, 120}},  // sand
    {{130, 130, 140}, {80, 80, 90}},     // wall
};

// One 32 x 32 terrain chip at (x, y) with a texture that tells its kind.
void DrawTerrain(Canvas& c, int x, int y, int kind)
{
    const Palette& p = kTerrainColours[kind % 8];
    c.Fill(x, y, 32, 32, p.base);
    switch (kind % 8) {
    case 1:
        for (int i = 0; i < 6; ++i)
            c.Line(x + 4 + i * 5, y + 8 + (i % 2) * 12, x + 5 + i * 5, y + 4 + (i % 2) * 12, p.detail);
        break;
    case 2:
        c.Peak(x + 10, y + 4, 7, y + 18, p.detail);
        c.Peak(x + 22, y + 12, 7, y + 26, p.detail);
        break;
    case 3: c.Peak(x + 16, y + 5, 13, y + 28, p.detail); break;
    case 4:
        for (int i = 0; i < 3; ++i)
            c.Line(x + 4, y + 8 + i * 9, x + 27, y + 8 + i * 9, p.detail);
        break;
    case 7:
        for (int i = 0; i < 4; ++i)
            c.Fill(x, y + i * 8, 32, 1, p.detail);
        break;
    default:
        for (int i = 0; i < 4; ++i)
            c.Set(x + 6 + i * 7, y + 6 + (i * 11) % 20, p.detail);
        break;
    }
}

// A small standing figure in a 32 x 32 cell: head, body, legs; step shifts the legs.
void DrawFigure(Canvas& c, int x, int y, Rgb cloth, int step)
{
    const Rgb skin{240, 200, 160}, dark{40, 30, 30};
    c.Disc(x + 16, y + 8, 5, skin);
    c.Fill(x + 14, y + 6, 1, 1, dark);
    c.Fill(x + 18, y + 6, 1, 1, dark);
    c.Fill(x + 10, y + 14, 12, 10, cloth);
    c.Fill(x + 7, y + 15, 3, 7, skin);
    c.Fill(x + 22, y + 15, 3, 7, skin);
    c.Fill(x + 11 + step, y + 24, 4, 6, dark);
    c.Fill(x + 17 - step, y + 24, 4, 6, dark);
}

Rgb FigureColour(int n)
{
    static const Rgb colours[] = {{40, 80, 200}, {200, 50, 50}, {40, 160, 70}, {170, 120, 40},
                                  {140, 60, 170}, {60, 160, 170}, {220, 180, 40}, {90, 90, 90}};
    return colours[n % 8];
}

// The images with a transparent colour are drawn on the system record's.
bool WriteImages(Rgb key)
{
    bool ok = true;

    // Map chips: 8 to a row, 256 chips (the second 128 below the first).
    Canvas chips(256, 1024, {0, 0, 0});
    for (int n = 0; n < 256; ++n)
        DrawTerrain(chips, (n % 8) * 32, (n / 8) * 32, n);
    ok &= WritePngFile("image\\MapChip.png", chips);

    // Markers on the map: cursors in the first row, the ally start marker at (0, 64).
    Canvas markers(256, 128, key);
    markers.Frame(0, 0, 32, 32, {255, 255, 0});
    markers.Frame(32, 0, 32, 32, {255, 0, 0});
    markers.Frame(0, 64, 32, 32, {0, 120, 255});
    markers.Frame(1, 65, 30, 30, {0, 120, 255});
    markers.Disc(16, 80, 5, {0, 120, 255});
    ok &= WritePngFile("image\\MapChara.png", markers);

    // Characters: columns of 20 patterns, 64 wide, two frames side by side.
    Canvas chara(512, 640, key);
    for (int n = 0; n < 160; ++n) {
        int x = (n / 20) * 64, y = (n % 20) * 32;
        DrawFigure(chara, x, y, FigureColour(n), 0);
        DrawFigure(chara, x + 32, y, FigureColour(n), 1);
    }
    ok &= WritePngFile("image\\Character1.png", chara);

    // Event graphics: 32 to a 64-wide column; 0 is "none", then chests, signs, doors.
    Canvas events(1024, 1024, key);
    for (int g = 1; g < 512; ++g) {
        int x = (g / 32) * 64, y = (g % 32) * 32;
        switch (g % 3) {
        case 1:
            events.Fill(x + 6, y + 12, 20, 14, {150, 90, 30});
            events.Fill(x + 6, y + 17, 20, 2, {230, 200, 60});
            break;
        case 2:
            events.Fill(x + 14, y + 14, 4, 14, {120, 80, 40});
            events.Fill(x + 6, y + 6, 20, 10, {200, 160, 100});
            break;
        default:
            events.Fill(x + 8, y + 4, 16, 26, {100, 60, 30});
            events.Disc(x + 20, y + 18, 2, {230, 200, 60});
            break;
        }
    }
    ok &= WritePngFile("image\\Event.png", events);

    Canvas world(256, 1024, {0, 0, 0});
    static const int kWorldTerrain[] = {1, 2, 3, 4, 5, 6};
    for (int n = 0; n < 256; ++n)
        DrawTerrain(world, (n % 8) * 32, (n / 8) * 32, kWorldTerrain[n % 6]);
    ok &= WritePngFile("image\\WorldMapChip.png", world);

    // World events: towns and castles.
    Canvas worldEvents(256, 256, key);
    for (int n = 0; n < 64; ++n) {
        int x = (n % 8) * 32, y = (n / 8) * 32;
        Rgb roof = FigureColour(n);
        worldEvents.Fill(x + 6, y + 14, 20, 14, {220, 220, 210});
        worldEvents.Peak(x + 16, y + 4, 12, y + 14, roof);
        worldEvents.Fill(x + 14, y + 20, 4, 8, {90, 60, 30});
    }
    ok &= WritePngFile("image\\WorldEvent.png", worldEvents);

    Canvas symbols(256, 64, key);
    for (int n = 0; n < 32; ++n)
        symbols.Disc((n % 16) * 16 + 8, (n / 16) * 16 + 8, 5, FigureColour(n));
    ok &= WritePngFile("image\\Symbol.png", symbols);

    // Effects: 64 x 64 cells, eight to a column; a ring growing through the frames.
    for (int e = 0; e < 8; ++e) {
        Canvas effect(256, 512, {0, 0, 0});
        for (int k = 0; k < 32; ++k) {
            int x = (k / 8) * 64, y = (k % 8) * 64, r = 4 + (k % 8) * 3;
            effect.Disc(x + 32, y + 32, r, FigureColour(e + 1));
            effect.Disc(x + 32, y + 32, r > 6 ? r - 4 : 0, {0, 0, 0});
        }
        ok &= WritePngFile(StrPrintf("image\\Effect%d.png", e + 1), effect);
    }

    Canvas accessory(256, 64, key);
    for (int n = 0; n < 16; ++n)
        accessory.Peak((n % 8) * 32 + 16, (n / 8) * 32 + 6, 8, (n / 8) * 32 + 24, FigureColour(n));
    ok &= WritePngFile("image\\Accessory.png", accessory);

    // Toolbar images: 16 x 15 each, grey background.
    const Rgb grey{192, 192, 192};
    Canvas palette(48, 15, grey);
    palette.Fill(0, 0, 16, 15, kTerrainColours[1].base);
    palette.Fill(2, 2, 5, 5, kTerrainColours[2].base);
    palette.Fill(9, 8, 5, 5, kTerrainColours[4].base);
    palette.Disc(24, 4, 3, {200, 50, 50});
    palette.Fill(20, 8, 8, 6, {200, 50, 50});
    palette.Fill(35, 3, 10, 9, {150, 90, 30});
    palette.Fill(35, 6, 10, 2, {230, 200, 60});
    ok &= WriteBmpFile("e_image\\ToolBar_Palette.bmp", palette);
    Canvas testPlay(16, 15, grey);
    // A green "play" triangle pointing right.
    for (int i = 0; i < 9; ++i)
        testPlay.Fill(4 + i, 2 + i / 2, 1, 11 - (i / 2) * 2, {0, 140, 0});
    ok &= WriteBmpFile("e_image\\ToolBar_TestPlay.bmp", testPlay);
    Canvas pen(64, 15, grey);
    pen.Line(2, 12, 12, 2, {0, 0, 0});
    pen.Line(18, 12, 28, 2, {0, 0, 160});
    pen.Frame(35, 3, 10, 9, {0, 0, 160});
    pen.Fill(51, 3, 10, 9, {0, 0, 160});
    ok &= WriteBmpFile("e_image\\ToolBar_Pen.bmp", pen);
    Canvas worldPalette(32, 15, grey);
    worldPalette.Fill(2, 2, 12, 11, kTerrainColours[1].base);
    worldPalette.Peak(24, 2, 6, 12, {200, 50, 50});
    ok &= WriteBmpFile("e_image\\ToolBar_WorldPalette.bmp", worldPalette);
    return ok;
}

// ---------------------------------------------------------------------------
// Files

// A text file of CP932 lines; path and lines are given in UTF-8.
bool WriteText(const char* path, const std::vector<const char*>& lines)
{
    std::ofstream out(HostPath(J(path)), std::ios::binary | std::ios::trunc);
    for (const char* line : lines) {
        std::string text = Utf8ToCp932(line);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.write("\r\n", 2);
    }
    return static_cast<bool>(out);
}

// "System.ini" of the game: every run-setting key with its default, then the
// end mark.
bool WriteRunSettings(const cSystem& system)
{
    std::ofstream out(HostPath("System.ini"), std::ios::binary | std::ios::trunc);
    for (const cIni& ini : system.m_Inis)
        out << ini.m_Key << '=' << ini.m_nDefault << "\r\n";
    out << "Exit\r\n";
    return static_cast<bool>(out);
}

// The files that live under "data" (and are copied to "default").
int WriteDataFiles(Project& p)
{
    int ok = 1;
    ok &= SaveListFile(p.m_GlobalVariables, ProjectFile::GValInfo);
    ok &= p.m_Database.SaveDatabaseFiles();
    ok &= SaveListFile(p.m_Lands, ProjectFile::Land);
    ok &= SaveListFile(p.m_SkillLists, ProjectFile::Skill);
    ok &= SaveListFile(p.m_Classes, ProjectFile::Class);
    ok &= SaveListFile(p.m_Friends, ProjectFile::Friend);
    ok &= SaveListFile(p.m_Enemies, ProjectFile::Enemy);
    ok &= p.m_System.SaveFile(ProjectFile::System);
    ok &= SaveListFile(p.m_MoveAITemplates, ProjectFile::MoveAITemplate);
    ok &= SaveListFile(p.m_EventPalette, ProjectFile::EventPlt);
    ok &= SaveListFile(p.m_ActionPalette, ProjectFile::EventActionPlt);
    ok &= p.m_WorldMap.SaveFile(ProjectFile::WorldMap);
    ok &= p.m_StartEvent.SaveFile(ProjectFile::StartEvent);
    cStage stage;
    ok &= stage.SaveFile(ProjectFile::DefaultStage);
    BuildSampleStage(stage);
    ok &= stage.SaveFile("data\\stg\\Stage01.stg2");
    ok &= WriteText("data\\random_name\\RandomName000_男性.txt",
                    {"アルフレド", "ベルント", "カイル", "ダリオ", "エミル", "ファビアン", "グレン", "ハロルド"});
    ok &= WriteText("data\\random_name\\RandomName001_女性.txt",
                    {"アリシア", "ベアトリス", "セシリア", "ダリア", "エレナ", "フィオナ", "グレース", "ヘレナ"});
    return ok;
}

// Runs fn with dir as the current directory.
template <class Fn>
int InFolder(const std::string& dir, Fn&& fn)
{
    std::error_code ec;
    fs::create_directories(dir, ec);
    fs::path old = fs::current_path(ec);
    fs::current_path(dir, ec);
    if (ec)
        return 0;
    int result = fn();
    fs::current_path(old, ec);
    return result;
}

}  // namespace

void BuildDefaultProject(Project& p)
{
    const TableSource* oldSource = SetTableSource(&p);
    // The system record first: its elements size the classes' resistances.
    BuildSystem(p.m_System);
    cDatabase& db = p.m_Database;
    db.Init();

    for (const char* name : {"人間", "獣", "不死"})
        db.m_CompatiTypes.emplace_back().m_Name = J(name);
    struct PtRow { const char* name; const char* unit; int var; } ptVals[] = {
        {"名声", "", 2}, {"お金", "G", 1}, {"食料", "個", 3},
    };
    for (const PtRow& r : ptVals) {
        cPtVal& v = db.m_PtVals.emplace_back();
        v.m_Name = J(r.name);
        v.m_Unit = J(r.unit);
        v.m_nVariable = r.var;
        v.m_bShowStatus = 1;
    }
    AddNone(db.m_CharaAnims);
    for (const char* name : {"攻撃", "魔法", "回復"})
        db.m_CharaAnims.emplace_back().m_Name = J(name);
    AddNone(db.m_EffectAnims);
    for (const char* name : {"斬撃", "炎", "癒し"})
        db.m_EffectAnims.emplace_back().m_Name = J(name);
    AddNone(db.m_Pictures);
    cEdPicture& title = db.m_Pictures.emplace_back();
    title.m_Name = J("タイトル");
    title.m_Path = "image\\picture\\Title.png";
    struct BackRow { const char* name; int type; } backs[] = {{"なし", BACK_COLOR}, {"草原", BACK_MAPCHIP}, {"森", BACK_MAPCHIP}};
    for (const BackRow& r : backs) {
        cEdBack& b = db.m_Backs.emplace_back();
        b.m_Name = J(r.name);
        b.m_nDisplayType = r.type;
    }
    AddNone(db.m_Sounds);
    for (const char* name : {"決定", "キャンセル", "攻撃", "回復"}) {
        cEdSound& s = db.m_Sounds.emplace_back();
        s.m_Name = J(name);
        s.m_Path = J("wave\\") + s.m_Name + ".wav";  // written by WriteStarterSounds
    }
    struct BgmRow { const char* name; const char* path; } bgms[] = {
        {"フリー", "bgm\\Free.mid"}, {"戦闘", "bgm\\Battle.ogg"}, {"勝利", "bgm\\Victory.ogg"},
    };
    AddNone(db.m_Bgms);
    for (const BgmRow& r : bgms) {
        cEdBgm& b = db.m_Bgms.emplace_back();
        b.m_Name = J(r.name);
        b.m_Path = r.path;
    }
    cEdHelp& help = db.m_Helps.emplace_back();
    help.m_Heading = J("遊び方");
    help.m_Texts.emplace_back().m_Text = J("味方を動かして敵を全滅させればステージクリアです。");
    help.m_Texts.emplace_back().m_Text = J("地形によって移動コストや能力が変わります。");

    p.m_Lands.clear();
    for (int i = 0; i < static_cast<int>(std::size(kLands)); ++i) {
        cLand& l = p.m_Lands.emplace_back();
        l.m_Name = J(kLands[i].name);
        l.m_Help = J(kLands[i].help);
        l.m_nMoveCost = kLands[i].moveCost;
        l.m_bImpassable = kLands[i].impassable;
        l.m_nGraphic = i;
    }
    p.m_Lands[2].m_StatMod[3] = 20;  // the wood gives cover: defence +20
    p.m_Lands[3].m_StatMod[3] = 30;

    p.m_SkillLists.clear();
    cSkillList& weapons = p.m_SkillLists.push_back(MakeSkillList("武器", {"剣", "槍", "弓"}));
    weapons.m_Skills.push_back(MakeSkill("ソード", "標準的な剣。", 0, 10, 0, kStrike));
    weapons.m_Skills.push_back(MakeSkill("スピア", "間合いの長い槍。", 0, 12, 0, kStrike)).m_nCategory = 1;
    weapons.m_Skills.push_back(MakeSkill("ボウ", "離れた敵を射る弓。", 0, 8, 0, kStrike)).m_nCategory = 2;
    cSkillList& magic = p.m_SkillLists.push_back(MakeSkillList("魔法", {"攻撃魔法", "回復魔法"}));
    magic.m_Skills.push_back(MakeSkill("ファイア", "炎で敵を焼く。", 0, 15, 4, kFire)).m_nElement = 1;
    magic.m_Skills.push_back(MakeSkill("ヒール", "味方の傷を癒す。", 0, 20, 5, kHeal)).m_nCategory = 1;
    p.RenumberSkills();

    p.m_Classes.clear();
    p.m_Classes.push_back(MakeClass("剣士", 1, 5, {20, 5, 8, 6, 2, 3, 5, 5, 6}, {60, 15, 30, 25, 6, 10, 20, 20, 22}));
    p.m_Classes.push_back(MakeClass("槍兵", 2, 4, {22, 4, 7, 8, 1, 3, 4, 4, 5}, {66, 12, 28, 30, 5, 10, 18, 16, 18}));
    p.m_Classes.push_back(MakeClass("弓兵", 3, 5, {18, 5, 7, 4, 2, 4, 7, 6, 7}, {52, 15, 26, 18, 6, 12, 28, 22, 24}));
    p.m_Classes.push_back(MakeClass("魔法使い", 4, 4, {15, 12, 3, 3, 9, 7, 5, 4, 5}, {45, 40, 10, 12, 32, 26, 18, 16, 18}));
    // Normal attacks: the class's own weapon, the mage's fire.
    const int attacks[][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 1}};  // ソード, スピア, ボウ, ファイア
    for (int i = 0; i < 4; ++i) {
        p.m_Classes[i].m_nAttackList = attacks[i][0];
        p.m_Classes[i].m_nAttackSkill = attacks[i][1];
    }
    p.FixLearningClasses();

    // Characters resolve their classes as they are made.
    const CharaContext* oldContext = SetCharaContext(&p);
    p.m_Friends.clear();
    cFriend& noFriend = p.m_Friends.emplace_back();  // a fresh entry, kept out of the shop
    noFriend.m_Name = J(kNone);
    noFriend.m_bRandomName = 0;
    noFriend.m_bShopFromStart = 0;
    p.m_Friends.push_back(MakeChara<cFriend>("アレス", 0, 1));
    p.m_Friends.push_back(MakeChara<cFriend>("ガイ", 1, 1));
    p.m_Friends.push_back(MakeChara<cFriend>("ミラ", 2, 1));
    cFriend& lina = p.m_Friends.push_back(MakeChara<cFriend>("リーナ", 3, 1));
    lina.m_LearnSkills.push_back(Learn(1, 1, 1));  // ファイア
    lina.m_LearnSkills.push_back(Learn(1, 2, 5));  // ヒール

    // 山賊 (2) guards the road, 山賊の頭 (3) holds the fort of the sample stage.
    p.m_Enemies.clear();
    p.m_Enemies.emplace_back().m_Name = J(kNone);
    p.m_Enemies.push_back(MakeEnemy("盗賊", "街道を荒らすならず者。", 0, 1, 30));
    p.m_Enemies.push_back(MakeEnemy("山賊", "槍を振り回す山の荒くれ者。", 1, 2, 50));
    p.m_Enemies.push_back(MakeEnemy("山賊の頭", "砦に陣取る山賊たちの頭目。", 0, 5, 300));
    p.m_Enemies.push_back(MakeEnemy("はぐれ魔術師", "炎の魔法を操る魔術師。", 3, 3, 80));
    p.m_Enemies[3].m_bFixedExp = 1;
    p.m_Enemies[3].m_nFixedExp = 50;
    p.m_Enemies[4].m_LearnSkills.push_back(Learn(1, 1, 1));  // ファイア
    SetCharaContext(oldContext);

    p.m_MoveAITemplates.clear();
    cMoveAITemplate& wait = p.m_MoveAITemplates.emplace_back();
    wait.m_Name = J("待機");
    wait.m_Description = J("敵が近づくまでその場で待つ。");

    p.m_GlobalVariables.clear();
    FitGlobalVariables(p.m_GlobalVariables);
    p.m_GlobalVariables[1].m_Name = J("お金");
    p.m_GlobalVariables[2].m_Name = J("名声");
    p.m_GlobalVariables[3].m_Name = J("食料");
    p.m_GlobalVariables[10].m_Name = J("シナリオ進行度");

    p.m_EventPalette.clear();
    p.m_EventPalette.emplace_back().m_Name = J("デフォルト");
    cEvent& chest = p.m_EventPalette.emplace_back();
    chest.m_Name = J("宝箱");
    chest.m_Pages[0].m_nGraphic = 1;
    chest.m_Pages[0].m_Actions.push_back(Message("宝箱を見つけた。"));

    p.m_ActionPalette.clear();
    cEventActPlt& greeting = p.m_ActionPalette.emplace_back();
    greeting.m_Name = J("開幕のあいさつ");
    greeting.m_Description = J("ステージ開始時のメッセージ");
    greeting.m_Actions.push_back(Message("戦いが始まる……！"));

    p.m_StartEvent = cEvent();
    p.m_StartEvent.m_Name = J("スタート");
    // The start event works on the game-wide state only: the party sets out with money.
    cEventAct& money = p.m_StartEvent.m_Pages[0].m_Actions.push_back(cEventAct(Act::Money));
    money.m_Ints[0] = 500;

    BuildWorldMap(p.m_WorldMap);
    p.m_Stage.NewStage();
    p.m_EditConfig.NewSettings();
    // A new project opens on its sample stage.
    p.m_EditConfig.m_StagePath = "data\\stg\\Stage01.stg2";
    p.m_TestPlay.Init();
    p.m_TestPlay.m_bAutoFind = 1;
    SetTableSource(oldSource);
}

int WriteDefaultProject(const std::string& dir, bool images)
{
    return InFolder(dir, [images] {
        const uint32_t oldVersion = CurrentVersion;
        CurrentVersion = kDataVersion;
        auto project = std::make_unique<Project>();
        Project& p = *project;
        BuildDefaultProject(p);
        const TableSource* oldSource = SetTableSource(&p);
        const CharaContext* oldContext = SetCharaContext(&p);
        CreateProjectFolders();
        std::error_code ec;
        fs::create_directories(HostPath("data\\plt"), ec);
        int ok = WriteDataFiles(p);
        ok &= p.m_EditConfig.SaveFile(ProjectFile::EditConfig);
        ok &= p.m_TestPlay.SaveFile(ProjectFile::TestPlay);
        ok &= WriteRunSettings(p.m_System);
        if (images) {
            ok &= WriteImages(SystemColorKey(p.m_System));
            ok &= WriteStarterSounds();
        }
        // "default" holds the same data for start-up to copy when "data" is lost.
        fs::remove_all(HostPath("default"), ec);
        fs::copy(HostPath("data"), "default", fs::copy_options::recursive, ec);
        if (ec)
            ok = 0;
        SetCharaContext(oldContext);
        SetTableSource(oldSource);
        CurrentVersion = oldVersion;
        return ok;
    });
}
