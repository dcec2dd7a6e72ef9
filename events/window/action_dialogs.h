// The dialogs that edit one action's parameters. DLG_EACT_BASE builds any
// kind's dialog from the kind's form (events/action_forms.h) and edits a
// working copy of the action; OK copies it back. The four kinds whose dialogs
// do more than the form says have classes of their own.
#pragma once

#include <map>
#include <memory>

#include "events/action_forms.h"
#include "events/event.h"
#include "ui/wnd.h"

class QLabel;

class DLG_EACT_BASE : public DLG_CLASS {
public:
    // The line under the controls that shows the action as the list will.
    enum { IDC_SUMMARY = 1005 };

    // Brings the action to its kind's counts, with the kind's new values when
    // newAction is set.
    DLG_EACT_BASE(cEventAct& action, bool newAction, bool startEventMode);

    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    // Enables the controls from the form's rules and the working copy.
    virtual void UpdateEnables();

    const cEventAct& Working() const { return m_Work; }
    const ActionForm* Form() const { return m_pForm; }

protected:
    // The buttons and lists that edit nothing themselves; true when handled.
    virtual bool OnItem(int id, Notify code);
    // OK: true when the dialog may store and close.
    virtual bool AcceptOk() { return true; }
    // The common variable a "_" button renames: the one chosen in the combo
    // standing before it.
    virtual int VariableForRename(int buttonId);
    // Refills the combo of a bound parameter from its list.
    void FillCombo(const FormControl& control);
    void RefillDependentCombos(int changedParam);
    void RefillVariableCombos();
    void RenameVariable(int buttonId);
    void ShowSummary();
    // The event graphic's preview, in the dialog that has one.
    void ShowGraphic();
    int ParamOf(int id) const;

    cEventAct& m_Action;
    cEventAct m_Work;
    bool m_bNew;
    bool m_bStartEvent;
    const ActionForm* m_pForm;
    std::map<int, QLabel*> m_Captions;  // caption of each edit and combo
};

class DLG_EACT_MESSAGE : public DLG_EACT_BASE {
public:
    enum { IDC_TEXT = 1268, IDC_REFERENCE = 1309, IDC_RENAME = 1250, IDC_SYMBOLS = 1068, IDC_SYMBOL_PREVIEW = 1069 };
    // The text: at most 29 lines of 30 message characters.
    static constexpr int kMaxLines = 29;
    static constexpr int kLineWidth = 30;

    using DLG_EACT_BASE::DLG_EACT_BASE;
    void OnInitDialog() override;

protected:
    bool OnItem(int id, Notify code) override;
    int VariableForRename(int buttonId) override;

private:
    void ShowSymbol();
    int m_nReference = 1;  // the variable shown in the reference list; edits nothing
};

class DLG_EACT_STATUS : public DLG_EACT_BASE {
public:
    using DLG_EACT_BASE::DLG_EACT_BASE;

protected:
    bool AcceptOk() override;
};

class DLG_EACT_CHANGEBGM : public DLG_EACT_BASE {
public:
    enum { IDC_MUSIC = 1235, IDC_PLAY = 1313 };
    using DLG_EACT_BASE::DLG_EACT_BASE;

protected:
    bool OnItem(int id, Notify code) override;
    // The piece played here stops when the dialog closes, however it closes.
    void OnCommand(int id, Notify code) override;
    void OnClose() override;

private:
    void StopPlayed();
    bool m_bPlayed = false;
};

class DLG_EACT_PLAYSOUND : public DLG_EACT_BASE {
public:
    enum { IDC_SOUND = 1096 };
    using DLG_EACT_BASE::DLG_EACT_BASE;

protected:
    bool OnItem(int id, Notify code) override;
};

// The dialog of a kind; null for kinds without one.
std::unique_ptr<DLG_EACT_BASE> MakeActionDialog(int kind, cEventAct& action, bool newAction, bool startEventMode);
