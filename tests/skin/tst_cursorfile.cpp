#include "skin/CursorFile.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

// A drawing with opaque, half-transparent and empty pixels, so the round trip sees all three.
QImage sampleImage()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 4; y < 28; ++y)
        for (int x = 4; x < 28; ++x)
            image.setPixel(x, y, qRgba(x * 8, y * 8, 200, x < 16 ? 255 : 128));
    return image;
}

quint16 word(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

quint32 dword(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

void setDword(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

// A classic monochrome cursor: 1 bit per pixel, black and white palette, AND mask.
// The left half is opaque white, the right half transparent.
QByteArray monochromeCursor()
{
    QByteArray b;
    auto put16 = [&](int v) { b.append(char(v & 0xFF)); b.append(char((v >> 8) & 0xFF)); };
    auto put32 = [&](quint32 v) { for (int s = 0; s < 32; s += 8) b.append(char((v >> s) & 0xFF)); };
    const int image = 40 + 8 + 32 * 4 + 32 * 4;
    put16(0); put16(2); put16(1);
    b.append(char(32)); b.append(char(32)); b.append(char(2)); b.append('\0');
    put16(3); put16(4); put32(image); put32(22);
    put32(40); put32(32); put32(64); put16(1); put16(1); put32(0); put32(0);
    put32(0); put32(0); put32(2); put32(0);
    put32(0x00000000); put32(0x00FFFFFF);                // black, white
    for (int row = 0; row < 32; ++row) b.append(QByteArray("\xFF\xFF\x00\x00", 4));   // colour bits
    for (int row = 0; row < 32; ++row) b.append(QByteArray("\x00\x00\xFF\xFF", 4));   // AND mask
    return b;
}

} // namespace

class TestCursorFile : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QPoint>("hotSpot");
        QTest::newRow("top left") << QPoint(0, 0);
        QTest::newRow("centre") << QPoint(15, 15);
        QTest::newRow("finger tip") << QPoint(12, 2);
        QTest::newRow("bottom right") << QPoint(31, 31);
    }
    void roundTrip()
    {
        QFETCH(QPoint, hotSpot);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("c.cur"));
        const QImage image = sampleImage();
        QVERIFY(skin::writeCursorFile(path, image, hotSpot));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        skin::CursorImage read;
        QVERIFY(skin::decodeCursorFile(file.readAll(), &read));
        QCOMPARE(read.hotSpot, hotSpot);
        QCOMPARE(read.image.size(), QSize(32, 32));
        QCOMPARE(read.image, image);

        bool ok = false;
        const QCursor cursor = skin::loadCursorFile(path, &ok);
        QVERIFY(ok);
        QCOMPARE(cursor.hotSpot(), hotSpot);
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
    }

    void writesTheWindowsLayout()
    {
        const QByteArray bytes = skin::encodeCursorFile(sampleImage(), QPoint(7, 9));
        QCOMPARE(bytes.size(), 6 + 16 + 40 + 32 * 32 * 4 + 32 * 4);
        QCOMPARE(word(bytes, 0), quint16(0));
        QCOMPARE(word(bytes, 2), quint16(2));       // cursor, not icon
        QCOMPARE(word(bytes, 4), quint16(1));
        QCOMPARE(quint8(bytes[6]), quint8(32));
        QCOMPARE(word(bytes, 10), quint16(7));
        QCOMPARE(word(bytes, 12), quint16(9));
        QCOMPARE(dword(bytes, 14), quint32(bytes.size() - 22));
        QCOMPARE(dword(bytes, 18), quint32(22));
        QCOMPARE(dword(bytes, 22), quint32(40));
        QCOMPARE(dword(bytes, 30), quint32(64));     // colour rows plus mask rows
        QCOMPARE(word(bytes, 36), quint16(32));
        // Rows run bottom-up: the first stored pixel is the bottom-left one (transparent),
        // and its AND mask bit is set.
        QCOMPARE(quint8(bytes[62 + 3]), quint8(0));
        QVERIFY(quint8(bytes[62 + 4096]) & 0x80);
    }

    void otherSizesAreScaledAndHotSpotClamped()
    {
        QImage big(64, 64, QImage::Format_ARGB32);
        big.fill(Qt::white);
        skin::CursorImage read;
        QVERIFY(skin::decodeCursorFile(skin::encodeCursorFile(big, QPoint(50, 40)), &read));
        QCOMPARE(read.image.size(), QSize(32, 32));
        QCOMPARE(read.hotSpot, QPoint(31, 31));
    }

    void badFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = skin::encodeCursorFile(sampleImage(), QPoint(3, 3));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("directory only") << good.left(6);
        QTest::newRow("entry cut") << good.left(21);
        QTest::newRow("header cut") << good.left(22 + 39);
        QTest::newRow("colour rows cut") << good.left(22 + 40 + 2000);
        QTest::newRow("last byte missing") << good.left(good.size() - 1);

        QByteArray icon = good;
        icon[2] = 1;
        QTest::newRow("an icon") << icon;
        QByteArray hotOutside = good;
        hotOutside[10] = 40;
        QTest::newRow("hot spot outside") << hotOutside;
        QByteArray offsetPast = good;
        setDword(offsetPast, 18, quint32(good.size()));
        QTest::newRow("image offset past the end") << offsetPast;
        QByteArray sizePast = good;
        setDword(sizePast, 14, 0xFFFFFFF0u);
        QTest::newRow("image length past the end") << sizePast;
        QByteArray bits16 = good;
        bits16[22 + 14] = 16;
        QTest::newRow("16 bits per pixel") << bits16;
        QByteArray oddHeight = good;
        setDword(oddHeight, 22 + 8, 63);
        QTest::newRow("odd double height") << oddHeight;
        QByteArray compressed = good;
        setDword(compressed, 22 + 16, 1);
        QTest::newRow("run-length compressed") << compressed;
        QByteArray huge = good;
        setDword(huge, 22 + 4, 0x7FFFFFFF);
        QTest::newRow("absurd width") << huge;
    }
    void badFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        skin::CursorImage untouched{QImage(), QPoint(-5, -5)};
        QVERIFY(!skin::decodeCursorFile(bytes, &untouched));
        QCOMPARE(untouched.hotSpot, QPoint(-5, -5));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.cur"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        bool ok = true;
        const QCursor cursor = skin::loadCursorFile(path, &ok);
        QVERIFY(!ok);
        QCOMPARE(cursor.shape(), Qt::ArrowCursor);
    }

    void missingFileGivesArrow()
    {
        bool ok = true;
        const QCursor cursor = skin::loadCursorFile(QStringLiteral("/nonexistent/Cursor/Press.cur"), &ok);
        QVERIFY(!ok);
        QCOMPARE(cursor.shape(), Qt::ArrowCursor);
    }

    void unwritablePathLeavesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("no/such/folder/c.cur"));
        QVERIFY(!skin::writeCursorFile(path, sampleImage(), QPoint(1, 1)));
        QVERIFY(!QFile::exists(path));
    }

    void readsMonochromeCursors()
    {
        skin::CursorImage read;
        QVERIFY(skin::decodeCursorFile(monochromeCursor(), &read));
        QCOMPARE(read.hotSpot, QPoint(3, 4));
        QCOMPARE(read.image.pixel(0, 0), qRgba(255, 255, 255, 255));
        QCOMPARE(read.image.pixel(15, 31), qRgba(255, 255, 255, 255));
        QCOMPARE(qAlpha(read.image.pixel(16, 0)), 0);
    }

    void zeroAlphaFallsBackToTheMask()
    {
        QImage opaque(32, 32, QImage::Format_ARGB32);
        opaque.fill(qRgba(10, 20, 30, 255));
        opaque.setPixel(0, 0, qRgba(0, 0, 0, 0));
        QByteArray bytes = skin::encodeCursorFile(opaque, QPoint(0, 0));
        for (int i = 0; i < 32 * 32; ++i)
            bytes[62 + i * 4 + 3] = 0;   // an old writer that leaves alpha empty
        skin::CursorImage read;
        QVERIFY(skin::decodeCursorFile(bytes, &read));
        QCOMPARE(read.image.pixel(5, 5), qRgba(10, 20, 30, 255));
        QCOMPARE(qAlpha(read.image.pixel(0, 0)), 0);
    }

    void shippedCursors_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QPoint>("hotSpot");
        QTest::newRow("DragWE") << QStringLiteral("DragWE.cur") << QPoint(15, 15);
        QTest::newRow("Press") << QStringLiteral("Press.cur") << QPoint(12, 2);
    }
    void shippedCursors()
    {
        QFETCH(QString, file);
        QFETCH(QPoint, hotSpot);
        QFile f(QStringLiteral(ORVO_BUNDLE_DIR "/Cursor/") + file);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
        skin::CursorImage read;
        QVERIFY(skin::decodeCursorFile(f.readAll(), &read));
        QCOMPARE(read.hotSpot, hotSpot);
        QCOMPARE(read.image.size(), QSize(32, 32));
        // The hot spot lies on the drawing, not beside it.
        QVERIFY(qAlpha(read.image.pixel(hotSpot)) > 0);
    }
};

QTEST_MAIN(TestCursorFile)
#include "tst_cursorfile.moc"
