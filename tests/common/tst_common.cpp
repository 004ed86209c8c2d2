#include "common/DisplayAspect.h"
#include "common/KeyColourRegion.h"
#include "common/TextHelpers.h"

#include <QPainter>
#include <QtTest>

class TestCommon : public QObject {
    Q_OBJECT

private slots:
    void twoDigitText_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "00";
        QTest::newRow("9") << 9 << "09";
        QTest::newRow("10") << 10 << "10";
        QTest::newRow("123") << 123 << "123";
    }
    void twoDigitText()
    {
        QFETCH(int, n);
        QFETCH(QString, text);
        QCOMPARE(TwoDigitText(n), text);
    }

    void timeText_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << "00:00:00";
        QTest::newRow("minute and a second") << 61 << "00:01:01";
        QTest::newRow("just under an hour") << 3599 << "00:59:59";
        QTest::newRow("a day") << 86400 << "24:00:00";
        QTest::newRow("99 hours") << 99 * 3600 + 59 * 60 + 59 << "99:59:59";
        QTest::newRow("100 hours") << 360000 << "100:00:00";
        QTest::newRow("1000 hours") << 3600000 + 5 << "1000:00:05";
    }
    void timeText()
    {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        QCOMPARE(TimeText(seconds), text);
    }

    void outputNumberText_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        QTest::newRow("-5") << -5 << "8888";
        QTest::newRow("0") << 0 << "8888";
        QTest::newRow("1") << 1 << "0001";
        QTest::newRow("9") << 9 << "0009";
        QTest::newRow("10") << 10 << "0010";
        QTest::newRow("99") << 99 << "0099";
        QTest::newRow("100") << 100 << "0100";
        QTest::newRow("999") << 999 << "0999";
        QTest::newRow("1000") << 1000 << "1000";
        QTest::newRow("9999") << 9999 << "9999";
        QTest::newRow("10000") << 10000 << "8888";
        QTest::newRow("10001") << 10001 << "0001";
        QTest::newRow("10007") << 10007 << "0007";
        QTest::newRow("20000") << 20000 << "8888";
        QTest::newRow("int max") << 2147483647 << "3647";
    }
    void outputNumberText()
    {
        QFETCH(int, n);
        QFETCH(QString, text);
        QCOMPARE(OutputNumberText(n), text);
    }

    void leftCharacters_data()
    {
        const QString clef = QStringLiteral("\U0001D11E"); // two UTF-16 units
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("characters");
        QTest::newRow("shorter") << "abc" << 5 << "abc" << 3;
        QTest::newRow("cut") << "abcdef" << 4 << "abcd" << 6;
        QTest::newRow("pair is the last character kept") << "ab" + clef + "c" << 3 << "ab" + clef << 4;
        QTest::newRow("pair just past the cut") << "abc" + clef << 3 << "abc" << 4;
        QTest::newRow("pairs only") << clef + clef + clef << 2 << clef + clef << 3;
        QTest::newRow("lone high surrogate") << QString(QChar(0xd834)) + "xy" << 2 << QString(QChar(0xd834)) + "x" << 3;
        QTest::newRow("nothing") << "abc" << 0 << "" << 3;
    }
    void leftCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(int, characters);
        QTEST(LeftCharacters(text, count), "left");
        QCOMPARE(CharacterCount(text), characters);
    }

    void truncatedProduct_data()
    {
        QTest::addColumn<qint64>("n");
        QTest::addColumn<double>("v");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("576 x 4/3") << qint64(576) << 4.0 / 3.0 << qint64(767);
        QTest::newRow("480 x 4/3") << qint64(480) << 4.0 / 3.0 << qint64(639);
        QTest::newRow("576 x 16/9") << qint64(576) << 16.0 / 9.0 << qint64(1023);
        QTest::newRow("1080 x 16/9") << qint64(1080) << 16.0 / 9.0 << qint64(1919);
        QTest::newRow("480 x 16/9") << qint64(480) << 16.0 / 9.0 << qint64(853);
        QTest::newRow("exact whole") << qint64(3) << 2.0 << qint64(6);
        QTest::newRow("180 x 1.2222") << qint64(180) << 352.0 / 288.0 << qint64(220);
        QTest::newRow("negative") << qint64(-576) << 4.0 / 3.0 << qint64(-767);
        QTest::newRow("zero") << qint64(0) << 4.0 / 3.0 << qint64(0);
    }
    void truncatedProduct()
    {
        QFETCH(qint64, n);
        QFETCH(double, v);
        QFETCH(qint64, expected);
        QCOMPARE(TruncatedProduct(n, v), expected);
    }

    void truncatedQuotient_data()
    {
        QTest::addColumn<qint64>("n");
        QTest::addColumn<double>("v");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("240 / 1023/576") << qint64(240) << 1023.0 / 576.0 << qint64(135);
        QTest::newRow("240 / 4/3") << qint64(240) << 4.0 / 3.0 << qint64(180);
        QTest::newRow("whole") << qint64(240) << 2.0 << qint64(120);
        QTest::newRow("divide by zero saturates") << qint64(240) << 0.0 << std::numeric_limits<qint64>::max();
    }
    void truncatedQuotient()
    {
        QFETCH(qint64, n);
        QFETCH(double, v);
        QFETCH(qint64, expected);
        QCOMPARE(TruncatedQuotient(n, v), expected);
    }

    void displayAspect_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("expected");
        QTest::newRow("4:3") << 0 << 4.0 / 3.0;
        QTest::newRow("16:9") << 1 << 16.0 / 9.0;
        QTest::newRow("square") << 2 << 1.0;
        QTest::newRow("2.21") << 3 << 2.21;
        QTest::newRow("own shape") << 4 << 640.0 / 360.0;
        QTest::newRow("unknown index") << -1 << 640.0 / 360.0;
    }
    void displayAspect()
    {
        QFETCH(int, index);
        QFETCH(double, expected);
        QCOMPARE(DisplayAspect(index, 640, 360), expected);
    }

    void keyColourRegionCutsHoles()
    {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter p(&picture);
        p.fillRect(0, 0, 5, 5, QColor(255, 0, 255)); // rounded-corner stand-in
        p.fillRect(10, 10, 3, 2, QColor(255, 0, 255)); // a hole inside
        p.end();

        const QRegion key = KeyColourRegion(picture, ShapeKeyColour);
        QCOMPARE(key.boundingRect(), QRect(0, 0, 13, 12));
        QVERIFY(key.contains(QPoint(4, 4)));
        QVERIFY(key.contains(QPoint(12, 11)));
        QVERIFY(!key.contains(QPoint(5, 0)));
        QVERIFY(!key.contains(QPoint(9, 10)));

        const QRegion shape = ShapeRegion(picture);
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QVERIFY(!shape.contains(QPoint(11, 10)));
        QVERIFY(shape.contains(QPoint(20, 20)));
        QVERIFY(shape.contains(QPoint(39, 29)));
        // 25 + 6 key pixels removed from 1200
        int area = 0;
        for (const QRect &r : shape)
            area += r.width() * r.height();
        QCOMPARE(area, 40 * 30 - 25 - 6);
    }

    void keyZeroTakesTopLeftColour()
    {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(QColor(10, 20, 30));
        picture.setPixel(3, 3, qRgb(0, 0, 0));
        const QRegion key = KeyColourRegion(picture, 0);
        QVERIFY(key.contains(QPoint(0, 0)));
        QVERIFY(!key.contains(QPoint(3, 3)));
    }

    void keyRegionOfWindowSizedPicture()
    {
        // A picture of the main window's size with a key-coloured border and stripes.
        QImage picture(897, 561, QImage::Format_ARGB32);
        picture.fill(QColor(255, 0, 255));
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::darkGray);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRect(0, 0, 897, 561));
        p.end();
        const QRegion shape = ShapeRegion(picture);
        QVERIFY(shape.contains(QPoint(448, 280)));
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QVERIFY(!shape.contains(QPoint(896, 560)));
        for (int y = 0; y < picture.height(); y += 7)
            for (int x = 0; x < picture.width(); x += 5)
                QCOMPARE(shape.contains(QPoint(x, y)), picture.pixel(x, y) != ShapeKeyColour);
    }

    void nullPictureGivesEmptyRegion()
    {
        QVERIFY(KeyColourRegion(QImage(), ShapeKeyColour).isEmpty());
        QVERIFY(ShapeRegion(QImage()).isEmpty());
    }
};

QTEST_MAIN(TestCommon)
#include "tst_common.moc"
