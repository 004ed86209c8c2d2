#include "WindowTitles.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QEvent>
#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QWidget>

#include <unistd.h>

namespace platform {
namespace {

class TitleRegistry : public QObject {
public:
    explicit TitleRegistry(QObject *parent)
        : QObject(parent)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowTitleChange && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->isWindow())
                announce(widget);
        }
        return false;
    }

private:
    void announce(QWidget *window)
    {
        delete m_servers.take(window);
        const QString title = window->windowTitle();
        if (title.isEmpty())
            return;
        auto *server = new QLocalServer(window);
        server->setSocketOptions(QLocalServer::UserAccessOption);
        const QString name = WindowTitleSocketName(title);
        if (!server->listen(name)) {
            // Taken: by a live window (then nothing to add) or by a crashed process.
            if (FindWindowTitled(title)) {
                delete server;
                return;
            }
            QLocalServer::removeServer(name);
            if (!server->listen(name)) {
                delete server;
                return;
            }
        }
        m_servers.insert(window, server);
        connect(window, &QObject::destroyed, this, [this, window] { m_servers.remove(window); });
    }

    QHash<QWidget *, QLocalServer *> m_servers; // servers are children of their windows
};

} // namespace

QString WindowTitleSocketName(const QString &title)
{
    const QByteArray digest = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("orvo-window-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest.left(24)));
}

void InstallWindowTitleRegistry(QApplication &app)
{
    app.installEventFilter(new TitleRegistry(&app));
}

bool FindWindowTitled(const QString &title)
{
    if (title.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(WindowTitleSocketName(title));
    // A listening socket accepts at once, even while its process is busy.
    const bool found = socket.waitForConnected(1000);
    socket.abort();
    return found;
}

} // namespace platform
