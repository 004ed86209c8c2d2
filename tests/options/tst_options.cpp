#include "options/OptionStore.h"
#include "options/Options.h"
#include "options/TOptionForm.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestOptions : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;

    // A fresh folder per case.
    QString folder(const QString &name)
    {
        const QString path = m_dir.filePath(QStringLiteral("c%1/%2").arg(m_case).arg(name));
        QDir().mkpath(path);
        return path;
    }
    QString iniPath() { return m_dir.filePath(QStringLiteral("c%1/Option.ini").arg(m_case)); }
    void writeIni(const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(iniPath()).path());
        QFile f(iniPath());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write fixture");
        f.write(content);
    }
    QByteArray readIni()
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init() { ++m_case; }

    void listRule_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("comma and blank") << "AVI, MKV" << QStringList{"AVI", "MKV"};
        QTest::newRow("trailing comma") << "AVI," << QStringList{"AVI", ""};
        QTest::newRow("comma then blank at end") << "AVI, " << QStringList{"AVI"};
        QTest::newRow("blank separates") << "MPEG 4" << QStringList{"MPEG", "4"};
        QTest::newRow("quoted") << "\"MPEG 4\"" << QStringList{"MPEG 4"};
        QTest::newRow("quoted with comma") << "\"a,b\",c" << QStringList{"a,b", "c"};
        QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\"" << QStringList{"say \"hi\""};
        QTest::newRow("unclosed quote") << "\"open end" << QStringList{"open end"};
        QTest::newRow("lone comma") << "," << QStringList{"", ""};
        QTest::newRow("empty between") << "a,,b" << QStringList{"a", "", "b"};
        QTest::newRow("leading blanks and tabs") << " \t RM,RMVB" << QStringList{"RM", "RMVB"};
        QTest::newRow("control characters separate") << QString("A\x01" "B") << QStringList{"A", "B"};
        QTest::newRow("ends at NUL") << QString::fromLatin1("AVI,M\0KV", 8) << QStringList{"AVI", "M"};
        QTest::newRow("quote after item") << "a\"b\"" << QStringList{"a\"b\""};
    }
    void listRule()
    {
        QFETCH(QString, value);
        QFETCH(QStringList, items);
        QCOMPARE(ParseOptionList(value), items);
    }

    void freshInstallTakesLastRoot()
    {
        const QString home = folder("home");
        const QString videos = folder("home/Videos");
        const OptionValues v = LoadOptions(iniPath(), {home, videos}, folder("bundle"));
        QCOMPARE(v.outputFolder, videos + "/OutputFolder/");
        QVERIFY(QFileInfo(v.outputFolder).isDir());
        QCOMPARE(v.serialBase, 1);
        QCOMPARE(v.defaultAudio, 1);
        QCOMPARE(v.defaultSubtitle, 1);
        QCOMPARE(LanguageNames().at(v.defaultAudio), QStringLiteral("English"));
        QCOMPARE(v.minDuration, -1);
        QCOMPARE(v.openDialogFilter, QString());
    }

    void missingRootIsSkipped()
    {
        const QString home = folder("home");
        const OptionValues v = LoadOptions(iniPath(), {home, home + "/NoVideos"}, folder("bundle"));
        QCOMPARE(v.outputFolder, home + "/OutputFolder/");
    }

    void existingFolderGetsSlash()
    {
        const QString videos = folder("E/Videos");
        writeIni("[Option]\nOutputFolder=" + videos.toUtf8() + "\n");
        OptionValues v = LoadOptions(iniPath(), {folder("home")}, folder("bundle"));
        QCOMPARE(v.outputFolder, videos + "/");
        SaveOptions(iniPath(), v);
        QCOMPARE(platform::IniFile(iniPath()).readString("Option", "OutputFolder", ""), videos + "/");
    }

    void deletedFolderFallsBack()
    {
        const QString home = folder("home");
        writeIni("[Option]\nOutputFolder=" + m_dir.filePath("gone").toUtf8() + "\n");
        QCOMPARE(LoadOptions(iniPath(), {home}, folder("bundle")).outputFolder, home + "/OutputFolder/");
    }

    void absentKeyWithoutRootStaysRelative()
    {
        // No root at all: the value read stays, a folder beside the current directory.
        const OptionValues v = LoadOptions(iniPath(), {}, folder("bundle"));
        QCOMPARE(v.outputFolder, QStringLiteral("nodef/"));
        QVERIFY(QFileInfo(QStringLiteral("nodef")).isDir());
    }

    void noRootAndEmptyValueUsesProgramFolder()
    {
        writeIni("[Option]\nOutputFolder=\n");
        const QString bundle = folder("bundle");
        const OptionValues v = LoadOptions(iniPath(), {}, bundle);
        QCOMPARE(v.outputFolder, bundle + "/OutputFolder/");
        QVERIFY(QFileInfo(v.outputFolder).isDir());
    }

    void integers_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("serial");
        QTest::addColumn<int>("audio");
        QTest::newRow("hex serial") << QByteArray("OutputPSPSerialNumber=0x10") << 16 << 1;
        QTest::newRow("text serial") << QByteArray("OutputPSPSerialNumber=abc") << 1 << 1;
        QTest::newRow("dollar serial") << QByteArray("OutputPSPSerialNumber=$20") << 32 << 1;
        QTest::newRow("language out of table") << QByteArray("DefaultAudio=20") << 1 << -1;
        QTest::newRow("language negative") << QByteArray("DefaultAudio=-3") << 1 << -1;
        QTest::newRow("language last") << QByteArray("DefaultAudio=11") << 1 << 11;
    }
    void integers()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, serial);
        QFETCH(int, audio);
        writeIni("[Option]\n" + line + "\n");
        const OptionValues v = LoadOptions(iniPath(), {folder("home")}, folder("bundle"));
        QCOMPARE(v.serialBase, serial);
        QCOMPARE(v.defaultAudio, audio);
    }

    void widthLimitKey_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("maxWidth");
        QTest::newRow("absent") << QByteArray("[Option]\nExtName=RM\n") << 800;
        QTest::newRow("no file") << QByteArray() << 800;
        QTest::newRow("zero") << QByteArray("[Option]\nMaxWidth=0\n") << 0;
        QTest::newRow("negative") << QByteArray("[Option]\nMaxWidth=-1\n") << -1;
        QTest::newRow("1920") << QByteArray("[Option]\nMaxWidth=1920\n") << 1920;
        QTest::newRow("1919") << QByteArray("[option]\nmaxwidth = 1919\n") << 1919;
        QTest::newRow("hexadecimal") << QByteArray("[Option]\nMaxWidth=0x780\n") << 1920;
        QTest::newRow("not a number") << QByteArray("[Option]\nMaxWidth=wide\n") << 800;
        QTest::newRow("other section") << QByteArray("[Other]\nMaxWidth=0\n") << 800;
    }
    void widthLimitKey()
    {
        QFETCH(QByteArray, content);
        if (!content.isEmpty())
            writeIni(content);
        const RefusedLists lists = ReadRefusedLists(iniPath());
        QTEST(lists.maxWidth, "maxWidth");
    }

    void garbageFileGivesDefaults()
    {
        QByteArray garbage;
        for (int i = 0; i < 20000; ++i)
            garbage.append(static_cast<char>((i * 131 + 7) % 256));
        writeIni(garbage + "\n[Option\nOutputPSPSerialNumber\n=5\n" + QByteArray(100000, 'x'));
        const QString home = folder("home");
        const OptionValues v = LoadOptions(iniPath(), {home}, folder("bundle"));
        QCOMPARE(v.serialBase, 1);
        QCOMPARE(v.outputFolder, home + "/OutputFolder/");
    }

    void saveWritesFourKeysAndKeepsTheRest()
    {
        writeIni("; my notes\n[Option]\nMinDuration=30\nExtName=RM,RMVB\nDefaultAudio=3\n[Other]\nX=1\n");
        OptionValues v;
        v.defaultAudio = -1;
        v.defaultSubtitle = 2;
        v.outputFolder = QStringLiteral("/media/out");
        v.serialBase = 42;
        SaveOptions(iniPath(), v);
        QCOMPARE(v.outputFolder, QStringLiteral("/media/out/"));
        QCOMPARE(readIni(), QByteArray("; my notes\n[Option]\nMinDuration=30\nExtName=RM,RMVB\nDefaultAudio=-1\n"
                                       "DefaultSubtitle=2\nOutputFolder=/media/out/\nOutputPSPSerialNumber=42\n"
                                       "[Other]\nX=1\n"));
        const RefusedLists lists = ReadRefusedLists(iniPath());
        QCOMPARE(lists.extensions, QStringList({"RM", "RMVB"}));
        QCOMPARE(lists.formats, QStringList());
    }

    void failedSaveRaisesWithPath()
    {
        QDir().mkpath(iniPath()); // a folder where the file should be
        OptionValues v;
        v.outputFolder = QStringLiteral("/x");
        try {
            SaveOptions(iniPath(), v);
            QFAIL("no error");
        } catch (const platform::IniWriteError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), "Unable to write to " + iniPath());
        }
    }

    void optionStoreRoundTrip()
    {
        const QString bundle = folder("bundle");
        const QString out = folder("out");
        platform::SetProgramFolder(bundle);
        QFile f(bundle + "/Option.ini");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Option]\nDefaultAudio=20\nDefaultSubtitle=4\nOutputFolder=" + out.toUtf8()
                + "\nOutputPSPSerialNumber=7\nMinDuration=15\nOpenDialogFilter=Video|*.avi\nCustom=kept\n");
        f.close();

        TOptionForm form;
        QCOMPARE(g_s_OutputFolder, out + "/");
        QCOMPARE(i_OutputPSPSerialNumber, 7);
        QCOMPARE(i_MinDurationTime, 15);
        QCOMPARE(OpenDialogFilter, QStringLiteral("Video|*.avi"));
        QCOMPARE(form.DefaultAudio(), -1);
        QCOMPARE(form.DefaultSubtitle(), 4);

        i_OutputPSPSerialNumber += 3;
        form.SaveOptions();
        const platform::IniFile ini(bundle + "/Option.ini");
        QCOMPARE(ini.readInteger("Option", "DefaultAudio", 0), -1);
        QCOMPARE(ini.readInteger("Option", "DefaultSubtitle", 0), 4);
        QCOMPARE(ini.readString("Option", "OutputFolder", ""), out + "/");
        QCOMPARE(ini.readInteger("Option", "OutputPSPSerialNumber", 0), 10);
        QCOMPARE(ini.readString("Option", "Custom", ""), QStringLiteral("kept"));
        QCOMPARE(ini.readInteger("Option", "MinDuration", 0), 15);
        platform::SetProgramFolder(QString());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // "nodef/" is relative to the current directory: keep it inside the test's own folder.
    QTemporaryDir cwd;
    QDir::setCurrent(cwd.path());
    TestOptions test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_options.moc"
