// The project: every record and record list of the project folder as one
// process-wide object, the order in which start-up loads them, and the
// operations that save them. All paths are stored paths relative to the
// project folder (the current directory).
#pragma once

#include <string>
#include <vector>

#include "project/settings.h"
#include "database/ai.h"
#include "database/chara.h"
#include "database/class.h"
#include "database/database.h"
#include "database/land.h"
#include "database/skill.h"
#include "events/action_palette.h"
#include "events/event.h"
#include "events/gval_info.h"
#include "media/surface.h"
#include "records/serial.h"
#include "stage/stage.h"
#include "database/system.h"
#include "records/tables.h"
#include "world/world_event.h"
#include "world/world_map.h"

// The project's files.
namespace ProjectFile {
inline constexpr const char* DefaultStage = "data\\stg\\Default.stg2";
inline constexpr const char* SheetSize = "e_data\\SheetSize.dat";
inline constexpr const char* OldEditConfig = "data\\EditConfig.dat";
inline constexpr const char* EditConfig = "e_data\\EditConfig.dat";
inline constexpr const char* TestPlay = "e_data\\Testplay.dat";
inline constexpr const char* GValInfo = "data\\GValInfo.dat";
inline constexpr const char* MoveAITemplate = "data\\MoveAITemplate.dat";
inline constexpr const char* EventPlt = "data\\EventPlt.dat";
inline constexpr const char* DefaultEventPlt = "data\\plt\\default.plt";
inline constexpr const char* EventActionPlt = "data\\EventActionPlt.dat";
inline constexpr const char* WorldMap = "data\\database\\WorldMap.dat";
inline constexpr const char* StartEvent = "data\\database\\StartEvent.dat";
inline constexpr const char* Class = "data\\database\\Class.dat";
inline constexpr const char* Friend = "data\\database\\Friend.dat";
inline constexpr const char* Enemy = "data\\database\\Enemy.dat";
inline constexpr const char* Skill = "data\\database\\Skill.dat";
inline constexpr const char* Land = "data\\database\\Land.dat";
inline constexpr const char* System = "data\\database\\System.dat";
inline constexpr const char* StageFolder = "data\\stg";
inline constexpr const char* RandomNameFolder = "data\\random_name";
}  // namespace ProjectFile

// The project is both the table source of the records and the context the
// characters resolve their classes in.
class Project : public TableSource, public CharaContext {
public:
    Project() = default;

    // CharaContext over the class table.
    const RecordList<cClass>* Classes() const override { return &m_Classes; }

    // TableSource over the live tables.
    int Size(Table table) const override;
    int SkillCount(int group) const override;
    int CategoryCount(int group) const override;
    std::string Name(Table table, int index) const override;
    std::string SkillName(int group, int skill) const override;

    // Skills whose learning class lies beyond the class table learn in class 0.
    void FixLearningClasses();
    // Skill groups and skills carry their own positions.
    void RenumberSkills();

    cDatabase m_Database;                      // the nine tables of the database window
    RecordList<cClass> m_Classes;
    RecordList<cFriend> m_Friends;
    RecordList<cEnemy> m_Enemies;
    RecordList<cSkillList> m_SkillLists;
    RecordList<cLand> m_Lands;
    cSystem m_System;
    cStage m_Stage;                            // the stage being edited
    cWorldMap m_WorldMap;
    cEvent m_StartEvent;
    RecordList<cEvent> m_EventPalette;
    RecordList<cEventActPlt> m_ActionPalette;
    RecordList<cMoveAITemplate> m_MoveAITemplates;
    RecordList<cGValInfo> m_GlobalVariables;   // always kGlobalVariableCount after a load
    cEditConfig m_EditConfig;
    cTestPlay m_TestPlay;
    cPropSheetSize m_SheetSize;
    bool m_SheetSizeLoaded = false;            // m_SheetSize was read from its file
    std::vector<std::string> m_RandomNames;    // the entries the random-name choices offer
};

// The project of this process.
Project& TheProject();
// Puts every record of the project back as a fresh process finds it.
void ResetProject();

struct ProjectLoadOptions {
    // The images of the image table (the data tool has no use for them).
    bool images = true;
};

// Loads every project file in the fixed order. The first file that fails is
// reported (ReportLoadFailure) and ends the load with 0; the records loaded so
// far stay as they are. Installs the project as the table source and as the
// characters' context, and makes the system record's transparent colour the
// colour key of the images.
int LoadProject(const ProjectLoadOptions& options = {});

// Installs the project of this process as the table source and the characters'
// context (what LoadProject does first).
void UseProjectTables();

// The system record's transparent colour.
Rgb SystemColorKey(const cSystem& system);

// The battle mode chosen after the data were created: stored in the system
// record with its auto-battle flag and saved. 0 when the save failed.
int StoreBattleMode(int mode);

// Reports a failed load of the file: its version was too new, or it is missing
// or broken.
void ReportLoadFailure(const std::string& path);

// Opens the stage the editor settings remember over the template. A stage that
// cannot be opened is replaced by a new stage and forgotten.
void OpenRememberedStage();

// Loads the database window's size ("e_data\SheetSize.dat"). 0 when the file
// is missing, unreadable or newer; the record then keeps what it held.
int LoadSheetSize();

// Puts a fresh stage with the default-stage template (templatePath, as the
// editor settings name it) read over it into stage: the base every stage file
// is opened over, so that members an older file lacks keep the template's
// values. 0 when the template could not be read (stage is then a fresh stage).
int PrepareStageTemplate(cStage& stage, const std::string& templatePath);
// Reads the stage file at path into stage, prepared over the template. 0 when
// the file could not be read (stage then holds the template).
int LoadStageOverTemplate(cStage& stage, const std::string& templatePath, const std::string& path);

// Tells the user of every write that failed since the last ClearWriteFailures,
// one box each naming the file and the reason, then clears the list.
void ReportWriteFailures();

// After a load: when files ended early (EndedEarlyFiles), tells the user once
// with their names and writes the same to the report log; the list is then
// emptied.
void ReportEndedEarlyFiles();

// Lists the random-name files of "data\random_name" into m_RandomNames.
void LoadRandomNames();

// The nine database-window lists (after the learning-class check).
int SaveDatabaseFiles();
// Everything the database window edits: the nine lists, classes, allies,
// enemies, lands, skills, the system record and the world map.
int SaveDatabase();

// Saves the side files: common-variable names, movement-AI templates, the event
// and action palettes and the start event.
int SaveSideFiles();

// Writes every project file the project holds back at the current version:
// what SaveDatabase writes, the side files, the start event, the editor and
// test-play settings, the database window's size when LoadSheetSize read it,
// the remembered stage at its own path and every stage under "data\stg", each
// stage opened over the template. 0 when any of them could not be loaded or
// written; a remembered stage whose file does not exist is passed over. The
// stages are all read before anything is written: when any file of the project
// ended early (EndedEarlyFiles) nothing is written and -1 is returned, unless
// force is set.
int UpgradeProjectFiles(bool force = false);

// The editor's own settings, single instances for the whole process (held by the project).
cEditConfig& EditConfig();
cPropSheetSize& PropSheetSize();

// Creates the project's folders (existing ones are kept).
void CreateProjectFolders();

// Loads the editor settings, moving them from their old place under "data".
void LoadEditorSettings();
