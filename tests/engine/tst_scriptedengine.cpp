#include "ScriptedEngine.h"
#include "engine/EngineBinding.h"
#include "platform/ProgramFolder.h"

#include <QtTest>

ORVO_DEFINE_ENGINE_SCRIPT()

// The scripted stand-in itself: the other tests rely on its counts and records.
class TestScriptedEngine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::SetProgramFolder(QStringLiteral(ORVO_SCRIPTED_ENGINE_DIR)); }

    void countsLoadsAndHandsCallsToTheScript()
    {
        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        script.probe = [](const char *, KrodecProbeInfo *info) {
            info->seconds = 12;
            return 0;
        };
        const int loadsBefore = script.loads;
        for (int i = 0; i < 3; ++i) {
            engine::EngineLibrary library;
            engine::ProbeFunctions f;
            QVERIFY(library.Load(f));
            KrodecProbeInfo info{};
            char path[] = "/a b.avi";
            QCOMPARE(f.GetFileinfo_GetPic(path, 10, &info), 0);
            QCOMPARE(info.seconds, 12);
            QCOMPARE(f.Get_Frame(4, 4, "2.bmp", nullptr, nullptr), -1); // no hook
        }
        QCOMPARE(script.loads - loadsBefore, 3);
        QCOMPARE(script.unloads - loadsBefore, 3);
        const std::vector<std::string> calls = script.takeCalls();
        QCOMPARE(calls.size(), size_t(6));
        QCOMPARE(QString::fromStdString(calls[0]), QStringLiteral("X_GetFileinfo_GetPic|/a b.avi|10"));
        QCOMPARE(QString::fromStdString(calls[1]), QStringLiteral("X_Get_Frame|4|4|2.bmp"));
    }

    void conversionArgumentsInOrder()
    {
        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        std::vector<std::string> seen;
        script.convert = [&](const std::string &, KrodecWindow *, const std::vector<std::string> &texts) {
            seen = texts;
            return 0;
        };
        engine::EngineLibrary library;
        engine::ConversionFunctions f;
        QVERIFY(library.Load(f));
        QCOMPARE(f.ConvertIPodMusic(nullptr, 2, "src", "0", "5", "44100", "128", "t", "a", "Unknown", "0", "/d.mp3",
                                    "3", "0", 20070316),
                 0);
        QCOMPARE(seen.size(), size_t(14));
        QCOMPARE(QString::fromStdString(seen.front()), QStringLiteral("2"));
        QCOMPARE(QString::fromStdString(seen[10]), QStringLiteral("/d.mp3"));
        QCOMPARE(QString::fromStdString(seen.back()), QStringLiteral("20070316"));
    }
};

QTEST_GUILESS_MAIN(TestScriptedEngine)
#include "tst_scriptedengine.moc"
