#include "platform/IniFile.h"

#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using platform::IniFile;

class TestIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QByteArray &content, const QString &name = QStringLiteral("t.ini"))
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write fixture");
        f.write(content);
        return path;
    }

    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void readString_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain") << QByteArray("[Option]\nKey=Value\n") << "Option" << "Key" << "Value";
        QTest::newRow("names ignore case") << QByteArray("[oPTION]\nkEY=v\n") << "Option" << "Key" << "v";
        QTest::newRow("blanks trimmed") << QByteArray("  [ Option ]  \n  Key  =  a b  \n") << "Option" << "Key" << "a b";
        QTest::newRow("quotes kept") << QByteArray("[S]\nK=\"x, y\"\n") << "S" << "K" << "\"x, y\"";
        QTest::newRow("first duplicate wins") << QByteArray("[S]\nK=1\nK=2\n") << "S" << "K" << "1";
        QTest::newRow("comment line") << QByteArray("[S]\n;K=1\nK=2\n") << "S" << "K" << "2";
        QTest::newRow("other section") << QByteArray("[A]\nK=1\n[S]\nK=2\n") << "S" << "K" << "2";
        QTest::newRow("absent gives default") << QByteArray("[S]\nX=1\n") << "S" << "K" << "nodef";
        QTest::newRow("no section") << QByteArray("K=1\n") << "S" << "K" << "nodef";
        QTest::newRow("crlf") << QByteArray("[S]\r\nK=v\r\n") << "S" << "K" << "v";
        QTest::newRow("empty value") << QByteArray("[S]\nK=\n") << "S" << "K" << "";
        QTest::newRow("equals in value") << QByteArray("[S]\nK=a=b\n") << "S" << "K" << "a=b";
        QTest::newRow("garbage lines") << QByteArray("\x01\x02garbage\n[S\nK=v\n") << "S" << "K" << "v";
    }

    void readString()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(IniFile(write(file)).readString(section, key, QStringLiteral("nodef")), expected);
    }

    void missingFileReadsAsEmpty()
    {
        IniFile ini(m_dir.filePath(QStringLiteral("absent.ini")));
        QCOMPARE(ini.readString("S", "K", "d"), QStringLiteral("d"));
        QCOMPARE(ini.readInteger("S", "K", 7), 7);
    }

    void longValueIsCut()
    {
        const QByteArray value(5000, 'x');
        IniFile ini(write("[S]\nK=" + value + "\n"));
        QCOMPARE(ini.readString("S", "K", "").size(), 2047);
        QCOMPARE(ini.readString("S", "absent", QString(3000, 'y')).size(), 2047);
    }

    void readInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << "42" << 42;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("plus") << "+5" << 5;
        QTest::newRow("0x") << "0x10" << 16;
        QTest::newRow("0X") << "0X1f" << 31;
        QTest::newRow("dollar") << "$FF" << 255;
        QTest::newRow("bare 0x") << "0x" << 99;
        QTest::newRow("letters") << "abc" << 99;
        QTest::newRow("trailing junk") << "12abc" << 99;
        QTest::newRow("inner blank") << "1 2" << 99;
        QTest::newRow("empty") << "" << 99;
        QTest::newRow("fraction") << "1.5" << 99;
        QTest::newRow("max") << "2147483647" << 2147483647;
        QTest::newRow("overflow") << "2147483648" << 99;
        QTest::newRow("min") << "-2147483648" << int(-2147483647 - 1);
        QTest::newRow("32-bit hex pattern") << "$FFFFFFFF" << -1;
        QTest::newRow("hex too wide") << "0x100000000" << 99;
    }

    void readInteger()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        IniFile ini(write("[S]\nK=" + text.toUtf8() + "\n"));
        QCOMPARE(ini.readInteger("S", "K", 99), expected);
    }

    void writeKeepsEverythingElse()
    {
        const QString path = write("; comment\n[Other]\nA=1\n\n[Option]\nUnknown=keep\nOutputFolder=old\n\n[Tail]\nB=2\n");
        IniFile ini(path);
        ini.writeString("option", "outputfolder", "/new/");
        ini.writeInteger("Option", "OutputPSPSerialNumber", 12);
        ini.writeString("Fresh", "K", "v");
        QCOMPARE(contents(path),
                 QByteArray("; comment\n[Other]\nA=1\n\n[Option]\nUnknown=keep\noutputfolder=/new/\n"
                            "OutputPSPSerialNumber=12\n\n[Tail]\nB=2\n\n[Fresh]\nK=v\n"));
        QCOMPARE(ini.readString("Option", "OutputFolder", ""), QStringLiteral("/new/"));
        QCOMPARE(ini.readInteger("Option", "OutputPSPSerialNumber", 0), 12);
    }

    // A save replaces its own line; every other line goes back with its bytes and line end.
    void writeKeepsOtherLinesByteForByte_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("Latin-1 in another key")
            << QByteArray("[Option]\nOutputFolder=old\nPSPUploadFolder=/home/j\xe9r\xf4me/\n")
            << QByteArray("[Option]\nOutputFolder=/new/\nPSPUploadFolder=/home/j\xe9r\xf4me/\n");
        QTest::newRow("Latin-1 before the key")
            << QByteArray("[Option]\nPSPAVCFolder=C\xe9\nOutputFolder=old\n")
            << QByteArray("[Option]\nPSPAVCFolder=C\xe9\nOutputFolder=/new/\n");
        QTest::newRow("invalid UTF-8 in another section")
            << QByteArray("[Other]\nK=\xff\xfe\xc3(\n; \xe9t\xe9\n[Option]\nOutputFolder=old\n")
            << QByteArray("[Other]\nK=\xff\xfe\xc3(\n; \xe9t\xe9\n[Option]\nOutputFolder=/new/\n");
        QTest::newRow("no final break, key replaced")
            << QByteArray("[Option]\nA=\xe9\nOutputFolder=old") << QByteArray("[Option]\nA=\xe9\nOutputFolder=/new/");
        QTest::newRow("no final break, key added")
            << QByteArray("[Option]\nA=\xe9") << QByteArray("[Option]\nA=\xe9\nOutputFolder=/new/");
        QTest::newRow("no final break, section added")
            << QByteArray("[Other]\nA=\xe9") << QByteArray("[Other]\nA=\xe9\n\n[Option]\nOutputFolder=/new/");
        QTest::newRow("mixed line ends")
            << QByteArray("[Other]\r\nA=\xe9\n[Option]\nOutputFolder=old\r\nB=1\n")
            << QByteArray("[Other]\r\nA=\xe9\n[Option]\nOutputFolder=/new/\r\nB=1\n");
        QTest::newRow("byte order mark")
            << QByteArray("\xef\xbb\xbf[Option]\nOutputFolder=old\n") << QByteArray("\xef\xbb\xbf[Option]\nOutputFolder=/new/\n");
    }
    void writeKeepsOtherLinesByteForByte()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QString path = write(before);
        IniFile(path).writeString("Option", "OutputFolder", "/new/");
        QCOMPARE(contents(path), after);
    }

    void valuesAreEightBitTexts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("value");
        QTest::newRow("UTF-8") << QByteArray("/home/j\xc3\xa9r\xc3\xb4me/") << QStringLiteral("/home/j\u00e9r\u00f4me/");
        QTest::newRow("Latin-1") << QByteArray("/home/j\xe9r\xf4me/") << QStringLiteral("/home/j\u00e9r\u00f4me/");
        QTest::newRow("invalid UTF-8") << QByteArray("\xff\xfe\xc3(") << QString::fromLatin1("\xff\xfe\xc3(");
        QTest::newRow("2047 bytes of Latin-1") << QByteArray(3000, '\xe9') << QString(2047, QChar(0xe9));
        // 2047 bytes would end inside the 1024th character, which is left out whole.
        QTest::newRow("2047 bytes of UTF-8") << QString(1100, QChar(0xe9)).toUtf8() << QString(1023, QChar(0xe9));
    }
    void valuesAreEightBitTexts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, value);
        const IniFile ini(write("[Other]\nX=\xe9\n[S]\nK=" + bytes + "\n"));
        QCOMPARE(ini.readString("S", "K", ""), value);
    }

    void writtenValueIsUtf8AndReadsBack()
    {
        const QString path = write("[S]\nA=\xe9\n");
        const IniFile ini(path);
        ini.writeString("S", "K", QStringLiteral("/home/j\u00e9r\u00f4me/"));
        QCOMPARE(contents(path), QByteArray("[S]\nA=\xe9\nK=/home/j\xc3\xa9r\xc3\xb4me/\n"));
        QCOMPARE(ini.readString("S", "K", ""), QStringLiteral("/home/j\u00e9r\u00f4me/"));
    }

    void writeCreatesFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("new.ini"));
        IniFile(path).writeInteger("Option", "DefaultAudio", -1);
        QCOMPARE(contents(path), QByteArray("[Option]\nDefaultAudio=-1\n"));
    }

    void writeKeepsCrlf()
    {
        const QString path = write("[S]\r\nK=1\r\n");
        IniFile(path).writeString("S", "K", "2");
        QCOMPARE(contents(path), QByteArray("[S]\r\nK=2\r\n"));
    }

    void lineBreakInValueStaysOneLine()
    {
        const QString path = write("[S]\nK=1\nN=2\n");
        IniFile ini(path);
        ini.writeString("S", "K", "a\nN=evil");
        QCOMPARE(ini.readInteger("S", "N", 0), 2);
    }

    void failedWriteRaisesWithFullPath()
    {
        if (geteuid() == 0)
            QSKIP("root can write anywhere");
        QTemporaryDir locked;
        const QString path = locked.filePath(QStringLiteral("Option.ini"));
        QFile::setPermissions(locked.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        try {
            IniFile(path).writeString("Option", "K", "v");
            QFAIL("no error raised");
        } catch (const platform::IniWriteError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Unable to write to ") + path);
        }
        QFile::setPermissions(locked.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void writeIntoFolderPathRaises()
    {
        // A folder where the file should be cannot be replaced: the error names it.
        const QString path = m_dir.filePath(QStringLiteral("folder.ini"));
        QDir().mkpath(path);
        QVERIFY_THROWS_EXCEPTION(platform::IniWriteError, IniFile(path).writeString("S", "K", "v"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
