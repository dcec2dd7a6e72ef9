#include "events/event_edit.h"

#include <algorithm>

#include "base/log.h"
#include "base/text.h"
#include "events/value_lists.h"

using namespace evctl;

namespace {

// The controls of the page area, which need a page to be enabled.
constexpr int kPageControls[] = {
    kTurnAOn, kTurnABase, kTurnAStep, kTurnAPlus, kTurnAMultiple, kTurnBOn, kTurnBFrom, kTurnBTo, kTurnBTilde,
    kEventVarOn, kEventVarValue, kEventVarCompare, kCommonVar, kRenameVar, kCommonVarValue, kCommonVarCompare,
    kFirstAttempt, kTiming, kCommandName, kChain, kScope, kWho, kPresence, kGroup, kFriend, kEnemyGroupOn,
    kEnemyGroup, kEnemyIdOn, kEnemyId, kGraphic, kChooseGraphic, kPreview, kActions, kActionInsert, kActionEdit,
    kActionDelete};

// What start-event mode leaves usable.
bool StartEventControl(int id)
{
    return id == kActions || id == kActionInsert || id == kActionEdit || id == kActionDelete || id == kOk ||
           id == kCancel;
}

}  // namespace

std::vector<std::pair<int, bool>> EventEditorEnabling(const cEventPage* page, bool startEventMode)
{
    std::vector<std::pair<int, bool>> states;
    for (int id : {kName, kHeld, kPages, kPageInsert, kPageDelete, kOk, kCancel})
        states.emplace_back(id, true);
    for (int id : kPageControls)
        states.emplace_back(id, page != nullptr);
    auto set = [&states](int id, bool on) {
        for (auto& s : states)
            if (s.first == id)
                s.second = s.second && on;
    };
    if (page) {
        const cEventPage& p = *page;
        for (int id : {kTurnABase, kTurnAStep, kTurnAPlus, kTurnAMultiple})
            set(id, p.m_bTurnAOn != 0);
        for (int id : {kTurnBFrom, kTurnBTo, kTurnBTilde})
            set(id, p.m_bTurnBOn != 0);
        set(kEventVarValue, p.m_bEventVarOn != 0);
        set(kEventVarCompare, p.m_bEventVarOn != 0);
        set(kCommonVarValue, p.m_nCommonVar != 0);
        set(kCommonVarCompare, p.m_nCommonVar != 0);
        set(kCommandName,
            p.m_Timing == TriggerTiming::FriendCommand || p.m_Timing == TriggerTiming::HolderCommand);

        // The trigger: nothing of it without a scope; the group only inside a
        // position group; friend and enemy conditions by who is looked for.
        const bool scoped = p.m_Scope != TriggerScope::None;
        set(kWho, scoped);
        set(kPresence, scoped);
        set(kGroup, p.m_Scope == TriggerScope::PositionGroup);
        bool friendOn = false, enemyOn = false;
        switch (p.m_nWho) {
        case 1:  // 味方
        case 4:  // リーダー
            friendOn = true;
            break;
        case 2:  // 敵
            enemyOn = true;
            break;
        case 3:  // 行動中のキャラ
        case 5:  // 所持者
            friendOn = enemyOn = true;
            break;
        default: break;  // キャラ
        }
        set(kFriend, scoped && friendOn);
        set(kEnemyGroupOn, scoped && enemyOn);
        set(kEnemyIdOn, scoped && enemyOn);
        set(kEnemyGroup, scoped && enemyOn && p.m_bEnemyGroupOn != 0);
        set(kEnemyId, scoped && enemyOn && p.m_bEnemyIdOn != 0);
    }
    if (startEventMode)
        for (auto& s : states)
            s.second = s.second && StartEventControl(s.first);
    return states;
}

bool IsEnabled(const std::vector<std::pair<int, bool>>& states, int id)
{
    for (const auto& s : states)
        if (s.first == id)
            return s.second;
    return false;
}

std::string PageLineText(const cEventPage& page) { return StrPrintf(SJ("ｱｸｼｮﾝ×%d").c_str(), page.m_Actions.size()); }

std::string EventHoverText(const cEvent& event)
{
    std::string text = event.m_Name + StrPrintf(SJ(" (%dページ)").c_str(), event.m_Pages.size());
    if (event.m_Pages.size() > 0)
        text += " " + ValueLabel(ValueList::TriggerTiming, static_cast<int>(event.m_Pages[0].m_Timing));
    return text;
}

// ---------------------------------------------------------------------------
// The edit session

void EventEditSession::Open(const cEvent& source)
{
    event = source;
    // The pages live in the page list while the editor runs.
    pages = std::move(event.m_Pages.items());
    event.m_Pages.clear();
    shown_ = -1;
    Show(0);
}

void EventEditSession::StoreShown()
{
    if (shown_ >= 0 && shown_ < static_cast<int>(pages.size()))
        pages[static_cast<std::size_t>(shown_)] = page;
}

void EventEditSession::Show(int index)
{
    StoreShown();
    if (index >= 0 && index < static_cast<int>(pages.size())) {
        shown_ = index;
        page = pages[static_cast<std::size_t>(index)];
    } else {
        shown_ = -1;
        page = cEventPage();
    }
}

bool EventEditSession::InsertPage(int index)
{
    if (index < 0 || index > static_cast<int>(pages.size()))
        return false;
    StoreShown();
    shown_ = -1;
    pages.insert(pages.begin() + index, cEventPage());
    Show(index);
    return true;
}

bool EventEditSession::DeletePage(int index)
{
    if (index < 0 || index >= static_cast<int>(pages.size()) || pages.size() <= 1)
        return false;
    StoreShown();
    shown_ = -1;
    pages.erase(pages.begin() + index);
    Show(std::min(index, static_cast<int>(pages.size()) - 1));
    return true;
}

void EventEditSession::ReplacePages(const std::vector<cEventPage>& newPages, int index)
{
    pages = newPages;
    shown_ = -1;
    Show(index);
}

void EventEditSession::WriteBack(cEvent& target)
{
    StoreShown();
    target = event;  // without its pages: cheap
    target.m_Pages.items() = pages;
}

bool ResizeEventPalette(RecordList<cEvent>& palette, int count)
{
    if (count < 1 || count > 999)
        return false;
    // RecordList::resize fills with default records, each with its one page.
    palette.resize(count);
    return true;
}
