// The frame's ear for the game: a local server on the project's test-play
// channel. Data 0 from the game, or a connection that breaks before it, ends
// the test play; other values are ignored. It also collects the exit status
// of the game it started.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

class TestPlayListener : public QObject {
public:
    explicit TestPlayListener(QObject* parent = nullptr);
    ~TestPlayListener() override;
    // Listens on the channel (an old socket left by a crashed editor is
    // removed first). False when it cannot.
    bool Listen(const std::string& channel);
    QString ServerName() const { return m_Server.fullServerName(); }
    // Connections accepted so far.
    int Connections() const { return m_nConnections; }
    // Called once per game that ended.
    std::function<void()> onEnd;

private:
    void Accept();
    QLocalServer m_Server;
    QTimer m_Reaper;
    int m_nConnections = 0;
};
