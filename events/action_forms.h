// The layout of each action kind's editing dialog as data: its title, its
// controls with the parameter each one edits, and the rules that enable them.
// The ranges and lists of the parameters are facts of the kinds
// (ActionKindInfo::params); the dialogs are built from both. Also here: the
// decisions of the action chooser and of the status dialog's OK, and the lists
// the controls offer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "events/action_kinds.h"

class cEventAct;

// What kind of widget a control is.
enum class FormWidget : uint8_t {
    Edit,     // a number in the range of its parameter
    Check,    // a flag
    Combo,    // one entry of the list of its parameter
    Text,     // the multi-line text S0
    Button,   // a command of the dialog (no parameter)
    List,     // a list box (no parameter)
    Picture,  // a preview (no parameter)
    Note,     // a line of explanation
    Group,    // starts a titled group in a new column of the dialog
    GroupBelow,  // starts a titled group below the previous one
};

// Bound parameters besides P0, P1, ...
inline constexpr int kNoParam = -1;
inline constexpr int kTextParam = -2;  // S0

struct FormControl {
    int id = 0;
    FormWidget widget = FormWidget::Note;
    int param = kNoParam;  // P index, kTextParam or kNoParam
    std::string label;     // CP932; the check's or button's text, an edit's or combo's caption
};

// Control `id` is enabled only while parameter `param` holds one of `values`;
// a control is enabled when every rule naming it holds.
struct FormRule {
    int id = 0;
    int param = 0;
    std::vector<int32_t> values;
};

struct ActionForm {
    int kind = 0;
    std::string title;  // CP932
    std::vector<FormControl> controls;
    std::vector<FormRule> rules;

    const FormControl* Find(int id) const;
};

// The form of a kind; null for kinds without a dialog (0, 24, 25, 26).
const ActionForm* ActionFormOf(long long kind);

// Whether the rules of the form let control `id` be used for the action.
bool FormControlEnabled(const ActionForm& form, int id, const cEventAct& act);

// ---------------------------------------------------------------------------
// The lists of the controls.

struct ParamChoice {
    int32_t value;
    std::string text;  // CP932
};

// The entries a combo of parameter `param` offers for the action: value-list
// labels, or table entries "number name" (number zero-padded to the table's
// digits) from the low end of the parameter's clamp. An unknown or too small
// table gives no entries.
std::vector<ParamChoice> ParamChoices(const cEventAct& act, int param);

// The common variables 1 to 999 as "number name".
std::vector<ParamChoice> CommonVariableEntries();

// ---------------------------------------------------------------------------
// The action chooser.

inline constexpr int kChooserButtonFirst = 1267;  // kind 1; kind k is 1266 + k
inline constexpr int kChooserLastKind = 25;

// True for kinds with a chooser button (1 to 25).
bool ChooserHasButton(long long kind);
// Whether the button of the kind may be pressed.
bool ChooserButtonEnabled(long long kind, bool startEventMode);
// The kind whose button the chooser presses as it opens: the kind of an
// existing action when its button exists and is enabled; 0 when the chooser
// is shown for the user to choose.
int ChooserOpeningKind(const cEventAct& act, bool newAction, bool startEventMode);

// ---------------------------------------------------------------------------
// The status action in the start event: a character's status or the event
// variable cannot be used there. The refusal text (CP932), or empty when the
// action may be stored.
std::string StatusRefusal(const cEventAct& act, bool startEventMode);
