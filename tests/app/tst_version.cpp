#include "ProductStrings.h"
#include "VersionRecord.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

using namespace version;

namespace {

std::string int32(std::int32_t v)
{
    std::string s;
    for (int shift = 0; shift < 32; shift += 8)
        s.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> shift) & 0xFF));
    return s;
}

std::string record(std::int32_t length, const std::string &copyA, const std::string &copyB)
{
    return int32(length) + int32(static_cast<std::int32_t>(copyA.size()))
        + int32(static_cast<std::int32_t>(copyB.size())) + copyA + copyB;
}

std::string good(const std::string &text)
{
    return VersionRecordBytes(text, KeyA, KeyB);
}

QByteArray bytes(const std::string &s)
{
    return QByteArray(s.data(), static_cast<int>(s.size()));
}

} // namespace

Q_DECLARE_METATYPE(std::string)

class TestVersion : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const std::string &content)
    {
        const QString path = m_dir.filePath(QStringLiteral("WinVersion.bin"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write fixture");
        f.write(bytes(content));
        return path;
    }

    static std::string sixGood()
    {
        return good("Display") + good("Version 1.0") + good("20261210") + good("link") + good("Internal")
            + good("Free");
    }

private slots:
    void init() { ResetProductStrings(); }

    void unscramble_data()
    {
        QTest::addColumn<std::string>("copy");
        QTest::addColumn<int>("key");
        QTest::addColumn<std::string>("plain");
        QTest::newRow("empty") << std::string() << 0x4B << std::string();
        QTest::newRow("key zero") << std::string("\x04\x01", 2) << 0 << std::string("A");
        QTest::newRow("wraps below key") << std::string("\x40\x4C", 2) << 0x4B << std::string("\x51", 1);
        QTest::newRow("odd length stops at pair") << std::string("KLM") << 0x4B << std::string("\x01", 1);
        QTest::newRow("high bytes") << std::string("\xFF\xFF", 2) << 0x4B << std::string("\x44", 1);
    }
    void unscramble()
    {
        QFETCH(std::string, copy);
        QFETCH(int, key);
        QFETCH(std::string, plain);
        QCOMPARE(UnscrambleText(copy, static_cast<unsigned char>(key)), plain);
    }

    void scrambleRoundTrips()
    {
        std::string all;
        for (int c = 0; c < 256; ++c)
            all.push_back(static_cast<char>(c));
        for (unsigned char key : {KeyA, KeyB, static_cast<unsigned char>(0), static_cast<unsigned char>(250)})
            QCOMPARE(UnscrambleText(ScrambleText(all, key), key), all);
    }

    void readRecord_data()
    {
        QTest::addColumn<std::string>("file");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<std::string>("text");

        const std::string a = ScrambleText("abc", KeyA);
        const std::string b = ScrambleText("abc", KeyB);
        QTest::newRow("valid") << good("abc") << true << std::string("abc");
        QTest::newRow("all zero lengths") << record(0, "", "") << true << std::string();
        QTest::newRow("length one more") << record(4, a, b) << false << std::string("abc");
        QTest::newRow("copies differ") << record(3, a, ScrambleText("abd", KeyB)) << false << std::string("abc");
        QTest::newRow("copy B with key A") << record(3, a, a) << false << std::string("abc");
        QTest::newRow("odd copy") << record(1, ScrambleText("a", KeyA) + "K", ScrambleText("a", KeyB) + "a") << false
                                  << std::string("a");
        QTest::newRow("negative length") << record(-1, a, b) << false << std::string("abc");
        QTest::newRow("negative copy length")
            << (int32(3) + int32(-6) + int32(6) + b) << false << std::string();
        QTest::newRow("ends in header") << std::string("\x03\x00\x00", 3) << false << std::string();
        QTest::newRow("ends in copy A") << record(3, a, b).substr(0, 14) << false << std::string();
        QTest::newRow("ends in copy B") << record(3, a, b).substr(0, 20) << false << std::string();
        QTest::newRow("empty file") << std::string() << false << std::string();
    }
    void readRecord()
    {
        QFETCH(std::string, file);
        QFETCH(bool, valid);
        QFETCH(std::string, text);
        std::istringstream in(file);
        std::string read = "stale";
        QCOMPARE(ReadVersionRecord(in, KeyA, KeyB, read), valid);
        QCOMPARE(read, text);
    }

    void oversizedCopyConsumesOnly512()
    {
        // Copy A declared 600 long: 512 bytes are taken, copy B follows them.
        const std::string text(256, 'x');
        const std::string a = ScrambleText(text, KeyA); // 512 characters
        const std::string b = ScrambleText(text, KeyB);
        const std::string file = int32(256) + int32(600) + int32(512) + a + b + good("next");
        std::istringstream in(file);
        std::string read;
        QVERIFY(ReadVersionRecord(in, KeyA, KeyB, read));
        QCOMPARE(read, text);
        QVERIFY(ReadVersionRecord(in, KeyA, KeyB, read));
        QCOMPARE(read, std::string("next"));
    }

    void fileAssignsStrings()
    {
        QVERIFY(ReadVersionFile(writeFile(sixGood() + "trailing bytes are ignored")));
        QCOMPARE(DisplayProductName, QStringLiteral("Display"));
        QCOMPARE(VersionText, QStringLiteral("Version 1.0"));
        QCOMPARE(BuildText, QStringLiteral("Build on 20261210"));
        QCOMPARE(ProductName, QStringLiteral("Internal"));
        QCOMPARE(GetVersionTexts(), qMakePair(QStringLiteral("Version 1.0"), QStringLiteral("Build on 20261210")));
    }

    void emptyRecordsGiveEmptyTexts()
    {
        std::string file;
        for (int i = 0; i < 6; ++i)
            file += record(0, "", "");
        QVERIFY(ReadVersionFile(writeFile(file)));
        QCOMPARE(VersionText, QString());
        QCOMPARE(BuildText, QStringLiteral("Build on "));
    }

    void oneBadRecordStillAssignsAll()
    {
        const std::string file = good("Display") + record(9, ScrambleText("Version", KeyA), ScrambleText("Version", KeyB))
            + good("20261210") + good("link") + good("Internal") + good("Free");
        QVERIFY(!ReadVersionFile(writeFile(file)));
        QCOMPARE(DisplayProductName, QStringLiteral("Display"));
        QCOMPARE(ProductName, QStringLiteral("Internal"));
    }

    void invalidFiles_data()
    {
        QTest::addColumn<std::string>("file");
        QTest::newRow("empty") << std::string();
        QTest::newRow("five records") << sixGood().substr(0, sixGood().size() - good("Free").size());
        QTest::newRow("cut in the last record") << sixGood().substr(0, sixGood().size() - 3);
        std::string garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
        QTest::newRow("garbage") << garbage;
        QTest::newRow("huge lengths") << (int32(0x7FFFFFFF) + int32(0x7FFFFFFF) + int32(0x7FFFFFFF));
    }
    void invalidFiles()
    {
        QFETCH(std::string, file);
        QVERIFY(!ReadVersionFile(writeFile(file)));
    }

    void missingFileChangesNothing()
    {
        QVERIFY(!ReadVersionFile(m_dir.filePath(QStringLiteral("absent.bin"))));
        QCOMPARE(ProductName, QStringLiteral("OrvoVideoConverter"));
        QCOMPARE(DisplayProductName, QStringLiteral("Orvo Video Converter"));
    }

    void shippedFileIsValid()
    {
        QVERIFY(ReadVersionFile(QStringLiteral(ORVO_BUNDLE_DIR "/WinVersion.bin")));
        QCOMPARE(DisplayProductName, QStringLiteral("Orvo Video Converter"));
        QCOMPARE(ProductName, QStringLiteral("OrvoVideoConverter"));
        QCOMPARE(VersionText, QStringLiteral("Orvo Video Converter 1.0"));
        QVERIFY(QRegularExpression(QStringLiteral("^Build on \\d{8}$")).match(BuildText).hasMatch());
    }
};

QTEST_GUILESS_MAIN(TestVersion)
#include "tst_version.moc"
