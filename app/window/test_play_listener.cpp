#include "app/window/test_play_listener.h"

#include <QLocalSocket>
#include <memory>

#include "app/test_play.h"

TestPlayListener::TestPlayListener(QObject* parent) : QObject(parent)
{
    connect(&m_Server, &QLocalServer::newConnection, this, &TestPlayListener::Accept);
    // The game's exit status goes into the report log once it ended.
    m_Reaper.setInterval(500);
    connect(&m_Reaper, &QTimer::timeout, this, [] { CollectGameExit(LastGameProcess()); });
    m_Reaper.start();
}

TestPlayListener::~TestPlayListener() { m_Server.close(); }

bool TestPlayListener::Listen(const std::string& channel)
{
    QString name = QString::fromStdString(channel);
    QLocalServer::removeServer(name);
    m_Server.setSocketOptions(QLocalServer::UserAccessOption);
    return m_Server.listen(name);
}

void TestPlayListener::Accept()
{
    while (QLocalSocket* socket = m_Server.nextPendingConnection()) {
        ++m_nConnections;
        auto reader = std::make_shared<TestPlayMessageReader>();
        // Set once the connection said or did what ends the play.
        auto done = std::make_shared<bool>(false);
        auto finish = [this, done] {
            if (*done)
                return;
            *done = true;
            if (onEnd)
                onEnd();
        };
        auto drain = [socket, reader, done, finish] {
            QByteArray bytes = socket->readAll();
            reader->Feed(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            TestPlayMessageReader::Message m;
            while (!*done && reader->Next(m))
                if (m.data == 0)
                    finish();
            if (reader->Broken() && !*done) {
                *done = true;  // nonsense on the channel is not the game
                socket->abort();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, drain);
        // A game that closes its connection without the end message crashed.
        connect(socket, &QLocalSocket::disconnected, this, [socket, drain, finish] {
            drain();
            finish();
            socket->deleteLater();
        });
    }
}
