#include "stage/enemy_placement.h"

#include <utility>

#include "base/log.h"
#include "base/text.h"
#include "records/tables.h"

namespace {

void Error(const std::string& text) { MessageBoxText(text, SJ("エラー"), Buttons::Ok); }

}  // namespace

std::string PutEnemyLine(const cPutEnemy& e, const RecordList<cEnemy>& enemies)
{
    const bool placed = e.IsPlaced();
    if (e.m_nEnemy == 0)
        return placed ? StrPrintf(SJ("(%d,%d) 未設定").c_str(), e.m_nX, e.m_nY) : SJ("(--,--) 未設定");
    std::string group = e.m_bGroup ? StrPrintf("%d", e.m_nGroup) : std::string("-");
    std::string name;
    int level = 0;
    if (e.m_nEnemy > 0 && e.m_nEnemy < enemies.size()) {
        name = enemies[e.m_nEnemy].m_Name;
        level = enemies[e.m_nEnemy].m_nLevel;
    }
    // The name is padded in bytes, as the file holds it.
    if (placed)
        return StrPrintf(SJ("グ%s (%d,%d) %d-%-8s LV%d ").c_str(), group.c_str(), e.m_nX, e.m_nY, e.m_nEnemy, name.c_str(),
                         level);
    return StrPrintf(SJ("グ%s (--,--) %d-%-8s LV%d ").c_str(), group.c_str(), e.m_nEnemy, name.c_str(), level);
}

std::string MoveAILine(const cMoveAI& rule)
{
    const std::string& range = MoveAIRangeLabels()[rule.m_nRange];
    const std::string& target = MoveAITargetLabels()[rule.m_nTarget];
    const std::string& action = MoveAIActionLabels()[rule.m_nAction];
    std::string line;
    if (rule.m_nAction == MoveAIAction::Heal)
        line = StrPrintf(SJ("%s で %s に %s(%s)").c_str(), range.c_str(), target.c_str(), action.c_str(),
                         SkillName(rule.m_nSkillGroup, rule.m_nSkill).c_str());
    else
        line = StrPrintf(SJ("%s で %s に %s").c_str(), range.c_str(), target.c_str(), action.c_str());
    if (rule.m_bConditions)
        line += SJ("   ※条件あり");
    return line;
}

std::vector<std::string> EnemyChoices(const RecordList<cEnemy>& enemies)
{
    std::vector<std::string> out{SJ("未設定")};
    for (int n = 1; n < enemies.size(); ++n)
        out.push_back(StrPrintf("%d-%s", n, enemies[n].m_Name.c_str()));
    return out;
}

std::vector<Choice> DestinationChoices(const RecordList<cGroupPos>& groups)
{
    std::vector<Choice> out;
    for (int n = 0; n < groups.size(); ++n)
        out.push_back({StrPrintf("%d-%s", n, groups[n].m_Name.c_str()),
                       static_cast<int>(groups[n].m_Positions.size()) < kDestinationPositionLimit});
    return out;
}

TemplateSaver SaveTemplatesTo(const std::string& path)
{
    return [path](RecordList<cMoveAITemplate>& templates) {
        if (SaveListFile(templates, path))
            return true;
        Error(StrPrintf(SJ("%s の保存に失敗しました！").c_str(), path.c_str()));
        return false;
    };
}

TemplateResult LoadTemplateRules(const RecordList<cMoveAITemplate>& templates, int sel, RecordList<cMoveAI>& rules)
{
    if (sel < 0 || sel >= templates.size()) {
        Error(SJ("テンプレートが選択されていません！"));
        return TemplateResult::NoSelection;
    }
    if (!rules.empty() && MessageBoxText(SJ("現在の設定は破棄されます。\nよろしいですか？\n"), SJ("移動AIテンプレートの読込"),
                                         Buttons::YesNo) != Answer::Yes)
        return TemplateResult::Declined;
    rules = templates[sel].m_MoveAI;
    return TemplateResult::Done;
}

TemplateResult OverwriteTemplate(RecordList<cMoveAITemplate>& templates, int sel, const RecordList<cMoveAI>& rules,
                                 const TemplateSaver& save)
{
    if (sel < 0 || sel >= templates.size()) {
        Error(SJ("テンプレートが選択されていません！"));
        return TemplateResult::NoSelection;
    }
    std::string question = StrPrintf(SJ("「%s」を上書きします。\nよろしいですか？\n").c_str(), templates[sel].m_Name.c_str());
    if (MessageBoxText(question, SJ("移動AIテンプレートの上書き保存"), Buttons::YesNo) != Answer::Yes)
        return TemplateResult::Declined;
    templates[sel].m_MoveAI = rules;
    if (save && !save(templates))
        return TemplateResult::SaveFailed;
    return TemplateResult::Done;
}

TemplateResult AppendTemplate(RecordList<cMoveAITemplate>& templates, const RecordList<cMoveAI>& rules)
{
    if (templates.size() >= kMaxMoveAITemplates) {
        Error(StrPrintf(SJ("%d個までしか保存できません！").c_str(), kMaxMoveAITemplates));
        return TemplateResult::Full;
    }
    if (rules.empty())
        return TemplateResult::NoRules;
    cMoveAITemplate fresh;
    fresh.m_MoveAI = rules;
    templates.push_back(std::move(fresh));
    return TemplateResult::Done;
}

TemplateManager::TemplateManager(const RecordList<cMoveAITemplate>& templates, bool newMode)
    : work_(templates), newMode_(newMode)
{
    sel_ = work_.empty() ? -1 : newMode ? work_.size() - 1 : 0;
}

void TemplateManager::Store(const std::string& name, const std::string& description)
{
    if (sel_ < 0 || sel_ >= work_.size())
        return;
    work_[sel_].m_Name = name;
    work_[sel_].m_Description = description;
}

void TemplateManager::Select(int index) { sel_ = index >= 0 && index < work_.size() ? index : -1; }

bool TemplateManager::Up()
{
    if (sel_ <= 0 || sel_ >= work_.size())
        return false;
    std::swap(work_[sel_], work_[sel_ - 1]);
    --sel_;
    return true;
}

bool TemplateManager::Down()
{
    if (sel_ < 0 || sel_ + 1 >= work_.size())
        return false;
    std::swap(work_[sel_], work_[sel_ + 1]);
    ++sel_;
    return true;
}

bool TemplateManager::Delete()
{
    if (sel_ < 0 || sel_ >= work_.size())
        return false;
    work_.erase(sel_);
    if (sel_ >= work_.size())
        sel_ = work_.size() - 1;
    return true;
}

bool TemplateManager::Ok(RecordList<cMoveAITemplate>& templates, const TemplateSaver& save)
{
    templates = work_;
    return !save || save(templates);
}

void TemplateManager::Cancel(RecordList<cMoveAITemplate>& templates)
{
    if (newMode_ && !templates.empty())
        templates.erase(templates.size() - 1);
}
