// orvo-convert run as a process from a copy of the bundle, on small generated files, its
// results looked at with ffprobe.
#include "MediaTools.h"
#include "ProgramRunner.h"
#include "common/DeviceType.h"
#include "platform/IniFile.h"
#include "profiles/ProfileStore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

QStringList Lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestOrvoConvert : public QObject {
    Q_OBJECT

public:
    QString media(const QString &name) const { return m_media.filePath(name); }
    QString out(const QString &name = QString()) const { return m_out.filePath(name); }

    QProcess *start(const QStringList &arguments)
    {
        auto *process = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_runner->home());
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(m_media.path());
        process->start(m_runner->bundle() + QStringLiteral("/orvo-convert"), arguments);
        process->waitForStarted();
        return process;
    }

    Result run(const QStringList &arguments)
    {
        QProcess *process = start(arguments);
        if (!process->waitForFinished(180000))
            process->kill();
        Result r;
        r.status = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
        r.out = QString::fromUtf8(process->readAllStandardOutput());
        r.err = QString::fromUtf8(process->readAllStandardError());
        delete process;
        return r;
    }

    void writeOptions(const QByteArray &content)
    {
        QFile ini(m_runner->bundle() + QStringLiteral("/Option.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(content);
    }

    void makeClip(const QString &name, const QString &video, double seconds, bool sound = true)
    {
        QStringList arguments{"-f", "lavfi", "-i", QStringLiteral("%1:d=%2").arg(video).arg(seconds)};
        if (sound)
            arguments << QStringList{"-f", "lavfi", "-i", QStringLiteral("sine=f=440:d=%1").arg(seconds), "-c:a", "aac"};
        arguments << QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", media(name)};
        QString errors;
        QVERIFY2(media::ffmpeg(arguments, &errors), qPrintable(errors));
    }

private slots:
    void initTestCase()
    {
        m_runner = std::make_unique<ProgramRunner>();
        QVERIFY(QFileInfo(m_runner->bundle() + QStringLiteral("/orvo-convert")).isExecutable());
        makeClip("a.mkv", "testsrc2=s=320x240:r=25", 2);
        makeClip("b.mp4", "testsrc2=s=352x288:r=25", 2);
        makeClip("wide.mkv", "testsrc2=s=1920x1080:r=25", 1, false);
        makeClip("long.mkv", "testsrc2=s=320x240:r=25", 12);
        QVERIFY(QFile::copy(media("a.mkv"), media("c.flv")));
        QFile broken(media("broken.mp4"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("this is not a video\n");
    }

    void init()
    {
        QFile::remove(m_runner->bundle() + QStringLiteral("/Option.ini"));
        QVERIFY(QDir(out()).removeRecursively() || !QFileInfo::exists(out()));
    }

    void listShowsTheShippedProfiles()
    {
        const Result r = run({"--list"});
        QCOMPARE(r.status, 0);
        const platform::IniFile settings(m_runner->bundle() + "/" + profiles::ProfileFileName);
        const platform::IniFile definition(m_runner->bundle() + "/PfDef.dll");
        for (const QString device : {"ipod", "music", "iphone", "appletv"})
            QVERIFY2(r.out.contains("(--device " + device + ")"), qPrintable(r.out));
        int listed = 0;
        for (int device = 0; device < 4; ++device) {
            const profiles::ProfileList list = profiles::LoadProfileList(settings, definition, DeviceName(device), device);
            QVERIFY(list.defaultPosition >= 0);
            for (int p = 0; p < list.entries.size(); ++p, ++listed) {
                const QString line = QStringLiteral("  %1 %2  %3")
                                         .arg(p == list.defaultPosition ? "*" : " ")
                                         .arg(p, 2)
                                         .arg(list.entries.at(p).listText);
                QVERIFY2(Lines(r.out).contains(line), qPrintable(line));
            }
        }
        QCOMPARE(r.out.count(QStringLiteral("\n  * ")), 4);
        QVERIFY(listed > 20);
    }

    void twoFilesForEachDevice_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("maxWidth");
        QTest::newRow("ipod") << "ipod" << ".mp4" << 320;
        QTest::newRow("music") << "music" << ".mp3" << 0;
        QTest::newRow("iphone") << "iphone" << ".mp4" << 480;
        QTest::newRow("appletv") << "appletv" << ".mp4" << 1280;
    }
    void twoFilesForEachDevice()
    {
        QFETCH(QString, device);
        QFETCH(QString, extension);
        QFETCH(int, maxWidth);
        const Result r = run({"--device", device, "--output", out(), "--artist", "Test Band", "a.mkv", media("b.mp4")});
        QVERIFY2(r.status == 0, qPrintable(r.out + r.err));
        // Without a terminal: one line per file, then the summary, and nothing redrawn.
        const QStringList lines = Lines(r.out);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).startsWith("converted  a.mkv -> " + out("a" + extension)));
        QVERIFY(lines.at(1).startsWith("converted  " + media("b.mp4") + " -> " + out("b" + extension)));
        QCOMPARE(lines.at(2), "Converted 2, skipped 0, failed 0.");
        QVERIFY(!r.out.contains('\r'));

        for (const QString name : {"a", "b"}) {
            const QJsonObject probed = media::probe(out(name + extension));
            QVERIFY2(!probed.isEmpty(), qPrintable(name));
            QVERIFY(qAbs(media::number(probed["format"].toObject()["duration"]) - 2.0) < 0.3);
            const QJsonObject video = media::stream(probed, "video");
            const QJsonObject audio = media::stream(probed, "audio");
            QCOMPARE(probed["format"].toObject()["tags"].toObject()["artist"].toString(), "Test Band");
            if (device == "music") {
                QVERIFY(video.isEmpty() || video["disposition"].toObject()["attached_pic"].toInt() == 1);
                QCOMPARE(audio["codec_name"].toString(), "mp3");
                continue;
            }
            QCOMPARE(video["codec_name"].toString(), "h264");
            QVERIFY(video["width"].toInt() > 0 && video["width"].toInt() <= maxWidth);
            QCOMPARE(audio["codec_name"].toString(), "aac");
        }
        QCOMPARE(media::entries(out()).size(), 2);
    }

    void refusedAndWideFilesAreSkipped()
    {
        writeOptions("[Option]\nExtName=FLV\n");
        const Result r = run({"-o", out(), "broken.mp4", "wide.mkv", "c.flv", "a.mkv", "missing.avi"});
        QCOMPARE(r.status, 1);
        const QStringList lines = Lines(r.out);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.at(0), "skipped    broken.mp4: the engine cannot read it");
        QVERIFY(lines.at(1).startsWith("skipped    wide.mkv: its picture is 1920 pixels wide"));
        QVERIFY(lines.at(1).contains("set MaxWidth=0 in Option.ini"));
        QVERIFY(lines.at(2).startsWith("skipped    c.flv: its extension is listed under ExtName"));
        QVERIFY(lines.at(3).startsWith("converted  a.mkv"));
        QCOMPARE(lines.at(4), "skipped    missing.avi: no such file");
        QCOMPARE(lines.at(5), "Converted 1, skipped 4, failed 0.");
        QCOMPARE(media::entries(out()), QStringList({"a.mp4"}));

        // The width limit follows the option.
        writeOptions("[Option]\nMaxWidth=1920\n");
        const Result lifted = run({"-o", out(), "wide.mkv"});
        QVERIFY2(lifted.status == 0, qPrintable(lifted.out));
        QCOMPARE(media::stream(media::probe(out("wide.mp4")), "video")["width"].toInt(), 480);
    }

    void existingOutputIsNeverReplaced()
    {
        QDir().mkpath(out());
        QFile mine(out("a.mp4"));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.write("the user's own");
        mine.close();
        const Result r = run({"-o", out(), "a.mkv", "a.mkv"});
        QVERIFY2(r.status == 0, qPrintable(r.out));
        QVERIFY(mine.open(QIODevice::ReadOnly));
        QCOMPARE(mine.readAll(), QByteArray("the user's own"));
        QCOMPARE(media::entries(out()), QStringList({"a (2).mp4", "a (3).mp4", "a.mp4"}));
        QVERIFY(!media::stream(media::probe(out("a (3).mp4")), "video").isEmpty());
    }

    void defaultFolderIsTheProgramsOutputFolder()
    {
        const Result r = run({"--device", "ipod", "--start", "1", "a.mkv"});
        QVERIFY2(r.status == 0, qPrintable(r.out + r.err));
        const QString file = m_runner->home() + "/OutputFolder/IPOD/a.mp4";
        QVERIFY2(QFileInfo::exists(file), qPrintable(r.out));
        QVERIFY(qAbs(media::number(media::probe(file)["format"].toObject()["duration"]) - 1.0) < 0.3);
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no file") << QStringList() << "no file to convert";
        QTest::newRow("unknown option") << QStringList{"--speed", "9", "a.mkv"} << "unknown option --speed";
        QTest::newRow("unknown device") << QStringList{"-d", "walkman", "a.mkv"} << "unknown device";
        QTest::newRow("profile past the list") << QStringList{"-p", "99", "a.mkv"} << "no profile at position 99";
        QTest::newRow("profile name") << QStringList{"-p", "Tiny", "a.mkv"} << "no profile named \"Tiny\"";
        QTest::newRow("volume too high") << QStringList{"--volume", "10", "a.mkv"} << "outside 0..9";
        QTest::newRow("bad time") << QStringList{"--end", "1h", "a.mkv"} << "is not a time";
    }
    void badUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Result r = run(arguments << "-o" << out());
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.err.contains("Usage: orvo-convert"));
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFileInfo::exists(out()));
    }

    void noWindowLibraries()
    {
        QProcess ldd;
        ldd.start("ldd", {m_runner->bundle() + "/orvo-convert"});
        QVERIFY(ldd.waitForFinished());
        const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
        QVERIFY(libraries.contains("libQt6Core"));
        QVERIFY2(!libraries.contains("libQt6Widgets") && !libraries.contains("libQt6Gui"), qPrintable(libraries));
    }

    void helpTeachesTheProgram()
    {
        const Result r = run({"--help"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.startsWith("Usage: orvo-convert"));
        QVERIFY(r.out.contains("Examples:"));
        QVERIFY(r.err.isEmpty());
    }

    // Ctrl+C once the conversion runs: the part done is kept and plays, nothing more is
    // converted, and the status says so.
    void interruptKeepsThePartDone()
    {
        QProcess *process = start({"-o", out(), "long.mkv", "a.mkv"});
        QElapsedTimer waited;
        waited.start();
        bool running = false;
        while (!running && waited.elapsed() < 60000 && process->state() == QProcess::Running) {
            QTest::qWait(20);
            for (const QFileInfo &entry : QDir(out()).entryInfoList(QDir::Files | QDir::Hidden))
                running = running || (entry.fileName().startsWith(".long.mp4.part") && entry.size() > 20000);
        }
        QVERIFY2(running, "the conversion never got under way");
        ::kill(static_cast<pid_t>(process->processId()), SIGINT);
        QVERIFY(process->waitForFinished(30000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 130);
        const QString printed = QString::fromUtf8(process->readAllStandardOutput());
        delete process;
        QVERIFY2(printed.contains("stopped    long.mkv -> " + out("long.mp4")), qPrintable(printed));
        QVERIFY(printed.contains("stopped by Ctrl+C"));
        QCOMPARE(media::entries(out()), QStringList({"long.mp4"}));
        const double kept = media::number(media::probe(out("long.mp4"))["format"].toObject()["duration"]);
        QVERIFY2(kept > 0.2 && kept < 11.5, qPrintable(QString::number(kept)));
        QString errors;
        QVERIFY2(media::decodesCleanly(out("long.mp4"), &errors), qPrintable(errors));
    }

    // On a terminal the running file's line is redrawn in place with its figures.
    void terminalShowsProgress()
    {
        const QString command = QStringLiteral("cd '%1' && HOME='%2' '%3/orvo-convert' -o '%4' long.mkv")
                                    .arg(m_media.path(), m_runner->home(), m_runner->bundle(), out());
        QProcess script;
        script.start("script", {"-qefc", command, "/dev/null"});
        QVERIFY(script.waitForFinished(120000));
        QCOMPARE(script.exitCode(), 0);
        const QString printed = QString::fromUtf8(script.readAllStandardOutput());
        QVERIFY2(printed.contains(QRegularExpression("\rlong\\.mkv +[0-9]+% \\[[#-]{20}\\] 00:00:[0-9]{2}/00:00:12 "
                                                     "[0-9]+ fps ETA ")),
                 qPrintable(printed));
        QVERIFY(printed.contains("\r\x1b[Kconverted  long.mkv"));
    }

private:
    std::unique_ptr<ProgramRunner> m_runner;
    QTemporaryDir m_media;
    QTemporaryDir m_outRoot;
    QDir m_out{m_outRoot.filePath("out")};
};

QTEST_GUILESS_MAIN(TestOrvoConvert)
#include "tst_orvoconvert.moc"
