// The main window's lifecycle and commands: showing, closing with the option save, the
// folder browse, the start command's checks, dragging, the shape, the outside links and the
// engine's messages.
#include "MainFormFixture.h"
#include "OrvoApplication.h"
#include "ProductStrings.h"
#include "TLimitForm.h"
#include "common/KeyColourRegion.h"
#include "mainform/EngineMessages.h"
#include "platform/WindowMessage.h"
#include "options/TOptionForm.h"
#include "skin/Pictures.h"

#include <QFile>

namespace {

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Closes the notice window each time it is shown, and remembers that it was.
class NoticeCloser : public QObject {
public:
    QList<TLimitForm::LimitMode> shownModes;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == LimitForm && event->type() == QEvent::Show) {
            shownModes << LimitForm->limitMode();
            QMetaObject::invokeMethod(LimitForm->suiButton1, "click", Qt::QueuedConnection);
        }
        return false;
    }
};

struct ClipSpec {
    bool checked;
    bool supported;
};

} // namespace

Q_DECLARE_METATYPE(QList<ClipSpec>)

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        b_UpdaterStarted = false;
        g_s_OutputFolder = QStringLiteral("/videos/out/");
        i_OutputPSPSerialNumber = 1;
    }

    void createdEmptyWithPreviewControlsOff()
    {
        MainFormFixture fixture;
        TestMainForm form;
        QCOMPARE(form.size(), QSize(897, 561));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form.CurrentClip, nullptr);
        QCOMPARE(form.s_DiscDrive, "A");
        QCOMPARE(i_OutputPSPSerialNumber, 1);
        QVERIFY(!form.Preview->suiEdit_Start->isEnabled());
        QVERIFY(!form.Preview->suiEdit_Stop->isEnabled());
        QVERIFY(!form.Preview->Panel_Progress->isEnabled());
        QVERIFY(!form.Preview->suiImageButton_Snapshoot->isEnabled());
        QCOMPARE(form.Preview->Image_Left->x(), 0);
        QCOMPARE(form.Preview->Image_Right->x(), 144);
        QCOMPARE(form.Preview->Image_Stretch->width(), 0);
        QCOMPARE(form.ClipList->Image_Bar->pos(), QPoint(2, 2));
        QVERIFY(form.Image_Chk->isHidden());
        QVERIFY(form.Devices->suiComboBox_Volume->isHidden());
        QCOMPARE(form.Preview->suiEdit_Start->timeText(), "  :  :  ");
    }

    void controlsAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("add") << "suiImageButton_OpenDir" << QRect(37, 59, 89, 38);
        QTest::newRow("share") << "suiImageButton_TellFriend" << QRect(315, 57, 95, 40);
        QTest::newRow("close") << "suiImageButton_Close" << QRect(835, 16, 45, 19);
        QTest::newRow("preview") << "Panel_Preview" << QRect(50, 131, 240, 180);
        QTest::newRow("range bar") << "Panel_Progress" << QRect(67, 332, 154, 16);
        QTest::newRow("snapshot") << "suiImageButton_Snapshoot" << QRect(244, 321, 47, 26);
        QTest::newRow("start box") << "suiEdit_Start" << QRect(385, 306, 55, 19);
        QTest::newRow("end box") << "suiEdit_Stop" << QRect(501, 306, 56, 19);
        QTest::newRow("output folder") << "suiEdit_OutputFolder" << QRect(642, 306, 139, 19);
        QTest::newRow("browse") << "suiImageButton_Browse" << QRect(794, 302, 62, 25);
        QTest::newRow("list") << "Panel_Info" << QRect(318, 137, 546, 146);
        QTest::newRow("add progress") << "Panel_AddProgress" << QRect(404, 163, 348, 71);
        QTest::newRow("intro") << "Panel_Intro" << QRect(22, 100, 847, 260);
        QTest::newRow("start") << "suiImageButton_StartConvert" << QRect(762, 399, 101, 100);
        QTest::newRow("iphone") << "suiImageButton_iPhone" << QRect(168, 365, 112, 50);
        QTest::newRow("music") << "suiImageButton_iPodMusic" << QRect(548, 365, 112, 50);
    }

    void controlsAtTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        MainFormFixture fixture;
        TestMainForm form;
        auto *control = form.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(QRect(control->mapTo(&form, QPoint(0, 0)), control->size()), geometry);
    }

    void showingPreparesTheWindow()
    {
        MainFormFixture fixture;
        WriteFile(fixture.folder.filePath("Option.ini"), "[Option]\nExtName=RM, RMVB\nCodecName=\"Real Media\"\n");
        TestMainForm form;
        form.b_Adding = true;
        form.ClipList->Panel_Intro->hide();
        form.show();
        QCOMPARE(form.Preview->suiEdit_OutputFolder->text(), "/videos/out/IPHONE/");
        QVERIFY(form.ClipList->Panel_AddProgress->isHidden());
        QVERIFY(form.Preview->Label_Info->isHidden());
        QVERIFY(form.ClipList->Panel_Intro->isVisible());
        QVERIFY(!form.b_Adding);
        QCOMPARE(form.UnsupportedExtList, QStringList({"RM", "RMVB"}));
        QCOMPARE(form.UnsupportedFormatList, QStringList({"Real Media"}));
        form.close();
        QVERIFY(form.UnsupportedExtList.isEmpty());
        QVERIFY(form.UnsupportedFormatList.isEmpty());
    }

    void updaterStartedOncePerRun()
    {
        MainFormFixture fixture;
        {
            TestMainForm form;
            form.show();
            form.hide();
            form.show();
        }
        TestMainForm second;
        second.show();
        QCOMPARE(fixture.shell.started, QStringList({"OrvoUpdate"}));
    }

    void windowHasHolesWhereThePictureIsMagenta()
    {
        MainFormFixture fixture;
        TestMainForm form;
        const QImage picture = skin::keyedPicture(QStringLiteral("main_background"));
        QPoint key(-1, -1);
        for (int y = 0; y < picture.height() && key.x() < 0; ++y)
            for (int x = 0; x < picture.width() && key.x() < 0; ++x)
                if (picture.pixel(x, y) == ShapeKeyColour)
                    key = QPoint(x, y);
        QVERIFY2(key.x() >= 0, "the background has a magenta pixel");
        QVERIFY(!form.mask().contains(key));
        QVERIFY(form.mask().contains(QPoint(448, 280)));
        QCOMPARE(form.mask().boundingRect(), QRect(0, 0, 897, 561));
    }

    void failedSaveOnCloseShowsErrorAndStaysOpen()
    {
        MainFormFixture fixture;
        TestMainForm form;
        TOptionForm options;
        OptionForm = &options;
        QDir(fixture.folder.path()).mkdir("Option.ini"); // a folder where the file should be
        form.show();
        QTest::mouseClick(form.Toolbar->suiImageButton_Close, Qt::LeftButton);
        OptionForm = nullptr;
        QCOMPARE(fixture.dialogs.texts(), QStringList({"Unable to write to " + fixture.folder.filePath("Option.ini")}));
        QCOMPARE(fixture.dialogs.messages.first().kind, platform::MessageKind::Error);
        QVERIFY(form.isVisible());
    }

    void closeSavesOptionsAndCloses()
    {
        MainFormFixture fixture;
        TestMainForm form;
        TOptionForm options;
        OptionForm = &options;
        g_s_OutputFolder = QStringLiteral("/videos/out");
        i_OutputPSPSerialNumber = 12;
        form.show();
        QTest::mouseClick(form.Toolbar->suiImageButton_Close, Qt::LeftButton);
        OptionForm = nullptr;
        QVERIFY(fixture.dialogs.messages.isEmpty());
        QVERIFY(!form.isVisible());
        const QByteArray ini = ReadFile(fixture.folder.filePath("Option.ini"));
        QVERIFY2(ini.contains("OutputFolder=/videos/out/\n"), ini.constData());
        QVERIFY2(ini.contains("OutputPSPSerialNumber=12\n"), ini.constData());
    }

    void closeWhileSeekingRefuses()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        form.Preview->Label_Info->show();
        QTest::mouseClick(form.Toolbar->suiImageButton_Close, Qt::LeftButton);
        QCOMPARE(fixture.dialogs.texts(), QStringList({"Seeking disc, please waiting."}));
        QCOMPARE(fixture.dialogs.messages.first().kind, platform::MessageKind::Information);
        QVERIFY(form.isVisible());
    }

    void failedSaveAfterBrowseStopsTheCommand()
    {
        MainFormFixture fixture;
        TestMainForm form;
        TOptionForm options;
        OptionForm = &options;
        QDir(fixture.folder.path()).mkdir("Option.ini");
        fixture.dialogs.folderResults << "/media/usb";
        form.show();
        QTest::mouseClick(form.Preview->suiImageButton_Browse, Qt::LeftButton);
        OptionForm = nullptr;
        QCOMPARE(fixture.dialogs.texts(), QStringList({"Unable to write to " + fixture.folder.filePath("Option.ini")}));
        QCOMPARE(g_s_OutputFolder, "/media/usb/");
    }

    void browseForOutputFolder_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("folder");
        QTest::newRow("cancelled") << QString() << "/videos/out/";
        QTest::newRow("chosen") << "/media/usb/films" << "/media/usb/films/";
        QTest::newRow("chosen with slash") << "/media/usb/" << "/media/usb/";
    }

    void browseForOutputFolder()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, folder);
        MainFormFixture fixture;
        TestMainForm form;
        TOptionForm options;
        OptionForm = &options;
        g_s_OutputFolder = QStringLiteral("/videos/out/");
        if (!chosen.isEmpty())
            fixture.dialogs.folderResults << chosen;
        form.show();
        QTest::mouseClick(form.Preview->suiImageButton_Browse, Qt::LeftButton);
        OptionForm = nullptr;
        QCOMPARE(fixture.dialogs.lastCaption, "Please select Output Folder:");
        QCOMPARE(g_s_OutputFolder, folder);
        const QByteArray ini = ReadFile(fixture.folder.filePath("Option.ini"));
        QCOMPARE(ini.contains("OutputFolder=" + folder.toUtf8() + "\n"), !chosen.isEmpty());
    }

    void startCommand_data()
    {
        QTest::addColumn<QList<ClipSpec>>("clips");
        QTest::addColumn<bool>("adding");
        QTest::addColumn<bool>("seeking");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("notice");
        QTest::addColumn<bool>("converted");
        const QStringList none;
        QTest::newRow("empty list") << QList<ClipSpec>{} << false << false << QStringList{"No clip to convert!"}
                                    << false << false;
        QTest::newRow("none checked") << QList<ClipSpec>{{false, true}} << false << false
                                      << QStringList{"No clip to convert!"} << false << false;
        QTest::newRow("while adding") << QList<ClipSpec>{{true, true}} << true << false << none << false << false;
        QTest::newRow("while seeking") << QList<ClipSpec>{{true, true}} << false << true
                                       << QStringList{"Seeking disc, please waiting."} << false << false;
        QTest::newRow("only an unsupported clip") << QList<ClipSpec>{{true, false}} << false << false << none << true
                                                  << false;
        QTest::newRow("two unsupported, one supported")
            << QList<ClipSpec>{{true, false}, {true, false}, {true, true}} << false << false << none << true << true;
        QTest::newRow("all supported") << QList<ClipSpec>{{true, true}, {false, true}} << false << false << none
                                       << false << true;
        QTest::newRow("supported but unchecked") << QList<ClipSpec>{{true, false}, {false, true}} << false << false
                                                 << none << true << true;
    }

    void startCommand()
    {
        QFETCH(QList<ClipSpec>, clips);
        QFETCH(bool, adding);
        QFETCH(bool, seeking);
        QFETCH(QStringList, messages);
        QFETCH(bool, notice);
        QFETCH(bool, converted);
        MainFormFixture fixture;
        TLimitForm limit;
        LimitForm = &limit;
        NoticeCloser closer;
        limit.installEventFilter(&closer);
        TestMainForm form;
        form.show();
        for (int i = 0; i < clips.size(); ++i)
            AddClip(form, QStringLiteral("clip%1.avi").arg(i), 60, clips[i].supported, clips[i].checked);
        form.b_Adding = adding;
        form.Preview->Label_Info->setVisible(seeking);
        QTest::mouseClick(form.Devices->suiImageButton_StartConvert, Qt::LeftButton);
        LimitForm = nullptr;
        QCOMPARE(fixture.dialogs.texts(), messages);
        QCOMPARE(closer.shownModes.size() == 1, notice);
        QVERIFY(closer.shownModes.size() <= 1);
        if (notice)
            QCOMPARE(closer.shownModes.first(), TLimitForm::LimitMode::UnsupportedClip);
        QCOMPARE(form.converted, converted);
        QCOMPARE(i_OutputPSPSerialNumber, 1);
    }

    void dragByBackground_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("area");
        QTest::addColumn<bool>("moves");
        QTest::newRow("left on the background") << Qt::LeftButton << "Image_Bk" << true;
        QTest::newRow("left on the intro") << Qt::LeftButton << "Image" << true;
        QTest::newRow("right on the background") << Qt::RightButton << "Image_Bk" << false;
    }

    void dragByBackground()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QString, area);
        QFETCH(bool, moves);
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        form.move(100, 80);
        auto *picture = form.findChild<QWidget *>(area);
        QVERIFY(picture);
        const QPoint grab(400, 30);
        QTest::mousePress(picture, button, {}, grab);
        QTest::mouseMove(picture, grab + QPoint(37, -21));
        QTest::mouseRelease(picture, button, {}, grab + QPoint(37, -21));
        QCOMPARE(form.pos(), moves ? QPoint(137, 59) : QPoint(100, 80));
        QVERIFY(!form.b_WindowDragging);
    }

    void outsideLinks_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("address");
        QTest::newRow("home") << "suiImageButton_Home" << HomePage;
        QTest::newRow("contact") << "suiImageButton_Mail" << SupportEmail;
    }

    void outsideLinks()
    {
        QFETCH(QString, button);
        QFETCH(QString, address);
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.findChild<QWidget *>(button), Qt::LeftButton);
        QCOMPARE(fixture.shell.opened, QStringList({address}));
    }

    void shareLinkHasFixedStartAndEnd()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.Toolbar->suiImageButton_TellFriend, Qt::LeftButton);
        QCOMPARE(fixture.shell.opened.size(), 1);
        const QString link = fixture.shell.opened.first();
        QVERIFY2(link.startsWith("mailto:?subject=Recommend a 100% Free Video Converter&body=Dear ,%0a%0a"),
                 qPrintable(link));
        QVERIFY(link.endsWith("%0a%0aBest Wishes%0aYours,"));
        QVERIFY(link.contains(DisplayProductName));
        QVERIFY(link.contains(HomePage));
        QVERIFY(!link.contains('\n'));
    }

    void engineMessages_data()
    {
        QTest::addColumn<int>("message");
        QTest::addColumn<bool>("reachesDefault");
        QTest::newRow("frame source ready") << 2312 << false;
        QTest::newRow("frame available") << 2412 << false;
        QTest::newRow("frame source closed") << 2512 << false;
        QTest::newRow("1156 is dropped") << 1156 << false;
        QTest::newRow("job end is not the window's") << 2023 << true;
    }

    void engineMessages()
    {
        QFETCH(int, message);
        QFETCH(bool, reachesDefault);
        MainFormFixture fixture;
        TestMainForm form;
        platform::WindowMessageEvent event(static_cast<std::uint32_t>(message), 1, 0);
        QCoreApplication::sendEvent(&form, &event);
        QCOMPARE(form.reachedDefault, reachesDefault);
    }
};

int main(int argc, char **argv)
{
    // The option store creates the default output folder under the home folder.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    OrvoApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainform.moc"
