// The preview pane against the scripted engine: opening the frame source on the first
// release, the picture at the trim start, the busy state, and the bounded close.
#include "MainFormFixture.h"
#include "ScriptedEngine.h"
#include "mainform/RangeRules.h"
#include "skin/ImageButton.h"

#include <QElapsedTimer>

#include <thread>

ORVO_DEFINE_ENGINE_SCRIPT()

namespace {

// An engine that answers at once: ready after the open, a frame of one colour after each seek,
// closed after the close. Tests change single answers.
struct EngineAnswers {
    KrodecWindow *window = nullptr;
    int shownSeconds = 0;
    int frameWord = 1;
    QColor colour = QColor(10, 200, 30);
    std::vector<unsigned char> pixels;

    void install()
    {
        ScriptedEngineScript &s = *orvo_scripted_engine_script();
        s.takeCalls();
        s.frameInit = [this](KrodecWindow *w, const char *, const char *) {
            window = w;
            w->post(w, 2312, 0, 0);
            return 0;
        };
        s.setNextFrameTime = [this](int seconds) {
            shownSeconds = seconds;
            window->post(window, 2412, frameWord, 0);
            return 0;
        };
        s.getFrame = [this](int width, int height, const char *, unsigned char **out, int *seconds) {
            pixels.resize(static_cast<std::size_t>(width) * height * 3);
            for (std::size_t i = 0; i < pixels.size(); i += 3) {
                pixels[i] = static_cast<unsigned char>(colour.blue());
                pixels[i + 1] = static_cast<unsigned char>(colour.green());
                pixels[i + 2] = static_cast<unsigned char>(colour.red());
            }
            *out = pixels.data();
            *seconds = shownSeconds;
            return 0;
        };
        s.frameUnInit = [this] {
            window->post(window, 2512, 0, 0);
            return 0;
        };
    }
};

QStringList Calls()
{
    QStringList out;
    for (const std::string &c : orvo_scripted_engine_script()->takeCalls())
        out << QString::fromStdString(c);
    return out;
}

void Click(QWidget *part)
{
    QTest::mousePress(part, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseRelease(part, Qt::LeftButton, {}, QPoint(4, 4));
}

void DragBy(QWidget *part, int dx)
{
    const QPoint origin = part->mapToGlobal(QPoint(4, 4));
    QTest::mousePress(part, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseMove(part, part->mapFromGlobal(origin + QPoint(dx, 0)));
    QTest::mouseRelease(part, Qt::LeftButton, {}, part->mapFromGlobal(origin + QPoint(dx, 0)));
}

bool Busy(const TMainForm &form)
{
    return form.Preview->Label_Info->isVisible() && !form.Preview->Panel_Progress->isEnabled() &&
           !form.Preview->suiImageButton_Snapshoot->isEnabled();
}

bool Idle(const TMainForm &form)
{
    return form.Preview->Label_Info->isHidden() && form.Preview->Panel_Progress->isEnabled() &&
           form.Preview->suiImageButton_Snapshoot->isEnabled();
}

QColor ShownColour(const TMainForm &form)
{
    const QImage shown = form.Preview->Image_Preview->picture().toImage();
    return shown.isNull() ? QColor() : shown.pixelColor(shown.width() / 2, shown.height() / 2);
}

} // namespace

class TestPreview : public QObject {
    Q_OBJECT

    struct Fixture {
        MainFormFixture base;
        EngineAnswers engine;
        TestMainForm form;
        TVideoInfo *clip;

        Fixture()
        {
            platform::SetProgramFolder(QStringLiteral(ORVO_SCRIPTED_ENGINE_DIR "/"));
            engine.install();
            form.show();
            clip = AddClip(form, "a.avi", 100);
            clip->SetStartTime(30);
            clip->bmp_Thumbnail.fill(Qt::blue);
            form.SetCurrentClip(clip);
        }
        ~Fixture() { form.SetCurrentClip(nullptr); }
    };

private slots:
    // First: once a close has timed out, the library stays in the process and would be found.
    void refusedOpenReturnsToIdle()
    {
        Fixture f;
        orvo_scripted_engine_script()->frameInit = [](KrodecWindow *, const char *, const char *) { return -1; };
        const int unloads = orvo_scripted_engine_script()->unloads;
        Click(f.form.Preview->Image_Left);
        QVERIFY(f.form.Preview->Label_Info->isHidden());
        QVERIFY(f.form.Preview->Panel_Progress->isEnabled());
        QVERIFY(!f.form.h_FrameLibrary.IsLoaded());
        QCOMPARE(orvo_scripted_engine_script()->unloads - unloads, 1);
    }

    void missingLibraryReturnsToIdle()
    {
        Fixture f;
        platform::SetProgramFolder(f.base.folder.path() + QLatin1Char('/'));
        Click(f.form.Preview->Image_Left);
        QVERIFY(f.form.Preview->Label_Info->isHidden());
        QVERIFY(f.form.Preview->Panel_Progress->isEnabled());
        QVERIFY(!f.form.b_FrameReady);
    }

    void firstReleaseOpensTheSourceAtTheTrimStart()
    {
        Fixture f;
        QCOMPARE(ShownColour(f.form), QColor(Qt::blue));
        // The end handle opens the source, but the first picture is that of the trim start.
        DragBy(f.form.Preview->Image_Right, -30);
        QVERIFY(Busy(f.form));
        QCOMPARE(f.clip->EndTime(), 77);
        QTRY_VERIFY(Idle(f.form));
        const QStringList calls = Calls();
        QCOMPARE(calls, QStringList({"X_GetFrame_Init|2|/videos/a.avi||77", "X_Set_NextFrame_Time|30",
                                     "X_Get_Frame|240|180|(null)"}));
        QCOMPARE(ShownColour(f.form), f.engine.colour);
        QCOMPARE(f.clip->bmp_Thumbnail.pixelColor(0, 0), f.engine.colour);
        QVERIFY(f.form.b_FrameReady);
        QCOMPARE(f.form.i_LastFrameTime, 30);
    }

    void seeksTheSeekTimeOfTheNewPosition()
    {
        Fixture f;
        Click(f.form.Preview->Image_Left);
        QTRY_VERIFY(Idle(f.form));
        Calls();
        // 95 s of 100 is shown from 85 s.
        DragBy(f.form.Preview->Image_Right, -5);
        QCOMPARE(f.clip->EndTime(), 96);
        QTRY_VERIFY(Idle(f.form));
        QCOMPARE(Calls(), QStringList({"X_Set_NextFrame_Time|86", "X_Get_Frame|240|180|(null)"}));
    }

    void releaseAtTheFrameOnShowAsksForNothing()
    {
        Fixture f;
        Click(f.form.Preview->Image_Left);
        QTRY_VERIFY(Idle(f.form));
        Calls();
        Click(f.form.Preview->Image_Left);
        QVERIFY(Idle(f.form));
        QVERIFY(Calls().isEmpty());
        // The handle stands for 29.85 s: a press without movement stores the cut time.
        QCOMPARE(f.clip->StartTime(), 29);
    }

    void noFrameKeepsThePictureAndEndsTheBusyState()
    {
        Fixture f;
        f.engine.frameWord = 0;
        Click(f.form.Preview->Image_Left);
        QTRY_VERIFY(Idle(f.form));
        QCOMPARE(ShownColour(f.form), QColor(Qt::blue));
        QVERIFY(!Calls().contains("X_Get_Frame|240|180|(null)"));
    }

    void anotherClipWaitsForTheClose()
    {
        Fixture f;
        TVideoInfo *other = AddClip(f.form, "b.avi", 50);
        Click(f.form.Preview->Image_Left);
        QTRY_VERIFY(Idle(f.form));
        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        // The close is confirmed late, from an engine thread.
        std::thread closer;
        script.frameUnInit = [&] {
            KrodecWindow *w = f.engine.window;
            closer = std::thread([w] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                w->post(w, 2512, 0, 0);
            });
            return 0;
        };
        const int unloads = script.unloads;
        QElapsedTimer clock;
        clock.start();
        f.form.SetCurrentClip(other);
        closer.join();
        QVERIFY(clock.elapsed() >= 300);
        QCOMPARE(script.unloads - unloads, 1);
        QVERIFY(!f.form.h_FrameLibrary.IsLoaded());
        QVERIFY(!f.form.b_FrameReady);
        QCOMPARE(f.form.CurrentClip, other);
        QVERIFY(!f.form.Preview->suiImageButton_Snapshoot->isEnabled());
        QVERIFY(f.form.Preview->Label_Info->isHidden());
        // The new clip opens a source of its own.
        Calls();
        Click(f.form.Preview->Image_Left);
        QTRY_VERIFY(Idle(f.form));
        QCOMPARE(Calls().first(), "X_GetFrame_Init|2|/videos/b.avi||0");
    }

    void closeThatIsNeverConfirmedEndsAndTheProgramGoesOn()
    {
        Fixture f;
        f.form.i_FrameWaitLimit = 400;
        TVideoInfo *other = AddClip(f.form, "b.avi", 50);
        Click(f.form.Preview->Image_Left);
        QTRY_VERIFY(Idle(f.form));
        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        script.frameUnInit = [] { return 0; };
        const int unloads = script.unloads;
        QElapsedTimer clock;
        clock.start();
        f.form.SetCurrentClip(other);
        QVERIFY(clock.elapsed() >= 400);
        QVERIFY(clock.elapsed() < 3000);
        // The engine may still be running in it: the library stays.
        QCOMPARE(script.unloads - unloads, 0);
        QVERIFY(!f.form.h_FrameLibrary.IsLoaded());
        QVERIFY(!b_ClosingFrames);
        QCOMPARE(f.form.CurrentClip, other);
        f.engine.install();
        Click(f.form.Preview->Image_Left);
        QTRY_VERIFY(Idle(f.form));
        QCOMPARE(Calls().first(), "X_GetFrame_Init|2|/videos/b.avi||0");
    }

    void sourceThatNeverOpensIsClosedAfterTheBound()
    {
        Fixture f;
        f.form.i_FrameWaitLimit = 300;
        orvo_scripted_engine_script()->frameInit = [&](KrodecWindow *w, const char *, const char *) {
            f.engine.window = w;
            return 0;
        };
        Click(f.form.Preview->Image_Left);
        QVERIFY(Busy(f.form));
        f.form.SetCurrentClip(nullptr);
        QVERIFY(!f.form.h_FrameLibrary.IsLoaded());
        QVERIFY(f.form.Preview->Label_Info->isHidden());
        QVERIFY(Calls().contains("X_GetFrame_UnInit"));
    }

    void busyPaneBlocksTheListAndTheCommands()
    {
        Fixture f;
        orvo_scripted_engine_script()->setNextFrameTime = [](int) { return 0; }; // answers later
        TVideoInfo *other = AddClip(f.form, "b.avi", 50);
        Click(f.form.Preview->Image_Left);
        QTRY_VERIFY(f.form.b_FrameReady);
        QVERIFY(Busy(f.form));
        QTest::mousePress(other, Qt::LeftButton, {}, QPoint(300, 8));
        QCOMPARE(f.form.CurrentClip, f.clip);
        f.form.suiImageButton_StartConvertClick();
        QCOMPARE(f.base.dialogs.texts(), QStringList({"Seeking disc, please waiting."}));
        QVERIFY(!f.form.converted);
        platform::WindowMessageEvent frame(2412, 1, 0);
        QCoreApplication::sendEvent(&f.form, &frame);
        QVERIFY(Idle(f.form));
    }
};

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    TestPreview test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_preview.moc"
