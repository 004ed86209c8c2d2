#include "Shell.h"

#include "ProgramFolder.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
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
        // Only the program's own folder: one of that name in the current directory or on the
        // search path could have been put there by anyone.
        const QString folder = ProgramFolder();
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || !QFileInfo(folder).isAbsolute())
            return;
        const QFileInfo program(folder + name);
        if (program.isFile() && program.isExecutable())
            QProcess::startDetached(program.absoluteFilePath(), {}, program.absolutePath());
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
