#include "events/window/action_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/edit_rules.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "events/message_codes.h"
#include "media/graphic_cells.h"
#include "media/image_table.h"
#include "media/sound_output.h"
#include "project/project.h"
#include "ui/controls.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"
#include "ui/select_graphic.h"

namespace {

// A combo bound to a parameter by the values of its entries. With no entry
// chosen the parameter keeps its value.
class ParamCombo : public CTRL_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id, int32_t* variable)
    {
        m_pVar = variable;
        return AttachTo(dlg, id, CK_COMBO);
    }
    void SetChoices(const std::vector<ParamChoice>& choices)
    {
        m_Values.clear();
        auto* c = qobject_cast<QComboBox*>(m_pWnd);
        if (!c)
            return;
        QSignalBlocker block(c);
        c->clear();
        int widest = 0;
        for (const ParamChoice& choice : choices) {
            m_Values.push_back(choice.value);
            QString text = ToQt(choice.text);
            c->addItem(text);
            widest = std::max(widest, c->fontMetrics().horizontalAdvance(text));
        }
        // Wide enough for the longest entry (within reason), whatever the
        // style makes of characters from a fallback font.
        c->setMinimumWidth(std::min(widest, 300) + 40);
    }
    void Show() override
    {
        auto* c = qobject_cast<QComboBox*>(m_pWnd);
        if (!c || !m_pVar)
            return;
        auto it = std::find(m_Values.begin(), m_Values.end(), *m_pVar);
        QSignalBlocker block(c);
        c->setCurrentIndex(it == m_Values.end() ? -1 : static_cast<int>(it - m_Values.begin()));
    }
    void Store() override
    {
        auto* c = qobject_cast<QComboBox*>(m_pWnd);
        if (Updating() || !c || !m_pVar)
            return;
        int index = c->currentIndex();
        if (index >= 0 && index < static_cast<int>(m_Values.size()))
            *m_pVar = m_Values[static_cast<std::size_t>(index)];
    }

private:
    int32_t* m_pVar = nullptr;
    std::vector<int32_t> m_Values;
};

constexpr int kGraphicListButton = 1510;  // "一覧" of the event graphic
constexpr int kGraphicEdit = 1511;
constexpr int kGraphicPreview = 1070;
constexpr int kEventGraphicKind = 3;       // the chooser's event pictures
constexpr int kCellSize = 32;

bool IsRenameButton(const FormControl& c) { return c.widget == FormWidget::Button && c.label == "_"; }

// One cell of an image as a pixmap; empty when the image has no such cell.
QPixmap CellPixmap(const Surface& s, int x, int y, int w, int h)
{
    if (s.Empty() || w <= 0 || h <= 0 || x < 0 || y < 0 || x + w > s.Width() || y + h > s.Height())
        return QPixmap();
    QImage image(s.Bits(), s.Width(), s.Height(), s.Stride(), QImage::Format_RGB32);
    return QPixmap::fromImage(image.copy(x, y, w, h));
}

}  // namespace

// ---------------------------------------------------------------------------
// DLG_EACT_BASE

DLG_EACT_BASE::DLG_EACT_BASE(cEventAct& action, bool newAction, bool startEventMode)
    : m_Action(action), m_bNew(newAction), m_bStartEvent(startEventMode), m_pForm(ActionFormOf(action.m_nKind))
{
    if (newAction)
        m_Action.MakeNew(m_Action.m_nKind);
    else
        m_Action.ChangeKind(m_Action.m_nKind);
    if (m_pForm)
        SetTitle(ToQt(m_pForm->title));
}

void DLG_EACT_BASE::Build(QDialog* dialog)
{
    m_Captions.clear();
    auto* outer = new QVBoxLayout(dialog);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns);
    auto* first = new QWidget(dialog);
    auto* grid = new QGridLayout(first);
    grid->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(first, 0, Qt::AlignTop);
    QWidget* parent = first;
    QVBoxLayout* column = nullptr;  // the column of the groups
    int row = 0;
    const std::vector<FormControl> none;
    for (const FormControl& c : m_pForm ? m_pForm->controls : none) {
        QString label = ToQt(c.label);
        auto caption = [&](QWidget* w) {
            auto* l = new QLabel(label, parent);
            l->setBuddy(w);
            grid->addWidget(l, row, 0);
            grid->addWidget(w, row++, 1);
            m_Captions[c.id] = l;
        };
        switch (c.widget) {
        case FormWidget::Group:
        case FormWidget::GroupBelow: {
            auto* box = new QGroupBox(label, dialog);
            grid = new QGridLayout(box);
            if (c.widget == FormWidget::Group || !column) {
                column = new QVBoxLayout;
                columns->addLayout(column);
            }
            column->addWidget(box);
            parent = box;
            row = 0;
            AddItem(c.id, box);
            break;
        }
        case FormWidget::Note: {
            auto* l = new QLabel(label, parent);
            grid->addWidget(l, row++, 0, 1, 3);
            AddItem(c.id, l);
            break;
        }
        case FormWidget::Check: {
            auto* b = new QCheckBox(label, parent);
            grid->addWidget(b, row++, 0, 1, 3);
            AddItem(c.id, b);
            break;
        }
        case FormWidget::Edit: {
            auto* e = new QLineEdit(parent);
            e->setMaximumWidth(90);
            caption(e);
            AddItem(c.id, e);
            break;
        }
        case FormWidget::Combo: {
            auto* b = new QComboBox(parent);
            b->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            b->setMaxVisibleItems(20);
            caption(b);
            AddItem(c.id, b);
            break;
        }
        case FormWidget::Text: {
            auto* t = new QPlainTextEdit(parent);
            t->setLineWrapMode(QPlainTextEdit::NoWrap);
            QFontMetrics m(t->font());
            t->setMinimumSize(m.horizontalAdvance(QStringLiteral("あ")) * 31, m.lineSpacing() * 10);
            grid->addWidget(t, row++, 0, 1, 3);
            AddItem(c.id, t);
            break;
        }
        case FormWidget::Button: {
            auto* b = new QPushButton(label, parent);
            // "_" renames the variable of the combo on the row above.
            if (IsRenameButton(c) && row > 0) {
                b->setMaximumWidth(28);
                grid->addWidget(b, row - 1, 2);
            } else {
                grid->addWidget(b, row++, 0, 1, 2);
            }
            AddItem(c.id, b);
            break;
        }
        case FormWidget::List: {
            auto* l = new QListWidget(parent);
            l->setMaximumHeight(110);
            caption(l);
            AddItem(c.id, l);
            break;
        }
        case FormWidget::Picture: {
            auto* p = new QLabel(parent);
            p->setFixedSize(kCellSize + 2, kCellSize + 2);
            p->setFrameShape(QFrame::Box);
            grid->addWidget(p, row++, 1);
            AddItem(c.id, p);
            break;
        }
        }
    }
    for (int i = 0; i < columns->count(); ++i)
        if (auto* l = qobject_cast<QVBoxLayout*>(columns->itemAt(i)->layout()))
            l->addStretch(1);
    auto* summary = new QLabel(dialog);
    summary->setTextFormat(Qt::PlainText);
    outer->addWidget(summary);
    AddItem(IDC_SUMMARY, summary);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), dialog);
    ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    outer->addLayout(buttons);
    AddItem(IDC_OK, ok);
    AddItem(IDC_CANCEL, cancel);
}

void DLG_EACT_BASE::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work.CopyFrom(m_Action);
    const ActionKindInfo& info = ActionKind(m_Work.m_nKind);
    if (m_pForm) {
        for (const FormControl& c : m_pForm->controls) {
            int32_t* p = c.param >= 0 && c.param < static_cast<int>(m_Work.m_Ints.size())
                             ? &m_Work.m_Ints[static_cast<std::size_t>(c.param)]
                             : nullptr;
            switch (c.widget) {
            case FormWidget::Edit: {
                const ParamSource& s = info.params.at(static_cast<std::size_t>(c.param));
                (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, c.id, p, s.low, s.high);
                break;
            }
            case FormWidget::Check: (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, c.id, p); break;
            case FormWidget::Combo:
                if (p) {
                    (new ParamCombo)->Attach(this, c.id, p);
                    FillCombo(c);
                }
                break;
            case FormWidget::Text:
                if (!m_Work.m_Strings.empty())
                    (new CTRL_EDITSTR_CLASS)
                        ->Attach(this, c.id, &m_Work.m_Strings[0], 0, DLG_EACT_MESSAGE::kLineWidth,
                                 DLG_EACT_MESSAGE::kMaxLines, true);
                break;
            case FormWidget::Button: (new CTRL_BUTTON_CLASS)->Attach(this, c.id); break;
            default: break;
            }
        }
    }
    UpdateAll();
    UpdateEnables();
    ShowSummary();
    ShowGraphic();
    // The lists were filled after the first sizing.
    m_pWnd->adjustSize();
}

int DLG_EACT_BASE::ParamOf(int id) const
{
    const FormControl* c = m_pForm ? m_pForm->Find(id) : nullptr;
    return c ? c->param : kNoParam;
}

void DLG_EACT_BASE::FillCombo(const FormControl& c)
{
    if (auto* combo = dynamic_cast<ParamCombo*>(FindControl(c.id)))
        combo->SetChoices(ParamChoices(m_Work, c.param));
}

void DLG_EACT_BASE::RefillDependentCombos(int changedParam)
{
    const ActionKindInfo& info = ActionKind(m_Work.m_nKind);
    for (const FormControl& c : m_pForm->controls) {
        if (c.widget != FormWidget::Combo || c.param < 0)
            continue;
        const ParamSource& s = info.params.at(static_cast<std::size_t>(c.param));
        if (s.kind == ParamSource::Kind::SkillOf && s.other == changedParam) {
            FillCombo(c);
            if (CTRL_CLASS* ctrl = FindControl(c.id))
                ctrl->Show();
        }
    }
}

void DLG_EACT_BASE::RefillVariableCombos()
{
    const ActionKindInfo& info = ActionKind(m_Work.m_nKind);
    for (const FormControl& c : m_pForm->controls) {
        if (c.widget != FormWidget::Combo || c.param < 0 ||
            info.params.at(static_cast<std::size_t>(c.param)).kind != ParamSource::Kind::CommonVariable)
            continue;
        FillCombo(c);
        if (CTRL_CLASS* ctrl = FindControl(c.id))
            ctrl->Show();
    }
}

void DLG_EACT_BASE::UpdateEnables()
{
    if (!m_pForm)
        return;
    for (const FormControl& c : m_pForm->controls) {
        if (c.widget == FormWidget::Note || c.widget == FormWidget::Group || c.widget == FormWidget::GroupBelow)
            continue;
        bool on = FormControlEnabled(*m_pForm, c.id, m_Work);
        if (CTRL_CLASS* ctrl = FindControl(c.id))
            ctrl->Enable(on);
        else if (QWidget* w = Item(c.id))
            w->setEnabled(on);
        if (auto it = m_Captions.find(c.id); it != m_Captions.end())
            it->second->setEnabled(on);
    }
}

void DLG_EACT_BASE::ShowGraphic()
{
    auto* preview = qobject_cast<QLabel*>(Item(kGraphicPreview));
    int param = ParamOf(kGraphicEdit);
    if (!preview || param < 0)
        return;
    GraphicCell cell = GraphicCellRect(kEventGraphicKind, m_Work.P(param));
    preview->setPixmap(CellPixmap(ImageSurface(GraphicSheet(kEventGraphicKind)), cell.x, cell.y, cell.width,
                                  cell.height));
}

void DLG_EACT_BASE::ShowSummary()
{
    if (auto* l = qobject_cast<QLabel*>(Item(IDC_SUMMARY)))
        l->setText(ToQt(m_Work.ListText()));
}

int DLG_EACT_BASE::VariableForRename(int buttonId)
{
    const FormControl* before = nullptr;
    for (const FormControl& c : m_pForm->controls) {
        if (c.id == buttonId)
            break;
        before = &c;
    }
    return before && before->param >= 0 ? m_Work.P(before->param) : 0;
}

void DLG_EACT_BASE::RenameVariable(int buttonId)
{
    int number = VariableForRename(buttonId);
    if (number <= 0 || number >= kGlobalVariableCount) {
        QApplication::beep();
        return;
    }
    std::string name = GlobalVariableName(number);
    if (!InputText(this, false, name, 12, false, SJ("変数名の入力")))
        return;
    RenameGlobalVariable(TheProject().m_GlobalVariables, number, name, ProjectFile::GValInfo);
    RefillVariableCombos();
    ShowSummary();
}

bool DLG_EACT_BASE::OnItem(int id, Notify code)
{
    if (code != Notify::Click)
        return false;
    const FormControl* c = m_pForm ? m_pForm->Find(id) : nullptr;
    if (c && IsRenameButton(*c)) {
        RenameVariable(id);
        return true;
    }
    if (id == kGraphicListButton && ParamOf(kGraphicEdit) >= 0) {
        int param = ParamOf(kGraphicEdit);
        int value = m_Work.P(param);
        if (DLG_SELECTGRAPHIC::Run(this, kEventGraphicKind, value) == 1) {
            const ParamSource& s = ActionKind(m_Work.m_nKind).params.at(static_cast<std::size_t>(param));
            m_Work.m_Ints.at(static_cast<std::size_t>(param)) = std::clamp(value, s.low, s.high);
            UpdateAll();
            ShowSummary();
            ShowGraphic();
        }
        return true;
    }
    return false;
}

void DLG_EACT_BASE::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (id == IDC_OK && code == Notify::Click) {
        StoreAll();
        if (!AcceptOk())
            return;
        m_Action.CopyFrom(m_Work);
        Close(1);
        return;
    }
    if ((id == IDC_CANCEL && code == Notify::Click) || id == IDC_ESCAPE) {
        Close(0);
        return;
    }
    if (OnItem(id, code))
        return;
    if (!FindCommandSource(id, code) || Updating())
        return;
    int param = ParamOf(id);
    if (param == kNoParam)
        return;
    StoreAll();
    if (param >= 0)
        RefillDependentCombos(param);
    UpdateEnables();
    ShowSummary();
    ShowGraphic();
}

// ---------------------------------------------------------------------------
// DLG_EACT_MESSAGE

void DLG_EACT_MESSAGE::OnInitDialog()
{
    SetControlSequenceRecogniser(MessageCodeLength);
    DLG_EACT_BASE::OnInitDialog();
    if (auto* combo = new ParamCombo; combo->Attach(this, IDC_REFERENCE, &m_nReference)) {
        combo->SetChoices(CommonVariableEntries());
        combo->Show();
    }
    if (auto* list = qobject_cast<QListWidget*>(Item(IDC_SYMBOLS))) {
        QSignalBlocker block(list);
        for (int i = 0; i < 16 * 16; ++i)
            list->addItem(QStringLiteral("#P%1.").arg(i));
        list->setCurrentRow(0);
    }
    ShowSymbol();
}

void DLG_EACT_MESSAGE::ShowSymbol()
{
    auto* list = qobject_cast<QListWidget*>(Item(IDC_SYMBOLS));
    auto* preview = qobject_cast<QLabel*>(Item(IDC_SYMBOL_PREVIEW));
    if (!list || !preview)
        return;
    int n = std::max(0, list->currentRow());
    preview->setPixmap(
        CellPixmap(ImageSurface(IMG_SYMBOL), n % 16 * kCellSize, n / 16 * kCellSize, kCellSize, kCellSize));
}

bool DLG_EACT_MESSAGE::OnItem(int id, Notify code)
{
    if (id == IDC_SYMBOLS && code == Notify::SelChange) {
        ShowSymbol();
        return true;
    }
    if (id == IDC_REFERENCE) {
        if (CTRL_CLASS* c = FindControl(IDC_REFERENCE))
            c->Store();
        return true;
    }
    return DLG_EACT_BASE::OnItem(id, code);
}

int DLG_EACT_MESSAGE::VariableForRename(int buttonId)
{
    if (buttonId == IDC_RENAME)
        return m_nReference;
    return DLG_EACT_BASE::VariableForRename(buttonId);
}

// ---------------------------------------------------------------------------
// DLG_EACT_STATUS

bool DLG_EACT_STATUS::AcceptOk()
{
    std::string refusal = StatusRefusal(m_Work, m_bStartEvent);
    if (refusal.empty())
        return true;
    ErrorBoxPrintf("%s", refusal.c_str());
    return false;
}

// ---------------------------------------------------------------------------
// Music and sound

bool DLG_EACT_CHANGEBGM::OnItem(int id, Notify code)
{
    if (id != IDC_PLAY || code != Notify::Click)
        return DLG_EACT_BASE::OnItem(id, code);
    StoreAll();
    int music = m_Work.P(1);
    const auto& pieces = TheProject().m_Database.m_Bgms;
    if (music <= 0 || music >= pieces.size()) {
        Sound().StopMusic();
        m_bPlayed = false;
        return true;
    }
    const cEdBgm& piece = pieces[music];
    m_bPlayed = true;
    if (!Sound().PlayMusic(piece.m_Path, piece.m_nVolume, true))
        ErrorBoxPrintf("%s", LoadFailureText().c_str());
    return true;
}

void DLG_EACT_CHANGEBGM::StopPlayed()
{
    if (m_bPlayed)
        Sound().StopMusic();
    m_bPlayed = false;
}

void DLG_EACT_CHANGEBGM::OnCommand(int id, Notify code)
{
    if (((id == IDC_OK || id == IDC_CANCEL) && code == Notify::Click) || id == IDC_ESCAPE)
        StopPlayed();
    DLG_EACT_BASE::OnCommand(id, code);
}

void DLG_EACT_CHANGEBGM::OnClose()
{
    StopPlayed();
    DLG_EACT_BASE::OnClose();
}

bool DLG_EACT_PLAYSOUND::OnItem(int id, Notify code)
{
    if (id != IDC_SOUND || code != Notify::SelChange)
        return DLG_EACT_BASE::OnItem(id, code);
    StoreAll();
    ShowSummary();
    int sound = m_Work.P(0);
    const auto& sounds = TheProject().m_Database.m_Sounds;
    if (sound < 0 || sound >= sounds.size())
        return true;
    if (!Sound().PlayEffect(sounds[sound].m_Path))
        ErrorBoxPrintf("%s", LoadFailureText().c_str());
    return true;
}

std::unique_ptr<DLG_EACT_BASE> MakeActionDialog(int kind, cEventAct& action, bool newAction, bool startEventMode)
{
    if (!ActionFormOf(kind))
        return nullptr;
    action.m_nKind = kind;
    switch (kind) {
    case Act::Message: return std::make_unique<DLG_EACT_MESSAGE>(action, newAction, startEventMode);
    case Act::Status: return std::make_unique<DLG_EACT_STATUS>(action, newAction, startEventMode);
    case Act::Music: return std::make_unique<DLG_EACT_CHANGEBGM>(action, newAction, startEventMode);
    case Act::SoundEffect: return std::make_unique<DLG_EACT_PLAYSOUND>(action, newAction, startEventMode);
    default: return std::make_unique<DLG_EACT_BASE>(action, newAction, startEventMode);
    }
}
