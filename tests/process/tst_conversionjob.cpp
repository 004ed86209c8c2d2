#include "JobFixture.h"
#include "ScriptedEngine.h"
#include "common/DeviceType.h"
#include "options/Options.h"
#include "platform/ProgramFolder.h"
#include "skin/CheckBox.h"
#include "skin/ImageView.h"

#include <QDir>
#include <QTemporaryDir>

#include <atomic>
#include <memory>

ORVO_DEFINE_ENGINE_SCRIPT()

namespace {

const QString FinishText = QStringLiteral("Process finish!\nYou can transfer files to your Apple device.");
const QString StopQuestion = QStringLiteral("Do you want to stop process?");

// What the scripted engine does: calls counted from 1; `blockOn` waits inside the engine
// until the test releases it or the engine is stopped.
struct Engine {
    std::atomic<int> calls{0};
    std::atomic<int> inCall{0};
    std::atomic<bool> stopped{false};
    std::atomic<bool> released{false};
    std::atomic<int> info[3] = {{0}, {0}, {0}};
    int blockOn = 0;
    bool postStarted = false;
    QList<int> results; // per call; 0 once they run out
};

std::vector<std::string> ConvertCalls()
{
    std::vector<std::string> out;
    for (const std::string &call : orvo_scripted_engine_script()->takeCalls()) {
        if (call.rfind("X_SetPar_", 0) == 0)
            out.push_back(call);
    }
    return out;
}

QStringList Fields(const std::string &call)
{
    return QString::fromStdString(call).split(QLatin1Char('|'));
}

} // namespace

// The job on its worker thread against the scripted engine: loads, results, stop requests,
// the poll and the outcome of each result.
class TestConversionJob : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_output;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<TProcessForm> m_form;
    FakeDialogs m_dialogs;
    FakeShell m_shell;

    QString outputFolder() const { return m_output->path() + QLatin1Char('/'); }

private slots:
    void init()
    {
        platform::SetProgramFolder(QStringLiteral(ORVO_SCRIPTED_ENGINE_DIR "/"));
        m_output = std::make_unique<QTemporaryDir>();
        g_s_OutputFolder = outputFolder();
        i_MinDurationTime = -1;
        m_engine = std::make_unique<Engine>();
        m_dialogs.messages.clear();
        m_dialogs.answers.clear();
        m_shell.opened.clear();
        m_shell.powerOffs = 0;

        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        script.takeCalls();
        Engine *engine = m_engine.get();
        script.convert = [engine](const std::string &, KrodecWindow *window, const std::vector<std::string> &) {
            const int call = ++engine->calls;
            engine->inCall = call;
            if (engine->postStarted && window)
                window->post(window, WM_ENGINE_STARTED, 0, 0);
            if (call == engine->blockOn)
                WaitOnWorker([engine] { return engine->released || engine->stopped; });
            engine->inCall = 0;
            return call <= engine->results.size() ? engine->results.at(call - 1) : 0;
        };
        script.stopConvert = [engine] {
            engine->stopped = true;
            return 0;
        };
        script.getInfo = [engine](int32_t info[3]) {
            for (int i = 0; i < 3; ++i)
                info[i] = engine->info[i];
            return 0;
        };
        m_form = std::make_unique<TProcessForm>();
    }

    void cleanup()
    {
        m_form.reset();
        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        script.convert = nullptr;
        script.stopConvert = nullptr;
        script.getInfo = nullptr;
        platform::SetProgramFolder(QString());
    }

    void threeClipsLoadTheEngineThreeTimes()
    {
        ListSource list;
        for (const char *name : {"a.avi", "b.avi", "c.avi"})
            list.add(QString::fromLatin1(name));
        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        const int loads = script.loads;
        const int unloads = script.unloads;

        QVERIFY(RunJob(*m_form, list, DeviceIPhone));

        QCOMPARE(script.loads - loads, 3);
        QCOMPARE(script.unloads - unloads, 3);
        const std::vector<std::string> calls = ConvertCalls();
        QCOMPARE(calls.size(), size_t(3));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(Fields(calls[i]).at(2), list.entries.at(i).values.filePath);
        QCOMPARE(m_dialogs.texts(), QStringList{FinishText});
        QCOMPARE(m_shell.opened, QStringList{outputFolder() + QStringLiteral("IPHONE/")});
        QVERIFY(QDir(outputFolder() + QStringLiteral("IPHONE")).exists());
        QCOMPARE(m_form->Label_Percent->text(), QStringLiteral("100"));
        QCOMPARE(m_form->Panel_Progress->width(), 271);
        QVERIFY(!m_form->isVisible());
    }

    void eachDeviceItsFunction_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("function");
        QTest::addColumn<int>("texts");
        QTest::addColumn<int>("destination");
        QTest::addColumn<QString>("folder");
        QTest::newRow("iPod video") << 0 << "X_SetPar_D2IPOD_VIDEO" << 22 << 18 << "IPOD/";
        QTest::newRow("iPod music") << 1 << "X_SetPar_D2IPOD_MP3" << 14 << 10 << "MUSIC/";
        QTest::newRow("iPhone") << 2 << "X_SetPar_D2IPHONE_VIDEO" << 22 << 18 << "IPHONE/";
        QTest::newRow("Apple TV") << 3 << "X_SetPar_D2APPLETV_VIDEO" << 22 << 18 << "TV/";
    }
    void eachDeviceItsFunction()
    {
        QFETCH(int, device);
        ListSource list;
        list.add(QStringLiteral("Holiday.avi"));
        QVERIFY(RunJob(*m_form, list, device));

        const std::vector<std::string> calls = ConvertCalls();
        QCOMPARE(calls.size(), size_t(1));
        const QStringList fields = Fields(calls[0]);
        QTEST(fields.at(0), "function");
        QFETCH(int, texts);
        QCOMPARE(fields.size() - 1, texts);
        QCOMPARE(fields.at(1), QStringLiteral("2"));
        QCOMPARE(fields.last(), QStringLiteral("20070316"));
        QFETCH(int, destination);
        QFETCH(QString, folder);
        QCOMPARE(fields.at(1 + destination), outputFolder() + folder + QStringLiteral("0001.mp4"));
    }

    void stopAnsweredYesDuringTheSecondOfFour()
    {
        ListSource list;
        for (const char *name : {"a.avi", "b.avi", "c.avi", "d.avi"})
            list.add(QString::fromLatin1(name));
        m_engine->blockOn = 2;
        m_engine->postStarted = true;
        m_dialogs.answers = {platform::MessageAnswer::Yes};
        bool clicked = false;
        QVERIFY(RunJob(*m_form, list, DeviceIPhone, [&] {
            // The button waits for the engine's start message.
            if (clicked || m_engine->inCall != 2 || !m_form->suiImageButton_StopConvert->isEnabled())
                return;
            clicked = true;
            m_form->suiImageButton_StopConvert->click();
        }));

        QVERIFY(clicked);
        QCOMPARE(m_engine->calls.load(), 2);
        QVERIFY(m_engine->stopped);
        QCOMPARE(m_dialogs.texts(), (QStringList{StopQuestion, QStringLiteral("Stop process by user!")}));
        QVERIFY(m_shell.opened.isEmpty());
    }

    void stopAnsweredNoChangesNothing()
    {
        ListSource list;
        for (const char *name : {"a.avi", "b.avi", "c.avi", "d.avi"})
            list.add(QString::fromLatin1(name));
        m_engine->blockOn = 2;
        m_engine->postStarted = true;
        m_dialogs.answers = {platform::MessageAnswer::No};
        bool clicked = false;
        bool pollGoesOn = false;
        QVERIFY(RunJob(*m_form, list, DeviceIPhone, [&] {
            if (clicked || m_engine->inCall != 2 || !m_form->suiImageButton_StopConvert->isEnabled())
                return;
            clicked = true;
            m_form->suiImageButton_StopConvert->click();
            pollGoesOn = m_form->Timer_Info->isActive();
            m_engine->released = true;
        }));

        QVERIFY(clicked);
        QVERIFY(pollGoesOn);
        QCOMPARE(m_engine->calls.load(), 4);
        QVERIFY(!m_engine->stopped);
        QCOMPARE(m_dialogs.texts(), (QStringList{StopQuestion, FinishText}));
    }

    void failureOnTheFirstClipEndsTheJob()
    {
        ListSource list;
        list.add(QStringLiteral("a.avi"));
        list.add(QStringLiteral("b.avi"));
        m_engine->results = {-1};
        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        const int loads = script.loads;
        QVERIFY(RunJob(*m_form, list, DeviceIPhone));

        QCOMPARE(m_engine->calls.load(), 1);
        QCOMPARE(script.loads - loads, 1);
        QCOMPARE(m_dialogs.texts(), QStringList{QStringLiteral("Conversion wrong, please check parameter and try again!")});
        QCOMPARE(m_dialogs.messages.first().kind, platform::MessageKind::Error);
        QVERIFY(m_shell.opened.isEmpty());
    }

    void missingLibraryClosesTheWindow()
    {
        QTemporaryDir empty;
        platform::SetProgramFolder(empty.path() + QLatin1Char('/'));
        ListSource list;
        list.add(QStringLiteral("a.avi"));
        bool closedByTest = false;
        QElapsedTimer sinceEnd;
        QVERIFY(RunJob(
            *m_form, list, DeviceIPhone,
            [&] {
                if (m_form->JobRunning())
                    return;
                if (!sinceEnd.isValid())
                    sinceEnd.start();
                if (sinceEnd.elapsed() > 2000) {
                    closedByTest = true;
                    m_form->close();
                }
            },
            false));

        QVERIFY(!closedByTest);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_engine->calls.load(), 0);
        QCOMPARE(m_dialogs.texts(),
                 QStringList{QStringLiteral("Can not initial conversion function!\nRe-install software may fix this problem!")});
        QCOMPARE(m_dialogs.messages.first().kind, platform::MessageKind::Error);
    }

    void refusedClipsAreSkipped_data()
    {
        QTest::addColumn<QList<bool>>("supported");
        QTest::addColumn<QStringList>("converted");
        QTest::newRow("only refused clips") << QList<bool>{false, false} << QStringList{};
        QTest::newRow("refused among others") << QList<bool>{false, true, false, true}
                                              << QStringList{"/videos/1.avi", "/videos/3.avi"};
    }
    void refusedClipsAreSkipped()
    {
        QFETCH(QList<bool>, supported);
        ListSource list;
        for (int i = 0; i < supported.size(); ++i)
            list.add(QStringLiteral("%1.avi").arg(i), supported.at(i));
        QVERIFY(RunJob(*m_form, list, DeviceIPhone));

        QStringList converted;
        for (const std::string &call : ConvertCalls())
            converted << Fields(call).at(2);
        QTEST(converted, "converted");
        QCOMPARE(m_dialogs.texts(), QStringList{FinishText});
    }

    void pollShowsTheEngineFigures()
    {
        ListSource list;
        list.add(QStringLiteral("Holiday.avi"), true, 100);
        list.entries[0].values.startTime = 10;
        list.entries[0].values.endTime = 50; // a scale of 40 seconds
        m_engine->blockOn = 1;
        m_engine->info[0] = 5;
        QStringList seeking;
        QStringList running;
        QStringList clip;
        bool stopDisabled = false;
        QVERIFY(RunJob(*m_form, list, DeviceIPhone, [&] {
            TProcessForm &f = *m_form;
            if (m_engine->inCall != 1)
                return;
            if (seeking.isEmpty() && f.Label_FPS->text() == QStringLiteral("Seeking...")) {
                seeking = {f.Label_CurrentFrame->text(), f.Label_CurrentTime->text(), f.Label_Percent->text()};
                clip = {f.Label_StartTime->text(), f.Label_StopTime->text(), f.Label_Length->text(),
                        f.Label_TitleName->text(), f.Label_DesName->text()};
                stopDisabled = !f.suiImageButton_StopConvert->isEnabled();
                m_engine->info[0] = 20;
                m_engine->info[1] = 25;
                m_engine->info[2] = 500;
            } else if (!seeking.isEmpty() && running.isEmpty() && f.Label_FPS->text() == QStringLiteral("25")) {
                running = {f.Label_CurrentFrame->text(), f.Label_CurrentTime->text(), f.Label_Percent->text(),
                           QString::number(f.Panel_Progress->width())};
                m_engine->released = true;
            }
        }));

        QCOMPARE(seeking, (QStringList{"Seeking...", "00:00:15", "12"}));
        QCOMPARE(running, (QStringList{"500", "00:00:30", "50", "135"}));
        QCOMPARE(clip, (QStringList{"00:00:10", "00:00:50", "00:00:40", "/videos/Holiday.avi", "0001.mp4"}));
        QVERIFY(stopDisabled);
    }

    void closeIsRefusedWhileTheJobRuns()
    {
        ListSource list;
        list.add(QStringLiteral("a.avi"));
        m_engine->blockOn = 1;
        bool refused = false;
        QVERIFY(RunJob(*m_form, list, DeviceIPhone, [&] {
            if (refused || m_engine->inCall != 1)
                return;
            m_form->suiImageButton_Close->click();
            m_form->close();
            refused = m_form->isVisible();
            m_engine->released = true;
        }));

        QVERIFY(refused);
        QCOMPARE(m_dialogs.texts(), (QStringList{QStringLiteral("Please stop conversion process first!"), FinishText}));
        QVERIFY(!m_form->isVisible());
    }

    void stopIsIgnoredWithoutARunningClip()
    {
        m_form->RequestStop();
        m_form->suiImageButton_StopConvertClick();
        QVERIFY(m_dialogs.messages.isEmpty());
    }

    void completionChoices_data()
    {
        QTest::addColumn<bool>("powerOff");
        QTest::addColumn<bool>("openFolder");
        QTest::addColumn<int>("powerOffs");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("message");
        QTest::newRow("defaults") << false << true << 0 << true << true;
        QTest::newRow("neither") << false << false << 0 << false << true;
        QTest::newRow("both: power off only") << true << true << 1 << false << false;
        QTest::newRow("power off") << true << false << 1 << false << false;
    }
    void completionChoices()
    {
        QFETCH(bool, powerOff);
        QFETCH(bool, openFolder);
        m_form->suiCheckBox_PowerOff->setChecked(powerOff);
        m_form->suiCheckBox_OpenFolder->setChecked(openFolder);
        ListSource list;
        list.add(QStringLiteral("a.avi"));
        QVERIFY(RunJob(*m_form, list, DeviceIPodVideo));

        QTEST(m_shell.powerOffs, "powerOffs");
        QTEST(!m_shell.opened.isEmpty(), "opened");
        QTEST(!m_dialogs.messages.isEmpty(), "message");
        QCOMPARE(m_form->Label_Percent->text(), QStringLiteral("100"));
    }

    void showingResetsTheWindow()
    {
        ListSource list;
        list.add(QStringLiteral("a.avi"));
        list.entries[0].values.startTime = 7;
        QVERIFY(RunJob(*m_form, list, DeviceIPhone));
        QCOMPARE(m_form->Label_StartTime->text(), QStringLiteral("00:00:07"));

        m_form->show();
        for (QLabel *label : {m_form->Label_StartTime, m_form->Label_StopTime, m_form->Label_Length,
                              m_form->Label_CurrentTime})
            QCOMPARE(label->text(), QStringLiteral("00:00:00"));
        QVERIFY(m_form->Label_TitleName->text().isEmpty());
        QVERIFY(m_form->Label_DesName->text().isEmpty());
        QCOMPARE(m_form->Label_FPS->text(), QStringLiteral("0"));
        QCOMPARE(m_form->Label_CurrentFrame->text(), QStringLiteral("0"));
        QCOMPARE(m_form->Label_Percent->text(), QStringLiteral("0"));
        QCOMPARE(m_form->Panel_Progress->width(), 0);
        m_form->close();
    }

    void windowShapeAndPlaces()
    {
        QCOMPARE(m_form->size(), QSize(510, 265));
        QVERIFY(m_form->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!m_form->mask().isEmpty());
        QVERIFY(m_form->mask() != QRegion(m_form->rect()));
        QCOMPARE(m_form->suiImageButton_StopConvert->geometry(), QRect(391, 158, 87, 86));
        QCOMPARE(m_form->suiImageButton_Min->geometry(), QRect(432, 3, 28, 19));
        QCOMPARE(m_form->suiImageButton_Close->geometry(), QRect(460, 3, 45, 19));
        QCOMPARE(m_form->Label_TitleName->geometry().topLeft(), QPoint(169, 52));
        QCOMPARE(m_form->Label_CurrentFrame->geometry().topLeft(), QPoint(385, 140));
        QCOMPARE(m_form->Label_Percent->geometry(), QRect(327, 173, 18, 14));
        QCOMPARE(m_form->Panel_Progress->pos(), QPoint(43, 176));
        QCOMPARE(m_form->suiCheckBox_PowerOff->pos(), QPoint(34, 204));
        QCOMPARE(m_form->suiCheckBox_OpenFolder->pos(), QPoint(34, 226));
        QVERIFY(!m_form->suiCheckBox_PowerOff->isChecked());
        QVERIFY(m_form->suiCheckBox_OpenFolder->isChecked());
        QCOMPARE(m_form->Timer_Info->interval(), 500);
        QVERIFY(!m_form->Timer_Info->isActive());
    }

    void minimiseTakesEveryWindow()
    {
        QWidget other;
        other.show();
        m_form->show();
        m_form->suiImageButton_Min->click();
        QVERIFY(m_form->isMinimized());
        QVERIFY(other.isMinimized());
        m_form->close();
    }

    void draggingMovesByTheCursor()
    {
        m_form->show();
        const QPoint start = m_form->pos();
        auto *bk = m_form->Image_Bk;
        emit bk->mouseDown(bk, Qt::RightButton, QPoint(100, 100));
        emit bk->mouseMove(bk, Qt::RightButton, QPoint(130, 140));
        QCOMPARE(m_form->pos(), start);
        emit bk->mouseDown(bk, Qt::LeftButton, QPoint(100, 100));
        emit bk->mouseMove(bk, Qt::LeftButton, QPoint(130, 140));
        QCOMPARE(m_form->pos(), start + QPoint(30, 40));
        emit bk->mouseUp(bk, Qt::LeftButton, QPoint(130, 140));
        emit bk->mouseMove(bk, Qt::LeftButton, QPoint(200, 200));
        QCOMPARE(m_form->pos(), start + QPoint(30, 40));
        m_form->close();
    }
};

QTEST_MAIN(TestConversionJob)
#include "tst_conversionjob.moc"
