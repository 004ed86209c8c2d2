#include "ProgramRunner.h"

#include <QFile>
#include <QtTest>

// The built program itself, in a virtual X server.
class TestProgram : public QObject {
    Q_OBJECT

    static void spoilVersionFile(const QString &bundle, const QByteArray *content)
    {
        QFile::remove(bundle + "/WinVersion.bin");
        if (content) {
            QFile f(bundle + "/WinVersion.bin");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(*content);
        }
    }

    // The error box appears, is answered, and the program ends with status 255.
    static void expectInitialisationError(ProgramRunner &runner, const QString &bundle)
    {
        QProcess *p = runner.start(bundle);
        const QString box = ProgramRunner::waitForWindow(QStringLiteral("Orvo Video Converter"), 20000, p->processId());
        if (box.isEmpty())
            qWarning().noquote() << "windows:" << ProgramRunner::windowList() << "output:" << p->readAll();
        QVERIFY2(!box.isEmpty(), "no error box appeared");
        QVERIFY(ProgramRunner::windows(QStringLiteral("OrvoVideoConverter"), p->processId()).isEmpty());
        ProgramRunner::pressReturn(box);
        QVERIFY(p->waitForFinished(10000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 255);
    }

private slots:
    void missingVersionFileRefusesToStart()
    {
        ProgramRunner runner;
        spoilVersionFile(runner.bundle(), nullptr);
        expectInitialisationError(runner, runner.bundle());
    }

    void garbageVersionFileRefusesToStart()
    {
        ProgramRunner runner;
        const QByteArray garbage(300, '\x7f');
        spoilVersionFile(runner.bundle(), &garbage);
        expectInitialisationError(runner, runner.bundle());
    }

    void secondCopyExitsSilently()
    {
        ProgramRunner runner;
        QProcess *first = runner.start(runner.bundle());
        const QString main = ProgramRunner::waitForWindow(QStringLiteral("OrvoVideoConverter"), 30000, first->processId());
        QVERIFY2(!main.isEmpty(), "the main window titled OrvoVideoConverter did not appear");

        QProcess *second = runner.start(runner.bundle());
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitCode(), 255);
        QCOMPARE(first->state(), QProcess::Running);
        QCOMPARE(ProgramRunner::windows(QStringLiteral("OrvoVideoConverter")).size(), 1);

        // The version check comes first, even while a copy runs.
        const QString broken = runner.copyBundle(QStringLiteral("broken"));
        spoilVersionFile(broken, nullptr);
        expectInitialisationError(runner, broken);
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
