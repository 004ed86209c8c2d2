// The updater is started from the program folder only: a program of the same name in the
// current directory or on the search path never runs.
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A program that notes its own path in the log file when it runs.
void PlantProgram(const QString &folder, const QString &log)
{
    QFile program(folder + QStringLiteral("/OrvoUpdate"));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\necho \"$0\" >> '" + log.toUtf8() + "'\n");
    program.close();
    QVERIFY(program.setPermissions(program.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser));
}

QStringList Runs(const QString &log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT

    QString m_startDirectory;
    QByteArray m_path;

private slots:
    void init()
    {
        m_startDirectory = QDir::currentPath();
        m_path = qgetenv("PATH");
        platform::SetShell(nullptr);
    }
    void cleanup()
    {
        QDir::setCurrent(m_startDirectory);
        qputenv("PATH", m_path);
        platform::SetProgramFolder(QString());
    }

    void updaterRunsOnlyFromTheProgramFolder_data()
    {
        QTest::addColumn<bool>("inProgramFolder");
        QTest::newRow("planted in the current directory and on the path only") << false;
        QTest::newRow("also in the program folder") << true;
    }
    void updaterRunsOnlyFromTheProgramFolder()
    {
        QFETCH(bool, inProgramFolder);
        QTemporaryDir logs, current, onPath, programFolder;
        const QString log = logs.filePath(QStringLiteral("runs"));
        PlantProgram(current.path(), log);
        PlantProgram(onPath.path(), log);
        if (inProgramFolder)
            PlantProgram(programFolder.path(), log);
        QDir::setCurrent(current.path());
        qputenv("PATH", onPath.path().toUtf8() + ':' + m_path);
        platform::SetProgramFolder(programFolder.path() + QLatin1Char('/'));

        platform::shell().startProgram(QStringLiteral("OrvoUpdate"));

        if (inProgramFolder) {
            QTRY_VERIFY(!Runs(log).isEmpty());
            QCOMPARE(Runs(log), QStringList{QDir(programFolder.path()).absoluteFilePath(QStringLiteral("OrvoUpdate"))});
        } else {
            // Long enough for a started shell script to have written its line.
            QTest::qWait(1500);
            QCOMPARE(Runs(log), QStringList());
        }
    }

    void nameWithAFolderIsNotStarted()
    {
        QTemporaryDir logs, programFolder, elsewhere;
        const QString log = logs.filePath(QStringLiteral("runs"));
        PlantProgram(elsewhere.path(), log);
        platform::SetProgramFolder(programFolder.path() + QLatin1Char('/'));
        QDir::setCurrent(programFolder.path());
        platform::shell().startProgram(QStringLiteral("../") + QFileInfo(elsewhere.path()).fileName() +
                                       QStringLiteral("/OrvoUpdate"));
        platform::shell().startProgram(elsewhere.path() + QStringLiteral("/OrvoUpdate"));
        QTest::qWait(1500);
        QCOMPARE(Runs(log), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
