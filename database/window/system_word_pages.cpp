#include "database/window/system_word_pages.h"

#include <QFont>
#include <algorithm>
#include <climits>
#include <functional>
#include <iterator>
#include <utility>

#include "base/text.h"
#include "project/project.h"

namespace {

cSystem& TheSystem() { return TheProject().m_System; }

// Text and number boxes over one entry of a list that the page finds again
// at every show; a number takes its type's range, so any stored value
// survives being shown.
using CTRL_ENTRYTEXT_CLASS = CTRL_ENTRY_CLASS<CTRL_EDITSTR_CLASS, std::string>;
using CTRL_ENTRYNUM_CLASS = CTRL_ENTRY_CLASS<CTRL_EDITVAL_CLASS<int32_t>, int32_t>;

void AttachEntryText(DLG_CLASS* dlg, int id, CTRL_ENTRYTEXT_CLASS::Find find)
{
    auto* c = new CTRL_ENTRYTEXT_CLASS(std::move(find));
    c->Attach(dlg, id, &c->proxy);
}

void AttachEntryNumber(DLG_CLASS* dlg, int id, CTRL_ENTRYNUM_CLASS::Find find)
{
    auto* c = new CTRL_ENTRYNUM_CLASS(std::move(find));
    c->Attach(dlg, id, &c->proxy, INT32_MIN, INT32_MAX, id + FieldForm::kSpinOffset);
}

QLineEdit* NewEdit(FieldForm& form, int width)
{
    auto* edit = new QLineEdit(form.Parent());
    edit->setMinimumWidth(width);
    return edit;
}

// A text box row over an entry of a list in the system record.
QLineEdit* EntryText(FieldForm& form, DLG_CLASS* dlg, int id, const QString& label, CTRL_ENTRYTEXT_CLASS::Find find)
{
    QLineEdit* edit = NewEdit(form, 220);
    form.Widget(label, edit);
    dlg->AddItem(id, edit);
    form.attach.push_back([=] { AttachEntryText(dlg, id, find); });
    form.ids.insert(id);
    return edit;
}

// A numeric edit with its spin over an entry, for a row the caller lays out.
QWidget* EntryNumber(FieldForm& form, DLG_CLASS* dlg, int id, CTRL_ENTRYNUM_CLASS::Find find)
{
    auto* box = new QWidget(form.Parent());
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* edit = new QLineEdit(box);
    edit->setMaximumWidth(110);
    auto* spin = new UpDownWidget(box);
    row->addWidget(edit);
    row->addWidget(spin);
    dlg->AddItem(id, edit);
    dlg->AddItem(id + FieldForm::kSpinOffset, spin);
    form.attach.push_back([=] { AttachEntryNumber(dlg, id, find); });
    form.ids.insert(id);
    return box;
}

void Heading(FieldForm& form, const QString& text)
{
    QLabel* l = form.Note(text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
}

// The label of a row: the entry's word in a new project, and an arrow.
QString Arrow(const char* utf8) { return QString::fromUtf8(utf8) + QStringLiteral(" →"); }

// Headings of the menus, in SystemMenus() order.
const char* const kMenuTitles[] = {
    "タイトルメニュー",
    "オプションメニュー",
    "拠点メニュー",
    "スカウトメニュー",
    "復活メニュー",
    "放出メニュー",
    "コンフィグメニュー",
    "ショップメニュー",
    "トレーニングメニュー",
    "トレーニングのエントリーメニュー",
    "トレーニングのサブメニュー",
    "ステージ開始前の準備メニュー",
    "キャラの行動メニュー",
    "ステージマップのシステムメニュー(Zキーで呼び出すメニュー)",
    "ステージマップのテストメニュー（Fキーで呼び出すメニュー）",
    "戦闘メニュー（マニュアル戦闘時）",
};

// The parameter names of a new project, for the row labels.
const char* const kParamLabels[] = {"HP", "SP", "攻撃", "守備", "魔力", "抵抗", "技能", "反応", "敏捷", "LV", "EX", "移動力"};
constexpr int kParamDefaultCount = static_cast<int>(std::size(kParamLabels));

const char* const kPredictionLabels[] = {"命中率→", "必殺率→", "ダメージ→", "行動回数→"};

}  // namespace

// ---------------------------------------------------------------------------
// Menus and words

DLG_DBSYSTEM_WORDS::DLG_DBSYSTEM_WORDS(int resourceId, const QString& title, SystemWordPageLayout layout)
    : DB_RECORD_PAGE(resourceId, title), m_Layout(std::move(layout))
{
}

cSystem& DLG_DBSYSTEM_WORDS::Record() { return TheSystem(); }

void DLG_DBSYSTEM_WORDS::DefineFields(FieldForm& form)
{
    DefineOwnFields(form);
    bool menusBeside = m_Layout.menusBesideWords;
    if (!menusBeside)
        DefineMenus(form);
    form.NextColumn();
    Heading(form, QStringLiteral("ゲーム中の文字"));
    const auto& words = DefaultGameWords();
    int end = m_Layout.endWord >= 0 ? m_Layout.endWord
                                    : std::max(kGameWordCount, static_cast<int>(Record().m_Words.size()));
    for (int w = m_Layout.firstWord; w < end && w < 200; ++w) {
        QString label = w < kGameWordCount ? Arrow(words[static_cast<std::size_t>(w)]) : QStringLiteral("%1 →").arg(w + 1);
        EntryText(form, this, WordId(w), label, [w]() -> std::string* {
            std::vector<std::string>& list = TheSystem().m_Words;
            return static_cast<std::size_t>(w) < list.size() ? &list[static_cast<std::size_t>(w)] : nullptr;
        });
    }
    if (menusBeside)
        DefineMenus(form);
}

void DLG_DBSYSTEM_WORDS::DefineMenus(FieldForm& form)
{
    const std::vector<SystemMenu>& menus = SystemMenus();
    for (int m : m_Layout.menus) {
        const SystemMenu& menu = menus[static_cast<std::size_t>(m)];
        Heading(form, QString::fromUtf8(kMenuTitles[m]));
        // A file may hold more entries than a new project: they get rows of
        // their own, numbered.
        int rows = std::max(static_cast<int>(menu.words.size()), (Record().*menu.member).size());
        for (int e = 0; e < rows && e < 40; ++e) {
            QString label = e < static_cast<int>(menu.words.size()) ? Arrow(menu.words[static_cast<std::size_t>(e)])
                                                                     : QStringLiteral("%1 →").arg(e + 1);
            RecordList<cCmd> cSystem::*member = menu.member;
            EntryText(form, this, MenuEntryId(m, e), label, [member, e]() -> std::string* {
                RecordList<cCmd>& list = TheSystem().*member;
                return e < list.size() ? &list[e].m_Text : nullptr;
            });
        }
    }
}

// The words run over the pages in their stored order, each page holding the
// words of the screens whose menus it shows: effect prediction; status,
// stock, saving and the shop; training and the stage preparation; the
// system and test menus of the stage map; the map and the battle.
DLG_DBSYSTEM_7::DLG_DBSYSTEM_7() : DLG_DBSYSTEM_WORDS(205, QStringLiteral("システム7"), {24, 41, {8, 9, 10, 11}}) {}
DLG_DBSYSTEM_8::DLG_DBSYSTEM_8() : DLG_DBSYSTEM_WORDS(206, QStringLiteral("システム8"), {41, 50, {13, 14}}) {}
DLG_DBSYSTEM_9::DLG_DBSYSTEM_9() : DLG_DBSYSTEM_WORDS(207, QStringLiteral("システム9"), {50, -1, {12, 15}}) {}

// ---------------------------------------------------------------------------
// システム5

DLG_DBSYSTEM_5::DLG_DBSYSTEM_5() : DLG_DBSYSTEM_WORDS(203, QStringLiteral("システム5"), {0, 5, {0, 1}, true}) {}

void DLG_DBSYSTEM_5::DefineOwnFields(FieldForm& form)
{
    cSystem& s = Record();
    form.Check(IDC_SHOW_PREDICTION, QStringLiteral("効果予測ウインドウを表示"), &s.m_bShowPrediction);
    for (int i = 0; i < 4; ++i) {
        QWidget* number = EntryNumber(form, this, IDC_PREDICTION + i, [i]() -> int32_t* {
            std::vector<int32_t>& items = TheSystem().m_PredictionItems;
            return static_cast<std::size_t>(i) < items.size() ? &items[static_cast<std::size_t>(i)] : nullptr;
        });
        form.Widget(QString::fromUtf8(kPredictionLabels[i]), number);
    }
    form.Check(IDC_TWO_SKILL_LISTS, QStringLiteral("なるべくスキルリストを2つ同時に表示"), &s.m_bTwoSkillLists);
    form.Check(IDC_GAMEMODE_IMAGE, QStringLiteral("文字画像「image\\GameMode.png」を表示"), &s.m_bShowGameModeImage);

    // Parameter names: the name and the upper limit; the digit count follows
    // the limit and is only shown.
    Heading(form, QStringLiteral("パラメータ名"));
    auto* head = new QWidget(form.Parent());
    auto* headRow = new QHBoxLayout(head);
    headRow->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, int> columns[] = {{"名称", 150}, {"桁数", 40}, {"上限値（0：なし）", 130}};
    for (auto [text, width] : columns) {
        auto* l = new QLabel(QString::fromUtf8(text), head);
        l->setFixedWidth(width);
        headRow->addWidget(l);
    }
    headRow->addStretch(1);
    form.Widget(QString(), head);
    m_nParamRows = std::min(std::max(kParamDefaultCount, s.m_Params.size()), 99);
    for (int i = 0; i < m_nParamRows; ++i) {
        auto* box = new QWidget(form.Parent());
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        auto* name = new QLineEdit(box);
        name->setFixedWidth(150);
        auto* digits = new QLineEdit(box);
        digits->setReadOnly(true);
        digits->setFocusPolicy(Qt::NoFocus);
        digits->setFixedWidth(40);
        row->addWidget(name);
        row->addWidget(digits);
        row->addWidget(EntryNumber(form, this, ParamLimitId(i), [i]() -> int32_t* {
            RecordList<cParamInfo>& params = TheSystem().m_Params;
            return i < params.size() ? &params[i].m_nLimit : nullptr;
        }));
        row->addStretch(1);
        AddItem(ParamNameId(i), name);
        AddItem(ParamDigitsId(i), digits);
        DLG_CLASS* dlg = this;
        int id = ParamNameId(i);
        form.attach.push_back([=] {
            AttachEntryText(dlg, id, [i]() -> std::string* {
                RecordList<cParamInfo>& params = TheSystem().m_Params;
                return i < params.size() ? &params[i].m_Name : nullptr;
            });
        });
        form.ids.insert(id);
        form.Widget(i < kParamDefaultCount ? Arrow(kParamLabels[i]) : QStringLiteral("%1 →").arg(i + 1), box);
    }
}

void DLG_DBSYSTEM_5::AfterShow() { ShowDigits(); }

void DLG_DBSYSTEM_5::AfterFieldChange(int id)
{
    if (id >= IDC_PARAM && id < IDC_PARAM + 4 * m_nParamRows && (id - IDC_PARAM) % 4 == 2) {
        // The digit counts and the value taken from the first limit follow.
        Record().UpdateDerived();
        ShowDigits();
    }
}

void DLG_DBSYSTEM_5::ShowDigits()
{
    const RecordList<cParamInfo>& params = Record().m_Params;
    for (int i = 0; i < m_nParamRows; ++i)
        if (auto* e = qobject_cast<QLineEdit*>(Item(ParamDigitsId(i)))) {
            e->setText(i < params.size() ? QString::number(ParamDigits(params[i].m_nLimit)) : QString());
            e->setEnabled(i < params.size());
        }
}

// ---------------------------------------------------------------------------
// システム6

DLG_DBSYSTEM_6::DLG_DBSYSTEM_6() : DLG_DBSYSTEM_WORDS(204, QStringLiteral("システム6"), {5, 24, {2, 3, 4, 5, 6, 7}}) {}

void DLG_DBSYSTEM_6::DefineOwnFields(FieldForm& form)
{
    cSystem& s = Record();
    form.Number<int16_t>(IDC_VALUE1, QStringLiteral("数値1"), &s.m_nPage6Value1, INT16_MIN, INT16_MAX);
    form.Number<int16_t>(IDC_VALUE2, QStringLiteral("数値2"), &s.m_nPage6Value2, INT16_MIN, INT16_MAX);
    form.Number<int16_t>(IDC_VALUE3, QStringLiteral("数値3"), &s.m_nPage6Value3, INT16_MIN, INT16_MAX);
}

// ---------------------------------------------------------------------------
// システム10

DLG_DBSYSTEM_10::DLG_DBSYSTEM_10() : DB_RECORD_PAGE(208, QStringLiteral("システム10")) {}

cSystem& DLG_DBSYSTEM_10::Record() { return TheSystem(); }

void DLG_DBSYSTEM_10::DefineFields(FieldForm& form)
{
    QWidget* parent = form.Parent();
    Heading(form, QStringLiteral("System.ini の設定項目"));
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* column = new QVBoxLayout;
    column->addWidget(DbList(this, box, IDC_LIST, 260, 260));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DbButton(this, box, IDC_INSERT, "挿入"));
    buttons->addWidget(DbButton(this, box, IDC_DELETE, "削除"));
    buttons->addStretch(1);
    column->addLayout(buttons);
    row->addLayout(column);
    auto* fields = new QGridLayout;
    fields->addWidget(DbLabel(box, "種類"), 0, 0);
    fields->addWidget(DbNumber(this, box, IDC_KIND), 0, 1);
    fields->addWidget(DbLabel(box, "キー"), 1, 0);
    fields->addWidget(DbText(this, box, IDC_KEY, 200), 1, 1);
    fields->addWidget(DbLabel(box, "初期値"), 2, 0);
    fields->addWidget(DbNumber(this, box, IDC_DEFAULT), 2, 1);
    fields->addWidget(DbLabel(box, "説明"), 3, 0);
    fields->addWidget(DbText(this, box, IDC_TEXT, 200), 3, 1);
    fields->setRowStretch(4, 1);
    row->addLayout(fields);
    row->addStretch(1);
    form.Widget(QString(), box);
    form.Note(QStringLiteral("☆ゲームが「System.ini」から読む項目と、ファイルに無いときの値"))->setWordWrap(false);

    form.attach.push_back([this] {
        ListOptions o;
        o.numbering = true;
        o.minCount = 1;
        o.maxCount = 999;
        m_Pane.Attach(this, IDC_LIST, &Record().m_Inis, o, [](int, const cIni& k) { return k.m_Key; });
        AttachNum<int32_t>(this, IDC_KIND, &m_Pane.current.m_nKind, INT32_MIN, INT32_MAX);
        (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_KEY, &m_Pane.current.m_Key);
        AttachNum<int32_t>(this, IDC_DEFAULT, &m_Pane.current.m_nDefault, INT32_MIN, INT32_MAX);
        (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_TEXT, &m_Pane.current.m_Text);
        (new CTRL_BUTTON_CLASS)->Attach(this, IDC_INSERT);
        (new CTRL_BUTTON_CLASS)->Attach(this, IDC_DELETE);
        m_Pane.SetFields({IDC_KIND, IDC_KEY, IDC_DEFAULT, IDC_TEXT});
    });
}

void DLG_DBSYSTEM_10::AfterShow() { m_Pane.ShowSelected(); }

void DLG_DBSYSTEM_10::OnPageCommand(int id, Notify code)
{
    if (m_Pane.ListCommand(id))
        return;
    if (id == IDC_LIST && code == Notify::SelChange)
        m_Pane.ShowSelected();
    else if (m_Pane.IsFieldChange(id, code))
        m_Pane.StoreSelected();
    else if (id == IDC_INSERT)
        m_Pane.Insert();
    else if (id == IDC_DELETE)
        m_Pane.Delete();
}
