#include "ScriptedEngine.h"
#include "StartFixture.h"
#include "common/DeviceType.h"
#include "mainform/PreviewPanel.h"
#include "options/Options.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

ORVO_DEFINE_ENGINE_SCRIPT()

namespace {

TVideoInfo *AddClip(TMainForm &form, const QString &name, bool supported = true)
{
    TVideoInfo *entry = form.CreateClipEntry(name);
    entry->SetDuration(60);
    entry->SetStartTime(0);
    entry->SetEndTime(60);
    entry->SetPicture(1, 320, 240);
    entry->SetFilePath(QStringLiteral("/videos/") + name);
    entry->SetSupported(supported);
    entry->SetChecked(true);
    form.AppendClipEntry(entry);
    return entry;
}

void WriteFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

// The start command around the job: current directory, no file written over, the serial
// base moved on by the whole list and the names renumbered.
class TestStartCommand : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_output;
    QStringList m_destinations;

    QString outputFolder() const { return m_output->path() + QLatin1Char('/'); }

private slots:
    void init()
    {
        platform::SetProgramFolder(QStringLiteral(ORVO_SCRIPTED_ENGINE_DIR "/"));
        m_output = std::make_unique<QTemporaryDir>();
        g_s_OutputFolder = outputFolder();
        m_destinations.clear();
        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        script.takeCalls();
        script.convert = [this](const std::string &, KrodecWindow *, const std::vector<std::string> &texts) {
            // Runs on the worker; the test reads the list only after the job.
            m_destinations << QString::fromStdString(texts.at(18));
            return 0;
        };
    }

    void cleanup()
    {
        orvo_scripted_engine_script()->convert = nullptr;
        platform::SetProgramFolder(QString());
        QDir::setCurrent(QStringLiteral(ORVO_TEST_BINARY_DIR));
    }

    void serialBaseGrowsByTheWholeList()
    {
        StartFixture f;
        f.form->DeviceType = DeviceIPhone;
        i_OutputPSPSerialNumber = 5;
        AddClip(*f.form, QStringLiteral("a.avi"));
        AddClip(*f.form, QStringLiteral("b.avi"), false);
        AddClip(*f.form, QStringLiteral("c.avi"));
        f.form->RenumberOutputNames();

        QVERIFY(f.pressStart());

        const QString folder = outputFolder() + QStringLiteral("IPHONE/");
        QCOMPARE(m_destinations, (QStringList{folder + "0005.mp4", folder + "0007.mp4"}));
        QCOMPARE(i_OutputPSPSerialNumber, 8);
        QCOMPARE(f.outputNames(), (QStringList{"0008.mp4", "0009.mp4", "0010.mp4"}));
        QCOMPARE(QDir::current().canonicalPath(), QDir(outputFolder()).canonicalPath());
    }

    void filesAlreadyThereAreNotOverwritten()
    {
        StartFixture f;
        f.form->DeviceType = DeviceIPhone;
        i_OutputPSPSerialNumber = 1;
        QVERIFY(QDir(outputFolder()).mkdir(QStringLiteral("IPHONE")));
        const QString folder = outputFolder() + QStringLiteral("IPHONE/");
        WriteFile(folder + QStringLiteral("0002.mp4"), "the user's own");
        AddClip(*f.form, QStringLiteral("a.avi"));
        AddClip(*f.form, QStringLiteral("b.avi"));
        f.form->RenumberOutputNames();
        QStringList shownAtStart;
        QTimer::singleShot(0, f.progress.get(), [&] { shownAtStart = f.outputNames(); });

        QVERIFY(f.pressStart());

        QCOMPARE(shownAtStart, (QStringList{"0003.mp4", "0004.mp4"}));
        QCOMPARE(m_destinations, (QStringList{folder + "0003.mp4", folder + "0004.mp4"}));
        QFile mine(folder + QStringLiteral("0002.mp4"));
        QVERIFY(mine.open(QIODevice::ReadOnly));
        QCOMPARE(mine.readAll(), QByteArray("the user's own"));
        QCOMPARE(i_OutputPSPSerialNumber, 5);
        QCOMPARE(f.outputNames(), (QStringList{"0005.mp4", "0006.mp4"}));
    }

    // The remembered disc goes while the job runs (or while the start command waits for the
    // preview's close): the list stays as the job needs it, and is cleared once the job is over.
    void discRemovedDuringTheJobClearsTheListAfterIt_data()
    {
        QTest::addColumn<bool>("duringTheClose");
        QTest::newRow("during the job") << false;
        QTest::newRow("during the preview's close") << true;
    }
    void discRemovedDuringTheJobClearsTheListAfterIt()
    {
        QFETCH(bool, duringTheClose);
        StartFixture f;
        f.form->DeviceType = DeviceIPhone;
        i_OutputPSPSerialNumber = 1;
        for (const char *name : {"a.avi", "b.avi", "c.avi"})
            AddClip(*f.form, QString::fromLatin1(name));
        f.form->RenumberOutputNames();
        const QString dvd = QStringLiteral("/media/dvd");
        f.form->s_DiscDrive = dvd;
        const auto removeDisc = [&] {
            f.form->OnDeviceChange(VolumeEvent::Removed, platform::MountEntry{dvd, "udf", "/dev/sr0"});
        };

        ScriptedEngineScript &script = *orvo_scripted_engine_script();
        int listSizeAfterRemoval = -1;
        if (duringTheClose) {
            // The preview holds an open frame source whose close is confirmed late.
            KrodecWindow *window = nullptr;
            std::thread closer;
            script.frameInit = [&](KrodecWindow *w, const char *, const char *) {
                window = w;
                w->post(w, 2312, 0, 0);
                return 0;
            };
            script.setNextFrameTime = [&](int) {
                window->post(window, 2412, 0, 0);
                return 0;
            };
            script.frameUnInit = [&] {
                closer = std::thread([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(300));
                    window->post(window, 2512, 0, 0);
                });
                return 0;
            };
            f.form->SetCurrentClip(f.form->Clips.first());
            f.form->PreviewSeek(1, 0);
            // Ready, and the seek answered: a busy pane would refuse the start.
            QTRY_VERIFY(f.form->b_FrameReady && f.form->Preview->Label_Info->isHidden());
            QTimer::singleShot(50, f.form.get(), [&] {
                QVERIFY(b_ClosingFrames);
                removeDisc();
                listSizeAfterRemoval = static_cast<int>(f.form->Clips.size());
            });
            QVERIFY(f.pressStart());
            closer.join();
            script.frameInit = nullptr;
            script.setNextFrameTime = nullptr;
            script.frameUnInit = nullptr;
        } else {
            script.convert = [&, record = script.convert](const std::string &name, KrodecWindow *w,
                                                          const std::vector<std::string> &texts) {
                if (m_destinations.isEmpty())
                    QMetaObject::invokeMethod(
                        f.form.get(),
                        [&] {
                            removeDisc();
                            listSizeAfterRemoval = static_cast<int>(f.form->Clips.size());
                        },
                        Qt::BlockingQueuedConnection);
                return record(name, w, texts);
            };
            QVERIFY(f.pressStart());
        }

        QCOMPARE(listSizeAfterRemoval, 3);
        const QString folder = outputFolder() + QStringLiteral("IPHONE/");
        QCOMPARE(m_destinations, (QStringList{folder + "0001.mp4", folder + "0002.mp4", folder + "0003.mp4"}));
        QCOMPARE(f.dialogs.texts(),
                 QStringList{QStringLiteral("Process finish!\nYou can transfer files to your Apple device.")});
        QCOMPARE(i_OutputPSPSerialNumber, 4);
        QTRY_VERIFY(f.form->Clips.isEmpty());
        QCOMPARE(f.form->s_DiscDrive, QStringLiteral("A"));
        QCOMPARE(f.form->CurrentClip, nullptr);
    }

    void onlyRefusedClipsStartNothing()
    {
        StartFixture f;
        f.form->DeviceType = DeviceIPhone;
        i_OutputPSPSerialNumber = 3;
        AddClip(*f.form, QStringLiteral("a.avi"), false);

        QVERIFY(!f.pressStart());

        QVERIFY(m_destinations.isEmpty());
        QCOMPARE(i_OutputPSPSerialNumber, 3);
    }
};

QTEST_MAIN(TestStartCommand)
#include "tst_startcommand.moc"
