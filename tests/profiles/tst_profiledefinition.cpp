#include "profiles/ProfileDefinition.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <QElapsedTimer>

using platform::IniFile;
using namespace profiles;

class TestProfileDefinition : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    IniFile fixture(const QByteArray &content)
    {
        const QString path = m_dir.filePath(QStringLiteral("PfDef.dll"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write fixture");
        f.write(content);
        return IniFile(path);
    }

private slots:
    void fillList_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("selected");

        QTest::newRow("no count, no range: one item 0, nothing selected")
            << QByteArray("[S]\nOther=1\n") << QStringList{"0"} << -1;
        QTest::newRow("enumerated texts with default")
            << QByteArray("[S]\nKCount=2\nKText0=320:240\nKText1=640:480\nKDefault=1\n")
            << QStringList{"320:240", "640:480"} << 1;
        QTest::newRow("gap in texts is skipped")
            << QByteArray("[S]\nKCount=3\nKText0=a\nKText2=c\n") << QStringList{"a", "c"} << -1;
        QTest::newRow("texts beyond Count are not read")
            << QByteArray("[S]\nKCount=1\nKText0=a\nKText1=b\n") << QStringList{"a"} << -1;
        QTest::newRow("Count without texts is empty")
            << QByteArray("[S]\nKCount=2\nKDefault=0\n") << QStringList{} << -1;
        QTest::newRow("Count wins over range")
            << QByteArray("[S]\nKCount=1\nKText0=x\nKMin=0\nKMax=5\n") << QStringList{"x"} << -1;
        QTest::newRow("hexadecimal Count")
            << QByteArray("[S]\nKCount=0x2\nKText0=a\nKText1=b\n") << QStringList{"a", "b"} << -1;
        QTest::newRow("names ignore case")
            << QByteArray("[s]\nkcount=1\nktext0=a\nkdefault=0\n") << QStringList{"a"} << 0;
        QTest::newRow("range Min 2 Max 9 Step 3")
            << QByteArray("[S]\nKMin=2\nKMax=9\nKStep=3\n") << QStringList{"2", "5", "8"} << -1;
        QTest::newRow("range includes Max")
            << QByteArray("[S]\nKMin=0\nKMax=6\nKStep=3\nKDefault=2\n") << QStringList{"0", "3", "6"} << 2;
        QTest::newRow("negative Count reads the range")
            << QByteArray("[S]\nKCount=-1\nKText0=a\nKMin=1\nKMax=2\n") << QStringList{"1", "2"} << -1;
        QTest::newRow("Min above Max is empty")
            << QByteArray("[S]\nKMin=5\nKMax=4\n") << QStringList{} << -1;
        QTest::newRow("Step 0 counts as 1")
            << QByteArray("[S]\nKMin=1\nKMax=3\nKStep=0\n") << QStringList{"1", "2", "3"} << -1;
        QTest::newRow("negative Step counts as 1")
            << QByteArray("[S]\nKMin=1\nKMax=2\nKStep=-4\n") << QStringList{"1", "2"} << -1;
        QTest::newRow("range at the top of the integers does not wrap")
            << QByteArray("[S]\nKMin=2147483646\nKMax=2147483647\n")
            << QStringList{"2147483646", "2147483647"} << -1;
        QTest::newRow("default beyond the last item")
            << QByteArray("[S]\nKCount=2\nKText0=a\nKText1=b\nKDefault=2\n") << QStringList{"a", "b"} << -1;
        QTest::newRow("default beyond a list shortened by a gap")
            << QByteArray("[S]\nKCount=3\nKText0=a\nKText2=c\nKDefault=2\n") << QStringList{"a", "c"} << -1;
        QTest::newRow("default -1")
            << QByteArray("[S]\nKCount=1\nKText0=a\nKDefault=-1\n") << QStringList{"a"} << -1;
        QTest::newRow("default below -1")
            << QByteArray("[S]\nKCount=1\nKText0=a\nKDefault=-5\n") << QStringList{"a"} << -1;
    }

    void fillList()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, items);
        QFETCH(int, selected);
        const ListDefinition list = FillListFromDefinition(fixture(file), "S", "K");
        QCOMPARE(list.items, items);
        QCOMPARE(list.defaultPosition, selected);
    }

    void absurdSizesStopAtTheCap_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");

        QTest::newRow("Count of two billion")
            << QByteArray("[S]\nKCount=2000000000\nKText0=a\nKText999=b\nKText1000=c\n") << "a" << "b";
        QTest::newRow("range of two billion")
            << QByteArray("[S]\nKMin=0\nKMax=2000000000\n") << "0" << "999";
    }

    void absurdSizesStopAtTheCap()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QElapsedTimer timer;
        timer.start();
        const ListDefinition list = FillListFromDefinition(fixture(file), "S", "K");
        QVERIFY2(timer.elapsed() < 20000, "filling must not crawl through the whole Count");
        QVERIFY(list.items.size() <= MaxListItems);
        QCOMPARE(list.items.first(), first);
        QCOMPARE(list.items.last(), last);
    }

    void spinRange_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("upper");
        QTest::addColumn<int>("lower");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("step");

        QTest::newRow("full range")
            << QByteArray("[S]\nKMin=100\nKMax=1600\nKDefault=812\nKStep=8\n") << 1600 << 100 << 812 << 8;
        QTest::newRow("absent keys") << QByteArray("[S]\n") << 0 << 0 << 0 << 1;
        QTest::newRow("Step 0 counts as 1") << QByteArray("[S]\nKMax=5\nKStep=0\n") << 5 << 0 << 0 << 1;
        QTest::newRow("non-numbers give the defaults")
            << QByteArray("[S]\nKMin=low\nKMax=x1\nKDefault=1.5\nKStep=big\n") << 0 << 0 << 0 << 1;
    }

    void spinRange()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, upper);
        QFETCH(int, lower);
        QFETCH(int, value);
        QFETCH(int, step);
        const SpinRange range = FillSpinFromDefinition(fixture(file), "S", "K");
        QCOMPARE(range.upper, upper);
        QCOMPARE(range.lower, lower);
        QCOMPARE(range.value, value);
        QCOMPARE(range.step, step);
    }

    void valueLookup_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("expected");

        QTest::newRow("numbered text only") << QByteArray("AudioBitrateText2=128\n") << "128";
        QTest::newRow("numbered value before numbered text")
            << QByteArray("AudioBitrateText2=128\nAudioBitrateValue2=128000\n") << "128000";
        QTest::newRow("numbered text before catch-all value")
            << QByteArray("AudioBitrateValue=96\nAudioBitrateText2=128\n") << "128";
        QTest::newRow("catch-all value") << QByteArray("AudioBitrateValue=96\nAudioBitrateText=64\n") << "96";
        QTest::newRow("catch-all text") << QByteArray("AudioBitrateText=64\n") << "64";
        QTest::newRow("other choices do not count")
            << QByteArray("AudioBitrateValue1=1\nAudioBitrateText3=3\n") << "nodef";
        QTest::newRow("nothing at all") << QByteArray() << "nodef";
        QTest::newRow("empty value is a value") << QByteArray("AudioBitrateValue2=\nAudioBitrateText2=128\n") << "";
    }

    void valueLookup()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QString, expected);
        const IniFile file = fixture("[Other]\nAudioBitrateValue2=wrong section\n[iPod-h264]\n" + keys);
        QCOMPARE(ReadDefinitionValue(file, "iPod-h264", "AudioBitrate", 2), expected);
    }

    void textLookupHasNoCatchAll()
    {
        const IniFile file = fixture("[S]\nAudioBitrateText1=128\nAudioBitrateText=64\nAudioBitrateValue1=9\n");
        QCOMPARE(ReadDefinitionText(file, "S", "AudioBitrate", 1), QStringLiteral("128"));
        QCOMPARE(ReadDefinitionText(file, "S", "AudioBitrate", 2), QString());
    }

    void formatSections_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("section1");
        QTest::addColumn<QString>("panelSection1");

        QTest::newRow("two formats")
            << QByteArray("[iPod]\nVideoFormatCount=2\nVideoFormatText0=h264\nVideoFormatText1=mpeg4\n")
            << 2 << "iPod-mpeg4" << "iPod-mpeg4";
        QTest::newRow("device section without VideoFormatCount")
            << QByteArray("[iPod]\nVideoFormatText1=mpeg4\n") << 0 << "iPod-mpeg4" << "iPod-mpeg4";
        QTest::newRow("format text missing")
            << QByteArray("[iPod]\nVideoFormatCount=1\nVideoFormatText0=h264\n") << 1 << "iPod-" << "iPod-nodef";
        QTest::newRow("no device section") << QByteArray("[Music]\n") << 0 << "iPod-" << "iPod-nodef";
    }

    void formatSections()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, count);
        QFETCH(QString, section1);
        QFETCH(QString, panelSection1);
        const IniFile ini = fixture(file);
        QCOMPARE(VideoFormatCount(ini, "iPod"), count);
        QCOMPARE(FormatSectionName(ini, "iPod", 1), section1);
        QCOMPARE(FormatSectionName(ini, "iPod", 1, NoDefinition), panelSection1);
    }

    void missingFileReadsAsEmpty()
    {
        const IniFile file(m_dir.filePath(QStringLiteral("absent/PfDef.dll")));
        const ListDefinition list = FillListFromDefinition(file, "iPod-h264", "VideoResolution");
        QCOMPARE(list.items, QStringList{"0"});
        QCOMPARE(list.defaultPosition, -1);
        QCOMPARE(ReadDefinitionValue(file, "iPod", "VideoFormat", 0), QStringLiteral("nodef"));
        QCOMPARE(ReadDefinitionText(file, "iPod", "VideoFormat", 0), QString());
        QCOMPARE(VideoFormatCount(file, "iPod"), 0);
        const SpinRange range = FillSpinFromDefinition(file, "iPod-h264", "VideoBitRate");
        QCOMPARE(range.upper, 0);
        QCOMPARE(range.lower, 0);
        QCOMPARE(range.step, 1);
    }

    void changedFileTakesEffectAtTheNextRead()
    {
        const IniFile file = fixture("[S]\nKCount=1\nKText0=before\n");
        QCOMPARE(FillListFromDefinition(file, "S", "K").items, QStringList{"before"});
        fixture("[S]\nKCount=1\nKText0=after\n");
        QCOMPARE(FillListFromDefinition(file, "S", "K").items, QStringList{"after"});
    }
};

QTEST_GUILESS_MAIN(TestProfileDefinition)
#include "tst_profiledefinition.moc"
