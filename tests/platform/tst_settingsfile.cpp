#include "platform/IniFile.h"
#include "platform/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using platform::SettingsAccess;

// Where Option.ini is read and written: the program folder while it can be written, else the
// user's configuration folder. The folder's writability is given, so these cases also hold
// when the tests run as root.
class TestSettingsFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    platform::SettingsPlaces m_places;

    QString programFile() const { return m_places.programFolder + "Option.ini"; }
    QString userFile() const { return m_places.userFolder + "Option.ini"; }

    static void write(const QString &path, const QByteArray &text)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        const QString base = m_root.filePath(QTest::currentDataTag() ? QTest::currentDataTag() : QTest::currentTestFunction());
        QDir(base).removeRecursively();
        QDir().mkpath(base + "/program");
        m_places.programFolder = base + "/program/";
        // The user's folder does not exist yet, nor its parent: the first save makes both.
        m_places.userFolder = base + "/home/.config/orvo-video-converter/";
        m_places.programFolderWritable = true;
    }

    // Which file each access uses, for every state of the two files.
    void choice_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("programFileExists");
        QTest::addColumn<bool>("userFileExists");
        QTest::addColumn<bool>("readsUser");
        QTest::addColumn<bool>("writesUser");
        QTest::newRow("writable folder") << true << false << false << false << false;
        QTest::newRow("writable folder, with a file") << true << true << false << false << false;
        // A user's file left from a time the folder was read-only is not used while it is writable.
        QTest::newRow("writable folder, user's file exists") << true << true << true << false << false;
        QTest::newRow("read-only folder, fresh") << false << false << false << false << true;
        QTest::newRow("read-only folder, installed file") << false << true << false << false << true;
        QTest::newRow("read-only folder, user's file exists") << false << false << true << true << true;
        QTest::newRow("read-only folder, both exist") << false << true << true << true << true;
    }
    void choice()
    {
        QFETCH(bool, writable);
        QFETCH(bool, programFileExists);
        QFETCH(bool, userFileExists);
        QFETCH(bool, readsUser);
        QFETCH(bool, writesUser);
        m_places.programFolderWritable = writable;
        if (programFileExists)
            write(programFile(), "[Option]\nOutputPSPSerialNumber=7\n");
        if (userFileExists) {
            QDir().mkpath(m_places.userFolder);
            write(userFile(), "[Option]\nOutputPSPSerialNumber=9\n");
        }
        QCOMPARE(platform::SettingsFilePath(m_places, "Option.ini", SettingsAccess::Read),
                 readsUser ? userFile() : programFile());
        QCOMPARE(platform::SettingsFilePath(m_places, "Option.ini", SettingsAccess::Write),
                 writesUser ? userFile() : programFile());
        // Only a write that is redirected creates anything: the user's folder, and the user's
        // file as a copy of an installed one.
        QCOMPARE(QFileInfo(m_places.userFolder).isDir(), userFileExists || writesUser);
        QCOMPARE(QFileInfo::exists(userFile()), userFileExists || (writesUser && programFileExists));
        QCOMPARE(QFileInfo::exists(programFile()), programFileExists);
        if (userFileExists)
            QCOMPARE(contents(userFile()), QByteArray("[Option]\nOutputPSPSerialNumber=9\n"));
    }

    // The installed file is read until the first save; the save starts the user's file from
    // it, so keys the save does not write (the refused lists, keys of other versions) stay,
    // and the installed file is left as it was.
    void firstSaveKeepsInstalledKeys()
    {
        m_places.programFolderWritable = false;
        const QByteArray installed = "; installed by the administrator\n[Option]\nExtName=AVI, MKV\n"
                                     "OutputPSPSerialNumber=7\nCustom=kept\n";
        write(programFile(), installed);

        const platform::IniFile before(platform::SettingsFilePath(m_places, "Option.ini", SettingsAccess::Read));
        QCOMPARE(before.readInteger("Option", "OutputPSPSerialNumber", 1), 7);

        const platform::IniFile save(platform::SettingsFilePath(m_places, "Option.ini", SettingsAccess::Write));
        save.writeInteger("Option", "OutputPSPSerialNumber", 8);

        const platform::IniFile after(platform::SettingsFilePath(m_places, "Option.ini", SettingsAccess::Read));
        QCOMPARE(after.path(), userFile());
        QCOMPARE(after.readInteger("Option", "OutputPSPSerialNumber", 1), 8);
        QCOMPARE(after.readString("Option", "ExtName", ""), QStringLiteral("AVI, MKV"));
        QCOMPARE(after.readString("Option", "Custom", ""), QStringLiteral("kept"));
        QCOMPARE(contents(programFile()), installed);
        // The user's copy is the user's own to replace, whatever the installed file's mode.
        QVERIFY(QFileInfo(userFile()).permissions() & QFileDevice::WriteOwner);
    }

    // An installed file the user may not read reads as an empty one; the save still works.
    void unreadableInstalledFileStillSaves()
    {
        m_places.programFolderWritable = false;
        write(programFile(), "[Option]\nOutputPSPSerialNumber=7\n");
        QFile::setPermissions(programFile(), QFileDevice::Permissions());
        const platform::IniFile save(platform::SettingsFilePath(m_places, "Option.ini", SettingsAccess::Write));
        save.writeInteger("Option", "OutputPSPSerialNumber", 3);
        QCOMPARE(platform::IniFile(userFile()).readInteger("Option", "OutputPSPSerialNumber", 1), 3);
        QFile::setPermissions(programFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // Where the user's folder cannot be made, the save fails naming the user's file, so the
    // "Unable to write to" message tells where the settings were meant to go.
    void userFolderThatCannotBeMade()
    {
        m_places.programFolderWritable = false;
        const QString blocker = m_places.programFolder + "plain-file";
        write(blocker, "not a folder");
        m_places.userFolder = blocker + "/orvo-video-converter/";
        const QString path = platform::SettingsFilePath(m_places, "Option.ini", SettingsAccess::Write);
        QCOMPARE(path, userFile());
        try {
            platform::IniFile(path).writeInteger("Option", "OutputPSPSerialNumber", 2);
            QFAIL("no error");
        } catch (const platform::IniWriteError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), "Unable to write to " + userFile());
        }
    }

    void userFolder_data()
    {
        QTest::addColumn<QString>("configHome");
        QTest::addColumn<QString>("folder");
        QTest::newRow("unset") << "" << "/home/ann/.config/orvo-video-converter/";
        QTest::newRow("set") << "/srv/conf" << "/srv/conf/orvo-video-converter/";
        QTest::newRow("set with slash") << "/srv/conf/" << "/srv/conf/orvo-video-converter/";
        // Relative values are to be ignored, not taken from whatever folder is current.
        QTest::newRow("relative") << "conf" << "/home/ann/.config/orvo-video-converter/";
    }
    void userFolder()
    {
        QFETCH(QString, configHome);
        QFETCH(QString, folder);
        QCOMPARE(platform::UserSettingsFolder(configHome, "/home/ann"), folder);
    }

    void folderWritable()
    {
        QVERIFY(platform::FolderWritable(m_places.programFolder));
        QVERIFY(!platform::FolderWritable(m_places.programFolder + "missing/"));
        QVERIFY(!platform::FolderWritable(QString()));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
