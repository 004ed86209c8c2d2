#include "Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace platform {
namespace {

QString &messageTitle()
{
    static QString title;
    return title;
}

class DesktopDialogs : public Dialogs {
public:
    MessageAnswer showMessage(MessageKind kind, const QString &text) override
    {
        switch (kind) {
        case MessageKind::Error:
            QMessageBox::critical(nullptr, messageTitle(), text);
            return MessageAnswer::Ok;
        case MessageKind::Information:
            QMessageBox::information(nullptr, messageTitle(), text);
            return MessageAnswer::Ok;
        case MessageKind::Confirmation:
            return QMessageBox::question(nullptr, messageTitle(), text, QMessageBox::Yes | QMessageBox::No)
                    == QMessageBox::Yes
                ? MessageAnswer::Yes
                : MessageAnswer::No;
        }
        return MessageAnswer::Ok;
    }

    QStringList openFileNames(QWidget *parent, const QString &filter, const QString &directory) override
    {
        return QFileDialog::getOpenFileNames(parent, QString(), directory, QtFilterFromDialogFilter(filter));
    }

    QString saveFileName(QWidget *parent, const QString &filter, int &filterIndex, const QString &directory) override
    {
        const QString qtFilter = QtFilterFromDialogFilter(filter);
        const QStringList filters = qtFilter.split(QStringLiteral(";;"));
        QString selected = filters.value(filterIndex - 1);
        // An existing picture is replaced without a question.
        const QString file = QFileDialog::getSaveFileName(parent, QString(), directory, qtFilter, &selected,
                                                          QFileDialog::DontConfirmOverwrite);
        const int index = static_cast<int>(filters.indexOf(selected));
        if (index >= 0)
            filterIndex = index + 1;
        return file;
    }

    QString browseFolder(QWidget *parent, const QString &caption, const QString &start) override
    {
        return QFileDialog::getExistingDirectory(parent, caption, start);
    }
};

Dialogs *&current()
{
    static Dialogs *replacement = nullptr;
    return replacement;
}

} // namespace

Dialogs &dialogs()
{
    static DesktopDialogs desktop;
    return current() ? *current() : desktop;
}

void SetDialogs(Dialogs *replacement)
{
    current() = replacement;
}

void SetMessageTitle(const QString &title)
{
    messageTitle() = title;
}

QString QtFilterFromDialogFilter(const QString &filter)
{
    if (filter.isEmpty())
        return {};
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns)
            p = p.trimmed();
        const QString description = parts.at(i).trimmed();
        const QString named = QStringLiteral("(") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        // "JPG (*.jpg)" already names its pattern the way the dialog shows it.
        if (description.endsWith(named, Qt::CaseInsensitive))
            filters << description;
        else
            filters << description + QLatin1Char(' ') + named;
    }
    // A description without its pattern: show it as a pattern of its own.
    if (parts.size() % 2 != 0 && !parts.last().trimmed().isEmpty())
        filters << parts.last().trimmed();
    return filters.join(QStringLiteral(";;"));
}

} // namespace platform
