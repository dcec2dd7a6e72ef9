// The stand-in game's window: the stage the editor saved, drawn as the game
// shows it, and beside it what the game was told to play with: the stage's
// conditions, the test-play settings, the run settings and the battle mode.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "media/surface.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

// Loads the project of the current folder as the editor does: the editor
// settings with the remembered stage, every project file with the images, the
// test-play settings and "System.ini". False with the messages of the load.
bool LoadGameProject(std::vector<std::string>& messages);

// The lines beside the map (UTF-8): with a stage, its name, size and
// conditions; without one, the game and its world map.
std::vector<std::string> GameInfoLines(bool stageOpen);

// The text for the cell under the mouse: its terrain and an enemy placed on it.
std::string CellText(int x, int y);

class GameMapView : public QWidget {
public:
    explicit GameMapView(QWidget* parent);
    std::function<void(int x, int y)> onHover;
    const Surface& Canvas() const { return m_Canvas; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    Surface m_Canvas;
};

class GameWindow : public QWidget {
public:
    // loaded: the project loaded; messages: what the load reported.
    GameWindow(bool loaded, const std::vector<std::string>& messages);
    QPushButton* EndButton() const { return m_pEnd; }
    QPlainTextEdit* Info() const { return m_pInfo; }
    QLabel* CellLabel() const { return m_pCell; }
    GameMapView* Map() const { return m_pMap; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    GameMapView* m_pMap = nullptr;
    QPlainTextEdit* m_pInfo = nullptr;
    QLabel* m_pCell = nullptr;
    QPushButton* m_pEnd = nullptr;
};
