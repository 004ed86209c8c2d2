#include "common/DeviceType.h"
#include "process/ProgressRules.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The progress bar's figures and the choice of output numbers that write over nothing.
class TestProgressRules : public QObject {
    Q_OBJECT

private slots:
    void byTime_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("percent");
        QTest::newRow("start") << 0 << 100 << 0 << 0;
        QTest::newRow("half") << 50 << 100 << 135 << 50;
        QTest::newRow("past the end holds one short") << 150 << 100 << 268 << 99;
        QTest::newRow("at the end") << 100 << 100 << 268 << 99;
        QTest::newRow("one short of scale 50") << 49 << 50 << 265 << 98;
        QTest::newRow("scale 0 shows nothing") << 30 << 0 << 0 << 0;
        QTest::newRow("negative scale") << 30 << -5 << 0 << 0;
        QTest::newRow("scale 1") << 0 << 1 << 0 << 0;
        QTest::newRow("truncates") << 1 << 3 << 90 << 33;
        QTest::newRow("no overflow on long clips") << 2000000000 << 2100000000 << 258 << 95;
        QTest::newRow("negative time stays at zero") << -4 << 100 << 0 << 0;
    }
    void byTime()
    {
        QFETCH(int, seconds);
        QFETCH(int, scale);
        const ProgressShown shown = ProgressByTime(seconds, scale);
        QTEST(shown.barWidth, "width");
        QTEST(shown.percent, "percent");
    }

    void byPercent_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("shown");
        QTest::newRow("zero") << 0 << 0 << 0;
        QTest::newRow("below zero") << -3 << 0 << 0;
        QTest::newRow("one") << 1 << 2 << 1;
        QTest::newRow("half") << 50 << 135 << 50;
        QTest::newRow("full") << 100 << 271 << 100;
    }
    void byPercent()
    {
        QFETCH(int, percent);
        const ProgressShown shown = ProgressByPercent(percent);
        QTEST(shown.barWidth, "width");
        QTEST(shown.percent, "shown");
    }

    void freeSerialBase_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("expected");
        const QStringList none;
        QTest::newRow("empty folder") << none << 1 << 3 << int(DeviceIPhone) << 1;
        QTest::newRow("first name taken") << QStringList{"0001.mp4"} << 1 << 3 << int(DeviceIPhone) << 2;
        QTest::newRow("a name in the middle") << QStringList{"0003.mp4"} << 1 << 3 << int(DeviceIPhone) << 4;
        QTest::newRow("a run of names") << QStringList{"0001.mp4", "0002.mp4", "0005.mp4"} << 1 << 2
                                        << int(DeviceIPhone) << 3;
        QTest::newRow("other extension is no clash") << QStringList{"0001.mp3"} << 1 << 2 << int(DeviceIPhone) << 1;
        QTest::newRow("music names") << QStringList{"0001.mp3"} << 1 << 2 << int(DeviceIPodMusic) << 2;
        QTest::newRow("names after the list are free") << QStringList{"0004.mp4"} << 1 << 3 << int(DeviceIPhone) << 1;
        QTest::newRow("a folder of the name counts") << QStringList{"0001.mp4/"} << 1 << 1 << int(DeviceIPhone) << 2;
        QTest::newRow("wrap at 10000") << QStringList{"9999.mp4"} << 9999 << 1 << int(DeviceIPhone) << 10000;
        QTest::newRow("10000 is named 8888") << QStringList{"8888.mp4"} << 9999 << 2 << int(DeviceIPhone) << 10001;
        QTest::newRow("8888 itself") << QStringList{"8888.mp4"} << 8887 << 2 << int(DeviceIPhone) << 8889;
        QTest::newRow("8888 and 10000 in one list") << none << 8888 << 1113 << int(DeviceIPhone) << 8889;
        QTest::newRow("wrapped name taken") << QStringList{"0001.mp4"} << 10001 << 1 << int(DeviceIPhone) << 10002;
        QTest::newRow("zero entries") << QStringList{"0001.mp4"} << 1 << 0 << int(DeviceIPhone) << 1;
        QTest::newRow("longer than all names") << none << 1 << 10000 << int(DeviceIPhone) << 1;
    }
    void freeSerialBase()
    {
        QFETCH(QStringList, present);
        QTemporaryDir folder;
        for (const QString &name : present) {
            if (name.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir(folder.path()).mkdir(name.chopped(1)));
            } else {
                QFile file(folder.filePath(name));
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
        QFETCH(int, base);
        QFETCH(int, count);
        QFETCH(int, device);
        QTEST(FreeSerialBase(base, count, device, folder.path() + QLatin1Char('/')), "expected");
    }

    void freeSerialBaseOfAMissingFolder()
    {
        QCOMPARE(FreeSerialBase(7, 2, DeviceIPhone, QStringLiteral("/nonexistent/orvo/IPHONE/")), 7);
    }

    void freeSerialBaseOfAFullCycleGivesUp()
    {
        QTemporaryDir folder;
        for (int n = 1; n <= 9999; ++n) {
            QFile file(folder.filePath(QStringLiteral("%1.mp4").arg(n, 4, 10, QLatin1Char('0'))));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(FreeSerialBase(5, 1, DeviceIPhone, folder.path() + QLatin1Char('/')), 5);
    }
};

QTEST_APPLESS_MAIN(TestProgressRules)
#include "tst_progressrules.moc"
