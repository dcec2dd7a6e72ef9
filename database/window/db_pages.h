// The catalogue pages of the database window (pages 5 to 15) and the dialogs
// they open: compatibility types with their influences ("相性"), lands, party
// values, character and effect animations with their frames ("アニメ"),
// pictures, backgrounds, sound effects, music, help entries with their texts
// ("本文") and the world map's chips.
#pragma once

#include <QWidget>

#include "app/editor_state.h"
#include "database/anim_preview.h"
#include "database/land.h"
#include "database/media.h"
#include "database/window/db_page.h"
#include "database/window/element_rows.h"

// The file chooser of the "参照" buttons (the open-file dialog unless replaced).
FileChooser& DatabaseFileChooser();

// Page 5: compatibility types and their influences.
class DLG_DBSKILLTYPE : public DB_LIST_PAGE<cCompatiType> {
public:
    enum { IDC_NAME = 1100, IDC_INFL_LIST = 1101, IDC_INFL_INSERT = 1102, IDC_INFL_EDIT = 1103, IDC_INFL_DELETE = 1104 };
    DLG_DBSKILLTYPE();

protected:
    std::vector<cCompatiType>& Records() override;
    std::string RecordName(int, const cCompatiType& r) const override { return r.m_Name; }
    void DefineFields(FieldForm& f) override;
    void OnInitDialog() override;
    void OnPageCommand(int id, Notify code) override;

private:
    std::string InflText(const cInfl& infl) const;
    NestedList<cInfl> m_Infls;
};

// Page 6: lands.
class DLG_DBLAND : public DB_LIST_PAGE<cLand> {
public:
    enum {
        IDC_MOVECOST = 1100, IDC_IMPASSABLE, IDC_GRAPHIC, IDC_GRAPHIC_LIST, IDC_PERCENT, IDC_SPECIAL, IDC_SPECIAL_VALUE,
        IDC_TRAINING, IDC_NAME, IDC_HELP, IDC_BACK, IDC_PREVIEW,
        IDC_STAT = 1200,   // nine stats
        IDC_ELEM = 1300,   // one per element
    };
    DLG_DBLAND();
    const ElementRows& Elements() const { return m_Elems; }

protected:
    std::vector<cLand>& Records() override;
    std::string RecordName(int, const cLand& r) const override { return r.m_Name; }
    void DefineFields(FieldForm& f) override;
    void RefreshChoices() override;
    void AfterShow() override;
    void AfterFieldChange(int id) override;
    void OnPageCommand(int id, Notify code) override;

private:
    ElementRows m_Elems;
};

// Page 7: party values.
class DLG_DB_PTVAL : public DB_LIST_PAGE<cPtVal> {
public:
    enum { IDC_NAME = 1100, IDC_UNIT, IDC_VARIABLE, IDC_RENAME, IDC_MIN, IDC_MAX, IDC_SHOW_STATUS, IDC_SHOW_SAVE };
    DLG_DB_PTVAL();

protected:
    std::vector<cPtVal>& Records() override;
    std::string RecordName(int, const cPtVal& r) const override { return r.m_Name; }
    void DefineFields(FieldForm& f) override;
    void RefreshChoices() override;
    void OnPageCommand(int id, Notify code) override;
};

// The preview of an animation: the preview graphic moved by the frames, the
// current frame's cell under it.
class AnimPreviewWidget : public QWidget {
public:
    AnimPreviewWidget(int sheetImage, int cellSize, QWidget* parent);
    ~AnimPreviewWidget() override;
    void SetAnimation(std::vector<AnimPreviewFrame> frames, int graphic);
    // One step of 1/20 second (the idle tick's frame).
    void Step();
    void Stop();
    const AnimPreview& Preview() const { return m_Preview; }
    QString CellText() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int m_nSheet, m_nCell;
    int m_nGraphic = 0;
    AnimPreview m_Preview;
};

// Pages 8 and 9: character and effect animations.
template <class Pat, class Frame>
class DB_ANIM_PAGE : public DB_LIST_PAGE<Pat> {
public:
    enum { IDC_NAME = 1100, IDC_PREVIEW, IDC_PREVIEW_LIST, IDC_FRAMES = 1110, IDC_FRAME_INSERT, IDC_FRAME_EDIT, IDC_FRAME_DELETE };
    DB_ANIM_PAGE(int resourceId, const QString& title, bool chara);
    ~DB_ANIM_PAGE() override;
    AnimPreviewWidget* PreviewWidget() const { return m_pPreview; }

protected:
    std::vector<Pat>& Records() override;
    std::string RecordName(int, const Pat& r) const override { return r.m_Name; }
    void DefineFields(FieldForm& f) override;
    void OnInitDialog() override;
    void AfterShow() override;
    void AfterFieldChange(int) override { AfterShow(); }
    void OnPageCommand(int id, Notify code) override;
    void StopPage() override;

private:
    bool m_bChara;
    NestedList<Frame> m_Frames;
    AnimPreviewWidget* m_pPreview = nullptr;
};
using DLG_DB_CHARAANIM = DB_ANIM_PAGE<cCharaAnimPat, cCharaAnim>;
using DLG_DB_EFFECTANIM = DB_ANIM_PAGE<cEffectAnimPat, cEffectAnim>;

// Pages 10 to 13: pictures, backgrounds, sound effects and music. The media
// kind decides the folder of "参照", the play button and the name rule.
enum class MediaKind { Picture, Back, Sound, Bgm };

template <class T>
class DB_MEDIA_PAGE : public DB_LIST_PAGE<T> {
public:
    enum {
        IDC_NAME = 1100, IDC_SAME = 1035, IDC_PATH = 1102, IDC_BROWSE = 1379, IDC_PLAY = 1133, IDC_VOLUME = 1105,
        IDC_VOLUME_EDIT = 1106, IDC_DISPLAY = 1107, IDC_CHIP_W, IDC_CHIP_H, IDC_RED, IDC_GREEN, IDC_BLUE, IDC_SCROLL_X,
        IDC_SCROLL_Y,
    };
    DB_MEDIA_PAGE(int resourceId, const QString& title, MediaKind kind, typename DB_LIST_PAGE<T>::Range range);

protected:
    std::vector<T>& Records() override;
    std::string RecordName(int, const T& r) const override { return r.m_Name; }
    void DefineFields(FieldForm& f) override;
    void OnInitDialog() override;
    void AfterShow() override;
    void AfterFieldChange(int id) override;
    void OnPageCommand(int id, Notify code) override;
    void StopPage() override;

private:
    std::string& PathOf(T& r);
    int NameLimit() const;
    MediaKind m_Kind;
};
using DLG_DB_PICTURE = DB_MEDIA_PAGE<cEdPicture>;
using DLG_DB_BACK = DB_MEDIA_PAGE<cEdBack>;
using DLG_DB_SOUND = DB_MEDIA_PAGE<cEdSound>;
using DLG_DB_BGM = DB_MEDIA_PAGE<cEdBgm>;

// Page 14: help entries and their texts.
class DLG_DB_HELP : public DB_LIST_PAGE<cEdHelp> {
public:
    enum { IDC_PARENT = 1100, IDC_HEADING, IDC_TEXTS = 1110, IDC_TEXT_INSERT, IDC_TEXT_EDIT, IDC_TEXT_DELETE };
    DLG_DB_HELP();

protected:
    std::vector<cEdHelp>& Records() override;
    std::string RecordName(int, const cEdHelp& r) const override { return r.m_Heading; }
    void DefineFields(FieldForm& f) override;
    void OnInitDialog() override;
    void OnPageCommand(int id, Notify code) override;

private:
    NestedList<cEdHelpText> m_Texts;
};

// Page 15: the world map's chips.
class DLG_DBWORLDCHIP : public DB_LIST_PAGE<cWorldChip> {
public:
    enum { IDC_IMPASSABLE = 1100, IDC_GRAPHIC, IDC_NAME, IDC_GRAPHIC_LIST, IDC_PREVIEW };
    DLG_DBWORLDCHIP();

protected:
    std::vector<cWorldChip>& Records() override;
    std::string RecordName(int, const cWorldChip& r) const override { return r.m_Name; }
    void DefineFields(FieldForm& f) override;
    void AfterShow() override;
    void AfterFieldChange(int id) override;
    void OnPageCommand(int id, Notify code) override;
};

// The dialogs over one record of a nested list (modal, on a copy).
int RunInflDialog(WND_CLASS* owner, cInfl& infl);                 // DLG_INFL, 228 "相性"
int RunCharaAnimDialog(WND_CLASS* owner, cCharaAnim& frame);      // DLG_DB_CHARAANIM_ANIM, 212 "アニメ"
int RunEffectAnimDialog(WND_CLASS* owner, cEffectAnim& frame);    // DLG_DB_EFFECTANIM_ANIM, 211 "アニメ"
int RunTextDialog(WND_CLASS* owner, cEdHelpText& text);           // DLG_TEXT, 231 "本文"
