#pragma once

#include "platform/Dialogs.h"
#include "platform/Shell.h"

#include <QList>
#include <QPair>
#include <QStringList>

// Dialog double: records every message and answers from a script; installs itself for
// its lifetime.
class FakeDialogs : public platform::Dialogs {
public:
    FakeDialogs() { platform::SetDialogs(this); }
    ~FakeDialogs() override { platform::SetDialogs(nullptr); }

    struct Message {
        platform::MessageKind kind;
        QString text;
    };
    QList<Message> messages;
    QList<platform::MessageAnswer> answers; // taken in order; Yes once they run out
    QList<QStringList> openResults;        // taken in order; cancel once they run out
    QStringList saveResults;
    int saveFilterIndex = 1;
    QStringList folderResults;
    QString lastFilter;
    QString lastDirectory;
    QString lastCaption;

    platform::MessageAnswer showMessage(platform::MessageKind kind, const QString &text) override
    {
        messages.append({kind, text});
        if (kind != platform::MessageKind::Confirmation)
            return platform::MessageAnswer::Ok;
        return answers.isEmpty() ? platform::MessageAnswer::Yes : answers.takeFirst();
    }
    QStringList openFileNames(QWidget *, const QString &filter, const QString &directory) override
    {
        lastFilter = filter;
        lastDirectory = directory;
        return openResults.isEmpty() ? QStringList() : openResults.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &filter, int &filterIndex, const QString &directory) override
    {
        lastFilter = filter;
        lastDirectory = directory;
        filterIndex = saveFilterIndex;
        return saveResults.isEmpty() ? QString() : saveResults.takeFirst();
    }
    QString browseFolder(QWidget *, const QString &caption, const QString &start) override
    {
        lastCaption = caption;
        lastDirectory = start;
        return folderResults.isEmpty() ? QString() : folderResults.takeFirst();
    }

    QStringList texts() const
    {
        QStringList all;
        for (const Message &m : messages)
            all << m.text;
        return all;
    }
};

// Shell double: records what would have been opened, started or powered off.
class FakeShell : public platform::Shell {
public:
    FakeShell() { platform::SetShell(this); }
    ~FakeShell() override { platform::SetShell(nullptr); }

    QStringList opened;
    QStringList started;
    int powerOffs = 0;

    void open(const QString &address) override { opened << address; }
    void startProgram(const QString &name) override { started << name; }
    void powerOff() override { ++powerOffs; }
};
