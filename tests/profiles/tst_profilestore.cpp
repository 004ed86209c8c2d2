#include "profiles/ProfileStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using platform::IniFile;
using namespace profiles;

namespace {

// A small definition file. The "Music-h264" section is a trap: a music list text that went
// through a format section would quote 999 from it.
const QByteArray Definition = R"([iPod]
VideoFormatCount=1
VideoFormatText0=h264
[iPod-h264]
VideoResolutionText0=320:240
VideoBitRateMin=100
VideoBitRateMax=500
VideoBitRateDefault=300
AudioBitrateText0=96
AudioBitrateText1=128
AudioSampleRateText0=44100
[Music]
VideoFormatText0=h264
AudioBitrateText0=128
AudioBitrateText1=192
AudioSampleRateText0=32000
AudioSampleRateText1=48000
[Music-h264]
AudioBitrateText1=999
AudioSampleRateText1=999
)";

} // namespace

class TestProfileStore : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    IniFile write(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write fixture");
        f.write(content);
        return IniFile(path);
    }

    IniFile settings(const QByteArray &content) { return write(QStringLiteral("PfSetting.ini"), content); }
    IniFile definition() { return write(QStringLiteral("PfDef.dll"), Definition); }

    static QStringList names(const ProfileList &list)
    {
        QStringList result;
        for (const ProfileEntry &entry : list.entries)
            result.append(entry.name);
        return result;
    }

private slots:
    void namedSlots_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("selected");

        QTest::newRow("nodef slot is skipped")
            << QByteArray("ProfileCount=3\nProfileText0=A\nProfileText1=nodef\nProfileText2=C\nProfileDefault=1\n")
            << QStringList{"A", "C"} << 1;
        QTest::newRow("missing slot key is skipped")
            << QByteArray("ProfileCount=3\nProfileText0=A\nProfileText2=C\n") << QStringList{"A", "C"} << -1;
        QTest::newRow("slots at ProfileCount are not read")
            << QByteArray("ProfileCount=2\nProfileText0=A\nProfileText1=B\nProfileText2=C\n")
            << QStringList{"A", "B"} << -1;
        QTest::newRow("no ProfileCount lists nothing")
            << QByteArray("ProfileText0=A\nProfileDefault=0\n") << QStringList{} << -1;
        QTest::newRow("default beyond the list")
            << QByteArray("ProfileCount=3\nProfileText0=A\nProfileText2=C\nProfileDefault=2\n")
            << QStringList{"A", "C"} << -1;
        QTest::newRow("absurd ProfileCount stops at the cap")
            << QByteArray("ProfileCount=2000000000\nProfileText0=A\nProfileText5000=Z\n") << QStringList{"A"} << -1;
    }

    void namedSlots()
    {
        QFETCH(QByteArray, section);
        QFETCH(QStringList, names);
        QFETCH(int, selected);
        const ProfileList list = LoadProfileList(settings("[iPod-Profile]\n" + section), definition(), "iPod", 0);
        QCOMPARE(TestProfileStore::names(list), names);
        QCOMPARE(list.defaultPosition, selected);
    }

    void positionCountsEntriesNotSlots()
    {
        const IniFile file = settings("[iPod-Profile]\nProfileCount=3\nProfileText0=A\nProfileText1=nodef\n"
                                      "ProfileText2=C\nA=0,0,0,0,100,0,0,0,1,\nC=0,0,0,0,200,0,0,0,1,\n");
        const ProfileList list = LoadProfileList(file, definition(), "iPod", 0);
        QCOMPARE(list.entries.at(1).slot, 2);
        const Profile profile = ProfileAtPosition(file, "iPod", 1);
        QCOMPARE(profile.name, QStringLiteral("C"));
        QCOMPARE(profile.value, std::optional<QString>("0,0,0,0,200,0,0,0,1,"));
    }

    void namedSlotWithoutValueShowsItsNameAlone()
    {
        const IniFile file = settings("[iPod-Profile]\nProfileCount=1\nProfileText0=Bare\n");
        const ProfileList list = LoadProfileList(file, definition(), "iPod", 0);
        QCOMPARE(list.entries.size(), 1);
        QCOMPARE(list.entries.at(0).listText, QStringLiteral("Bare"));
        QVERIFY(!list.entries.at(0).value);
        QVERIFY(!ProfileAtPosition(file, "iPod", 0).value);
    }

    void positionWithoutEntryTakesCustomProfile_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<int>("position");
        QTest::addColumn<std::optional<QString>>("value");

        const QByteArray listed = "ProfileCount=1\nProfileText0=A\nA=0,0,0,0,100,0,0,0,1,\n";
        const QByteArray custom = "Custom Profile=0,0,0,0,333,1,0,0,0,\n";
        QTest::newRow("no default, custom value") << listed + custom << -1
                                                  << std::optional<QString>("0,0,0,0,333,1,0,0,0,");
        QTest::newRow("beyond the list, custom value") << listed + custom << 1
                                                       << std::optional<QString>("0,0,0,0,333,1,0,0,0,");
        QTest::newRow("no custom value") << listed << -1 << std::optional<QString>();
    }

    void positionWithoutEntryTakesCustomProfile()
    {
        QFETCH(QByteArray, section);
        QFETCH(int, position);
        QFETCH(std::optional<QString>, value);
        const IniFile file = settings("[AppleTV-Profile]\n" + section);
        QCOMPARE(LoadProfileList(file, definition(), "AppleTV", 3).defaultPosition, -1);
        const Profile profile = ProfileAtPosition(file, "AppleTV", position);
        QCOMPARE(profile.name, QStringLiteral("Custom Profile"));
        QCOMPARE(profile.value, value);
    }

    void missingFile()
    {
        const IniFile file(m_dir.filePath(QStringLiteral("absent.ini")));
        const ProfileList list = LoadProfileList(file, definition(), "iPhone", 2);
        QVERIFY(list.entries.isEmpty());
        QCOMPARE(list.defaultPosition, -1);
        const Profile profile = ProfileAtPosition(file, "iPhone", list.defaultPosition);
        QCOMPARE(profile.name, QStringLiteral("Custom Profile"));
        QVERIFY(!profile.value);
    }

    void listText_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("expected");

        QTest::newRow("video, field 5 beyond the definition's range")
            << "iPod" << 0 << QByteArray("0,0,0,0,768,1,0,0,1,")
            << "P : Video-h264,320:240,768kbps,Audio-128kbps,44100hz";
        QTest::newRow("music quotes the Music section")
            << "Music" << 1 << QByteArray("0,0,0,0,0,1,1,0,1,") << "P : Audio-192kbps,48000hz";
        QTest::newRow("video, positions beyond the lists")
            << "iPod" << 0 << QByteArray("0,0,5,0,500,7,3,0,1,") << "P : Video-h264,,500kbps,Audio-0kbps,0hz";
        QTest::newRow("video, format beyond the device's formats")
            << "iPod" << 0 << QByteArray("4,0,0,0,500,1,0,0,1,") << "P : Video-,,500kbps,Audio-0kbps,0hz";
        QTest::newRow("music, positions beyond the lists")
            << "Music" << 1 << QByteArray("0,0,0,0,0,9,-1,0,1,") << "P : Audio-0kbps,0hz";
        QTest::newRow("value without its last comma")
            << "Music" << 1 << QByteArray("0,0,0,0,0,1,1") << "P : Audio-192kbps,32000hz";
    }

    void listText()
    {
        QFETCH(QString, device);
        QFETCH(int, type);
        QFETCH(QByteArray, value);
        QFETCH(QString, expected);
        const IniFile file = settings("[" + device.toLatin1() + "-Profile]\nProfileCount=1\nProfileText0=P\nP="
                                      + value + "\n");
        const ProfileList list = LoadProfileList(file, definition(), device, type);
        QCOMPARE(list.entries.size(), 1);
        QCOMPARE(list.entries.at(0).listText, expected);
    }

    void field_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("expected");

        const QString full = QStringLiteral("1,0,3,4,768,6,7,8,1,");
        QTest::newRow("first field") << full << 1 << 1;
        QTest::newRow("middle field") << full << 5 << 768;
        QTest::newRow("ninth field") << full << 9 << 1;
        QTest::newRow("ninth field without its comma") << "1,0,3,4,768,6,7,8,1" << 9 << 0;
        QTest::newRow("eighth field before a missing comma") << "1,0,3,4,768,6,7,8,1" << 8 << 8;
        QTest::newRow("fewer fields than asked") << "1,0," << 3 << 0;
        QTest::newRow("blanks around the field") << " 12 , 3," << 1 << 12;
        QTest::newRow("negative") << "0,-3," << 2 << -3;
        QTest::newRow("plus sign") << "+7," << 1 << 7;
        QTest::newRow("leading integer of a text") << "12abc," << 1 << 12;
        QTest::newRow("not a number") << "abc," << 1 << 0;
        QTest::newRow("sign alone") << "-," << 1 << 0;
        QTest::newRow("empty field") << "1,,3," << 2 << 0;
        QTest::newRow("number beyond 32 bits") << "99999999999," << 1 << 0;
        QTest::newRow("smallest 32-bit number") << "-2147483648," << 1 << -2147483647 - 1;
        QTest::newRow("field 0 does not exist") << full << 0 << 0;
        QTest::newRow("empty value") << "" << 1 << 0;
    }

    void field()
    {
        QFETCH(QString, value);
        QFETCH(int, k);
        QFETCH(int, expected);
        QCOMPARE(ProfileField(value, k), expected);
    }
};

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
