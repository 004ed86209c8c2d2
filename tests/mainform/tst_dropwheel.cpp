// Files dropped on the main window go through the add command's steps; the mouse wheel over
// the clip list moves the thumb a row per notch; rows that will not be converted are greyed.
#include "MainFormFixture.h"
#include "ScriptedEngine.h"

#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

ORVO_DEFINE_ENGINE_SCRIPT()

namespace {

ScriptedEngineScript &Script()
{
    return *orvo_scripted_engine_script();
}

// Every file probes as a 320 x 240 clip of 30 seconds, unless it is listed as refused.
struct ScriptedClips {
    QStringList refusedPaths;
    QStringList probed;

    ScriptedClips()
    {
        Script().takeCalls();
        Script().probe = [this](const char *path, KrodecProbeInfo *info) {
            probed << QString::fromUtf8(path);
            if (refusedPaths.contains(QString::fromUtf8(path)))
                return -1;
            info->seconds = 30;
            info->frameRate = 25;
            info->width = 320;
            info->height = 240;
            info->aspectCode = 2;
            return 0;
        };
    }
    ~ScriptedClips() { Script().probe = nullptr; }
};

QStringList PathsOf(const TMainForm &form)
{
    QStringList paths;
    for (const TVideoInfo *entry : form.Clips)
        paths << entry->FilePath();
    return paths;
}

// Drags the urls over the widget at its centre and drops them there, as the window system
// hands a drop to the widget under the cursor. True when the drop was taken.
bool DropOn(QWidget *target, const QList<QUrl> &urls, bool *entered = nullptr)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (entered)
        *entered = enter.isAccepted();
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

void TurnWheel(QWidget *target, int angle)
{
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    // As from the window system (sendEvent would make it synthetic): only such turns go on
    // to the parents of the widget under the cursor.
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(target, &wheel);
}

// The darkest pixel of the widget's picture, 0 black to 255 white.
int DarkestGrey(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

} // namespace

class TestDropWheel : public QObject {
    Q_OBJECT

    QString m_startDirectory;
    QTemporaryDir m_output;
    QTemporaryDir m_videos;

    void useScriptedEngine() { platform::SetProgramFolder(QStringLiteral(ORVO_SCRIPTED_ENGINE_DIR "/")); }
    QString video(const QString &name) const { return m_videos.filePath(name); }
    QUrl url(const QString &name) const { return QUrl::fromLocalFile(video(name)); }

private slots:
    void initTestCase()
    {
        m_startDirectory = QDir::currentPath();
        g_s_OutputFolder = m_output.path() + QLatin1Char('/');
        for (const char *name : {"a.mpg", "b.mpg", "c.mpg", "bad.avi"}) {
            QFile file(video(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(m_videos.path()).mkpath("folder/inside"));
        QFile inside(video("folder/inside/d.mpg"));
        QVERIFY(inside.open(QIODevice::WriteOnly));
    }
    void cleanup() { QDir::setCurrent(m_startDirectory); }

    // Only files count, in the order dropped: the folder is not scanned, the remote address
    // and the missing file are left out. Then the add command's steps from the current
    // directory on: progress panel, one message for the refused, first entry current.
    void droppedFilesAreAddedInOrder()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        clips.refusedPaths << video("bad.avi");
        TestMainForm form;
        form.show();
        bool panelShown = false;
        Script().probe = [&, probe = Script().probe](const char *path, KrodecProbeInfo *info) {
            panelShown = panelShown || !form.ClipList->Panel_AddProgress->isHidden();
            return probe(path, info);
        };

        bool entered = false;
        QVERIFY(DropOn(form.ClipList->Panel_Info,
                       {url("c.mpg"), url("folder"), QUrl("https://example.com/e.mpg"), url("bad.avi"),
                        url("missing.mpg"), url("a.mpg")},
                       &entered));
        QVERIFY(entered);
        QTRY_COMPARE(form.Clips.size(), 2);

        QCOMPARE(clips.probed, QStringList({video("c.mpg"), video("bad.avi"), video("a.mpg")}));
        QCOMPARE(PathsOf(form), QStringList({video("c.mpg"), video("a.mpg")}));
        QVERIFY(panelShown);
        QVERIFY(form.ClipList->Panel_AddProgress->isHidden());
        QCOMPARE(QDir::currentPath() + QLatin1Char('/'), g_s_OutputFolder);
        QCOMPARE(fixture.dialogs.texts(),
                 QStringList{"Some UNSUPPORTED file(s) format can not add in. \n\n" + video("bad.avi") + "\n"});
        QCOMPARE(form.CurrentClip, form.Clips.first());
        QVERIFY(form.Clips.first()->IsSelected());
        QVERIFY(!form.b_Adding);
        QVERIFY(fixture.dialogs.openResults.isEmpty());
    }

    void oneDroppedFileAddsWithoutPanel()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        TestMainForm form;
        form.show();
        TVideoInfo *first = AddClip(form, "first.avi");
        first->Select();
        form.SetCurrentClip(first);
        bool panelShown = false;
        Script().probe = [&, probe = Script().probe](const char *path, KrodecProbeInfo *info) {
            panelShown = !form.ClipList->Panel_AddProgress->isHidden();
            return probe(path, info);
        };

        QVERIFY(DropOn(form.Devices->suiImageButton_StartConvert, {url("b.mpg")}));
        QTRY_COMPARE(form.Clips.size(), 2);
        QVERIFY(!panelShown);
        QCOMPARE(form.Clips.last()->FilePath(), video("b.mpg"));
        QCOMPARE(form.CurrentClip, first);
        QVERIFY(fixture.dialogs.messages.isEmpty());
    }

    void dropsThatAddNothing_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("a folder only") << "" << QStringList{"folder"};
        QTest::newRow("a remote address only") << "" << QStringList{"https://example.com/e.mpg"};
        QTest::newRow("while adding") << "adding" << QStringList{"a.mpg"};
        QTest::newRow("while the seek notice shows") << "seeking" << QStringList{"a.mpg"};
    }
    void dropsThatAddNothing()
    {
        QFETCH(QString, state);
        QFETCH(QStringList, names);
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        TestMainForm form;
        form.show();
        form.b_Adding = state == QLatin1String("adding");
        if (state == QLatin1String("seeking"))
            form.Preview->Label_Info->show();
        QList<QUrl> urls;
        for (const QString &name : std::as_const(names))
            urls << (name.startsWith("https:") ? QUrl(name) : url(name));

        bool entered = true;
        QVERIFY(!DropOn(&form, urls, &entered));
        QVERIFY(!entered);
        QTest::qWait(50);
        QVERIFY(clips.probed.isEmpty());
        QVERIFY(form.Clips.isEmpty());
        QCOMPARE(QDir::currentPath(), m_startDirectory);
        QVERIFY(fixture.dialogs.messages.isEmpty());
    }

    // The add of a drop runs after the drop; an add begun in between wins, the drop is left out.
    void queuedDropChecksAgain()
    {
        MainFormFixture fixture;
        useScriptedEngine();
        ScriptedClips clips;
        TestMainForm form;
        form.show();
        QVERIFY(DropOn(&form, {url("a.mpg")}));
        form.b_Adding = true;
        QTest::qWait(50);
        QVERIFY(form.Clips.isEmpty());
        form.b_Adding = false;
    }

    // Thumb top and first row shown after each turn, from the top of a list of `count`.
    void wheelMovesARowPerNotch_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("turns");
        QTest::addColumn<QList<int>>("thumbTops");
        QTest::addColumn<QList<int>>("firstRows");
        // 20 rows: 12 to scroll over 122 thumb steps, a row every 10.17 steps.
        QTest::newRow("one notch down and back")
            << 20 << QList<int>{-120, 120} << QList<int>{13, 2} << QList<int>{1, 0};
        QTest::newRow("three notches at once, then one up")
            << 20 << QList<int>{-360, 120} << QList<int>{33, 23} << QList<int>{3, 2};
        QTest::newRow("half notches add up") << 20 << QList<int>{-60, -60} << QList<int>{2, 13} << QList<int>{0, 1};
        QTest::newRow("clamped at both ends like a drag")
            << 20 << QList<int>{-120 * 40, 120 * 40, 120} << QList<int>{124, 2, 2} << QList<int>{12, 0, 0};
        QTest::newRow("eight rows do not scroll") << 8 << QList<int>{-120, -120} << QList<int>{2, 2} << QList<int>{0, 0};
        // More rows than thumb steps: a notch up still moves.
        QTest::newRow("300 rows") << 300 << QList<int>{-120, -120, 120} << QList<int>{3, 4, 3}
                                  << QList<int>{2, 4, 2};
    }
    void wheelMovesARowPerNotch()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, turns);
        QFETCH(QList<int>, thumbTops);
        QFETCH(QList<int>, firstRows);
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        for (int i = 0; i < count; ++i)
            AddClip(form, QStringLiteral("clip %1.avi").arg(i));
        // Over the text of a row, over the free strip, over the thumb: all reach the list.
        QWidget *const over[] = {form.Clips.first()->Label_ClipName, form.ClipList->Panel_Bar, form.ClipList->Image_Bar};
        for (int i = 0; i < turns.size(); ++i) {
            TurnWheel(over[i % 3], turns.at(i));
            QCOMPARE(form.ClipList->Image_Bar->y(), thumbTops.at(i));
            QCOMPARE(form.ClipList->suiImagePanel_InfoMove->y(), -ClipRowPitch * firstRows.at(i));
            QCOMPARE(ClipScrollOffset(count, form.ClipList->Image_Bar->y()), firstRows.at(i));
        }
    }

    void wheelOutsideTheListDoesNotScroll()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        for (int i = 0; i < 20; ++i)
            AddClip(form, QStringLiteral("clip %1.avi").arg(i));
        TurnWheel(form.Image_Bk, -120);
        QCOMPARE(form.ClipList->Image_Bar->y(), 2);
        QCOMPARE(form.ClipList->suiImagePanel_InfoMove->y(), 0);
    }

    // Every text of a refused row, also those made after it was marked, is drawn greyed;
    // its tooltip stays as it was.
    void unsupportedRowsAreGreyed()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *good = AddClip(form, "good.avi");
        TVideoInfo *refused = AddClip(form, "refused.avi", 60, false);
        refused->SetInfoHint(QStringLiteral("one\ntwo\nthree"));
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        for (TLabelInfo *TVideoInfo::*label : {&TVideoInfo::Label_ClipName, &TVideoInfo::Label_VideoLength,
                                           &TVideoInfo::Label_VideoSize, &TVideoInfo::Label_OutputName}) {
            const int goodGrey = DarkestGrey(good->*label);
            const int refusedGrey = DarkestGrey(refused->*label);
            QVERIFY2(goodGrey < 60 && refusedGrey > 100 && refusedGrey < 200,
                     qPrintable(QStringLiteral("%1 / %2").arg(goodGrey).arg(refusedGrey)));
        }
        QCOMPARE(refused->toolTip(), QStringLiteral("one\ntwo\nthree"));

        // Marked supported again, it is drawn like the others.
        refused->SetSupported(true);
        QVERIFY(DarkestGrey(refused->Label_ClipName) < 60);
        refused->SetSupported(false);
        refused->Select();
        QVERIFY(DarkestGrey(refused->Label_ClipName) > 100);
    }
};

QTEST_MAIN(TestDropWheel)
#include "tst_dropwheel.moc"
