// Adding clips with the scripted engine: the probe's protocol and entry, the progress panel,
// refusals and their message, selection after adding, and the disc watch's reaction.
#include "MainFormFixture.h"
#include "ScriptedEngine.h"
#include "mainform/ClipProbe.h"
#include "mediainfo/TMediaInfoInterfa.h"
#include "platform/MountWatcher.h"

#include <QFile>
#include <QLabel>

#include <vector>

ORVO_DEFINE_ENGINE_SCRIPT()

namespace {

ScriptedEngineScript &Script()
{
    return *orvo_scripted_engine_script();
}

// Every file probes as a 720 x 576 16:9 clip of 65 seconds unless told otherwise; the
// thumbnail's pixel (x, y) is blue x, green y, red 7.
struct ScriptedClips {
    std::vector<unsigned char> pixels;
    int width = 720;
    int height = 576;
    QStringList refusedPaths;

    ScriptedClips()
    {
        Script().takeCalls();
        Script().probe = [this](const char *path, KrodecProbeInfo *info) {
            if (refusedPaths.contains(QString::fromUtf8(path)))
                return -1;
            info->seconds = 65;
            info->frameRate = 25;
            info->videoBitRate = 4000.125f;
            info->width = width;
            info->height = height;
            info->aspectCode = 3;
            info->sampleRate = 48000;
            info->audioBitRate = 192;
            info->displayAspectFlag = 0;
            return 0;
        };
        Script().getFrame = [this](int w, int h, const char *, unsigned char **out, int *) {
            pixels.assign(static_cast<size_t>(w * h * 3), 0);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    unsigned char *p = &pixels[static_cast<size_t>((y * w + x) * 3)];
                    p[0] = static_cast<unsigned char>(x);
                    p[1] = static_cast<unsigned char>(y);
                    p[2] = 7;
                }
            *out = pixels.data();
            return 0;
        };
    }
    ~ScriptedClips()
    {
        Script().probe = nullptr;
        Script().getFrame = nullptr;
    }
};

QStringList CallNames()
{
    QStringList names;
    for (const std::string &call : Script().takeCalls())
        names << QString::fromStdString(call);
    return names;
}

QByteArray MountLine(const QString &mountPoint, const char *fileSystem, const char *source)
{
    return "36 35 98:0 / " + mountPoint.toUtf8() + " ro,relatime - " + fileSystem + ' ' + source + " ro\n";
}

} // namespace

class TestAdding : public QObject {
    Q_OBJECT

    QString m_startDirectory;
    QTemporaryDir m_output;

    void useScriptedEngine() { platform::SetProgramFolder(QStringLiteral(ORVO_SCRIPTED_ENGINE_DIR "/")); }

private slots:
    void initTestCase()
    {
        m_startDirectory = QDir::currentPath();
        g_s_OutputFolder = m_output.path() + QLatin1Char('/');
        OpenDialogFilter = QStringLiteral("Video|*.mpg;*.avi|All|*.*");
    }
    void cleanup() { QDir::setCurrent(m_startDirectory); }

    void oneFileBecomesTheCurrentEntry()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        TestMainForm form;
        bool panelShown = true;
        Script().probe = [&, probe = Script().probe](const char *path, KrodecProbeInfo *info) {
            panelShown = !form.ClipList->Panel_AddProgress->isHidden();
            return probe(path, info);
        };
        const int loads = Script().loads, unloads = Script().unloads;
        fixture.dialogs.openResults << QStringList{"/videos/a clip.mpg"};

        form.AddFiles();

        QCOMPARE(fixture.dialogs.lastFilter, OpenDialogFilter);
        QCOMPARE(QDir::currentPath() + QLatin1Char('/'), g_s_OutputFolder);
        QVERIFY(!panelShown);
        QCOMPARE(CallNames(), QStringList({"X_GetFileinfo_GetPic|/videos/a clip.mpg|10", "X_Get_Frame|240|136|2.bmp"}));
        QCOMPARE(Script().loads - loads, 1);
        QCOMPARE(Script().unloads - unloads, 1);
        QVERIFY(fixture.dialogs.messages.isEmpty());

        QCOMPARE(form.Clips.size(), 1);
        TVideoInfo *entry = form.Clips.first();
        QCOMPARE(entry->Label_ClipName->text(), ClipNameText("a clip.mpg"));
        QCOMPARE(entry->Label_VideoLength->text(), QStringLiteral("Video Length : 00:01:05"));
        QCOMPARE(entry->Label_VideoSize->text(), QStringLiteral("Video Size : 720X576"));
        QCOMPARE(entry->Label_Beginning->text(), QStringLiteral("Beginning"));
        QCOMPARE(entry->Label_Ending->text(), QStringLiteral("Ending"));
        QCOMPARE(entry->FilePath(), QStringLiteral("/videos/a clip.mpg"));
        QCOMPARE(entry->EndTime(), 65);
        QCOMPARE(entry->AspectIndex(), 1);
        QVERIFY(entry->IsChecked());
        QVERIFY(entry->IsSupported());
        QVERIFY(entry->b_UseDisplayAspect);
        QCOMPARE(entry->toolTip(), ClipInfoHint("a clip.mpg", ProbeRecord{65, 25, 4000.125f, 720, 576, 3, 48000, 192, 0},
                                                QLocale()));
        QCOMPARE(entry->bmp_Thumbnail.size(), QSize(240, 136));
        QCOMPARE(entry->bmp_Thumbnail.pixel(0, 0), qRgb(7, 0, 0));
        QCOMPARE(entry->bmp_Thumbnail.pixel(239, 135), qRgb(7, 135, 239));
        QCOMPARE(form.CurrentClip, entry);
        QVERIFY(entry->IsSelected());
        QVERIFY(form.ClipList->Panel_Intro->isHidden());
        QVERIFY(!form.b_Adding);
    }

    void fourFilesShowTheirProgress()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        TestMainForm form;
        QStringList seen;
        Script().probe = [&, probe = Script().probe](const char *path, KrodecProbeInfo *info) {
            seen << QStringLiteral("%1/%2/%3")
                        .arg(form.ClipList->Panel_Progress1->width())
                        .arg(form.ClipList->Label_Percent->text())
                        .arg(form.b_Adding);
            // What adding blocks: the add command itself, clearing and removing.
            form.AddFiles();
            form.suiImageButton_ClearClick();
            form.suiImageButton_OpenFileClick();
            return probe(path, info);
        };
        const QStringList files{"/v/1.mpg", "/v/2.mpg", "/v/3.mpg", "/v/4.mpg"};
        fixture.dialogs.openResults << files << QStringList{"/v/never.mpg"};

        form.AddFiles();

        QCOMPARE(seen, QStringList({"0/0/1", "67/25/1", "135/50/1", "203/75/1"}));
        QCOMPARE(form.ClipList->Panel_Progress1->width(), 271);
        QCOMPARE(form.ClipList->Label_Percent->text(), QStringLiteral("100"));
        QVERIFY(form.ClipList->Panel_AddProgress->isHidden());
        QVERIFY(!form.b_Adding);
        QCOMPARE(fixture.dialogs.openResults.size(), 1);
        QCOMPARE(form.Clips.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(form.Clips.at(i)->FilePath(), files.at(i));
        QCOMPARE(form.CurrentClip, form.Clips.first());
    }

    void refusedFilesAreListedTogether_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::newRow("engine library missing") << "none";
        QTest::newRow("frame function missing") << "engine_no_frame";
        QTest::newRow("probe answers -1") << "scripted";
    }
    void refusedFilesAreListedTogether()
    {
        QFETCH(QString, engine);
        MainFormFixture fixture;
        ScriptedClips clips;
        QTemporaryDir programFolder;
        if (engine == QLatin1String("scripted")) {
            useScriptedEngine();
            clips.refusedPaths << "/v/bad one.avi" << "/v/bad two.avi";
        } else {
            if (engine != QLatin1String("none"))
                QVERIFY(QFile::copy(QStringLiteral(ORVO_TEST_BINARY_DIR "/../engine/lib%1.so").arg(engine),
                                    programFolder.filePath("libKrodecDLL.so")));
            platform::SetProgramFolder(programFolder.path() + QLatin1Char('/'));
        }
        TestMainForm form;
        const int loads = Script().loads, unloads = Script().unloads;
        fixture.dialogs.openResults << QStringList{"/v/bad one.avi", "/v/bad two.avi"};

        form.AddFiles();

        QVERIFY(form.Clips.isEmpty());
        QCOMPARE(form.CurrentClip, nullptr);
        QCOMPARE(fixture.dialogs.messages.size(), 1);
        QCOMPARE(fixture.dialogs.messages.first().kind, platform::MessageKind::Information);
        QCOMPARE(fixture.dialogs.messages.first().text,
                 QStringLiteral("Some UNSUPPORTED file(s) format can not add in. \n\n/v/bad one.avi\n/v/bad two.avi\n"));
        QCOMPARE(Script().unloads - unloads, Script().loads - loads);
        QVERIFY(!form.b_Adding);
    }

    void refusedAmongAcceptedFiles()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        clips.refusedPaths << "/v/b.avi";
        TestMainForm form;
        fixture.dialogs.openResults << QStringList{"/v/a.avi", "/v/b.avi", "/v/c.avi"};

        form.AddFiles();

        QCOMPARE(form.Clips.size(), 2);
        QCOMPARE(form.Clips.at(1)->FilePath(), QStringLiteral("/v/c.avi"));
        QCOMPARE(form.Clips.at(1)->y(), ClipRowPitch);
        QCOMPARE(fixture.dialogs.texts(), QStringList{"Some UNSUPPORTED file(s) format can not add in. \n\n/v/b.avi\n"});
    }

    void selectionKeptWhenOneExists()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        TestMainForm form;
        TVideoInfo *first = AddClip(form, "first.avi");
        first->Select();
        form.SetCurrentClip(first);
        fixture.dialogs.openResults << QStringList{"/v/next.avi"};

        form.AddFiles();

        QCOMPARE(form.Clips.size(), 2);
        QCOMPARE(form.CurrentClip, first);
        QVERIFY(first->IsSelected());
        QVERIFY(!form.Clips.at(1)->IsSelected());
    }

    void cancelledDialogChangesNothing()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        TestMainForm form;
        form.AddFiles();
        QVERIFY(CallNames().isEmpty());
        QCOMPARE(QDir::currentPath(), m_startDirectory);
        QVERIFY(form.Clips.isEmpty());
        QVERIFY(!form.b_Adding);
    }

    // Without the MediaInfo library the format reads as the loader's message; the engine's
    // probe alone decides, and the clip is added and supported.
    void probeWithoutTheMediaInfoLibrary()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        clips.width = 320;
        TestMainForm form;
        form.UnsupportedFormatList = QStringList{"MPEG-4", "AVI", "MPEG-PS"};
        SetMediaInfoLibraryName(QStringLiteral("NoSuchMediaInfo.dll"));
        const bool added = form.ProbeAndAddClip(QStringLiteral("/videos/a.mp4"));
        SetMediaInfoLibraryName(QStringLiteral("MediaInfo.dll"));
        QVERIFY(added);
        QCOMPARE(form.Clips.size(), 1);
        QVERIFY(form.Clips.first()->IsSupported());
        QVERIFY(form.Clips.first()->IsChecked());
        QCOMPARE(form.Clips.first()->Duration(), 65);
        QCOMPARE(form.Clips.first()->Label_VideoSize->text(), QStringLiteral("Video Size : 320X576"));
    }

    void supportFollowsWidthAndLists_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("extensions");
        QTest::addColumn<bool>("supported");
        QTest::newRow("800 wide") << "/v/a.avi" << 800 << QStringList() << true;
        QTest::newRow("1920 wide") << "/v/a.avi" << 1920 << QStringList() << false;
        QTest::newRow("listed extension") << "/v/a.rmvb" << 320 << QStringList{"RM", "RMVB"} << false;
    }
    void supportFollowsWidthAndLists()
    {
        QFETCH(QString, path);
        QFETCH(int, width);
        QFETCH(QStringList, extensions);
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        clips.width = width;
        TestMainForm form;
        form.UnsupportedExtList = extensions;
        QVERIFY(form.ProbeAndAddClip(path));
        QCOMPARE(form.Clips.size(), 1);
        QTEST(form.Clips.first()->IsSupported(), "supported");
        QVERIFY(form.Clips.first()->IsChecked());
    }

    // The limit comes from Option.ini when the window is shown, like the refused lists.
    void widthLimitFromTheOptions_data()
    {
        QTest::addColumn<QByteArray>("option");
        QTest::addColumn<bool>("supported");
        QTest::newRow("absent") << QByteArray() << false;
        QTest::newRow("0") << QByteArray("MaxWidth=0\n") << true;
        QTest::newRow("1920") << QByteArray("MaxWidth=1920\n") << true;
        QTest::newRow("1919") << QByteArray("MaxWidth=1919\n") << false;
    }
    void widthLimitFromTheOptions()
    {
        QFETCH(QByteArray, option);
        MainFormFixture fixture;
        QFile ini(fixture.folder.filePath("Option.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Option]\nExtName=RM\n" + option);
        ini.close();
        TestMainForm form;
        form.show();
        // The engine is the scripted one from here on; the options have been read.
        useScriptedEngine();
        ScriptedClips clips;
        clips.width = 1920;
        clips.height = 1080;
        QVERIFY(form.ProbeAndAddClip("/v/holiday.mkv"));
        QTEST(form.Clips.first()->IsSupported(), "supported");
        form.close();
    }

    void soundOnlyClipGetsTheWholeBox()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        clips.width = 0;
        clips.height = 0;
        Script().getFrame = [](int, int, const char *, unsigned char **out, int *) {
            *out = nullptr;
            return -1;
        };
        TestMainForm form;
        QVERIFY(form.ProbeAndAddClip("/v/song.mp3"));
        QCOMPARE(CallNames().last(), QStringLiteral("X_Get_Frame|240|180|2.bmp"));
        QCOMPARE(form.Clips.first()->bmp_Thumbnail.size(), QSize(240, 180));
    }

    void discWatchFollowsTheMountTable()
    {
        MainFormFixture fixture;
        QTemporaryDir dvd, data;
        QVERIFY(QDir(dvd.path()).mkdir("VIDEO_TS"));
        QByteArray table = MountLine("/", "ext4", "/dev/sda1");
        TestMainForm form;
        auto *watcher = new platform::MountWatcher(nullptr, [&table] { return table; }, 0);
        form.WatchDiscs(watcher);
        const QByteArray root = table;

        // A data disc, then a DVD-Video disc while the list holds a clip: both ignored.
        table = root + MountLine(data.path(), "iso9660", "/dev/sr0");
        watcher->poll();
        QCOMPARE(form.s_DiscDrive, QStringLiteral("A"));
        AddClip(form, "other.avi");
        table = root + MountLine(dvd.path(), "udf", "/dev/sr0");
        watcher->poll();
        QCOMPARE(form.s_DiscDrive, QStringLiteral("A"));

        // Into an empty list it is remembered; later clips from elsewhere go when it leaves.
        table = root;
        watcher->poll();
        QCOMPARE(form.Clips.size(), 1);
        form.ClearClips();
        table = root + MountLine(dvd.path(), "udf", "/dev/sr0");
        watcher->poll();
        QCOMPARE(form.s_DiscDrive, dvd.path());
        AddClip(form, "from elsewhere.avi");
        table = root;
        watcher->poll();
        QVERIFY(form.Clips.isEmpty());
        QCOMPARE(form.s_DiscDrive, QStringLiteral("A"));
    }
};

QTEST_MAIN(TestAdding)
#include "tst_adding.moc"
