#include "platform/MountWatcher.h"

#include <QSignalSpy>
#include <QtTest>

using platform::MountEntry;

Q_DECLARE_METATYPE(platform::MountEntry)

namespace {

const QByteArray Base =
    "22 1 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
    "26 1 253:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n";
const QByteArray Dvd = "90 26 11:0 / /media/user/MY\\040MOVIE ro,nosuid shared:50 - udf /dev/sr0 ro\n";
const QByteArray Stick = "91 26 8:1 / /media/user/STICK rw shared:51 - vfat /dev/sdb1 rw\n";

} // namespace

class TestMountWatcher : public QObject {
    Q_OBJECT

private slots:
    void parses()
    {
        const auto entries = platform::ParseMountInfo(Base + Dvd + "garbage line\n\n");
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.at(1).mountPoint, QStringLiteral("/"));
        QCOMPARE(entries.at(1).fileSystem, QStringLiteral("ext4"));
        QCOMPARE(entries.at(2).mountPoint, QStringLiteral("/media/user/MY MOVIE"));
        QCOMPARE(entries.at(2).source, QStringLiteral("/dev/sr0"));
    }

    void discMounts_data()
    {
        QTest::addColumn<QString>("fs");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("disc");
        QTest::newRow("optical drive") << "ext2" << "/dev/sr1" << true;
        QTest::newRow("iso image") << "iso9660" << "/dev/loop3" << true;
        QTest::newRow("udf") << "udf" << "/dev/sdc" << true;
        QTest::newRow("usb stick") << "vfat" << "/dev/sdb1" << false;
        QTest::newRow("disk") << "ext4" << "/dev/vda" << false;
    }
    void discMounts()
    {
        QFETCH(QString, fs);
        QFETCH(QString, source);
        QFETCH(bool, disc);
        QCOMPARE(platform::IsDiscMount({"/m", fs, source}), disc);
    }

    void reportsArrivalsAndRemovals()
    {
        qRegisterMetaType<platform::MountEntry>();
        QByteArray table = Base;
        platform::MountWatcher watcher(nullptr, [&] { return table; }, 0);
        QSignalSpy arrived(&watcher, &platform::MountWatcher::volumeArrived);
        QSignalSpy removed(&watcher, &platform::MountWatcher::volumeRemoved);

        watcher.poll();
        QCOMPARE(arrived.size(), 0);

        table = Base + Dvd + Stick;
        watcher.poll();
        QCOMPARE(arrived.size(), 2);
        QCOMPARE(arrived.at(0).at(0).value<MountEntry>().mountPoint, QStringLiteral("/media/user/MY MOVIE"));

        table = Base + Stick;
        watcher.poll();
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).at(0).value<MountEntry>().source, QStringLiteral("/dev/sr0"));
        QCOMPARE(arrived.size(), 2);
    }

    void readableVolume()
    {
        QVERIFY(platform::CanReadVolume(QStringLiteral("/")));
        QVERIFY(!platform::CanReadVolume(QStringLiteral("/no/such/mount")));
    }
};

QTEST_GUILESS_MAIN(TestMountWatcher)
#include "tst_mountwatcher.moc"
