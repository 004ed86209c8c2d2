// Adding files that ffmpeg makes, through the real engine and MediaInfo.
#include "MainFormFixture.h"
#include "mainform/ClipProbe.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <set>

namespace {

void MakeMedia(const QString &path, const QString &size, const QStringList &codec)
{
    QStringList args{"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=25:duration=3",
                     "-f", "lavfi", "-i", "sine=duration=3"};
    args << codec << path;
    QCOMPARE(QProcess::execute("ffmpeg", args), 0);
}

int DistinctColours(const QImage &picture)
{
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4)
            colours.insert(picture.pixel(x, y));
    return static_cast<int>(colours.size());
}

} // namespace

class TestProbeEngine : public QObject {
    Q_OBJECT

    QTemporaryDir m_media;
    QString m_dvd;
    QString m_hd;
    QString m_rmvb;

    // A program folder with the bundle's engine and data, and an Option.ini of the test's own.
    static void LinkBundle(const QString &folder, const QByteArray &options)
    {
        const QDir bundle(QStringLiteral(ORVO_BUNDLE_DIR));
        for (const QString &name : bundle.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            if (name != QLatin1String("Option.ini"))
                QFile::link(bundle.filePath(name), folder + QLatin1Char('/') + name);
        QFile ini(folder + "/Option.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(options);
        platform::SetProgramFolder(folder + QLatin1Char('/'));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(ORVO_BUNDLE_DIR "/libKrodecDLL.so"));
        m_dvd = m_media.filePath("dvd.mpg");
        m_hd = m_media.filePath("hd.mpg");
        m_rmvb = m_media.filePath("real.rmvb");
        MakeMedia(m_dvd, "720x576", {"-c:v", "mpeg2video", "-aspect", "16:9", "-c:a", "mp2"});
        MakeMedia(m_hd, "1920x1080", {"-c:v", "mpeg2video", "-b:v", "2M", "-c:a", "mp2"});
        QVERIFY(QFile::copy(m_dvd, m_rmvb));
        g_s_OutputFolder = m_media.path() + QLatin1Char('/');
    }

    void dvdFileGivesItsRow()
    {
        MainFormFixture fixture;
        LinkBundle(fixture.folder.path(), "[Option]\n");
        TestMainForm form;
        fixture.dialogs.openResults << QStringList{m_dvd};

        form.AddFiles();

        QVERIFY(fixture.dialogs.messages.isEmpty());
        QCOMPARE(form.Clips.size(), 1);
        TVideoInfo *entry = form.Clips.first();
        QCOMPARE(entry->Label_ClipName->text(), ClipNameText("dvd.mpg"));
        QCOMPARE(entry->Label_VideoLength->text(), QStringLiteral("Video Length : 00:00:03"));
        QCOMPARE(entry->Label_VideoSize->text(), QStringLiteral("Video Size : 720X576"));
        QCOMPARE(entry->Label_Ending->text(), QStringLiteral("Ending"));
        QCOMPARE(entry->AspectIndex(), 1);
        QVERIFY(entry->b_UseDisplayAspect);
        QVERIFY(entry->IsSupported());
        QVERIFY(entry->IsChecked());
        const QString separator = QString(QLocale().decimalPoint());
        const QRegularExpression hint(
            QStringLiteral("^Clip Name : dvd\\.mpg\nVideo : Size 720X576 , Bitrate \\d+%1\\d\\d , FPS 25%1(?:00)\n"
                           "Audio : Bitrate \\d+%1\\d\\d, Samplerate 44100$")
                .arg(QRegularExpression::escape(separator)));
        QVERIFY2(hint.match(entry->toolTip()).hasMatch(), qPrintable(entry->toolTip()));
        QCOMPARE(entry->bmp_Thumbnail.size(), QSize(240, 136));
        QVERIFY(DistinctColours(entry->bmp_Thumbnail) > 8);
        QCOMPARE(form.CurrentClip, entry);
    }

    void wideFileIsAddedButNotSupported()
    {
        MainFormFixture fixture;
        LinkBundle(fixture.folder.path(), "[Option]\n");
        TestMainForm form;
        QVERIFY(form.ProbeAndAddClip(m_hd));
        TVideoInfo *entry = form.Clips.first();
        QCOMPARE(entry->Label_VideoSize->text(), QStringLiteral("Video Size : 1920X1080"));
        QVERIFY(!entry->IsSupported());
        QCOMPARE(entry->bmp_Thumbnail.size(), QSize(240, 136));
    }

    void refusedExtensionFromTheOptions()
    {
        MainFormFixture fixture;
        LinkBundle(fixture.folder.path(), "[Option]\nExtName=RM,RMVB\nCodecName=\n");
        TestMainForm form;
        form.show(); // the refused lists are read when the window is shown
        QVERIFY(QTest::qWaitForWindowExposed(&form) || form.isVisible());
        fixture.dialogs.openResults << QStringList{m_rmvb, m_dvd};

        form.AddFiles();

        QCOMPARE(form.Clips.size(), 2);
        QVERIFY(!form.Clips.at(0)->IsSupported());
        QVERIFY(form.Clips.at(1)->IsSupported());
        QVERIFY(fixture.dialogs.messages.isEmpty());
    }

    void unreadableFileIsRefused()
    {
        MainFormFixture fixture;
        LinkBundle(fixture.folder.path(), "[Option]\n");
        const QString junk = m_media.filePath("junk.avi");
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        TestMainForm form;
        fixture.dialogs.openResults << QStringList{junk};
        form.AddFiles();
        QVERIFY(form.Clips.isEmpty());
        QCOMPARE(fixture.dialogs.texts(), QStringList{"Some UNSUPPORTED file(s) format can not add in. \n\n" + junk + "\n"});
    }
};

QTEST_MAIN(TestProbeEngine)
#include "tst_probe_engine.moc"
