#include "mediainfo/TMediaInfoInterfa.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestMediaInfo : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString make(const QString &name, const QStringList &output)
    {
        const QString path = m_dir.filePath(name);
        QStringList args{"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10:duration=1"};
        args << output << path;
        if (QProcess::execute("ffmpeg", args) != 0)
            qFatal("ffmpeg failed for %s", qPrintable(name));
        return path;
    }

    static QString format(const QString &path)
    {
        TMediaInfo info;
        TMediaInfoInterfa().ReadFormat(path, info);
        return info.GeneralFormat;
    }

private slots:
    void containerFormats_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("output");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mp4") << "a.mp4" << QStringList{"-c:v", "mpeg4"} << "MPEG-4";
        QTest::newRow("avi") << "b.avi" << QStringList{"-c:v", "mpeg4"} << "AVI";
        QTest::newRow("matroska") << "c.mkv" << QStringList{"-c:v", "mpeg4"} << "Matroska";
        // The refusal list names formats as these texts; a quicker parse must not change them.
        QTest::newRow("program stream") << "d.mpg" << QStringList{"-c:v", "mpeg2video", "-f", "dvd"} << "MPEG-PS";
        QTest::newRow("transport stream") << "e.ts" << QStringList{"-c:v", "mpeg2video"} << "MPEG-TS";
        QTest::newRow("flash") << "f.flv" << QStringList{"-c:v", "flv"} << "Flash Video";
        QTest::newRow("windows media") << "g.wmv" << QStringList{"-c:v", "wmv2"} << "Windows Media";
        QTest::newRow("webm") << "h.webm" << QStringList{"-c:v", "libvpx", "-deadline", "realtime"} << "WebM";
        QTest::newRow("blanks and non-ASCII") << "clip ä ö 日本.mp4" << QStringList{"-c:v", "mpeg4"} << "MPEG-4";
    }
    void containerFormats()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, output);
        QFETCH(QString, expected);
        QCOMPARE(format(make(name, output)), expected);
    }

    void unknownFilesGiveWhatTheLibrarySays()
    {
        const QString text = m_dir.filePath("notes.avi");
        QFile f(text);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a video\n");
        f.close();
        QCOMPARE(format(text), QString());
        QCOMPARE(format(m_dir.filePath("absent.mp4")), QString());
        QCOMPARE(format(m_dir.path()), QString());
    }

    // Last: the library stays loaded once loaded, so its absence is tested after a reset.
    void missingLibraryAnswersEveryQuery()
    {
        SetMediaInfoLibraryName("NoSuchMediaInfo.dll");
        QCOMPARE(format(make("d.mp4", {"-c:v", "mpeg4"})), QStringLiteral("Unable to load MediaInfo.dll"));
        QCOMPARE(format(m_dir.filePath("absent.mp4")), QStringLiteral("Unable to load MediaInfo.dll"));
        SetMediaInfoLibraryName("MediaInfo.dll");
        QCOMPARE(format(m_dir.filePath("d.mp4")), QStringLiteral("MPEG-4"));
    }
};

QTEST_GUILESS_MAIN(TestMediaInfo)
#include "tst_mediainfo.moc"
