#include "ProgramRunner.h"

#include <QDirIterator>
#include <QFile>
#include <QtTest>

// One user's first session with the built program: start it, add a clip through the open
// dialog, convert it, close the program.
class TestSmoke : public QObject {
    Q_OBJECT

    // Places in the main window and the progress window, as the user sees them.
    static constexpr QPoint AddButton{81, 78};
    static constexpr QPoint StartButton{812, 449};
    static constexpr QPoint MainCloseButton{857, 25};
    static constexpr QPoint ProgressCloseButton{482, 12};

    const QString m_mainTitle = QStringLiteral("OrvoVideoConverter");
    const QString m_boxTitle = QStringLiteral("Orvo Video Converter");
    QString m_log;

    void fail(QProcess *program, const char *what)
    {
        m_log = QStringLiteral("%1\nwindows:\n%2\nprogram output:\n%3")
                    .arg(QString::fromLatin1(what), ProgramRunner::windowList(),
                         QString::fromLocal8Bit(program->readAll()));
    }

    // Three seconds of a moving test picture with a tone, as a phone or camera would give.
    static bool makeClip(const QString &path)
    {
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=3", "-f",
                      "lavfi", "-i", "sine=frequency=440:duration=3", "-c:v", "libx264", "-pix_fmt", "yuv420p",
                      "-c:a", "aac", "-shortest", path});
        return ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0;
    }

    static QStringList filesUnder(const QString &folder)
    {
        QStringList files;
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

    // The entries ffprobe gives for the file, one line per section, e.g. "h264,video";
    // empty when ffprobe cannot read it.
    static QString probed(const QString &path, const QString &entries)
    {
        QProcess ffprobe;
        ffprobe.start(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries", entries, "-of", "csv=p=0", path});
        if (!ffprobe.waitForFinished(30000) || ffprobe.exitCode() != 0)
            return {};
        return QString::fromLatin1(ffprobe.readAllStandardOutput()).trimmed();
    }

    // The progress window: the program's shown window that is neither the main window nor a box.
    static QString progressWindow(qint64 pid, const QString &mainWindow)
    {
        for (const QString &w : ProgramRunner::shownWindows(pid)) {
            if (w == mainWindow)
                continue;
            const QSize size = ProgramRunner::windowSize(w);
            if (size.width() > 400 && size.width() < 800 && size.height() > 200)
                return w;
        }
        return {};
    }

private slots:
    void firstSessionConvertsOneClip()
    {
        ProgramRunner runner;
        QTemporaryDir clips;
        const QString clip = clips.filePath(QStringLiteral("holiday clip.mp4"));
        QVERIFY2(makeClip(clip), "ffmpeg could not make the clip");

        QProcess *program = runner.start(runner.bundle());
        const qint64 pid = program->processId();
        const QString main = ProgramRunner::waitForWindow(m_mainTitle, 30000, pid);
        if (main.isEmpty())
            fail(program, "the main window did not appear");
        QVERIFY2(!main.isEmpty(), qPrintable(m_log));

        // A second start leaves at once, with no window of its own.
        QProcess *second = runner.start(runner.bundle());
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 255);
        QCOMPARE(ProgramRunner::windows(m_mainTitle).size(), 1);

        // Add the clip through the open dialog, typing its path as a user would.
        ProgramRunner::click(main, AddButton.x(), AddButton.y());
        const QString dialog = ProgramRunner::waitForWindow(QStringLiteral("Open"), 20000, pid);
        if (dialog.isEmpty())
            fail(program, "the open dialog did not appear");
        QVERIFY2(!dialog.isEmpty(), qPrintable(m_log));
        ProgramRunner::type(dialog, clip);
        ProgramRunner::pressReturn(dialog);
        QVERIFY2(ProgramRunner::waitUntilGone(dialog), "the open dialog stayed open");

        // The probe runs before the program reads the click, so the clip is in the list by then.
        ProgramRunner::click(main, StartButton.x(), StartButton.y());
        const QString outcome = ProgramRunner::waitForWindow(m_boxTitle, 90000, pid);
        if (outcome.isEmpty())
            fail(program, "no outcome message after the start");
        QVERIFY2(!outcome.isEmpty(), qPrintable(m_log));
        const QString progress = progressWindow(pid, main);
        ProgramRunner::pressReturn(outcome);
        QVERIFY(ProgramRunner::waitUntilGone(outcome));

        const QStringList written = filesUnder(runner.home() + QStringLiteral("/OutputFolder"));
        QCOMPARE(written.size(), 1);
        QVERIFY2(written.first().endsWith(QStringLiteral("/IPHONE/0001.mp4")), qPrintable(written.first()));
        QCOMPARE(probed(written.first(), QStringLiteral("stream=codec_type,codec_name")),
                 QStringLiteral("h264,video\naac,audio"));
        const double seconds = probed(written.first(), QStringLiteral("format=duration")).toDouble();
        QVERIFY2(seconds > 2.8 && seconds < 3.2, qPrintable(QString::number(seconds)));

        if (progress.isEmpty())
            fail(program, "no progress window");
        QVERIFY2(!progress.isEmpty(), qPrintable(m_log));
        ProgramRunner::click(progress, ProgressCloseButton.x(), ProgressCloseButton.y());
        QVERIFY2(ProgramRunner::waitUntilGone(progress), "the progress window stayed open");

        // Closing with the close button saves the options, serial base raised by the one entry.
        ProgramRunner::click(main, MainCloseButton.x(), MainCloseButton.y());
        if (!program->waitForFinished(20000))
            fail(program, "the program did not end after its close button");
        QVERIFY2(program->state() == QProcess::NotRunning, qPrintable(m_log));
        QCOMPARE(program->exitCode(), 0);
        QFile options(runner.bundle() + QStringLiteral("/Option.ini"));
        QVERIFY2(options.open(QIODevice::ReadOnly), "Option.ini was not written");
        const QString saved = QString::fromLatin1(options.readAll());
        QVERIFY2(saved.contains(QRegularExpression(QStringLiteral("(^|\\n)OutputPSPSerialNumber=2\\r?\\n"))),
                 qPrintable(saved));
    }
};

QTEST_GUILESS_MAIN(TestSmoke)
#include "tst_smoke.moc"
