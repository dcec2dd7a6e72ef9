#include "project/project.h"

#include <filesystem>

#include "base/host_file.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "media/image_table.h"

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Tables

namespace {

template <class L>
std::string NameAt(const L& list, int index)
{
    if (index < 0 || index >= list.size())
        return {};
    return list[index].m_Name;
}

}  // namespace

int Project::Size(Table table) const
{
    const cDatabase& db = m_Database;
    switch (table) {
    case Table::Class: return m_Classes.size();
    case Table::Friend: return m_Friends.size();
    case Table::Enemy: return m_Enemies.size();
    case Table::SkillList: return m_SkillLists.size();
    case Table::Land: return m_Lands.size();
    case Table::CompatiType: return db.m_CompatiTypes.size();
    case Table::PartyVal: return db.m_PtVals.size();
    case Table::CharaAnim: return db.m_CharaAnims.size();
    case Table::EffectAnim: return db.m_EffectAnims.size();
    case Table::Picture: return db.m_Pictures.size();
    case Table::Back: return db.m_Backs.size();
    case Table::Sound: return db.m_Sounds.size();
    case Table::Bgm: return db.m_Bgms.size();
    case Table::Help: return db.m_Helps.size();
    case Table::Element: return m_System.m_Elems.size();
    case Table::Category: return m_System.m_Categs.size();
    case Table::ParamInfo: return m_System.m_Params.size();
    case Table::MoveAITemplate: return m_MoveAITemplates.size();
    case Table::GlobalVariable: return m_GlobalVariables.size();
    case Table::PositionGroup: return m_Stage.m_GroupPos.size();
    case Table::WorldChip: return m_WorldMap.m_Chips.size();
    case Table::StageWidth: return m_Stage.m_nWidth;
    case Table::StageHeight: return m_Stage.m_nHeight;
    case Table::Count_: break;
    }
    return -1;
}

int Project::SkillCount(int group) const
{
    if (group < 0 || group >= m_SkillLists.size())
        return 0;
    return m_SkillLists[group].m_Skills.size();
}

int Project::CategoryCount(int group) const
{
    if (group < 0 || group >= m_SkillLists.size())
        return 0;
    return m_SkillLists[group].m_Categs.size();
}

std::string Project::Name(Table table, int index) const
{
    const cDatabase& db = m_Database;
    switch (table) {
    case Table::Class: return NameAt(m_Classes, index);
    case Table::Friend: return NameAt(m_Friends, index);
    case Table::Enemy: return NameAt(m_Enemies, index);
    case Table::SkillList: return NameAt(m_SkillLists, index);
    case Table::Land: return NameAt(m_Lands, index);
    case Table::CompatiType: return NameAt(db.m_CompatiTypes, index);
    case Table::PartyVal: return NameAt(db.m_PtVals, index);
    case Table::CharaAnim: return NameAt(db.m_CharaAnims, index);
    case Table::EffectAnim: return NameAt(db.m_EffectAnims, index);
    case Table::Picture: return NameAt(db.m_Pictures, index);
    case Table::Back: return NameAt(db.m_Backs, index);
    case Table::Sound: return NameAt(db.m_Sounds, index);
    case Table::Bgm: return NameAt(db.m_Bgms, index);
    case Table::Help:
        return index >= 0 && index < db.m_Helps.size() ? db.m_Helps[index].m_Heading : std::string();
    case Table::Element: return NameAt(m_System.m_Elems, index);
    case Table::Category: return NameAt(m_System.m_Categs, index);
    case Table::ParamInfo: return NameAt(m_System.m_Params, index);
    case Table::MoveAITemplate: return NameAt(m_MoveAITemplates, index);
    case Table::GlobalVariable: return NameAt(m_GlobalVariables, index);
    case Table::PositionGroup: return NameAt(m_Stage.m_GroupPos, index);
    case Table::WorldChip: return NameAt(m_WorldMap.m_Chips, index);
    default: return {};
    }
}

std::string Project::SkillName(int group, int skill) const
{
    if (group < 0 || group >= m_SkillLists.size())
        return {};
    return NameAt(m_SkillLists[group].m_Skills, skill);
}

void Project::FixLearningClasses()
{
    for (cSkillList& list : m_SkillLists)
        for (cSkill& skill : list.m_Skills)
            if (skill.m_nLearnClass >= m_Classes.size())
                skill.m_nLearnClass = 0;
}

void Project::RenumberSkills()
{
    for (int g = 0; g < m_SkillLists.size(); ++g) {
        cSkillList& list = m_SkillLists[g];
        list.m_nGroupNo = g;
        for (int s = 0; s < list.m_Skills.size(); ++s)
            list.m_Skills[s].m_nSkillNo = s;
    }
}

Project& TheProject()
{
    static Project project;
    return project;
}

void ResetProject()
{
    // The lists read from list files keep their records' storage for the next
    // load (SpareRecords): a project opened again allocates little.
    Project& p = TheProject();
    cDatabase& db = p.m_Database;
    RecycleRecords(db.m_CompatiTypes);
    RecycleRecords(db.m_PtVals);
    RecycleRecords(db.m_CharaAnims);
    RecycleRecords(db.m_EffectAnims);
    RecycleRecords(db.m_Pictures);
    RecycleRecords(db.m_Backs);
    RecycleRecords(db.m_Sounds);
    RecycleRecords(db.m_Bgms);
    RecycleRecords(db.m_Helps);
    RecycleRecords(p.m_Classes);
    RecycleRecords(p.m_Friends);
    RecycleRecords(p.m_Enemies);
    RecycleRecords(p.m_SkillLists);
    RecycleRecords(p.m_Lands);
    RecycleRecords(p.m_EventPalette);
    RecycleRecords(p.m_ActionPalette);
    RecycleRecords(p.m_MoveAITemplates);
    RecycleRecords(p.m_GlobalVariables);
    p = Project();
}

// ---------------------------------------------------------------------------
// Loading

void ReportLoadFailure(const std::string& path)
{
    if (VersionTooNew)
        ReportErrorPrintf(SJ("%s の読み込みに失敗しました！\n実行ファイル(.exe)より上位のバージョンのファイルは使用できません。").c_str(),
                          path.c_str());
    else
        ReportErrorPrintf(SJ("%s の読み込みに失敗しました！\nこのファイルが存在しない場合は「default」フォルダから「data」フォルダへ同名のファイルをコピーして下さい。").c_str(),
                          path.c_str());
}

namespace {

int Loaded(int ok, const std::string& path)
{
    if (!ok)
        ReportLoadFailure(path);
    return ok;
}

template <class T>
int LoadList(RecordList<T>& list, const char* path)
{
    return Loaded(LoadListFile(list, path), path);
}

}  // namespace

void UseProjectTables()
{
    Project& p = TheProject();
    SetTableSource(&p);
    SetCharaContext(&p);
}

Rgb SystemColorKey(const cSystem& system) { return Rgb{system.m_nColorR, system.m_nColorG, system.m_nColorB}; }

int LoadProject(const ProjectLoadOptions& options)
{
    Project& p = TheProject();
    // Characters resolve their classes against the class table as they are
    // read; it is loaded before them.
    UseProjectTables();

    // 1. Common-variable names: always exactly 1000, whatever the file held.
    int ok = LoadList(p.m_GlobalVariables, ProjectFile::GValInfo);
    FitGlobalVariables(p.m_GlobalVariables);
    if (!ok)
        return 0;

    // 2. The nine database-window tables.
    std::string failed;
    if (!p.m_Database.LoadDatabaseFiles(&failed))
        return Loaded(0, failed);
    p.FixLearningClasses();

    // 3. System record: its elements, categories and parameter names are tables
    // the later records refer to.
    if (!Loaded(p.m_System.LoadFile(ProjectFile::System), ProjectFile::System))
        return 0;
    const uint32_t systemVersion = LoadedFileVersion;

    // 4. Test-play settings. Before 221 the editor settings held the test-play
    // mode and the game program; an older project (as its system record tells)
    // without its own file takes them from there.
    // A file written by a newer editor stops the load like any other: the
    // settings put in its place would be saved over it.
    const int testPlayLoaded = p.m_TestPlay.LoadFile(ProjectFile::TestPlay);
    if (!testPlayLoaded && VersionTooNew)
        return Loaded(0, ProjectFile::TestPlay);
    if (!testPlayLoaded && systemVersion < 221) {
        p.m_TestPlay.Init();
        p.m_TestPlay.m_nTraining = 2;
        p.m_TestPlay.m_bAutoFind = p.m_EditConfig.m_nOldTestPlayMode;
        p.m_TestPlay.m_GamePath = p.m_EditConfig.m_OldGamePath;
    }
    SetColorKey(SystemColorKey(p.m_System));

    // 5. to 9. Lands, skills, classes, allies, enemies.
    if (!LoadList(p.m_Lands, ProjectFile::Land))
        return 0;
    if (!LoadList(p.m_SkillLists, ProjectFile::Skill))
        return 0;
    p.RenumberSkills();
    if (!LoadList(p.m_Classes, ProjectFile::Class))
        return 0;
    if (!LoadList(p.m_Friends, ProjectFile::Friend))
        return 0;
    if (!LoadList(p.m_Enemies, ProjectFile::Enemy))
        return 0;

    // 10. The stage template: the remembered stage is opened over it, so
    // members an older stage file lacks keep the template's values.
    if (!p.m_EditConfig.m_DefaultStagePath.empty())
        PrepareStageTemplate(p.m_Stage, p.m_EditConfig.m_DefaultStagePath);

    // 11. to 15. Palettes, world map, start event.
    if (!LoadList(p.m_MoveAITemplates, ProjectFile::MoveAITemplate))
        return 0;
    if (!LoadListFile(p.m_EventPalette, ProjectFile::EventPlt)) {
        // A newer editor's palette is not replaced by the default one, which
        // the next stage save would write over it.
        if (VersionTooNew)
            return Loaded(0, ProjectFile::EventPlt);
        // Older projects kept their palette under "data\plt"; without either
        // the palette starts with one default event.
        p.m_EventPalette.clear();
        p.m_EventPalette.emplace_back().m_Name = SJ("デフォルト");
        LoadListFile(p.m_EventPalette, ProjectFile::DefaultEventPlt);
    }
    if (!LoadList(p.m_ActionPalette, ProjectFile::EventActionPlt))
        return 0;
    if (!Loaded(p.m_WorldMap.LoadFile(ProjectFile::WorldMap), ProjectFile::WorldMap))
        return 0;
    if (!Loaded(p.m_StartEvent.LoadFile(ProjectFile::StartEvent), ProjectFile::StartEvent))
        return 0;

    // 16. and 17. Images and the working sheets composed from them.
    if (options.images && !LoadProjectImages(p.m_WorldMap.m_BackImage))
        return 0;
    return 1;
}

int PrepareStageTemplate(cStage& stage, const std::string& templatePath)
{
    stage = cStage();
    return !templatePath.empty() && stage.LoadFile(templatePath);
}

int LoadStageOverTemplate(cStage& stage, const std::string& templatePath, const std::string& path)
{
    PrepareStageTemplate(stage, templatePath);
    return stage.LoadFile(path);
}

void OpenRememberedStage()
{
    Project& p = TheProject();
    std::string& path = p.m_EditConfig.m_StagePath;
    if (path.empty())
        return;
    if (!LoadStageOverTemplate(p.m_Stage, p.m_EditConfig.m_DefaultStagePath, path)) {
        p.m_Stage.NewStage();
        path.clear();
    }
}

int LoadSheetSize()
{
    Project& p = TheProject();
    p.m_SheetSizeLoaded = p.m_SheetSize.LoadFile(ProjectFile::SheetSize) != 0;
    return p.m_SheetSizeLoaded;
}

void ReportWriteFailures()
{
    for (const WriteFailure& f : WriteFailures()) {
        const std::string name = f.storedPath.empty() ? StoredPath(f.hostPath) : f.storedPath;
        ErrorBoxPrintf(SJ("%sを保存できません: %s").c_str(), name.c_str(), f.reason.c_str());
    }
    ClearWriteFailures();
}

void ReportEndedEarlyFiles()
{
    if (EndedEarlyFiles().empty())
        return;
    std::string text = SJ("次のファイルは途中で終わっています。読めなかった部分は既定値になります。保存すると上書きされます。");
    for (const EndedEarlyFile& file : EndedEarlyFiles())
        text += "\n" + file.path;
    ReportPrintf("%s", text.c_str());
    MessageBoxText(text, SJ("エラー"), Buttons::Ok);
    ClearEndedEarlyFiles();
}

void LoadRandomNames()
{
    std::vector<std::string> files;
    ListFiles(ProjectFile::RandomNameFolder, "txt", files);
    std::vector<std::string>& out = TheProject().m_RandomNames;
    out.clear();
    for (std::size_t i = 0; i < files.size(); ++i) {
        // The file at position i must carry the number i in its name.
        std::string name = FileNamePart(files[i]);
        std::string prefix = StrPrintf("RandomName%.3d_", static_cast<int>(i));
        if (name.compare(0, prefix.size(), prefix) == 0)
            out.push_back(StrPrintf("%.3d %s", static_cast<int>(i), name.c_str() + prefix.size()));
        else
            out.push_back(SJ("！ファイルが不正です"));
    }
}

// ---------------------------------------------------------------------------
// Saving

int SaveDatabaseFiles()
{
    Project& p = TheProject();
    p.FixLearningClasses();
    return p.m_Database.SaveDatabaseFiles();
}

int SaveDatabase()
{
    DurableSaveScope durable;
    Project& p = TheProject();
    int ok = SaveDatabaseFiles();
    ok &= SaveListFile(p.m_Classes, ProjectFile::Class);
    ok &= SaveListFile(p.m_Friends, ProjectFile::Friend);
    ok &= SaveListFile(p.m_Enemies, ProjectFile::Enemy);
    ok &= SaveListFile(p.m_Lands, ProjectFile::Land);
    ok &= SaveListFile(p.m_SkillLists, ProjectFile::Skill);
    ok &= p.m_System.SaveFile(ProjectFile::System);
    ok &= p.m_WorldMap.SaveFile(ProjectFile::WorldMap);
    return ok;
}

int StoreBattleMode(int mode)
{
    cSystem& system = TheProject().m_System;
    system.SetBattleMode(mode);
    return system.SaveFile(ProjectFile::System);
}

int SaveSideFiles()
{
    DurableSaveScope durable;
    Project& p = TheProject();
    int ok = SaveListFile(p.m_GlobalVariables, ProjectFile::GValInfo);
    ok &= SaveListFile(p.m_MoveAITemplates, ProjectFile::MoveAITemplate);
    ok &= SaveListFile(p.m_EventPalette, ProjectFile::EventPlt);
    ok &= SaveListFile(p.m_ActionPalette, ProjectFile::EventActionPlt);
    ok &= p.m_StartEvent.SaveFile(ProjectFile::StartEvent);
    return ok;
}

int UpgradeProjectFiles(bool force)
{
    Project& p = TheProject();
    // Each stage is opened as the stage being edited, over the template, so
    // that it is validated against this project's tables: first the remembered
    // stage as start-up opens it (it may lie anywhere and keep an old
    // extension), then every other stage under "data\stg". All are read
    // first: a file that ended early stops the upgrade before anything is
    // written.
    const cStage stageTemplate = p.m_Stage;
    std::vector<std::string> paths;
    ListFiles(ProjectFile::StageFolder, "stg2", paths);
    const std::string remembered = p.m_EditConfig.m_StagePath;
    std::error_code ec;
    const fs::path rememberedFile = remembered.empty() ? fs::path() : fs::path(HostPath(remembered));
    if (!remembered.empty() && fs::is_regular_file(rememberedFile, ec)) {
        std::erase_if(paths, [&](const std::string& path) { return fs::equivalent(HostPath(path), rememberedFile, ec); });
        paths.insert(paths.begin(), remembered);
    }
    std::vector<std::pair<std::string, cStage>> stages;
    int ok = 1;
    for (const std::string& path : paths) {
        p.m_Stage = stageTemplate;
        if (p.m_Stage.LoadFile(path)) {
            stages.emplace_back(path, p.m_Stage);
        } else {
            ReportPrintf("%s", path.c_str());
            ok = 0;
        }
    }
    p.m_Stage = stageTemplate;
    if (!force && !EndedEarlyFiles().empty())
        return -1;

    DurableSaveScope durable;
    ok &= SaveDatabase();
    ok &= SaveSideFiles();
    ok &= p.m_EditConfig.SaveFile(ProjectFile::EditConfig);
    ok &= p.m_TestPlay.SaveFile(ProjectFile::TestPlay);
    // A missing size file is not created: its defaults would be a scale of 0.
    if (p.m_SheetSizeLoaded)
        ok &= p.m_SheetSize.SaveFile(ProjectFile::SheetSize);
    for (auto& [path, stage] : stages) {
        p.m_Stage = stage;
        if (!p.m_Stage.SaveFile(path)) {
            ReportPrintf("%s", path.c_str());
            ok = 0;
        }
    }
    p.m_Stage = stageTemplate;
    return ok;
}

cEditConfig& EditConfig() { return TheProject().m_EditConfig; }

cPropSheetSize& PropSheetSize() { return TheProject().m_SheetSize; }

void CreateProjectFolders()
{
    static const char* const kFolders[] = {
        "e_data", "e_image", "user_data", "data", "data\\database", "data\\stg", "data\\random_name",
        "csv", "image", "image\\back", "image\\picture", "wave", "bgm",
    };
    for (const char* folder : kFolders) {
        std::error_code ec;
        fs::create_directory(HostPath(folder), ec);
    }
}

void LoadEditorSettings()
{
    cEditConfig& config = EditConfig();
    const std::string path = "e_data\\EditConfig.dat";
    const std::string oldPath = "data\\EditConfig.dat";
    if (config.LoadFile(path))
        return;
    std::error_code ec;
    if (fs::exists(HostPath(path), ec)) {
        ErrorLogPrintf("%s", SJ("EditConfig.Load 失敗").c_str());
        config.NewSettings();
        return;
    }
    // Older editors kept their settings with the game data.
    if (!config.LoadFile(oldPath)) {
        ErrorLogPrintf("%s", SJ("EditConfig.Load 失敗 (旧パス)").c_str());
        config.NewSettings();
        return;
    }
    if (config.SaveFile(path) && !fs::remove(HostPath(oldPath), ec))
        ErrorLogPrintf("%s", SJ("EditConfig.DeleteFile 失敗 (旧パス)").c_str());
}
