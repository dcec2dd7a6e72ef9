#include "app/world_commands.h"

#include "base/log.h"
#include "base/text.h"
#include "media/image_load.h"
#include "media/image_table.h"
#include "project/project.h"

WorldEditState& WorldEditor()
{
    static WorldEditState state;
    return state;
}

WorldEditOptions WorldOptions(const Project& p)
{
    const cEditConfig& c = p.m_EditConfig;
    return {c.m_bWorldEditIfPlaced != 0, c.m_bWorldEditBeforePut != 0, c.m_bWorldAutoStage != 0, c.m_nUndoDepth};
}

bool SaveWorldMap(WorldEditState& ed, Project& p)
{
    if (!p.m_WorldMap.SaveFile(ProjectFile::WorldMap)) {
        ErrorBoxPrintf(SJ("%s の保存に失敗しました！").c_str(), ProjectFile::WorldMap);
        return false;
    }
    ed.modified = false;
    return true;
}

bool RevertWorldMap(WorldEditState& ed, Project& p)
{
    cWorldMap fresh;
    if (!fresh.LoadFile(ProjectFile::WorldMap)) {
        ReportLoadFailure(ProjectFile::WorldMap);
        return false;
    }
    p.m_WorldMap = std::move(fresh);
    ed.modified = false;
    ed.undo.Clear();
    return true;
}

WorldClose ConfirmCloseWorldMap(WorldEditState& ed, Project& p)
{
    if (!ed.modified)
        return WorldClose::Unchanged;
    Answer a = MessageBoxText(SJ("ワールドマップが変更された可能性があります。\n保存しますか？"), SJ("保存確認"),
                              Buttons::YesNoCancel);
    if (a == Answer::Cancel)
        return WorldClose::Stay;
    if (a == Answer::Yes)
        return SaveWorldMap(ed, p) ? WorldClose::Saved : WorldClose::Stay;
    RevertWorldMap(ed, p);
    return WorldClose::Reverted;
}

void ReloadWorldBack(const Project& p)
{
    Surface& s = ImageSurface(IMG_WORLDBACK);
    const std::string& name = p.m_WorldMap.m_BackImage;
    if (name.empty()) {
        ReleaseSurface(s);
        return;
    }
    ImageSource& row = ImageSourceRow(IMG_WORLDBACK);
    row.m_Path = name;
    if (!LoadSurface(s, row))
        ReleaseSurface(s);
}
