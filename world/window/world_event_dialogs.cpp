#include "world/window/world_event_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/world_commands.h"
#include "base/paths.h"
#include "base/text.h"
#include "events/gval_info.h"
#include "media/image_table.h"
#include "project/project.h"
#include "records/tables.h"
#include "ui/controls.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

namespace {

std::vector<std::string> LabelsOf(const LabelTable& t)
{
    std::vector<std::string> out;
    for (int i = 0; i < t.Count(); ++i)
        out.push_back(t[i]);
    return out;
}

QPushButton* Button(QDialog* d, const char* text) { return new QPushButton(QString::fromUtf8(text), d); }
QLabel* Label(QDialog* d, const char* text) { return new QLabel(QString::fromUtf8(text), d); }

// A numeric edit with its up-down arrows side by side.
QHBoxLayout* SpinEdit(DLG_CLASS* dlg, QDialog* d, int editId, int spinId)
{
    auto* row = new QHBoxLayout;
    auto* edit = new QLineEdit(d);
    edit->setMaximumWidth(80);
    row->addWidget(edit);
    dlg->AddItem(editId, edit);
    if (spinId) {
        auto* spin = new UpDownWidget(d);
        row->addWidget(spin);
        dlg->AddItem(spinId, spin);
    }
    row->addStretch(1);
    return row;
}

void OkCancel(DLG_CLASS* dlg, QDialog* d, QBoxLayout* layout)
{
    auto* buttons = new QHBoxLayout;
    auto* ok = Button(d, "OK");
    auto* cancel = Button(d, "キャンセル");
    ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    dlg->AddItem(IDC_OK, ok);
    dlg->AddItem(IDC_CANCEL, cancel);
}

std::function<bool(cWorldEvent&)>& EditorOverride()
{
    static std::function<bool(cWorldEvent&)> editor;
    return editor;
}

// The number of 32 x 32 pictures on the world event sheet.
int WorldEventGraphicCount()
{
    const Surface& s = ImageSurface(IMG_WORLDEVENT);
    return s.Empty() ? 0 : (s.Width() / 32) * (s.Height() / 32);
}

}  // namespace

// ---------------------------------------------------------------------------
// The world event editor

bool RunWorldEventEditor(WND_CLASS* owner, cWorldEvent& event)
{
    if (EditorOverride())
        return EditorOverride()(event);
    DLG_WORLDEVENT_SET dlg(event);
    dlg.SetupWindow(0, owner ? owner->Widget() : nullptr, owner);
    return dlg.DoModal() == 1;
}

void SetWorldEventEditorForTests(std::function<bool(cWorldEvent& event)> editor) { EditorOverride() = std::move(editor); }

DLG_WORLDEVENT_SET::DLG_WORLDEVENT_SET(cWorldEvent& event) : m_Target(event)
{
    SetTitle(QStringLiteral("イベント"));
    chooseFile = [this](std::string& path, const FileQuestion& q) {
        return OpenFileDialog(this, path, q.folder, q.title, q.filter, q.defaultExt) != 0;
    };
    askName = [this](std::string& name) { return InputText(this, false, name, 12, false, SJ("変数名の入力")) != 0; };
}

void DLG_WORLDEVENT_SET::Build(QDialog* d)
{
    auto* layout = new QVBoxLayout(d);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Label(d, "イベント名"));
    auto* name = new QLineEdit(d);
    nameRow->addWidget(name, 1);
    AddItem(IDC_NAME, name);
    layout->addLayout(nameRow);

    auto* body = new QHBoxLayout;
    layout->addLayout(body, 1);
    auto* pageColumn = new QVBoxLayout;
    auto* pages = new QListWidget(d);
    pages->setMinimumWidth(140);
    pageColumn->addWidget(pages, 1);
    AddItem(IDC_PAGES, pages);
    auto* pageButtons = new QHBoxLayout;
    auto* insert = Button(d, "挿入");
    auto* remove = Button(d, "削除");
    pageButtons->addWidget(insert);
    pageButtons->addWidget(remove);
    AddItem(IDC_INSERT, insert);
    AddItem(IDC_DELETE, remove);
    pageColumn->addLayout(pageButtons);
    body->addLayout(pageColumn);

    auto* page = new QGroupBox(QStringLiteral("ページデータ"), d);
    auto* grid = new QGridLayout(page);
    body->addWidget(page, 1);
    int row = 0;

    auto* cond = new QGroupBox(QStringLiteral("出現条件"), page);
    auto* condGrid = new QGridLayout(cond);
    condGrid->addWidget(Label(d, "ステージ"), 0, 0);
    condGrid->addLayout(SpinEdit(this, d, IDC_REQUIRED, 0), 0, 1);
    condGrid->addWidget(Label(d, "をクリアする　※「0」なら常に出現"), 0, 2, 1, 2);
    auto* commonVar = new QComboBox(d);
    auto* commonRename = Button(d, "_");
    commonRename->setMaximumWidth(24);
    auto* commonCompare = new QComboBox(d);
    condGrid->addWidget(commonVar, 1, 0, 1, 2);
    condGrid->addWidget(commonRename, 1, 2);
    condGrid->addLayout(SpinEdit(this, d, IDC_COMMON_VALUE, 0), 1, 3);
    condGrid->addWidget(commonCompare, 1, 4);
    AddItem(IDC_COMMON_VAR, commonVar);
    AddItem(IDC_COMMON_RENAME, commonRename);
    AddItem(IDC_COMMON_COMPARE, commonCompare);
    grid->addWidget(cond, row++, 0, 1, 3);

    auto* graphic = new QComboBox(d);
    auto* preview = new QLabel(d);
    preview->setFixedSize(32, 32);
    grid->addWidget(Label(d, "グラフィック"), row, 0);
    grid->addWidget(graphic, row, 1);
    grid->addWidget(preview, row++, 2);
    AddItem(IDC_GRAPHIC, graphic);
    AddItem(IDC_PREVIEW, preview);

    auto* type = new QComboBox(d);
    grid->addWidget(Label(d, "イベントタイプ"), row, 0);
    grid->addWidget(type, row++, 1);
    AddItem(IDC_TYPE, type);

    auto* stageName = new QLineEdit(d);
    grid->addWidget(Label(d, "ステージ名"), row, 0);
    grid->addWidget(stageName, row++, 1, 1, 2);
    AddItem(IDC_STAGE_NAME, stageName);

    auto* stageFile = new QLineEdit(d);
    auto* browse = Button(d, "参照");
    grid->addWidget(Label(d, "ステージ"), row, 0);
    grid->addWidget(stageFile, row, 1);
    grid->addWidget(browse, row++, 2);
    AddItem(IDC_STAGE_FILE, stageFile);
    AddItem(IDC_STAGE_BROWSE, browse);

    auto* variationBox = new QGroupBox(page);
    auto* vGrid = new QGridLayout(variationBox);
    auto* variation = new QCheckBox(QStringLiteral("バリエーション"), d);
    auto* variationVar = new QComboBox(d);
    auto* variationRename = Button(d, "_");
    variationRename->setMaximumWidth(24);
    vGrid->addWidget(variation, 0, 0);
    vGrid->addWidget(variationVar, 0, 1);
    vGrid->addWidget(variationRename, 0, 2);
    vGrid->addWidget(Label(d, "＝"), 0, 3);
    vGrid->addLayout(SpinEdit(this, d, IDC_VARIATION_VALUE, 0), 0, 4);
    auto* note = Label(d, "☆ステージ開始前にコモン変数を変更する。例えば、コモン変数「ルート」を変えてルートAとルートBを別のステージとして出したいときなどに利用する");
    note->setWordWrap(true);
    vGrid->addWidget(note, 1, 0, 1, 5);
    AddItem(IDC_VARIATION, variation);
    AddItem(IDC_VARIATION_VAR, variationVar);
    AddItem(IDC_VARIATION_RENAME, variationRename);
    grid->addWidget(variationBox, row++, 0, 1, 3);

    grid->addWidget(Label(d, "ステージ番号"), row, 0);
    grid->addLayout(SpinEdit(this, d, IDC_STAGE_NUMBER, 0), row++, 1);
    grid->addWidget(Label(d, "※「0」なら番号なし（常にクリア済み）"), row++, 0, 1, 3);
    auto* passable = new QCheckBox(QStringLiteral("クリアしなくても通行可能"), d);
    auto* replayable = new QCheckBox(QStringLiteral("クリア後でもプレイ可能"), d);
    grid->addWidget(passable, row++, 0, 1, 3);
    grid->addWidget(replayable, row++, 0, 1, 3);
    AddItem(IDC_PASSABLE, passable);
    AddItem(IDC_REPLAYABLE, replayable);
    auto* gameClear = new QComboBox(d);
    grid->addWidget(Label(d, "ゲームクリア"), row, 0);
    grid->addWidget(gameClear, row++, 1);
    AddItem(IDC_GAME_CLEAR, gameClear);

    OkCancel(this, d, layout);
}

void DLG_WORLDEVENT_SET::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Event = m_Target;
    if (m_Event.m_Pages.size() == 0)
        m_Event.m_Pages.emplace_back();
    m_Pages = m_Event.m_Pages.items();
    m_nPage = 0;
    m_Page = m_Pages[0];

    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_NAME, &m_Event.m_Name, 64, 64, 1);
    for (int id : {IDC_INSERT, IDC_DELETE, IDC_COMMON_RENAME, IDC_VARIATION_RENAME, IDC_STAGE_BROWSE})
        (new CTRL_BUTTON_CLASS)->Attach(this, id);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_REQUIRED, &m_Page.m_nRequiredStage, 0, 999);
    (new CTRL_COMBO_CLASS<int32_t>)->Attach(this, IDC_COMMON_VAR, &m_Page.m_nCommonVar);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_COMMON_VALUE, &m_Page.m_nCommonVarValue, -999999, 999999);
    auto* compare = new CTRL_COMBO_CLASS<CompareOp>;
    compare->Attach(this, IDC_COMMON_COMPARE, &m_Page.m_nCommonVarCompare);
    compare->SetItems(LabelsOf(CompareOpLabels()));
    auto* graphic = new CTRL_COMBO_CLASS<int32_t>;
    graphic->Attach(this, IDC_GRAPHIC, &m_Page.m_nGraphic);
    std::vector<std::string> graphics;
    for (int i = 0, n = WorldEventGraphicCount(); i < n; ++i)
        graphics.push_back(std::to_string(i + 1));
    graphic->SetItems(graphics);
    (new CTRL_PICTURE_CLASS)->Attach(this, IDC_PREVIEW);
    auto* type = new CTRL_COMBO_CLASS<WorldEventType>;
    type->Attach(this, IDC_TYPE, &m_Page.m_nEventType);
    type->SetItems(LabelsOf(WorldEventTypeLabels()));
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_STAGE_NAME, &m_Page.m_StageName, 64, 64, 1);
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_STAGE_FILE, &m_Page.m_StageFile, 260, 260, 1);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_VARIATION, &m_Page.m_bVariation);
    (new CTRL_COMBO_CLASS<int32_t>)->Attach(this, IDC_VARIATION_VAR, &m_Page.m_nVariationVar);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_VARIATION_VALUE, &m_Page.m_nVariationValue, -999999, 999999);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_STAGE_NUMBER, &m_Page.m_nStageNumber, 0, 999);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_PASSABLE, &m_Page.m_bPassableUncleared);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_REPLAYABLE, &m_Page.m_bReplayable);
    auto* clear = new CTRL_COMBO_CLASS<int32_t>;
    clear->Attach(this, IDC_GAME_CLEAR, &m_Page.m_nOnGameClear);
    clear->SetItems(LabelsOf(GameClearLabels()));
    FillVariableCombos();
    UpdateAll();
    FillPageList();
    UpdateEnabling();
    UpdatePreview();
}

void DLG_WORLDEVENT_SET::FillVariableCombos()
{
    const std::vector<std::string> choices = CommonVariableChoices();
    Control<CTRL_COMBO_CLASS<int32_t>>(IDC_COMMON_VAR)->SetItems(choices);
    Control<CTRL_COMBO_CLASS<int32_t>>(IDC_VARIATION_VAR)->SetItems(choices);
}

void DLG_WORLDEVENT_SET::FillPageList()
{
    auto* list = qobject_cast<QListWidget*>(Item(IDC_PAGES));
    if (!list)
        return;
    QSignalBlocker block(list);
    list->clear();
    for (std::size_t i = 0; i < m_Pages.size(); ++i)
        list->addItem(ToQt(WorldPageLine(static_cast<int>(i) == m_nPage ? m_Page : m_Pages[i])));
    list->setCurrentRow(m_nPage);
}

void DLG_WORLDEVENT_SET::ShowPage(int index)
{
    StoreAll();
    m_Pages[static_cast<std::size_t>(m_nPage)] = m_Page;
    m_nPage = std::clamp(index, 0, static_cast<int>(m_Pages.size()) - 1);
    m_Page = m_Pages[static_cast<std::size_t>(m_nPage)];
    UpdateAll();
    FillPageList();
    UpdateEnabling();
    UpdatePreview();
}

void DLG_WORLDEVENT_SET::UpdateEnabling()
{
    WorldPageEnabling e = WorldPageEnablingOf(m_Page);
    auto enable = [this](int id, bool on) {
        if (CTRL_CLASS* c = FindControl(id))
            c->Enable(on);
        else if (QWidget* w = Item(id))
            w->setEnabled(on);
    };
    enable(IDC_COMMON_VALUE, e.commonValue);
    enable(IDC_COMMON_COMPARE, e.commonValue);
    for (int id : {IDC_STAGE_NUMBER, IDC_STAGE_NAME, IDC_STAGE_FILE, IDC_VARIATION, IDC_PASSABLE, IDC_REPLAYABLE,
                   IDC_GAME_CLEAR})
        enable(id, e.stagePart);
    enable(IDC_VARIATION_VAR, e.variation);
    enable(IDC_VARIATION_VALUE, e.variation);
    enable(IDC_DELETE, m_Pages.size() > 1);
    enable(IDC_INSERT, static_cast<int>(m_Pages.size()) < kWorldPageMax);
}

void DLG_WORLDEVENT_SET::UpdatePreview()
{
    auto* label = qobject_cast<QLabel*>(Item(IDC_PREVIEW));
    if (!label)
        return;
    const Surface& s = ImageSurface(IMG_WORLDEVENT);
    const int g = m_Page.m_nGraphic, perRow = s.Empty() ? 1 : std::max(s.Width() / 32, 1);
    if (s.Empty() || g < 0 || g >= WorldEventGraphicCount()) {
        label->setPixmap(QPixmap());
        return;
    }
    QImage sheet(s.Bits(), s.Width(), s.Height(), s.Stride(), QImage::Format_RGB32);
    label->setPixmap(QPixmap::fromImage(sheet.copy((g % perRow) * 32, (g / perRow) * 32, 32, 32)));
}

void DLG_WORLDEVENT_SET::Rename(int comboId)
{
    StoreAll();
    const int number = comboId == IDC_COMMON_VAR ? m_Page.m_nCommonVar : m_Page.m_nVariationVar;
    if (number <= 0)
        return;
    std::string name = GlobalVariableName(number);
    if (!askName || !askName(name))
        return;
    Project& p = TheProject();
    RenameGlobalVariable(p.m_GlobalVariables, number, name, ProjectFile::GValInfo);
    FillVariableCombos();
    UpdateAll();
}

void DLG_WORLDEVENT_SET::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    switch (id) {
    case IDC_PAGES:
        if (code == Notify::SelChange)
            if (auto* list = qobject_cast<QListWidget*>(Item(IDC_PAGES)); list && list->currentRow() >= 0 &&
                                                                         list->currentRow() != m_nPage)
                ShowPage(list->currentRow());
        break;
    case IDC_INSERT:
        if (static_cast<int>(m_Pages.size()) < kWorldPageMax) {
            StoreAll();
            m_Pages[static_cast<std::size_t>(m_nPage)] = m_Page;
            m_Pages.insert(m_Pages.begin() + m_nPage, cWorldEventPage());
            m_Page = m_Pages[static_cast<std::size_t>(m_nPage)];
            UpdateAll();
            FillPageList();
            UpdateEnabling();
            UpdatePreview();
        }
        break;
    case IDC_DELETE:
        // An event keeps at least one page.
        if (m_Pages.size() > 1) {
            m_Pages.erase(m_Pages.begin() + m_nPage);
            m_nPage = std::min(m_nPage, static_cast<int>(m_Pages.size()) - 1);
            m_Page = m_Pages[static_cast<std::size_t>(m_nPage)];
            UpdateAll();
            FillPageList();
            UpdateEnabling();
            UpdatePreview();
        }
        break;
    case IDC_COMMON_RENAME: Rename(IDC_COMMON_VAR); break;
    case IDC_VARIATION_RENAME: Rename(IDC_VARIATION_VAR); break;
    case IDC_STAGE_BROWSE: {
        FileQuestion q;
        q.title = SJ("ステージファイルの選択");
        q.folder = "data\\stg";
        q.filter = {{"StageFile ( *.stg2 )", "*.stg2"}};
        q.defaultExt = "stg2";
        std::string path;
        if (chooseFile && chooseFile(path, q) && MakeRelative(path))
            if (auto* edit = qobject_cast<QLineEdit*>(Item(IDC_STAGE_FILE)))
                edit->setText(ToQt(path));
        break;
    }
    case IDC_TYPE:
    case IDC_VARIATION:
    case IDC_COMMON_VAR:
    case IDC_GRAPHIC:
    case IDC_STAGE_NUMBER:
        StoreAll();
        UpdateEnabling();
        UpdatePreview();
        if (id == IDC_STAGE_NUMBER)
            if (auto* list = qobject_cast<QListWidget*>(Item(IDC_PAGES)); list && list->item(m_nPage))
                list->item(m_nPage)->setText(ToQt(WorldPageLine(m_Page)));
        break;
    case IDC_OK:
        StoreAll();
        m_Pages[static_cast<std::size_t>(m_nPage)] = m_Page;
        m_Event.m_Pages.items() = m_Pages;
        m_Target = m_Event;
        Close(1);
        break;
    case IDC_CANCEL:
    case IDC_ESCAPE: Close(0); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// The world event palette

DLG_WORLDEVENT::DLG_WORLDEVENT() { SetTitle(QStringLiteral("イベントパレット")); }

void DLG_WORLDEVENT::Build(QDialog* d)
{
    d->setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(d);
    auto* ifPlaced = new QCheckBox(QStringLiteral("配置済みなら編集"), d);
    auto* before = new QCheckBox(QStringLiteral("配置直前に編集"), d);
    auto* autoNumber = new QCheckBox(QStringLiteral("ステージ番号を自動で振り分け"), d);
    layout->addWidget(ifPlaced);
    layout->addWidget(before);
    layout->addWidget(autoNumber);
    AddItem(IDC_EDIT_IF_PLACED, ifPlaced);
    AddItem(IDC_EDIT_BEFORE, before);
    AddItem(IDC_AUTO_NUMBER, autoNumber);
    layout->addWidget(Label(d, "イベント一覧(テンプレート)"));
    auto* list = new QListWidget(d);
    layout->addWidget(list, 1);
    AddItem(IDC_LIST, list);
    auto* buttons = new QHBoxLayout;
    const std::pair<int, const char*> texts[] = {{IDC_INSERT, "挿入"}, {IDC_EDIT, "編集"}, {IDC_DELETE, "削除"}, {IDC_COUNT, "ﾃﾞｰﾀ数"}};
    for (auto [id, text] : texts) {
        auto* b = Button(d, text);
        buttons->addWidget(b);
        AddItem(id, b);
    }
    layout->addLayout(buttons);
}

void DLG_WORLDEVENT::OnInitDialog()
{
    SetPlaceRecord(&TheProject().m_EditConfig.WndPos(ToolWindow::WorldEventPalette));
    if (!PlaceRecord()->m_bValid)
        SetFrame(220, 360, 0, 0, 0, 0);
    DLG_CLASS::OnInitDialog();
    cEditConfig& c = TheProject().m_EditConfig;
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_EDIT_IF_PLACED, &c.m_bWorldEditIfPlaced);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_EDIT_BEFORE, &c.m_bWorldEditBeforePut);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_AUTO_NUMBER, &c.m_bWorldAutoStage);
    auto* list = new CTRL_LIST_CLASS<cWorldEvent>;
    ListOptions o;
    o.numbering = true;
    o.minCount = 1;
    o.maxCount = kWorldPaletteMax;
    list->Attach(this, IDC_LIST, &TheProject().m_WorldMap.m_Palette, &m_Current, o,
                 [](int, const cWorldEvent& e) { return e.m_Name; });
    list->SetListCommands(117, 1, 1);
    list->SetListMenu(116, 1, 1);
    // Copy and cut fill the world map's own clipboard.
    list->SetClipboard(&WorldEditor().clipboard);
    for (int id : {IDC_INSERT, IDC_EDIT, IDC_DELETE, IDC_COUNT})
        (new CTRL_BUTTON_CLASS)->Attach(this, id);
    UpdateAll();
    WorldEditor().paletteEvent = Selected();
}

int DLG_WORLDEVENT::Selected() const
{
    auto* list = qobject_cast<QListWidget*>(Item(IDC_LIST));
    return list ? list->currentRow() : -1;
}

void DLG_WORLDEVENT::RefreshLists() { Fill(); }

void DLG_WORLDEVENT::OnClose()
{
    Close(0);
    // The editor settings hold the palette's switches and place.
    TheProject().m_EditConfig.SaveFile(ProjectFile::EditConfig);
}

void DLG_WORLDEVENT::Fill()
{
    if (auto* list = FindControl(IDC_LIST))
        list->Show();
    WorldEditor().paletteEvent = Selected();
}

void DLG_WORLDEVENT::Changed()
{
    WorldEditor().modified = true;  // the palette is saved with the map
    WorldEditor().paletteEvent = Selected();
    if (onChanged)
        onChanged();
}

void DLG_WORLDEVENT::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    auto* list = dynamic_cast<CTRL_LIST_CLASS<cWorldEvent>*>(FindControl(IDC_LIST));
    if (!list)
        return;
    RecordList<cWorldEvent>& palette = TheProject().m_WorldMap.m_Palette;
    auto storeList = [&] { list->Store(); };
    switch (id) {
    case IDC_LIST:
        if (code == Notify::ListDblClk)
            SendCommand(IDC_EDIT);
        WorldEditor().paletteEvent = Selected();
        break;
    case IDC_EDIT_IF_PLACED:
    case IDC_EDIT_BEFORE:
    case IDC_AUTO_NUMBER: StoreAll(); break;
    case IDC_INSERT:
    case cmd::kInsertKey1:
    case cmd::kMenuInsert1:
        if (list->Insert()) {
            storeList();
            Changed();
        }
        break;
    case IDC_DELETE:
    case cmd::kDeleteKey1:
    case cmd::kMenuDelete1:
        if (list->DeleteSel()) {
            storeList();
            Changed();
        }
        break;
    case cmd::kCut1:
    case cmd::kMenuCut1:
        if (list->CutSel()) {
            storeList();
            Changed();
        }
        break;
    case cmd::kCopy1:
    case cmd::kMenuCopy1: list->CopySel(); break;
    case cmd::kPaste1:
    case cmd::kMenuPaste1:
        if (list->Paste()) {
            storeList();
            Changed();
        }
        break;
    case IDC_EDIT: {
        int sel = list->GetSel();
        if (sel < 0 || sel >= palette.size())
            break;
        cWorldEvent copy = palette[sel];
        if (RunWorldEventEditor(this, copy) && !copy.Equals(palette[sel])) {
            palette[sel] = copy;
            Fill();
            list->Select(sel, true);
            Changed();
        }
        break;
    }
    case IDC_COUNT: {
        int count = palette.size();
        if (!InputValue(this, false, count, 1, kWorldPaletteMax, SJ("データ数")))
            break;
        if (list->Resize(count)) {
            storeList();
            Changed();
        }
        break;
    }
    default: break;
    }
}

// ---------------------------------------------------------------------------
// The world map's settings

DLG_WORLDMAP_SET::DLG_WORLDMAP_SET(WorldMapSettings& settings) : m_Target(settings)
{
    SetTitle(QStringLiteral("ワールドマップの設定"));
    chooseFile = [this](std::string& path, const FileQuestion& q) {
        return OpenFileDialog(this, path, q.folder, q.title, q.filter, q.defaultExt) != 0;
    };
}

void DLG_WORLDMAP_SET::Build(QDialog* d)
{
    auto* layout = new QVBoxLayout(d);
    auto* grid = new QGridLayout;
    const std::tuple<const char*, int, int> rows[] = {
        {"横幅", IDC_WIDTH, IDC_WIDTH_SPIN}, {"縦幅", IDC_HEIGHT, IDC_HEIGHT_SPIN},
        {"初期位置 X", IDC_START_X, IDC_START_X_SPIN}, {"初期位置 Y", IDC_START_Y, IDC_START_Y_SPIN}};
    int row = 0;
    for (auto [text, edit, spin] : rows) {
        grid->addWidget(Label(d, text), row, 0);
        grid->addLayout(SpinEdit(this, d, edit, spin), row++, 1);
    }
    auto* back = new QComboBox(d);
    grid->addWidget(Label(d, "最奥背景"), row, 0);
    grid->addWidget(back, row++, 1);
    AddItem(IDC_BACK, back);
    layout->addLayout(grid);
    auto* use = new QCheckBox(QStringLiteral("背景画像を使用する（最奥背景より手前）"), d);
    layout->addWidget(use);
    AddItem(IDC_USE_BACK, use);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(Label(d, "背景画像"));
    auto* file = new QLineEdit(d);
    auto* browse = Button(d, "参照");
    fileRow->addWidget(file, 1);
    fileRow->addWidget(browse);
    AddItem(IDC_BACK_IMAGE, file);
    AddItem(IDC_BROWSE, browse);
    layout->addLayout(fileRow);
    OkCancel(this, d, layout);
}

void DLG_WORLDMAP_SET::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Settings = m_Target;
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_WIDTH, &m_Settings.width, 1, kWorldMaxWidth, IDC_WIDTH_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_HEIGHT, &m_Settings.height, 1, kWorldMaxHeight, IDC_HEIGHT_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_START_X, &m_Settings.startX, 0, kWorldMaxWidth - 1, IDC_START_X_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_START_Y, &m_Settings.startY, 0, kWorldMaxHeight - 1, IDC_START_Y_SPIN);
    auto* back = new CTRL_COMBO_CLASS<int32_t>;
    back->Attach(this, IDC_BACK, &m_Settings.back);
    std::vector<std::string> backs;
    for (int i = 0, n = TableSize(Table::Back); i < n; ++i)
        backs.push_back(TableName(Table::Back, i));
    back->SetItems(backs);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_USE_BACK, &m_Settings.useBackImage);
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_BACK_IMAGE, &m_Settings.backImage, 260, 260, 1);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_BROWSE);
    UpdateAll();
}

void DLG_WORLDMAP_SET::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    switch (id) {
    case IDC_BROWSE: {
        FileQuestion q;
        q.title = SJ("背景画像の選択");
        q.folder = "image\\";
        q.filter = {{"ImageFile ( *.png;*.bmp )", "*.png;*.bmp"}};
        q.defaultExt = "png;bmp";
        std::string path;
        // A file that cannot be made relative to the project is ignored.
        if (chooseFile && chooseFile(path, q) && MakeRelative(path))
            if (auto* edit = qobject_cast<QLineEdit*>(Item(IDC_BACK_IMAGE)))
                edit->setText(ToQt(path));
        break;
    }
    case IDC_OK:
        StoreAll();
        m_Target = m_Settings;
        Close(1);
        break;
    case IDC_CANCEL:
    case IDC_ESCAPE: Close(0); break;
    default: break;
    }
}
