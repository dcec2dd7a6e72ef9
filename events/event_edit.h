// Editing one event, without windows: which controls of the event editor are
// enabled for a page, the edit session over a working copy of the event and
// its pages, the lines the editor's lists show and the texts of its choices.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "events/event.h"
#include "events/gval_info.h"

// The controls of the event editor by id.
namespace evctl {
constexpr int kName = 1044, kHeld = 1037, kPages = 1254, kPageInsert = 1066, kPageDelete = 1067;
constexpr int kTurnAOn = 1038, kTurnABase = 1260, kTurnAStep = 1269;
constexpr int kTurnBOn = 1039, kTurnBFrom = 1271, kTurnBTo = 1273;
constexpr int kEventVarOn = 1036, kEventVarValue = 1255, kEventVarCompare = 1257;
constexpr int kCommonVar = 1249, kRenameVar = 1250, kCommonVarValue = 1251, kCommonVarCompare = 1253;
constexpr int kFirstAttempt = 1035, kTiming = 1262, kCommandName = 1045, kChain = 1040;
constexpr int kScope = 1263, kWho = 1264, kPresence = 1268, kGroup = 1267, kFriend = 1275;
constexpr int kEnemyGroupOn = 1041, kEnemyGroup = 1046, kEnemyIdOn = 1042, kEnemyId = 1647;
constexpr int kGraphic = 1511, kChooseGraphic = 1510, kPreview = 1070;
constexpr int kActions = 1266, kActionInsert = 1068, kActionEdit = 1265, kActionDelete = 1069;
constexpr int kOk = 1006, kCancel = 1007;
// The labels that go with the turn edits ("＋", "の倍数", "～"); they follow
// their edits.
constexpr int kTurnAPlus = 11260, kTurnAMultiple = 11269, kTurnBTilde = 11273;
}  // namespace evctl

// Whether each control of the editor is enabled, for the page shown (null when
// the event has no page) and the start-event mode, which leaves only the action
// list with its buttons (and OK, Cancel) usable. Every control of the editor is
// listed once.
std::vector<std::pair<int, bool>> EventEditorEnabling(const cEventPage* page, bool startEventMode);
// One control's state from that list (false for an id it does not hold).
bool IsEnabled(const std::vector<std::pair<int, bool>>& states, int id);

// A line of the page list: "ｱｸｼｮﾝ×n" with the page's number of actions.
std::string PageLineText(const cEventPage& page);
// What hovering an event on the map shows: its name, its page count and the
// timing of its first page.
std::string EventHoverText(const cEvent& event);

// The working state of the event editor: a copy of the event, its pages and the
// page shown, whose copy the page controls are bound to. Nothing reaches the
// edited event before WriteBack.
class EventEditSession {
public:
    // Copies the event and shows its first page (none when it has no pages).
    void Open(const cEvent& event);
    // Stores the shown page into the page list.
    void StoreShown();
    // Stores the shown page, then shows page index (none for an index outside
    // the list).
    void Show(int index);
    // Inserts a default page before page index (index = count appends) and
    // shows it; false for an index beyond the list.
    bool InsertPage(int index);
    // Deletes page index and shows the page now at its place (or the new last);
    // false for an index outside the list and for the last remaining page.
    bool DeletePage(int index);
    // Takes a new page list (after a cut or paste of pages) and shows page index;
    // the shown page is not stored first.
    void ReplacePages(const std::vector<cEventPage>& newPages, int index);
    // Stores the shown page and copies the working event with its pages over target.
    void WriteBack(cEvent& target);

    int Shown() const { return shown_; }
    bool HasPage() const { return shown_ >= 0; }

    cEvent event;                    // name, holder flag, position and reserved words
    std::vector<cEventPage> pages;   // the page list
    cEventPage page;                 // the shown page, which the controls edit

private:
    int shown_ = -1;
};

// Sets how many entries the event palette holds (1 to 999): surplus entries
// are dropped from the end, new ones are default events. False when count is
// out of range (nothing changes).
bool ResizeEventPalette(RecordList<cEvent>& palette, int count);
