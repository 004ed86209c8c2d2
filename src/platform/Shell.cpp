#include "Shell.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {
namespace {

class DesktopShell : public Shell {
public:
    void open(const QString &address) override
    {
        if (address.isEmpty())
            return;
        const QFileInfo local(address);
        const QUrl url = local.isAbsolute() && local.exists() ? QUrl::fromLocalFile(address)
                                                              : QUrl(address, QUrl::TolerantMode);
        QDesktopServices::openUrl(url);
    }

    void startProgram(const QString &name) override
    {
        QString program = QDir::current().absoluteFilePath(name);
        if (!QFileInfo(program).isExecutable())
            program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty())
            QProcess::startDetached(program, {});
    }

    void powerOff() override
    {
        // logind powers off without asking when the session may; failures are ignored.
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
        call << false;
        QDBusConnection::systemBus().asyncCall(call);
    }
};

Shell *&current()
{
    static Shell *replacement = nullptr;
    return replacement;
}

} // namespace

Shell &shell()
{
    static DesktopShell desktop;
    return current() ? *current() : desktop;
}

void SetShell(Shell *replacement)
{
    current() = replacement;
}

} // namespace platform
