// The texts and rules of enemy placements: the enemy palette's lines, the
// movement rule lines of the placement dialog, the choices of its combos, and
// the movement-rule templates with their manager.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "database/ai.h"
#include "database/chara.h"
#include "records/serial.h"
#include "stage/stage_elements.h"

class cGroupPos;

// Counts of the lists the palette and the placement dialog edit.
inline constexpr int kMaxPlacements = 999;
inline constexpr int kMaxPlacementRules = 100;
inline constexpr int kMaxMoveAITemplates = 999;
// A destination group with this many positions cannot be chosen.
inline constexpr int kDestinationPositionLimit = 5;

// "(x,y) 未設定" for enemy 0, otherwise "グG (x,y) n-name LVl " with the name
// padded to 8 bytes; "--" stands for x and y of a placement off the map (CP932).
std::string PutEnemyLine(const cPutEnemy& e, const RecordList<cEnemy>& enemies);

// "range で target に action", the skill's name in brackets for "回復", and
// "   ※条件あり" when conditions apply (CP932; skill names from the table source).
std::string MoveAILine(const cMoveAI& rule);

// The enemy combo: "未設定", then "n-name" for each enemy from 1.
std::vector<std::string> EnemyChoices(const RecordList<cEnemy>& enemies);

// The destination combo: one "n-name" per position group; those with five or
// more positions cannot be chosen.
struct Choice {
    std::string text;
    bool enabled = true;
};
std::vector<Choice> DestinationChoices(const RecordList<cGroupPos>& groups);

// What the template commands answer.
enum class TemplateResult { Done, NoSelection, Declined, Full, NoRules, SaveFailed };

// Writes the template list; a failed write says "%s の保存に失敗しました！"
// with the path. The list stays as it is either way.
using TemplateSaver = std::function<bool(RecordList<cMoveAITemplate>& templates)>;
TemplateSaver SaveTemplatesTo(const std::string& path);

// The placement dialog's template commands. Messages and questions go
// through the message sink.
// 1070: the rules become a copy of the template's (asked first when rules exist).
TemplateResult LoadTemplateRules(const RecordList<cMoveAITemplate>& templates, int sel, RecordList<cMoveAI>& rules);
// 1074: the template's rules become a copy of the rules (asked first), written at once.
TemplateResult OverwriteTemplate(RecordList<cMoveAITemplate>& templates, int sel, const RecordList<cMoveAI>& rules,
                                 const TemplateSaver& save);
// 1072: appends a template holding a copy of the rules (the manager opens on
// it in "new" mode). Full: 999 templates ("%d個までしか保存できません！");
// NoRules: nothing to save (the caller beeps).
TemplateResult AppendTemplate(RecordList<cMoveAITemplate>& templates, const RecordList<cMoveAI>& rules);

// The template manager: works on a copy of the template list.
class TemplateManager {
public:
    TemplateManager(const RecordList<cMoveAITemplate>& templates, bool newMode);

    // The name and description of the selected template, stored before the
    // selection moves.
    void Store(const std::string& name, const std::string& description);
    void Select(int index);
    // "↑" and "↓" swap the selection with its neighbour (the selection
    // follows); "削除" deletes it. False when nothing moved.
    bool Up();
    bool Down();
    bool Delete();
    // OK: the copy replaces the list and is written. Cancel: in "new" mode the
    // template appended for it goes again.
    bool Ok(RecordList<cMoveAITemplate>& templates, const TemplateSaver& save);
    void Cancel(RecordList<cMoveAITemplate>& templates);

    const RecordList<cMoveAITemplate>& Work() const { return work_; }
    int Selection() const { return sel_; }
    bool NewMode() const { return newMode_; }

private:
    RecordList<cMoveAITemplate> work_;
    int sel_ = -1;
    bool newMode_ = false;
};
