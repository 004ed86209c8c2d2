// The snapshot: its size and file-name rules, the two file writers, and whole saves from the
// real engine's frame of a generated clip.
#include "MainFormFixture.h"
#include "mainform/SnapshotWriter.h"
#include "skin/ImageButton.h"

#include <QFile>
#include <QImageReader>
#include <QProcess>

#include <turbojpeg.h>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The size that a JPEG file's header gives; an empty size when it is not a JPEG.
QSize JpegSize(const QString &path)
{
    QByteArray bytes = ReadAll(path);
    tjhandle d = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    const int r = tjDecompressHeader3(d, reinterpret_cast<unsigned char *>(bytes.data()),
                                      static_cast<unsigned long>(bytes.size()), &width, &height, &subsampling,
                                      &colourspace);
    tjDestroy(d);
    return r == 0 ? QSize(width, height) : QSize();
}

int BitmapBitsPerPixel(const QByteArray &bytes)
{
    return bytes.size() < 30 ? 0 : static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29]) << 8;
}

QImage Picture(int width, int height)
{
    QImage picture(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixelColor(x, y, QColor(x * 40 % 256, y * 60 % 256, 100));
    return picture;
}

} // namespace

class TestSnapshot : public QObject {
    Q_OBJECT

    QTemporaryDir m_media;
    QString m_clip;

private slots:
    void initTestCase()
    {
        m_clip = m_media.filePath("wide.mpg");
        const int rc = QProcess::execute("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                                                    "testsrc=size=720x480:rate=25:duration=4", "-c:v", "mpeg2video",
                                                    "-aspect", "16:9", m_clip});
        QCOMPARE(rc, 0);
    }

    void sizes_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("useDisplayAspect");
        QTest::addColumn<int>("aspectIndex");
        QTest::addColumn<QSize>("saved");
        QTest::newRow("16:9 shape of 720 x 480") << 720 << 480 << true << 1 << QSize(853, 480);
        QTest::newRow("own size without the shape") << 720 << 576 << false << 1 << QSize(720, 576);
        QTest::newRow("4:3 just below 640") << 720 << 480 << true << 0 << QSize(639, 480);
        QTest::newRow("16:9 of 1080") << 1440 << 1080 << true << 1 << QSize(1919, 1080);
        QTest::newRow("own shape can lose a pixel") << 640 << 480 << true << 4 << QSize(639, 480);
        QTest::newRow("square") << 720 << 480 << true << 2 << QSize(480, 480);
    }

    void sizes()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, useDisplayAspect);
        QFETCH(int, aspectIndex);
        QFETCH(QSize, saved);
        QCOMPARE(SnapshotSize(width, height, useDisplayAspect, aspectIndex), saved);
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("saved");
        QTest::newRow("jpeg appended") << "/p/shot" << 1 << "/p/shot.jpg";
        QTest::newRow("another jpeg form") << "/p/shot.jpeg" << 1 << "/p/shot.jpeg.jpg";
        QTest::newRow("upper case kept") << "/p/shot.JPG" << 1 << "/p/shot.JPG";
        QTest::newRow("bitmap appended") << "/p/shot" << 2 << "/p/shot.bmp";
        QTest::newRow("bitmap upper case kept") << "/p/shot.BMP" << 2 << "/p/shot.BMP";
        QTest::newRow("jpg with the bitmap filter") << "/p/shot.jpg" << 2 << "/p/shot.jpg.bmp";
        QTest::newRow("dot in the folder only") << "/p.bmp/shot" << 2 << "/p.bmp/shot.bmp";
        QTest::newRow("no third kind") << "/p/shot" << 3 << "";
    }

    void fileNames()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, saved);
        QCOMPARE(SnapshotFileName(typed, filter), saved);
    }

    void bitmapIs24BitsWithPaddedBottomUpRows()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.bmp");
        const QImage picture = Picture(5, 3); // 15 bytes a row, padded to 16
        QVERIFY(WriteBitmap24(path, picture));
        const QByteArray bytes = ReadAll(path);
        QCOMPARE(bytes.size(), 54 + 16 * 3);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(BitmapBitsPerPixel(bytes), 24);
        // The first row in the file is the picture's bottom row, blue first.
        QCOMPARE(static_cast<unsigned char>(bytes[54]), 100);
        QCOMPARE(static_cast<unsigned char>(bytes[55]), 120);
        const QImage back(path);
        QCOMPARE(back.size(), QSize(5, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                QCOMPARE(back.pixelColor(x, y), picture.pixelColor(x, y));
    }

    void jpegIsReadableAndReplacesAnOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.jpg");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(100000, 'x'));
        }
        QVERIFY(WriteJpeg(path, Picture(33, 17), 100));
        QCOMPARE(JpegSize(path), QSize(33, 17));
        QVERIFY(QFileInfo(path).size() < 100000);
    }

    void writersFailWhereNoFileCanBeMade()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("missing/p");
        QVERIFY(!WriteJpeg(path, Picture(4, 4), 100));
        QVERIFY(!WriteBitmap24(path, Picture(4, 4)));
        QVERIFY(!WriteBitmap24(dir.filePath("empty.bmp"), QImage()));
    }

    void nothingBeforeTheFirstFrame()
    {
        MainFormFixture fixture;
        TestMainForm form;
        TVideoInfo *clip = AddClip(form, "a.avi");
        form.SetCurrentClip(clip);
        QVERIFY(!form.Preview->suiImageButton_Snapshoot->isEnabled());
        form.suiImageButton_SnapshootClick();
        QVERIFY(fixture.dialogs.lastFilter.isEmpty());
    }

    void savesTheEngineFrame_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<bool>("jpeg");
        QTest::newRow("jpeg") << "shot" << 1 << "shot.jpg" << true;
        QTest::newRow("jpeg form kept apart") << "shot.jpeg" << 1 << "shot.jpeg.jpg" << true;
        QTest::newRow("bitmap") << "shot.BMP" << 2 << "shot.BMP" << false;
    }

    void savesTheEngineFrame()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, saved);
        QFETCH(bool, jpeg);
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        platform::SetProgramFolder(QStringLiteral(ORVO_BUNDLE_DIR "/"));
        TVideoInfo *clip = AddClip(form, "wide.mpg", 4);
        clip->SetFilePath(m_clip);
        clip->SetPicture(3, 720, 480);
        clip->b_UseDisplayAspect = true;
        form.SetCurrentClip(clip);
        QTest::mouseClick(form.Preview->Image_Left, Qt::LeftButton, {}, QPoint(4, 4));
        QTRY_VERIFY_WITH_TIMEOUT(form.Preview->suiImageButton_Snapshoot->isEnabled(), 20000);

        const QString out = fixture.folder.filePath(saved);
        fixture.dialogs.saveResults = {fixture.folder.filePath(typed)};
        fixture.dialogs.saveFilterIndex = filter;
        QTest::mouseClick(form.Preview->suiImageButton_Snapshoot, Qt::LeftButton);
        QCOMPARE(fixture.dialogs.lastFilter, "JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp");
        QVERIFY(fixture.dialogs.messages.isEmpty());
        if (jpeg) {
            QCOMPARE(JpegSize(out), QSize(853, 480));
        } else {
            QCOMPARE(BitmapBitsPerPixel(ReadAll(out)), 24);
            QImageReader reader(out);
            QCOMPARE(reader.size(), QSize(853, 480));
            const QImage picture = reader.read();
            QVERIFY(!picture.isNull());
            // testsrc is colourful: the frame is not one flat colour.
            QVERIFY(picture.pixelColor(100, 100) != picture.pixelColor(700, 300));
        }
        form.SetCurrentClip(nullptr);
    }

    void fileThatCannotBeCreatedIsReported()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        platform::SetProgramFolder(QStringLiteral(ORVO_BUNDLE_DIR "/"));
        TVideoInfo *clip = AddClip(form, "wide.mpg", 4);
        clip->SetFilePath(m_clip);
        clip->SetPicture(1, 720, 480);
        form.SetCurrentClip(clip);
        QTest::mouseClick(form.Preview->Image_Left, Qt::LeftButton, {}, QPoint(4, 4));
        QTRY_VERIFY_WITH_TIMEOUT(form.Preview->suiImageButton_Snapshoot->isEnabled(), 20000);
        const QString typed = fixture.folder.filePath("no/such/folder/shot");
        fixture.dialogs.saveResults = {typed};
        form.suiImageButton_SnapshootClick();
        QCOMPARE(fixture.dialogs.texts(), QStringList({"Cannot create file " + typed + ".jpg"}));
        QVERIFY(fixture.dialogs.messages.first().kind == platform::MessageKind::Error);
        form.SetCurrentClip(nullptr);
    }
};

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    TestSnapshot test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_snapshot.moc"
