#include "events/action_palette.h"

#include <algorithm>
#include <cstdio>

#include "base/log.h"
#include "base/text.h"
#include "events/action_kinds.h"
#include "resources/menus.h"

int cEventActPlt::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEventActPlt> m(*this, op, other, io, version);
    m.Str("name", &cEventActPlt::m_Name);
    m.Str("description", &cEventActPlt::m_Description);
    m.List("actions", &cEventActPlt::m_Actions);
    return m.Result();
}

std::string ActionPaletteContents(const cEventActPlt& entry)
{
    std::string text = SJ("内容： ");
    bool first = true;
    for (const cEventAct& act : entry.m_Actions) {
        if (!first)
            text += SJ(" → ");
        text += ActionKind(act.m_nKind).label;
        first = false;
    }
    return text;
}

std::string ActionPaletteMenuText(int index, const cEventActPlt& entry)
{
    // At least two digits, as "%0.2d" gives them.
    char number[16];
    std::snprintf(number, sizeof number, "%02d ", index + 1);
    return number + entry.m_Name;
}

std::string ActionPaletteTooltip(const cEventActPlt& entry)
{
    std::string contents = ActionPaletteContents(entry);
    return entry.m_Description.empty() ? contents : entry.m_Description + "\n" + contents;
}

int ActionPalettePasteId(int entry)
{
    if (entry < 0 || entry >= kActionPaletteMax)
        return 0;
    return entry < actplt::kFirstWideEntry ? actplt::kPasteFirst + entry : actplt::kPasteWide + entry;
}

int ActionPaletteOverwriteId(int entry)
{
    if (entry < 0 || entry >= kActionPaletteMax)
        return 0;
    return entry < actplt::kFirstWideEntry ? actplt::kOverwriteFirst + entry : actplt::kOverwriteWide + entry;
}

PaletteCommandTarget DecodeActionPaletteCommand(int id)
{
    // Each range holds the entries its ids were given to: the first 100 in the
    // narrow ranges, the rest in the wide ones.
    struct Range { int base, first, last; PaletteCommand command; };
    static constexpr Range ranges[] = {
        {actplt::kOverwriteFirst, 0, actplt::kFirstWideEntry - 1, PaletteCommand::Overwrite},
        {actplt::kPasteFirst, 0, actplt::kFirstWideEntry - 1, PaletteCommand::Paste},
        {actplt::kOverwriteWide, actplt::kFirstWideEntry, kActionPaletteMax - 1, PaletteCommand::Overwrite},
        {actplt::kPasteWide, actplt::kFirstWideEntry, kActionPaletteMax - 1, PaletteCommand::Paste},
    };
    if (id == actplt::kNew)
        return {PaletteCommand::New, -1};
    if (id == actplt::kSort)
        return {PaletteCommand::Sort, -1};
    for (const Range& r : ranges)
        if (id >= r.base + r.first && id <= r.base + r.last)
            return {r.command, id - r.base};
    return {};
}

std::vector<cEventAct> SelectedActions(const std::vector<cEventAct>& actions, std::vector<int> selected)
{
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    std::vector<cEventAct> out;
    for (int i : selected)
        if (i >= 0 && i < static_cast<int>(actions.size()))
            out.push_back(actions[static_cast<std::size_t>(i)]);
    return out;
}

std::vector<cEventAct> ActionsForPaste(const std::vector<cEventAct>& source, bool startEventMode)
{
    std::vector<cEventAct> out;
    for (const cEventAct& act : source) {
        if (startEventMode && !ActionKind(act.m_nKind).startEventAllowed)
            continue;
        cEventAct& copy = out.emplace_back(act);
        copy.NormalizeAction();
    }
    return out;
}

int PasteActionPaletteEntry(const cEventActPlt& entry, std::vector<cEventAct>& actions, int at, bool startEventMode)
{
    if (at < 0 || at > static_cast<int>(actions.size()))
        return 0;
    std::vector<cEventAct> copies = ActionsForPaste(entry.m_Actions.items(), startEventMode);
    actions.insert(actions.begin() + at, copies.begin(), copies.end());
    return static_cast<int>(copies.size());
}

void SaveActionPalette(ActionPalette& palette, const std::string& path)
{
    (void)SaveListFile(palette, path);
}

NewEntryResult PrepareNewActionPaletteEntry(const ActionPalette& palette, const std::vector<cEventAct>& selected,
                                            ActionPalette& working)
{
    if (palette.size() >= kActionPaletteMax) {
        ErrorBoxPrintf(SJ("%d個までしか保存できません！").c_str(), kActionPaletteMax);
        return NewEntryResult::Full;
    }
    if (selected.empty())
        return NewEntryResult::NothingSelected;
    working = palette;
    cEventActPlt& entry = working.emplace_back();
    entry.m_Actions.items() = selected;
    return NewEntryResult::Ready;
}

int OverwriteActionPaletteEntry(ActionPalette& palette, int entry, const std::vector<cEventAct>& selected,
                                const std::string& path)
{
    if (selected.empty() || entry < 0 || entry >= palette.size())
        return 0;
    std::string question = SJ("「") + palette[entry].m_Name + SJ("」を上書きします。\nよろしいですか？\n");
    if (MessageBoxText(question, SJ("アクションパレットの上書き保存"), Buttons::YesNo) != Answer::Yes)
        return 0;
    palette[entry].m_Actions.items() = selected;
    SaveActionPalette(palette, path);
    return 1;
}

int MoveActionPaletteEntryUp(ActionPalette& palette, int entry)
{
    if (entry <= 0 || entry >= palette.size())
        return entry;
    std::swap(palette[entry], palette[entry - 1]);
    return entry - 1;
}

int MoveActionPaletteEntryDown(ActionPalette& palette, int entry)
{
    if (entry < 0 || entry >= palette.size() - 1)
        return entry;
    std::swap(palette[entry], palette[entry + 1]);
    return entry + 1;
}

int DeleteActionPaletteEntry(ActionPalette& palette, int entry)
{
    if (entry < 0 || entry >= palette.size())
        return entry < palette.size() ? entry : palette.size() - 1;
    palette.erase(entry);
    return std::min(entry, palette.size() - 1);
}

int EditActionPalette(ActionPalette& palette, const std::string& path, int mode, const ActionPaletteDialog& dialog)
{
    ActionPalette working = palette;
    if (!dialog || !dialog(working, mode))
        return 0;
    palette = std::move(working);
    SaveActionPalette(palette, path);
    return 1;
}

ActionPaletteOutcome RunActionPaletteCommand(int id, ActionPaletteTarget& target)
{
    ActionPaletteOutcome outcome;
    PaletteCommandTarget command = DecodeActionPaletteCommand(id);
    if (command.command == PaletteCommand::None || !target.palette)
        return outcome;
    outcome.handled = true;
    ActionPalette& palette = *target.palette;
    static const std::vector<cEventAct> kNoActions;
    const std::vector<cEventAct>& actions = target.actions ? *target.actions : kNoActions;

    switch (command.command) {
    case PaletteCommand::Paste:
        if (target.actions && command.entry < palette.size())
            outcome.inserted =
                PasteActionPaletteEntry(palette[command.entry], *target.actions, target.insertAt, target.startEventMode);
        break;
    case PaletteCommand::Overwrite:
        if (command.entry < palette.size())
            outcome.paletteChanged = OverwriteActionPaletteEntry(palette, command.entry,
                                                                 SelectedActions(actions, target.selected),
                                                                 target.path) != 0;
        break;
    case PaletteCommand::New: {
        ActionPalette working;
        if (PrepareNewActionPaletteEntry(palette, SelectedActions(actions, target.selected), working) !=
            NewEntryResult::Ready)
            break;
        if (target.dialog && target.dialog(working, 1)) {
            palette = std::move(working);
            SaveActionPalette(palette, target.path);
            outcome.paletteChanged = true;
        }
        break;
    }
    case PaletteCommand::Sort:
        outcome.paletteChanged = EditActionPalette(palette, target.path, 0, target.dialog) != 0;
        break;
    case PaletteCommand::None: break;
    }
    return outcome;
}
