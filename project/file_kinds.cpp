#include "project/file_kinds.h"

#include "project/settings.h"
#include "database/land.h"
#include "database/media.h"
#include "events/event.h"
#include "events/gval_info.h"
#include "database/class.h"
#include "database/skill.h"
#include "database/ai.h"
#include "database/system.h"
#include "database/chara.h"
#include "stage/stage.h"
#include "events/action_palette.h"
#include "world/world_event.h"
#include "world/world_map.h"

namespace {

template <class T>
std::unique_ptr<RecordFileObject> Single()
{
    return std::make_unique<SingleRecordFile<T>>();
}

template <class T>
std::unique_ptr<RecordFileObject> List()
{
    return std::make_unique<ListRecordFile<T>>();
}

bool SameNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

const std::vector<RecordFileKind>& RecordFileKinds()
{
    static const std::vector<RecordFileKind> kinds = {
        // In the order of the project's file table.
        {"*.stg2", false, Single<cStage>},
        {"SheetSize.dat", false, Single<cPropSheetSize>},
        {"EditConfig.dat", false, Single<cEditConfig>},
        {"Testplay.dat", false, Single<cTestPlay>},
        {"GValInfo.dat", true, List<cGValInfo>},
        {"MoveAITemplate.dat", true, List<cMoveAITemplate>},
        {"EventPlt.dat", true, List<cEvent>},
        {"default.plt", true, List<cEvent>},
        {"EventActionPlt.dat", true, List<cEventActPlt>},
        {"WorldMap.dat", false, Single<cWorldMap>},
        {"StartEvent.dat", false, Single<cEvent>},
        {"Class.dat", true, List<cClass>},
        {"Friend.dat", true, List<cFriend>},
        {"Enemy.dat", true, List<cEnemy>},
        {"Skill.dat", true, List<cSkillList>},
        {"CompatiType.dat", true, List<cCompatiType>},
        {"Land.dat", true, List<cLand>},
        {"PartyVal.dat", true, List<cPtVal>},
        {"Picture.dat", true, List<cEdPicture>},
        {"Back.dat", true, List<cEdBack>},
        {"Sound.dat", true, List<cEdSound>},
        {"Bgm.dat", true, List<cEdBgm>},
        {"CharaAnim.dat", true, List<cCharaAnimPat>},
        {"EffectAnim.dat", true, List<cEffectAnimPat>},
        {"Help.dat", true, List<cEdHelp>},
        {"System.dat", false, Single<cSystem>},
    };
    return kinds;
}

const RecordFileKind* FindRecordFileKind(const std::string& nameOrPath)
{
    std::string name = nameOrPath;
    std::size_t cut = name.find_last_of("/\\");
    if (cut != std::string::npos)
        name = name.substr(cut + 1);
    for (const RecordFileKind& kind : RecordFileKinds()) {
        std::string pattern = kind.fileName;
        if (SameNoCase(name, pattern))
            return &kind;
        // "*.stg2" names every file with that extension.
        if (pattern.rfind("*.", 0) == 0 && name.size() > pattern.size() - 1 &&
            SameNoCase(name.substr(name.size() - (pattern.size() - 1)), pattern.substr(1)))
            return &kind;
    }
    // A copy whose name ends in the original one after "_", as version control
    // hands to a diff driver ("XyZ12_Class.dat"): the longest known name wins.
    const RecordFileKind* found = nullptr;
    std::size_t longest = 0;
    for (const RecordFileKind& kind : RecordFileKinds()) {
        std::string suffix = std::string("_") + kind.fileName;
        if (suffix.find('*') == std::string::npos && name.size() > suffix.size() && suffix.size() > longest &&
            SameNoCase(name.substr(name.size() - suffix.size()), suffix)) {
            found = &kind;
            longest = suffix.size();
        }
    }
    return found;
}
