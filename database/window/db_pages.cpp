#include "database/window/db_pages.h"

#include <QPainter>

#include "app/database_sheet.h"
#include "base/log.h"
#include "base/paths.h"
#include "database/window/graphic_preview.h"
#include "events/gval_info.h"
#include "media/graphic_cells.h"
#include "media/image_table.h"
#include "media/sound_output.h"
#include "project/project.h"
#include "ui/frame_tick.h"
#include "ui/select_graphic.h"

namespace {

// A picture field's "一覧" button and its framed preview, after the number.
void GraphicListAndPreview(DLG_CLASS* page, FieldForm& f, int listId, int previewId)
{
    f.Button(listId, QStringLiteral("一覧"));
    auto* preview = new QLabel(f.Parent());
    preview->setFixedSize(36, 36);
    preview->setFrameShape(QFrame::Box);
    f.Widget(QString(), preview);
    page->AddItem(previewId, preview);
}

void ShowGraphic(DLG_CLASS* page, int previewId, int kind, int n)
{
    if (auto* l = qobject_cast<QLabel*>(page->Item(previewId)))
        l->setPixmap(GraphicPixmap(kind, n));
}

// "一覧": the chooser over the kind's sheet; true when a picture (0 to 255) was chosen.
bool ChooseGraphic(WND_CLASS* page, int kind, int32_t& graphic)
{
    int value = graphic;
    if (DLG_SELECTGRAPHIC::Run(page, kind, value) != 1)
        return false;
    graphic = std::clamp(value, 0, 255);
    return true;
}

const char* const kStatNames[9] = {"HP", "SP", "攻撃", "守備", "魔力", "抵抗", "技能", "反応", "敏捷"};

Project& P() { return TheProject(); }

}  // namespace

FileChooser& DatabaseFileChooser()
{
    static FileChooser chooser;
    return chooser;
}

// ---------------------------------------------------------------------------
// Record dialogs

int RunInflDialog(WND_CLASS* owner, cInfl& infl)
{
    DB_RECORD_DIALOG<cInfl> dlg(228, QStringLiteral("相性"), [](FieldForm& f, cInfl& r) {
        f.Combo(1100, QString(), &r.m_nTarget);
        f.Note(QStringLiteral("に対して"));
        f.Combo(1101, QStringLiteral("項目"), &r.m_nItem, InflItemNames());
        f.Combo(1102, QStringLiteral("演算"), &r.m_nOperator, InflOperatorNames());
        f.Int(1103, QStringLiteral("値"), &r.m_nValue, -999999, 999999);
    });
    dlg.onInit = [](DB_RECORD_DIALOG<cInfl>& d) {
        d.Control<CTRL_COMBO_CLASS<int32_t>>(1100)->SetItems(
            NumberedNames(P().m_Database.m_CompatiTypes, [](const cCompatiType& t) { return t.m_Name; }));
    };
    return dlg.Run(owner, infl);
}

namespace {

template <class Frame>
void DefineFrame(FieldForm& f, Frame& r, bool chara)
{
    f.Int(1100, QStringLiteral("コマ"), &r.m_nCell, 0, 640);
    f.Int(1101, QStringLiteral("表示時間(1/60s)"), &r.m_nTime, 0, 999);
    if constexpr (requires { r.m_bEffectStart; })
        if (chara)
            f.Check(1102, QStringLiteral("ここからエフェクトを開始"), &r.m_bEffectStart);
    f.Int(1103, QStringLiteral("移動X(dot)"), &r.m_nMoveX, -640, 640);
    f.Int(1104, QStringLiteral("移動Y(dot)"), &r.m_nMoveY, -480, 480);
    f.Check(1105, QStringLiteral("瞬間移動"), &r.m_bInstantMove);
    f.Note(QStringLiteral("☆瞬間移動でない場合の移動速度＝移動距離÷表示時間"));
}

}  // namespace

int RunCharaAnimDialog(WND_CLASS* owner, cCharaAnim& frame)
{
    DB_RECORD_DIALOG<cCharaAnim> dlg(212, QStringLiteral("アニメ"),
                                     [](FieldForm& f, cCharaAnim& r) { DefineFrame(f, r, true); });
    return dlg.Run(owner, frame);
}

int RunEffectAnimDialog(WND_CLASS* owner, cEffectAnim& frame)
{
    DB_RECORD_DIALOG<cEffectAnim> dlg(211, QStringLiteral("アニメ"),
                                      [](FieldForm& f, cEffectAnim& r) { DefineFrame(f, r, false); });
    return dlg.Run(owner, frame);
}

int RunTextDialog(WND_CLASS* owner, cEdHelpText& text)
{
    DB_RECORD_DIALOG<cEdHelpText> dlg(231, QStringLiteral("本文"), [](FieldForm& f, cEdHelpText& r) {
        f.LongText(1100, QString(), &r.m_Text)->setMinimumSize(420, 240);
    });
    return dlg.Run(owner, text);
}

// ---------------------------------------------------------------------------
// Page 5: compatibility types

DLG_DBSKILLTYPE::DLG_DBSKILLTYPE() : DB_LIST_PAGE(227, QStringLiteral("相性タイプ"), {1, 999, 0}) { m_Infls.SetDialog(this); }

std::vector<cCompatiType>& DLG_DBSKILLTYPE::Records() { return P().m_Database.m_CompatiTypes.items(); }

std::string DLG_DBSKILLTYPE::InflText(const cInfl& infl) const
{
    const auto& types = P().m_Database.m_CompatiTypes;
    std::string target = infl.m_nTarget >= 0 && infl.m_nTarget < types.size() ? types[infl.m_nTarget].m_Name : std::string();
    auto pick = [](const std::vector<std::string>& names, int i) { return i >= 0 && i < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(i)] : std::string(); };
    return target + SJ("に対して ") + pick(InflItemNames(), infl.m_nItem) + " " + pick(InflOperatorNames(), infl.m_nOperator) +
           " " + std::to_string(infl.m_nValue);
}

void DLG_DBSKILLTYPE::DefineFields(FieldForm& f)
{
    f.Text(IDC_NAME, QStringLiteral("名称"), &m_Current.m_Name, 6);
    m_Infls.Build(f, QStringLiteral("相性"), {IDC_INFL_LIST, IDC_INFL_INSERT, IDC_INFL_EDIT, IDC_INFL_DELETE});
}

void DLG_DBSKILLTYPE::OnInitDialog()
{
    DB_LIST_PAGE::OnInitDialog();
    m_Infls.Attach(&m_Current.m_Infls.items(), [this](int, const cInfl& i) { return InflText(i); }, 999);
    UpdateAllBut(IDC_DB_LIST);
}

void DLG_DBSKILLTYPE::OnPageCommand(int id, Notify code)
{
    if (m_Infls.Command(id, code, [this](cInfl& i) { return RunInflDialog(this, i) == 1; }))
        CurrentChanged();
}

// ---------------------------------------------------------------------------
// Page 6: lands

DLG_DBLAND::DLG_DBLAND() : DB_LIST_PAGE(194, QStringLiteral("　　地形　　"), {1, 999, 0}) {}

std::vector<cLand>& DLG_DBLAND::Records() { return P().m_Lands.items(); }

void DLG_DBLAND::DefineFields(FieldForm& f)
{
    // Elements added since the land was loaded show the 100 a save gives them.
    FitBeforeShow(f, this, [this] { m_Current.Validate(); });
    f.Text(IDC_NAME, QStringLiteral("名称"), &m_Current.m_Name);
    f.Int(IDC_MOVECOST, QStringLiteral("移動コスト"), &m_Current.m_nMoveCost, 1, 9);
    f.Check(IDC_IMPASSABLE, QStringLiteral("移動不可"), &m_Current.m_bImpassable);
    f.Int(IDC_GRAPHIC, QStringLiteral("グラフィック"), &m_Current.m_nGraphic, 0, 255);
    GraphicListAndPreview(this, f, IDC_GRAPHIC_LIST, IDC_PREVIEW);
    f.Check(IDC_PERCENT, QStringLiteral("％で指定↓"), &m_Current.m_bStatPercent);
    for (int i = 0; i < 9; ++i)
        f.Int(IDC_STAT + i, i == 0 ? QStringLiteral("能力値修正　") + QString::fromUtf8(kStatNames[i]) : QString::fromUtf8(kStatNames[i]),
              &m_Current.m_StatMod[static_cast<std::size_t>(i)], -999999, 999999);
    f.SideColumn();
    m_Elems.Build(f, this, QStringLiteral("属性修正(%)"), IDC_ELEM, &m_Current.m_ElemMod, INT_MIN, INT_MAX);
    f.Combo(IDC_SPECIAL, QStringLiteral("特殊効果"), &m_Current.m_nSpecial, LandSpecialNames());
    f.Int(IDC_SPECIAL_VALUE, QString(), &m_Current.m_nSpecialValue, 0, 999999);
    f.Check(IDC_TRAINING, QStringLiteral("トレーニングで選択可"), &m_Current.m_bTraining);
    f.Text(IDC_HELP, QStringLiteral("説明"), &m_Current.m_Help, 32);
    f.Combo(IDC_BACK, QStringLiteral("戦闘時の背景"), &m_Current.m_nBack);
}

void DLG_DBLAND::RefreshChoices()
{
    SetComboItems(this, IDC_BACK, NumberedNames(P().m_Database.m_Backs, [](const cEdBack& b) { return b.m_Name; }));
    m_Elems.Sync();
}

void DLG_DBLAND::AfterShow()
{
    ShowGraphic(this, IDC_PREVIEW, GK_LAND, m_Current.m_nGraphic);
}

void DLG_DBLAND::AfterFieldChange(int id)
{
    if (id == IDC_GRAPHIC)
        AfterShow();
}

void DLG_DBLAND::OnPageCommand(int id, Notify)
{
    if (id == IDC_GRAPHIC_LIST && ChooseGraphic(this, GK_LAND, m_Current.m_nGraphic))
        CurrentChanged();
}

// ---------------------------------------------------------------------------
// Page 7: party values

DLG_DB_PTVAL::DLG_DB_PTVAL() : DB_LIST_PAGE(197, QStringLiteral("パーティー変数"), {1, 999, 0}) {}

std::vector<cPtVal>& DLG_DB_PTVAL::Records() { return P().m_Database.m_PtVals.items(); }

void DLG_DB_PTVAL::DefineFields(FieldForm& f)
{
    f.Text(IDC_NAME, QStringLiteral("名称"), &m_Current.m_Name, 12);
    f.Text(IDC_UNIT, QStringLiteral("単位"), &m_Current.m_Unit, 1);
    f.Combo(IDC_VARIABLE, QStringLiteral("コモン変数"), &m_Current.m_nVariable);
    f.Button(IDC_RENAME, QStringLiteral("_"))->setMaximumWidth(28);
    f.Note(QStringLiteral("☆パーティー変数の実体"));
    f.Int(IDC_MIN, QStringLiteral("下限"), &m_Current.m_nMin, -999999, 999999);
    f.Int(IDC_MAX, QStringLiteral("上限"), &m_Current.m_nMax, -999999, 999999);
    f.Check(IDC_SHOW_STATUS, QStringLiteral("編成画面下部のウインドウにパーティーのステータスとして表示"), &m_Current.m_bShowStatus);
    f.Check(IDC_SHOW_SAVE, QStringLiteral("ゲームのセーブ・ロード時、セーブデータの情報として表示"), &m_Current.m_bShowSave);
}

void DLG_DB_PTVAL::RefreshChoices() { SetComboItems(this, IDC_VARIABLE, CommonVariableChoices()); }

void DLG_DB_PTVAL::OnPageCommand(int id, Notify)
{
    if (id != IDC_RENAME)
        return;
    int number = m_Current.m_nVariable;
    if (number <= 0 || number >= kGlobalVariableCount)
        return;
    std::string name = GlobalVariableName(number);
    if (!InputText(this, true, name, kGlobalVariableNameBytes, false, SJ("変数名の入力")))
        return;
    // Saved at once: a rename stays whatever becomes of the sheet.
    if (!RenameGlobalVariable(P().m_GlobalVariables, number, name, ProjectFile::GValInfo))
        ErrorBoxPrintf(SJ("%sを保存できません").c_str(), ProjectFile::GValInfo);
    RefreshChoices();
    UpdateAllBut(IDC_DB_LIST);
}

// ---------------------------------------------------------------------------
// Animation preview

AnimPreviewWidget::AnimPreviewWidget(int sheetImage, int cellSize, QWidget* parent)
    : QWidget(parent), m_nSheet(sheetImage), m_nCell(cellSize)
{
    setFixedSize(cellSize * 4, cellSize * 3 + 20);
    AddFrameListener(this, [this] { Step(); });
}

AnimPreviewWidget::~AnimPreviewWidget() { RemoveFrameListener(this); }

void AnimPreviewWidget::SetAnimation(std::vector<AnimPreviewFrame> frames, int graphic)
{
    m_nGraphic = graphic;
    m_Preview.SetFrames(std::move(frames));
    update();
}

void AnimPreviewWidget::Step()
{
    if (!isVisible())
        return;
    m_Preview.Step();
    update();
}

void AnimPreviewWidget::Stop() { m_Preview.Restart(); }

QString AnimPreviewWidget::CellText() const { return QStringLiteral("コマ %1").arg(m_Preview.Cell()); }

void AnimPreviewWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    int kind = m_nSheet == IMG_SHEET_CHARA ? GK_CHARA : GK_EFFECT;
    QImage cell = GraphicImage(kind, m_nGraphic);
    QPoint origin(width() / 2 - m_nCell / 2, (height() - 20) / 2 - m_nCell / 2);
    QPoint at = origin + QPoint(static_cast<int>(m_Preview.X()), static_cast<int>(m_Preview.Y()));
    if (!cell.isNull())
        p.drawImage(at, cell);
    p.setPen(Qt::white);
    p.drawText(QRect(0, height() - 20, width(), 20), Qt::AlignCenter, CellText());
}

// ---------------------------------------------------------------------------
// Pages 8 and 9: animations

template <class Pat, class Frame>
DB_ANIM_PAGE<Pat, Frame>::DB_ANIM_PAGE(int resourceId, const QString& title, bool chara)
    : DB_LIST_PAGE<Pat>(resourceId, title, {1, 999, 0}), m_bChara(chara)
{
    m_Frames.SetDialog(this);
}

template <class Pat, class Frame>
DB_ANIM_PAGE<Pat, Frame>::~DB_ANIM_PAGE() = default;

template <class Pat, class Frame>
std::vector<Pat>& DB_ANIM_PAGE<Pat, Frame>::Records()
{
    if constexpr (std::is_same_v<Pat, cCharaAnimPat>)
        return P().m_Database.m_CharaAnims.items();
    else
        return P().m_Database.m_EffectAnims.items();
}

template <class Pat, class Frame>
void DB_ANIM_PAGE<Pat, Frame>::DefineFields(FieldForm& f)
{
    f.Text(IDC_NAME, QStringLiteral("名称"), &this->m_Current.m_Name, 12);
    f.template Number<int16_t>(IDC_PREVIEW, QStringLiteral("プレビュー"), &this->m_Current.m_nPreview, 1,
                               m_bChara ? 159 : 127);
    f.Button(IDC_PREVIEW_LIST, QStringLiteral("一覧"));
    m_Frames.Build(f, QStringLiteral("アニメ"), {IDC_FRAMES, IDC_FRAME_INSERT, IDC_FRAME_EDIT, IDC_FRAME_DELETE});
    f.NextColumn();
    m_pPreview = m_bChara ? new AnimPreviewWidget(IMG_SHEET_CHARA, 48, f.Parent())
                          : new AnimPreviewWidget(IMG_SHEET_EFFECT, 64, f.Parent());
    f.Widget(QString(), m_pPreview);
}

template <class Pat, class Frame>
void DB_ANIM_PAGE<Pat, Frame>::OnInitDialog()
{
    DB_LIST_PAGE<Pat>::OnInitDialog();
    m_Frames.Attach(&this->m_Current.m_Frames.items(),
                    [](int, const Frame& fr) {
                        return StrPrintf(SJ("コマ %d  %d/60s  (%d,%d)%s").c_str(), fr.m_nCell, fr.m_nTime, fr.m_nMoveX,
                                         fr.m_nMoveY, fr.m_bInstantMove ? SJ(" 瞬間移動").c_str() : "");
                    },
                    999);
    this->UpdateAllBut(IDC_DB_LIST);
}

template <class Pat, class Frame>
void DB_ANIM_PAGE<Pat, Frame>::AfterShow()
{
    if (m_pPreview)
        m_pPreview->SetAnimation(PreviewFrames(this->m_Current), this->m_Current.m_nPreview);
}

template <class Pat, class Frame>
void DB_ANIM_PAGE<Pat, Frame>::StopPage()
{
    if (m_pPreview)
        m_pPreview->Stop();
}

template <class Pat, class Frame>
void DB_ANIM_PAGE<Pat, Frame>::OnPageCommand(int id, Notify code)
{
    if (id == IDC_PREVIEW_LIST) {
        int value = this->m_Current.m_nPreview;
        if (DLG_SELECTGRAPHIC::Run(this, m_bChara ? GK_CHARA : GK_EFFECT, value) == 1) {
            this->m_Current.m_nPreview = static_cast<int16_t>(std::clamp(value, 1, m_bChara ? 159 : 127));
            this->CurrentChanged();
        }
        return;
    }
    auto edit = [this](Frame& fr) {
        if constexpr (std::is_same_v<Frame, cCharaAnim>)
            return RunCharaAnimDialog(this, fr) == 1;
        else
            return RunEffectAnimDialog(this, fr) == 1;
    };
    if (m_Frames.Command(id, code, edit))
        this->CurrentChanged();
}

template class DB_ANIM_PAGE<cCharaAnimPat, cCharaAnim>;
template class DB_ANIM_PAGE<cEffectAnimPat, cEffectAnim>;

// ---------------------------------------------------------------------------
// Pages 10 to 13: media

template <class T>
DB_MEDIA_PAGE<T>::DB_MEDIA_PAGE(int resourceId, const QString& title, MediaKind kind,
                                typename DB_LIST_PAGE<T>::Range range)
    : DB_LIST_PAGE<T>(resourceId, title, range), m_Kind(kind)
{
}

template <class T>
std::vector<T>& DB_MEDIA_PAGE<T>::Records()
{
    cDatabase& db = P().m_Database;
    if constexpr (std::is_same_v<T, cEdPicture>)
        return db.m_Pictures.items();
    else if constexpr (std::is_same_v<T, cEdBack>)
        return db.m_Backs.items();
    else if constexpr (std::is_same_v<T, cEdSound>)
        return db.m_Sounds.items();
    else
        return db.m_Bgms.items();
}

template <class T>
std::string& DB_MEDIA_PAGE<T>::PathOf(T& r)
{
    if constexpr (std::is_same_v<T, cEdBack>)
        return r.m_ImagePath;
    else
        return r.m_Path;
}

template <class T>
int DB_MEDIA_PAGE<T>::NameLimit() const
{
    return m_Kind == MediaKind::Back || m_Kind == MediaKind::Bgm ? 12 : 0;
}

template <class T>
void DB_MEDIA_PAGE<T>::DefineFields(FieldForm& f)
{
    T& c = this->m_Current;
    f.Text(IDC_NAME, QStringLiteral("名称"), &c.m_Name, NameLimit());
    if constexpr (!std::is_same_v<T, cEdBack>) {
        f.Check(IDC_SAME, QStringLiteral("ファイル名と同じ"), &c.m_bNameIsFile);
        f.Text(IDC_PATH, QStringLiteral("パス"), &c.m_Path, 260)->setMinimumWidth(300);
        f.Button(IDC_BROWSE, QStringLiteral("参照"));
        if (m_Kind == MediaKind::Sound || m_Kind == MediaKind::Bgm)
            f.Button(IDC_PLAY, QStringLiteral("再生"));
        if constexpr (std::is_same_v<T, cEdBgm>)
            f.Slider(IDC_VOLUME, IDC_VOLUME_EDIT, QStringLiteral("ボリューム(%)"), &c.m_nVolume, 0, 100, 10);
    } else {
        f.Combo(IDC_DISPLAY, QStringLiteral("表示タイプ"), &c.m_nDisplayType, BackDisplayTypeNames());
        f.Int(IDC_CHIP_W, QStringLiteral("マップチップの幅(横、縦)(dot)"), &c.m_nChipWidth, 1, 640);
        f.Int(IDC_CHIP_H, QString(), &c.m_nChipHeight, 1, 640);
        f.Note(QStringLiteral("☆背景画像の幅を割り切れる値にすること"));
        f.Text(IDC_PATH, QStringLiteral("画像のパス"), &c.m_ImagePath, 260)->setMinimumWidth(300);
        f.Button(IDC_BROWSE, QStringLiteral("参照"));
        f.template Number<uint8_t>(IDC_RED, QStringLiteral("透過色(R,G,B)"), &c.m_Red, 0, 255);
        f.template Number<uint8_t>(IDC_GREEN, QString(), &c.m_Green, 0, 255);
        f.template Number<uint8_t>(IDC_BLUE, QString(), &c.m_Blue, 0, 255);
        f.template Number<double>(IDC_SCROLL_X, QStringLiteral("スクロール速度(横、縦)"), &c.m_dScrollX, -999.99, 999.99, 2);
        f.template Number<double>(IDC_SCROLL_Y, QString(), &c.m_dScrollY, -999.99, 999.99, 2);
    }
}

template <class T>
void DB_MEDIA_PAGE<T>::OnInitDialog()
{
    // The sound list keeps index 0 hidden and at least one record after it.
    if (m_Kind == MediaKind::Sound && Records().size() < 2)
        Records().resize(2);
    DB_LIST_PAGE<T>::OnInitDialog();
}

template <class T>
void DB_MEDIA_PAGE<T>::AfterShow()
{
    if constexpr (!std::is_same_v<T, cEdBack>) {
        // While the name follows the file name it cannot be typed.
        if (QWidget* name = this->Item(IDC_NAME))
            name->setEnabled(!this->m_Current.m_bNameIsFile);
    }
}

template <class T>
void DB_MEDIA_PAGE<T>::AfterFieldChange(int id)
{
    if constexpr (!std::is_same_v<T, cEdBack>) {
        T& c = this->m_Current;
        if ((id == IDC_SAME || id == IDC_PATH) && c.m_bNameIsFile) {
            std::string name = NameFromFile(c.m_Path, NameLimit());
            if (name != c.m_Name) {
                c.m_Name = name;
                this->CurrentChanged();
                return;
            }
        }
        if (id == IDC_SAME)
            AfterShow();
    }
}

template <class T>
void DB_MEDIA_PAGE<T>::OnPageCommand(int id, Notify)
{
    T& c = this->m_Current;
    if (id == IDC_BROWSE) {
        FileQuestion q;
        switch (m_Kind) {
        case MediaKind::Picture:
        case MediaKind::Back:
            q.title = SJ("画像の選択");
            q.folder = m_Kind == MediaKind::Picture ? SJ("image\\picture") : SJ("image\\back");
            q.filter = {{"ImageFile ( *.png;*.bmp )", "*.png;*.bmp"}};
            q.defaultExt = "png";
            break;
        case MediaKind::Sound:
            q.title = SJ("効果音の選択");
            q.folder = "wave";
            q.filter = {{"WaveFile ( *.wav )", "*.wav"}};
            q.defaultExt = "wav";
            break;
        case MediaKind::Bgm:
            q.title = SJ("BGMの選択");
            q.folder = "bgm";
            q.filter = {{"MusicFile ( *.mid;*.ogg )", "*.mid;*.ogg"}};
            q.defaultExt = "mid";
            break;
        }
        std::string path;
        FileChooser& choose = DatabaseFileChooser();
        bool chosen = choose ? choose(path, q)
                             : OpenFileDialog(this, path, q.folder, q.title, q.filter, q.defaultExt) != 0;
        if (!chosen)
            return;
        if (!MakeRelative(path)) {
            ErrorBoxPrintf("%s", SJ("ヴァントール本体が存在するドライブと選んだファイルが存在するドライブとが異なります！\n"
                                    "プロジェクトのフォルダーの中のファイルを選んで下さい。")
                                     .c_str());
            return;
        }
        PathOf(c) = path.substr(0, 260);
        if constexpr (!std::is_same_v<T, cEdBack>)
            if (c.m_bNameIsFile)
                c.m_Name = NameFromFile(c.m_Path, NameLimit());
        this->CurrentChanged();
        return;
    }
    if (id == IDC_PLAY) {
        if constexpr (std::is_same_v<T, cEdBgm>) {
            if (!Sound().PlayMusic(c.m_Path, c.m_nVolume, false))
                ErrorBoxPrintf("%s", LoadFailureText().c_str());
        } else if constexpr (std::is_same_v<T, cEdSound>) {
            if (!Sound().PlayEffect(c.m_Path))
                ErrorBoxPrintf("%s", LoadFailureText().c_str());
        }
    }
}

template <class T>
void DB_MEDIA_PAGE<T>::StopPage()
{
    if (m_Kind == MediaKind::Bgm)
        Sound().StopMusic();
    else if (m_Kind == MediaKind::Sound)
        Sound().StopEffect();
}

template class DB_MEDIA_PAGE<cEdPicture>;
template class DB_MEDIA_PAGE<cEdBack>;
template class DB_MEDIA_PAGE<cEdSound>;
template class DB_MEDIA_PAGE<cEdBgm>;

// ---------------------------------------------------------------------------
// Page 14: help

DLG_DB_HELP::DLG_DB_HELP() : DB_LIST_PAGE(230, QStringLiteral("　ヘルプ　"), {1, 999, 0}) { m_Texts.SetDialog(this); }

std::vector<cEdHelp>& DLG_DB_HELP::Records() { return P().m_Database.m_Helps.items(); }

void DLG_DB_HELP::DefineFields(FieldForm& f)
{
    f.Text(IDC_PARENT, QStringLiteral("親見出し"), &m_Current.m_Parent);
    f.Text(IDC_HEADING, QStringLiteral("見出し"), &m_Current.m_Heading, 30);
    m_Texts.Build(f, QStringLiteral("本文"), {IDC_TEXTS, IDC_TEXT_INSERT, IDC_TEXT_EDIT, IDC_TEXT_DELETE});
}

void DLG_DB_HELP::OnInitDialog()
{
    DB_LIST_PAGE::OnInitDialog();
    m_Texts.Attach(&m_Current.m_Texts.items(),
                   [](int, const cEdHelpText& t) {
                       // The first line of the text.
                       std::size_t end = t.m_Text.find('\r');
                       return t.m_Text.substr(0, std::min(end, t.m_Text.find('\n')));
                   },
                   99);
    UpdateAllBut(IDC_DB_LIST);
}

void DLG_DB_HELP::OnPageCommand(int id, Notify code)
{
    if (m_Texts.Command(id, code, [this](cEdHelpText& t) { return RunTextDialog(this, t) == 1; }))
        CurrentChanged();
}

// ---------------------------------------------------------------------------
// Page 15: world chips

DLG_DBWORLDCHIP::DLG_DBWORLDCHIP() : DB_LIST_PAGE(226, QStringLiteral("ワールドチップ"), {1, 999, 0}) {}

std::vector<cWorldChip>& DLG_DBWORLDCHIP::Records() { return P().m_WorldMap.m_Chips.items(); }

void DLG_DBWORLDCHIP::DefineFields(FieldForm& f)
{
    f.Text(IDC_NAME, QStringLiteral("名称"), &m_Current.m_Name, 8);
    f.Check(IDC_IMPASSABLE, QStringLiteral("移動不可"), &m_Current.m_bImpassable);
    f.Int(IDC_GRAPHIC, QStringLiteral("グラフィック"), &m_Current.m_nGraphic, 0, 255);
    GraphicListAndPreview(this, f, IDC_GRAPHIC_LIST, IDC_PREVIEW);
}

void DLG_DBWORLDCHIP::AfterShow()
{
    ShowGraphic(this, IDC_PREVIEW, GK_WORLDCHIP, m_Current.m_nGraphic);
}

void DLG_DBWORLDCHIP::AfterFieldChange(int id)
{
    if (id == IDC_GRAPHIC)
        AfterShow();
}

void DLG_DBWORLDCHIP::OnPageCommand(int id, Notify)
{
    if (id == IDC_GRAPHIC_LIST && ChooseGraphic(this, GK_WORLDCHIP, m_Current.m_nGraphic))
        CurrentChanged();
}
