#include "game_window.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/editor_state.h"
#include "app/startup.h"
#include "app/test_play.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "project/project.h"
#include "stage/map_render.h"

namespace {

// Keeps what the load said instead of showing boxes.
class CollectingSink : public MessageSink {
public:
    explicit CollectingSink(std::vector<std::string>& out) : out_(out) { old_ = SetMessageSink(this); }
    ~CollectingSink() override { SetMessageSink(old_); }
    Answer Box(const std::string& text, const std::string&, Buttons) override
    {
        out_.push_back(Cp932ToUtf8(text));
        return Answer::Ok;
    }

private:
    std::vector<std::string>& out_;
    MessageSink* old_ = nullptr;
};

std::string U(const std::string& cp932) { return Cp932ToUtf8(cp932); }

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

bool StageOpen() { return !TheProject().m_EditConfig.m_StagePath.empty(); }

}  // namespace

bool LoadGameProject(std::vector<std::string>& messages)
{
    CollectingSink sink(messages);
    CurrentVersion = kEditorDataVersion;
    NormalizeOnLoad = false;
    VersionTooNew = false;
    ProjectFolder = CurrentDirectory();
    Project& p = TheProject();
    if (!p.m_EditConfig.LoadFile(ProjectFile::EditConfig))
        p.m_EditConfig.NewSettings();
    if (!LoadProject()) {
        // The editor's words for a project that does not load.
        if (VersionTooNew)
            messages.push_back("プロジェクトのロードに失敗しました！");
        else
            messages.push_back("プロジェクトのロードに失敗しました！フォルダやファイルの位置や名称が変更された可能性があります！");
        return false;
    }
    OpenRememberedStage();
    ReadProjectRunSettings("System.ini");
    return true;
}

std::vector<std::string> GameInfoLines(bool stageOpen)
{
    const Project& p = TheProject();
    std::vector<std::string> lines;
    if (stageOpen) {
        const cStage& s = p.m_Stage;
        lines.push_back("ステージ名: " + U(s.m_Name));
        lines.push_back(StrPrintf("サイズ: %d x %d", s.m_nWidth, s.m_nHeight));
        auto conditions = [&](const char* label, const RecordList<cEndCond>& list) {
            lines.push_back(std::string(label) + ":");
            for (const cEndCond& c : list)
                lines.push_back("  " + U(c.m_Text));
        };
        conditions("勝利条件", s.m_Victory);
        conditions("敗北条件", s.m_Defeat);
        conditions("その他の条件", s.m_Special);
    } else {
        lines.push_back("ゲーム名: " + U(p.m_System.m_GameName));
        lines.push_back("ワールドマップ: " + U(p.m_WorldMap.m_Name) +
                        StrPrintf(" (%d x %d)", p.m_WorldMap.m_nWidth, p.m_WorldMap.m_nHeight));
        lines.push_back("テストするステージがありません");
    }
    lines.push_back("");
    lines.push_back("テストプレイの設定:");
    for (const TestPlayOption& o : TestPlayOptions()) {
        int v = p.m_TestPlay.*o.member;
        std::string text;
        if (o.texts.empty())
            text = v ? "オン" : "オフ";
        else
            text = v >= 0 && v < static_cast<int>(o.texts.size()) ? o.texts[static_cast<std::size_t>(v)] : StrPrintf("(%d)", v);
        lines.push_back(std::string("  ") + o.label + ": " + text);
    }
    lines.push_back("");
    lines.push_back("System.ini:");
    const RunSettings& run = ProcessRunSettings();
    const std::pair<const char*, int32_t> settings[] = {
        {"WindowMode", run.nWindowMode}, {"Color", run.nColor},     {"FrameRate", run.nFrameRate},
        {"VSync", run.nVSync},           {"ShowFps", run.nShowFps}, {"English", run.nEnglish},
        {"Midi_DirectMusic", run.nMidiDirectMusic},
    };
    for (const auto& [key, value] : settings)
        lines.push_back(StrPrintf("  %s = %d", key, value));
    lines.push_back("");
    lines.push_back(std::string("戦闘モード: ") + (p.m_System.m_nBattleMode == 1 ? "オート" : "マニュアル"));
    return lines;
}

std::string CellText(int x, int y)
{
    const Project& p = TheProject();
    const cStage& s = p.m_Stage;
    if (x < 0 || y < 0 || x >= s.m_nWidth || y >= s.m_nHeight)
        return {};
    int land = s.Cell(x, y);
    std::string text = StrPrintf("(%d,%d) ", x, y) +
                       (land >= 0 && land < p.m_Lands.size() ? U(p.m_Lands[land].m_Name) : StrPrintf("(%d)", land));
    for (const cPutEnemy& e : s.m_PutEnemy)
        if (e.IsPlaced() && e.m_nX == x && e.m_nY == y && e.m_nEnemy > 0 && e.m_nEnemy < p.m_Enemies.size()) {
            const cEnemy& enemy = p.m_Enemies[e.m_nEnemy];
            text += "  " + U(enemy.m_Name) + StrPrintf(" Lv%d", enemy.m_nLevel);
        }
    return text;
}

// ---------------------------------------------------------------------------

GameMapView::GameMapView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const cStage& s = TheProject().m_Stage;
    setFixedSize(std::max(s.m_nWidth, 1) * kChipSize, std::max(s.m_nHeight, 1) * kChipSize);
}

void GameMapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_Canvas.Width() != width() || m_Canvas.Height() != height())
        if (!CreateSurface(m_Canvas, width(), height(), 24, 0))
            return;
    MapScene scene = ProjectScene(TheProject());
    scene.gameView = true;
    RenderMap(m_Canvas, scene, 0, 0, MapCursor{});
    QImage image(m_Canvas.Bits(), m_Canvas.Width(), m_Canvas.Height(), m_Canvas.Stride(), QImage::Format_RGB32);
    painter.drawImage(0, 0, image);
}

void GameMapView::mouseMoveEvent(QMouseEvent* e)
{
    QPoint pos = e->position().toPoint();
    if (onHover)
        onHover(pos.x() / kChipSize, pos.y() / kChipSize);
}

GameWindow::GameWindow(bool loaded, const std::vector<std::string>& messages)
{
    setWindowTitle(Q(U(TheProject().m_System.m_GameName)) + QStringLiteral(" テストプレイ"));
    auto* layout = new QHBoxLayout(this);
    const bool stage = loaded && StageOpen();
    if (stage) {
        auto* scroll = new QScrollArea(this);
        m_pMap = new GameMapView(scroll);
        scroll->setWidget(m_pMap);
        scroll->setMinimumSize(std::min(m_pMap->width() + 4, 640), std::min(m_pMap->height() + 4, 480));
        layout->addWidget(scroll, 1);
    }
    auto* side = new QVBoxLayout;
    m_pInfo = new QPlainTextEdit(this);
    m_pInfo->setObjectName(QStringLiteral("info"));
    m_pInfo->setReadOnly(true);
    m_pInfo->setMinimumWidth(320);
    std::vector<std::string> lines = loaded ? GameInfoLines(stage) : messages;
    for (const std::string& line : lines)
        m_pInfo->appendPlainText(Q(line));
    m_pCell = new QLabel(this);
    m_pCell->setObjectName(QStringLiteral("cell"));
    m_pEnd = new QPushButton(QStringLiteral("テストプレイ終了"), this);
    connect(m_pEnd, &QPushButton::clicked, this, &QWidget::close);
    side->addWidget(m_pInfo, 1);
    side->addWidget(m_pCell);
    side->addWidget(m_pEnd);
    layout->addLayout(side);
    if (m_pMap)
        m_pMap->onHover = [this](int x, int y) { m_pCell->setText(Q(CellText(x, y))); };
}

void GameWindow::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}
