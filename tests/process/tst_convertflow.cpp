#include "StartFixture.h"
#include "common/DeviceType.h"
#include "mainform/DevicePanel.h"
#include "options/Options.h"
#include "platform/ProgramFolder.h"
#include "skin/SkinComboBox.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

bool Run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

// A 2-second 320 x 240 clip with a tone.
bool MakeClip(const QString &path, int frequency)
{
    return Run(QStringLiteral("ffmpeg"),
               {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2", "-f", "lavfi",
                "-i", QStringLiteral("sine=frequency=%1:duration=2").arg(frequency), "-c:v", "mpeg4", "-c:a",
                "pcm_s16le", "-shortest", path});
}

} // namespace

// The whole road with the real engine: two clips added, converted for the iPhone, the
// files checked with ffprobe, the serial base moved on.
class TestConvertFlow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::SetProgramFolder(QStringLiteral(ORVO_BUNDLE_DIR "/")); }

    void twoClipsForTheIPhone()
    {
        QTemporaryDir work;
        const QString sources = work.filePath(QStringLiteral("sources"));
        QVERIFY(QDir().mkpath(sources));
        const QString first = sources + QStringLiteral("/first.avi");
        const QString second = sources + QStringLiteral("/second clip.avi");
        QVERIFY(MakeClip(first, 440));
        QVERIFY(MakeClip(second, 660));
        g_s_OutputFolder = work.filePath(QStringLiteral("out")) + QLatin1Char('/');
        i_OutputPSPSerialNumber = 1;
        i_MinDurationTime = -1;

        StartFixture f;
        f.form->SwitchDevice(DeviceIPhone);
        QVERIFY(f.form->Devices->suiComboBox_Profile->count() > 0);
        QVERIFY(f.form->ProbeAndAddClip(first));
        QVERIFY(f.form->ProbeAndAddClip(second));
        QCOMPARE(f.outputNames(), (QStringList{"0001.mp4", "0002.mp4"}));

        QVERIFY(f.pressStart());

        QCOMPARE(f.dialogs.texts(),
                 QStringList{QStringLiteral("Process finish!\nYou can transfer files to your Apple device.")});
        const QString folder = g_s_OutputFolder + QStringLiteral("IPHONE/");
        QCOMPARE(f.shell.opened, QStringList{folder});
        for (const char *name : {"0001.mp4", "0002.mp4"}) {
            QByteArray json;
            QVERIFY(Run(QStringLiteral("ffprobe"), {"-v", "error", "-of", "json", "-show_streams", "-show_format",
                                                   folder + QString::fromLatin1(name)},
                        &json));
            const QJsonObject probe = QJsonDocument::fromJson(json).object();
            QStringList codecs;
            for (const QJsonValue stream : probe.value(QStringLiteral("streams")).toArray()) {
                const QJsonObject s = stream.toObject();
                codecs << s.value(QStringLiteral("codec_name")).toString();
                if (s.value(QStringLiteral("codec_type")).toString() == QStringLiteral("video")) {
                    QVERIFY(s.value(QStringLiteral("width")).toInt() <= 640);
                    QVERIFY(s.value(QStringLiteral("height")).toInt() <= 480);
                }
            }
            codecs.sort();
            QCOMPARE(codecs, (QStringList{"aac", "h264"}));
            const double seconds = probe.value(QStringLiteral("format")).toObject().value(QStringLiteral("duration"))
                                       .toString().toDouble();
            QVERIFY2(seconds > 1.5 && seconds < 2.6, qPrintable(QString::number(seconds)));
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files), (QStringList{"0001.mp4", "0002.mp4"}));
        QCOMPARE(i_OutputPSPSerialNumber, 3);
        QCOMPARE(f.outputNames(), (QStringList{"0003.mp4", "0004.mp4"}));
    }
};

QTEST_MAIN(TestConvertFlow)
#include "tst_convertflow.moc"
