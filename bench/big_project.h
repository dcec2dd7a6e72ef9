// The large project of the benchmarks: the starter project with every table
// made large, a 64 x 64 stage with 200 placements and 300 events, written once
// into a temporary folder that becomes the current directory.
#pragma once

#include <filesystem>
#include <string>

#include "base/text.h"
#include "events/action_kinds.h"
#include "project/default_project.h"
#include "project/project.h"

namespace fs = std::filesystem;

namespace {

const char* const kBigStage = "data\\stg\\Big.stg2";

std::string Numbered(const char* utf8, int n) { return Utf8ToCp932(utf8) + std::to_string(n); }

cEventAct Action(int n)
{
    static const int32_t kinds[] = {Act::Message, Act::Wait, Act::CommonVariable, Act::Money, Act::Music};
    cEventAct a(kinds[n % 5]);
    if (!a.m_Strings.empty())
        a.m_Strings[0] = Numbered("よく来たな、旅の者よ。ここから先は通さん！", n);
    return a;
}

cEvent MakeEvent(int n, int x, int y)
{
    cEvent e;
    e.m_Name = Numbered("イベント", n);
    e.m_nX = x;
    e.m_nY = y;
    for (int page = 0; page < 3; ++page) {
        cEventPage& p = page == 0 ? e.m_Pages[0] : e.m_Pages.emplace_back();
        p.m_nGraphic = (n + page) % 64;
        for (int k = 0; k < 8; ++k)
            p.m_Actions.push_back(Action(n + k));
    }
    return e;
}

// Makes every table of the starter project large.
void Enlarge(Project& p)
{
    cDatabase& db = p.m_Database;
    for (int i = 0; i < 100; ++i)
        db.m_CompatiTypes.emplace_back().m_Name = Numbered("相性", i);
    for (int i = 0; i < 200; ++i) {
        cPtVal& v = db.m_PtVals.emplace_back();
        v.m_Name = Numbered("パーティー変数", i);
        v.m_nVariable = i;
    }
    for (int i = 0; i < 300; ++i) {
        db.m_CharaAnims.emplace_back().m_Name = Numbered("キャラアニメ", i);
        db.m_EffectAnims.emplace_back().m_Name = Numbered("エフェクト", i);
        cEdPicture& pic = db.m_Pictures.emplace_back();
        pic.m_Name = Numbered("ピクチャ", i);
        pic.m_Path = "image\\picture\\Picture" + std::to_string(i) + ".png";
        db.m_Backs.emplace_back().m_Name = Numbered("背景", i);
        cEdSound& s = db.m_Sounds.emplace_back();
        s.m_Name = Numbered("効果音", i);
        cEdBgm& b = db.m_Bgms.emplace_back();
        b.m_Name = Numbered("曲", i);
        b.m_Path = "bgm\\Music" + std::to_string(i) + ".ogg";
    }
    for (int i = 0; i < 200; ++i) {
        cEdHelp& h = db.m_Helps.emplace_back();
        h.m_Heading = Numbered("ヘルプ", i);
        for (int k = 0; k < 6; ++k)
            h.m_Texts.emplace_back().m_Text = Numbered("地形によって移動コストや能力が変わります。", k);
    }
    for (int i = 0; i < 248; ++i) {
        cLand& l = p.m_Lands.emplace_back();
        l.m_Name = Numbered("地形", i);
        l.m_Help = Numbered("足場の悪い土地。", i);
        l.m_nMoveCost = 1 + i % 3;
        l.m_nGraphic = i;
    }
    for (int g = 0; g < 30; ++g) {
        cSkillList& list = p.m_SkillLists.emplace_back();
        list.m_Name = Numbered("スキル群", g);
        for (int c = 0; c < 4; ++c)
            list.m_Categs.emplace_back().m_Name = Numbered("カテゴリー", c);
        for (int s = 0; s < 150; ++s) {
            cSkill& skill = list.m_Skills.emplace_back();
            skill.m_Name = Numbered("スキル", s);
            skill.m_Description = Numbered("敵一体に威力の高い攻撃を行う。", s);
            skill.m_nCategory = s % 4;
            skill.m_nEffectValue = s;
        }
    }
    p.RenumberSkills();
    for (int i = 0; i < 200; ++i) {
        cClass& c = p.m_Classes.emplace_back();
        c.m_Name = Numbered("クラス", i);
        c.m_InitialStats = {20, 5, 8, 6, 2, 3, 5, 5, 6};
        c.m_FinalStats = {60, 15, 30, 25, 6, 10, 20, 20, 22};
        c.AdjustToTables();
    }
    for (int i = 0; i < 1000; ++i) {
        cFriend& f = p.m_Friends.emplace_back();
        f.m_Name = Numbered("味方", i);
        f.m_nClass = i % p.m_Classes.size();
        f.ResolveClass(false);
        for (int k = 0; k < 10; ++k) {
            cLearnSkill& l = f.m_LearnSkills.emplace_back();
            l.m_nSkillList = k;
            l.m_nSkill = i % 150;
            l.m_nLevel = k * 3 + 1;
        }
    }
    for (int i = 0; i < 2000; ++i) {
        cEnemy& e = p.m_Enemies.emplace_back();
        e.m_Name = Numbered("敵", i);
        e.m_Description = Numbered("砦に陣取る山賊たちの頭目。", i);
        e.m_nClass = i % p.m_Classes.size();
        e.ResolveClass(false);
        e.m_BattleAI.emplace_back();
    }
    for (int i = 0; i < 200; ++i) {
        cMoveAITemplate& t = p.m_MoveAITemplates.emplace_back();
        t.m_Name = Numbered("移動AI", i);
        t.m_Description = Numbered("敵が近づくまでその場で待つ。", i);
    }
    for (int i = 0; i < 1000; ++i)
        p.m_GlobalVariables[i].m_Name = Numbered("変数", i);
    for (int i = 0; i < 300; ++i)
        p.m_EventPalette.push_back(MakeEvent(i, 0, 0));
    for (int i = 0; i < 300; ++i) {
        cEventActPlt& a = p.m_ActionPalette.emplace_back();
        a.m_Name = Numbered("アクション", i);
        for (int k = 0; k < 10; ++k)
            a.m_Actions.push_back(Action(i + k));
    }
    p.m_WorldMap.ResizeWorldMap(200, 150);
    for (int i = 0; i < 500; ++i) {
        cWorldEvent& e = p.m_WorldMap.m_Events.emplace_back();
        e.m_Name = Numbered("町", i);
        e.m_nX = i % 200;
        e.m_nY = i / 200;
    }
}

void BuildBigStage(cStage& s)
{
    s.NewStage();
    s.m_Name = Utf8ToCp932("大きな戦場");
    s.ResizeMap(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            s.SetCell(x, y, (x * 7 + y * 3) % 200);
    for (int i = 0; i < 200; ++i) {
        cPutEnemy& e = s.m_PutEnemy.emplace_back();
        e.m_nEnemy = i % 2000;
        e.m_nX = i % 64;
        e.m_nY = 32 + i / 64;
    }
    for (int i = 0; i < 300; ++i)
        s.m_Events.push_back(MakeEvent(i, i % 64, i / 64));
}

// The project folder, written once with the project's own code.
inline const std::string& Folder()
{
    static const std::string dir = [] {
        fs::path p = fs::temp_directory_path() / "vantor-bench-project";
        fs::remove_all(p);
        WriteDefaultProject(p.string(), false);
        fs::current_path(p);
        CurrentVersion = kDataVersion;
        ProjectLoadOptions options;
        options.images = false;
        LoadProject(options);
        Project& project = TheProject();
        Enlarge(project);
        BuildBigStage(project.m_Stage);
        project.m_Stage.SaveFile(kBigStage);
        project.m_EditConfig.m_StagePath = kBigStage;
        project.m_EditConfig.SaveFile(ProjectFile::EditConfig);
        UpgradeProjectFiles();
        return p.string();
    }();
    return dir;
}

}  // namespace
