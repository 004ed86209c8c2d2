#include "OrvoApplication.h"

#include "platform/Dialogs.h"

#include <exception>

OrvoApplication::OrvoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool OrvoApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowErrorBox(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowErrorBox(QString());
    }
    return false;
}

void ShowErrorBox(const QString &text)
{
    platform::dialogs().showMessage(platform::MessageKind::Error, text);
}

void SetApplicationTitle(const QString &title)
{
    // The display name would be appended to every window title on X11, so the title goes
    // into the application name instead.
    QCoreApplication::setApplicationName(title);
    platform::SetMessageTitle(title);
}

QString ApplicationTitle()
{
    return QCoreApplication::applicationName();
}
