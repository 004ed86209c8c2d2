// The waits for the engine's close process window messages; commands and disc events that
// come in meanwhile are held back and run after the wait, so nothing the waiting caller holds
// is freed under it.
#include "MainFormFixture.h"
#include "ScriptedEngine.h"
#include "skin/ImageButton.h"

#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <thread>

ORVO_DEFINE_ENGINE_SCRIPT()

namespace {

const QString Dvd = QStringLiteral("/media/dvd");

// An engine whose frame source opens and seeks at once and confirms a close only after
// closeDelayMs, from a thread of its own.
struct SlowCloseEngine {
    KrodecWindow *window = nullptr;
    int closeDelayMs = 400;
    std::thread closer;
    std::vector<unsigned char> pixels;

    SlowCloseEngine()
    {
        ScriptedEngineScript &s = *orvo_scripted_engine_script();
        s.takeCalls();
        s.frameInit = [this](KrodecWindow *w, const char *, const char *) {
            window = w;
            w->post(w, 2312, 0, 0);
            return 0;
        };
        s.setNextFrameTime = [this](int) {
            window->post(window, 2412, 1, 0);
            return 0;
        };
        s.getFrame = [this](int width, int height, const char *, unsigned char **out, int *seconds) {
            pixels.assign(static_cast<std::size_t>(width) * height * 3, 90);
            *out = pixels.data();
            *seconds = 0;
            return 0;
        };
        s.frameUnInit = [this] {
            KrodecWindow *w = window;
            const int delay = closeDelayMs;
            if (closer.joinable())
                closer.join();
            closer = std::thread([w, delay] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                w->post(w, 2512, 0, 0);
            });
            return 0;
        };
    }
    ~SlowCloseEngine()
    {
        if (closer.joinable())
            closer.join();
        ScriptedEngineScript &s = *orvo_scripted_engine_script();
        s.frameInit = nullptr;
        s.setNextFrameTime = nullptr;
        s.getFrame = nullptr;
        s.frameUnInit = nullptr;
    }
};

bool Idle(const TMainForm &form)
{
    return form.b_FrameReady && form.Preview->Label_Info->isHidden();
}

void OpenSource(TMainForm &form)
{
    QTest::mousePress(form.Preview->Image_Left, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseRelease(form.Preview->Image_Left, Qt::LeftButton, {}, QPoint(4, 4));
}

// What arrives while the close is awaited.
enum class During { RemoveButton, ClearButton, MenuRemove, MenuClear, DiscRemoved, StartButton };

void Arrive(TestMainForm &form, During what)
{
    switch (what) {
    case During::RemoveButton:
        form.Toolbar->suiImageButton_OpenFile->click();
        break;
    case During::ClearButton:
        form.Toolbar->suiImageButton_Clear->click();
        break;
    case During::MenuRemove:
    case During::MenuClear:
        form.PreparePopupMenu();
        for (QAction *item : form.PopupMenu_Clips->actions())
            if (item->objectName() == (what == During::MenuRemove ? "Remove" : "Clear"))
                item->trigger();
        break;
    case During::DiscRemoved:
        form.OnDeviceChange(VolumeEvent::Removed, platform::MountEntry{Dvd, "udf", "/dev/sr0"});
        break;
    case During::StartButton:
        form.Devices->suiImageButton_StartConvert->click();
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(During)

class TestEngineWait : public QObject {
    Q_OBJECT

    struct Fixture {
        MainFormFixture base;
        SlowCloseEngine engine;
        TestMainForm form;
        QPointer<TVideoInfo> a, b, c;

        Fixture()
        {
            platform::SetProgramFolder(QStringLiteral(ORVO_SCRIPTED_ENGINE_DIR "/"));
            form.show();
            a = AddClip(form, "a.avi", 100);
            b = AddClip(form, "b.avi", 100);
            c = AddClip(form, "c.avi", 100);
            form.SetCurrentClip(a);
            form.s_DiscDrive = Dvd;
        }
        ~Fixture() { form.SetCurrentClip(nullptr); }

        // Calls `arrive` from inside the close's wait and returns how many entries the list
        // held just after it.
        int arriveDuringTheClose(const std::function<void()> &work, const std::function<void()> &arrive)
        {
            int countInside = -1;
            QTimer::singleShot(50, &form, [&] {
                QVERIFY(b_ClosingFrames);
                arrive();
                countInside = static_cast<int>(form.Clips.size());
            });
            work();
            return countInside;
        }
    };

private slots:
    void commandDuringTheCloseOfANewCurrentClip_data()
    {
        QTest::addColumn<During>("during");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("remove button") << During::RemoveButton << QStringList({"a", "c"});
        QTest::newRow("clear button") << During::ClearButton << QStringList();
        QTest::newRow("menu remove") << During::MenuRemove << QStringList({"a", "c"});
        QTest::newRow("menu clear") << During::MenuClear << QStringList();
        QTest::newRow("disc removed") << During::DiscRemoved << QStringList();
    }
    // b is selected and about to become current when the command arrives: it must be freed
    // only after SetCurrentClip has finished with it.
    void commandDuringTheCloseOfANewCurrentClip()
    {
        QFETCH(During, during);
        QFETCH(QStringList, left);
        Fixture f;
        OpenSource(f.form);
        QTRY_VERIFY(Idle(f.form));
        f.b->Select();

        const int inside = f.arriveDuringTheClose([&] { f.form.SetCurrentClip(f.b); }, [&] { Arrive(f.form, during); });

        QCOMPARE(inside, 3);
        QCOMPARE(f.form.CurrentClip, f.b.data());
        QVERIFY(!f.form.h_FrameLibrary.IsLoaded());
        QTRY_COMPARE(f.form.Clips.size(), left.size());
        QStringList names;
        for (TVideoInfo *entry : f.form.Clips)
            names << entry->FilePath().section('/', -1).section('.', 0, 0);
        QCOMPARE(names, left);
        QVERIFY(!f.form.CurrentClip || f.form.Clips.contains(f.form.CurrentClip));
        QCOMPARE(f.form.CurrentClip, nullptr);
        if (left.isEmpty())
            QCOMPARE(f.form.s_DiscDrive, QStringLiteral("A"));
    }

    // A press on a row that is about to go is dropped, not replayed on a freed row.
    void pressOnARowDuringTheCloseIsDropped()
    {
        Fixture f;
        OpenSource(f.form);
        QTRY_VERIFY(Idle(f.form));
        f.arriveDuringTheClose([&] { f.form.SetCurrentClip(f.b); },
                               [&] { QTest::mousePress(f.c.data(), Qt::LeftButton, {}, QPoint(300, 8)); });
        QCoreApplication::processEvents();
        QCOMPARE(f.form.CurrentClip, f.b.data());
        QVERIFY(!f.c->IsSelected());
    }

    // The removal of the current clip waits in its own close; a second removal that comes in
    // meanwhile runs after it and finds the list as the first left it.
    void removalDuringTheCloseOfARemoval()
    {
        Fixture f;
        OpenSource(f.form);
        QTRY_VERIFY(Idle(f.form));
        f.a->Select();
        const int inside = f.arriveDuringTheClose([&] { f.form.suiImageButton_OpenFileClick(); }, [&] {
            f.c->Select();
            Arrive(f.form, During::RemoveButton);
        });
        QCOMPARE(inside, 3);
        QTRY_COMPARE(f.form.Clips.size(), 1);
        QCOMPARE(f.form.Clips.first(), f.b.data());
        QVERIFY(f.a.isNull());
        QVERIFY(f.c.isNull());
        QCOMPARE(f.form.Clips.first()->y(), 0);
    }

    // The add command's close: a clear that arrives during it runs after the add.
    void clearDuringTheCloseOfTheAddCommand()
    {
        Fixture f;
        OpenSource(f.form);
        QTRY_VERIFY(Idle(f.form));
        f.base.dialogs.openResults << QStringList{"/videos/absent.avi"};
        const int inside = f.arriveDuringTheClose([&] { f.form.AddFiles(); }, [&] { Arrive(f.form, During::ClearButton); });
        QCOMPARE(inside, 3);
        QCOMPARE(f.base.dialogs.texts().size(), 1); // the refused file's message came first
        QTRY_VERIFY(f.form.Clips.isEmpty());
        QVERIFY(f.a.isNull() && f.b.isNull() && f.c.isNull());
        QCOMPARE(f.form.CurrentClip, nullptr);
    }

    // Files dropped while a close is awaited are added after it, not inside the wait.
    void dropDuringTheCloseIsAddedAfterIt()
    {
        Fixture f;
        OpenSource(f.form);
        QTRY_VERIFY(Idle(f.form));
        qsizetype messagesInside = -1;
        f.arriveDuringTheClose([&] { f.form.SetCurrentClip(f.b); }, [&] {
            f.form.AddDroppedFiles({QStringLiteral("/videos/absent.avi")});
            messagesInside = f.base.dialogs.texts().size();
        });
        QCOMPARE(messagesInside, 0);
        QCOMPARE(f.form.CurrentClip, f.b.data());
        QTRY_COMPARE(f.base.dialogs.texts().size(), 1); // the refused file's message
        QCOMPARE(f.form.Clips.size(), 3);
    }

    // The start command held during a close runs when the close is over.
    void startDuringTheCloseRunsAfterIt()
    {
        Fixture f;
        OpenSource(f.form);
        QTRY_VERIFY(Idle(f.form));
        bool convertedInside = true;
        f.arriveDuringTheClose([&] { f.form.SetCurrentClip(f.c); }, [&] {
            Arrive(f.form, During::StartButton);
            convertedInside = f.form.converted;
        });
        QVERIFY(!convertedInside);
        QTRY_VERIFY(f.form.converted);
        QCOMPARE(f.form.Clips.size(), 3);
    }
};

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    TestEngineWait test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_enginewait.moc"
