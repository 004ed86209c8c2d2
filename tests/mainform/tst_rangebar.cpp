// The trim range: the range bar's geometry and drags, and the time boxes' reading, colours
// and storing.
#include "MainFormFixture.h"
#include "mainform/RangeRules.h"
#include "skin/ImageButton.h"

namespace {

const QColor Normal(202, 202, 202);
const QColor Red(255, 0, 0);
const QColor Lime(0, 255, 0);

// A drag of a part of the bar by dx pixels, with the left button, in steps.
void Drag(QWidget *part, int dx, bool release = true)
{
    const QPoint origin = part->mapToGlobal(QPoint(4, 4));
    QTest::mousePress(part, Qt::LeftButton, {}, QPoint(4, 4));
    const int steps = 4;
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(part, part->mapFromGlobal(origin + QPoint(dx * i / steps, 0)));
    if (release)
        QTest::mouseRelease(part, Qt::LeftButton, {}, part->mapFromGlobal(origin + QPoint(dx, 0)));
}

// The box takes the keyboard focus, then loses it to the output folder field.
void Leave(QWidget *box, QWidget *next)
{
    box->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(box->window()));
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    next->setFocus();
    QTRY_VERIFY(next->hasFocus());
}

} // namespace

class TestRangeBar : public QObject {
    Q_OBJECT

private slots:
    void startHandleTimes_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("seconds");
        // On 134 s each pixel is a second, but the 32-bit fraction lies just below it at 1, 2, 8.
        QTest::newRow("1 px") << 1 << 0;
        QTest::newRow("2 px") << 2 << 1;
        QTest::newRow("7 px") << 7 << 7;
        QTest::newRow("8 px") << 8 << 7;
        QTest::newRow("rest") << 0 << 0;
        QTest::newRow("end of track") << 134 << 134;
    }

    void startHandleTimes()
    {
        QFETCH(int, left);
        QFETCH(int, seconds);
        QCOMPARE(TimeAtFraction(134, StartFractionAt(left)), seconds);
    }

    void endHandleAtItsStopGivesTheLength()
    {
        QCOMPARE(TimeAtFraction(134, EndFractionAt(RangeEndRest)), 134);
        QCOMPARE(TimeAtFraction(3600, EndFractionAt(RangeEndRest)), 3600);
    }

    void seekTimes_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("seek");
        QTest::newRow("last 10 s: 10 s earlier") << 95 << 100 << 85;
        QTest::newRow("10 s before the end") << 90 << 100 << 90;
        QTest::newRow("at the end") << 100 << 100 << 90;
        QTest::newRow("0 from second 1") << 0 << 100 << 1;
        QTest::newRow("short clip") << 3 << 5 << 1;
    }

    void seekTimes()
    {
        QFETCH(int, position);
        QFETCH(int, duration);
        QFETCH(int, seek);
        QCOMPARE(SeekTimeFor(position, duration), seek);
    }

    void dragClamps_data()
    {
        QTest::addColumn<int>("part"); // 0 start, 1 end, 2 range
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("expected");
        // Start handle with the end handle at 100: up to 90.
        QTest::newRow("start before the track") << 0 << -5 << 0;
        QTest::newRow("start stops at the end handle") << 0 << 95 << 90;
        QTest::newRow("start free") << 0 << 40 << 40;
        // End handle with the start handle at 30, on the 154 px track with a 10 px handle.
        QTest::newRow("end stops at the start handle") << 1 << 20 << 40;
        QTest::newRow("end stops at 144") << 1 << 200 << 144;
        // Range bar 50 px wide.
        QTest::newRow("range stops at the left") << 2 << 3 << 10;
        QTest::newRow("range stops at the right") << 2 << 120 << 94;
    }

    void dragClamps()
    {
        QFETCH(int, part);
        QFETCH(int, x);
        QFETCH(int, expected);
        const int got = part == 0   ? DraggedStartLeft(x, 100)
                        : part == 1 ? DraggedEndLeft(x, 30, 154, 10)
                                    : DraggedStretchLeft(x, 154, 10, 50);
        QCOMPARE(got, expected);
    }

    void timeBoxReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("whole time") << "01:02:03" << 3723;
        QTest::newRow("minutes and seconds above 59") << "00:99:99" << 6039;
        QTest::newRow("99 minutes") << "00:99:00" << 5940;
        QTest::newRow("blanks count 0") << " 1: 2:  " << 1 * 3600 + 2 * 60;
        QTest::newRow("free places") << "1_:__:_5" << 10 * 3600 + 5;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("short") << "00:01" << 60;
    }

    void timeBoxReading()
    {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        QCOMPARE(TimeBoxValue(text), seconds);
    }

    void rangeOfAClipPlacesTheHandles_data()
    {
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::newRow("whole clip") << 60 << 0 << 60 << 0 << 144;
        QTest::newRow("middle") << 134 << 30 << 100 << 30 << 110;
        QTest::newRow("length 0 at rest") << 0 << 0 << 0 << 0 << 144;
    }

    void rangeOfAClipPlacesTheHandles()
    {
        QFETCH(int, duration);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, left);
        QFETCH(int, right);
        MainFormFixture fixture;
        TestMainForm form;
        TVideoInfo *clip = AddClip(form, "a.avi", duration);
        clip->SetStartTime(start);
        clip->SetEndTime(end);
        form.SetCurrentClip(clip);
        PreviewPanel *p = form.Preview;
        QCOMPARE(p->Image_Left->x(), left);
        QCOMPARE(p->Image_Right->x(), right);
        QVERIFY(p->Image_Left->isEnabled());
        QCOMPARE(p->Image_Stretch->x(), left + RangeHandleWidth);
        QCOMPARE(p->Image_Stretch->width(), right - left - RangeHandleWidth);
        form.SetCurrentClip(nullptr);
        QCOMPARE(p->Image_Left->x(), 0);
        QCOMPARE(p->Image_Right->x(), 144);
        QVERIFY(!p->Image_Left->isEnabled());
        QCOMPARE(p->Image_Stretch->width(), 0);
    }

    void draggingTheStartHandleShowsLimeAndStoresOnRelease()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *clip = AddClip(form, "a.avi", 134);
        form.SetCurrentClip(clip);
        PreviewPanel *p = form.Preview;
        Drag(p->Image_Left, 40, false);
        QCOMPARE(p->Image_Left->x(), 40);
        // 40 px of 134 on a 134 s clip: the 32-bit fraction lies just below 40 s.
        QCOMPARE(p->suiEdit_Start->timeText(), "00:00:39");
        QCOMPARE(p->suiEdit_Start->color(), Lime);
        QCOMPARE(clip->StartTime(), 0); // nothing stored while moving
        QCOMPARE(p->Image_Stretch->x(), 50);
        QTest::mouseRelease(p->Image_Left, Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(clip->StartTime(), 39);
        QCOMPARE(clip->Label_Beginning->text(), "00:00:39");
        QCOMPARE(p->suiEdit_Start->color(), Normal);
        // No engine in this folder: the pane does not stay busy.
        QVERIFY(p->Label_Info->isHidden());
        QVERIFY(p->Panel_Progress->isEnabled());
    }

    void startHandleNeverPassesTheEndHandle()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *clip = AddClip(form, "a.avi", 134);
        clip->SetEndTime(60);
        form.SetCurrentClip(clip);
        PreviewPanel *p = form.Preview;
        QCOMPARE(p->Image_Right->x(), 70);
        Drag(p->Image_Left, 120);
        QCOMPARE(p->Image_Left->x(), 60);
        QCOMPARE(p->Image_Stretch->width(), 0);
        QCOMPARE(clip->StartTime(), 60);
    }

    void endHandleStopsAtTheTrackEndAndGivesTheLength()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *clip = AddClip(form, "a.avi", 134);
        clip->SetEndTime(100);
        form.SetCurrentClip(clip);
        PreviewPanel *p = form.Preview;
        Drag(p->Image_Right, 80);
        QCOMPARE(p->Image_Right->x(), 144);
        QCOMPARE(clip->EndTime(), 134);
        QCOMPARE(clip->Label_Ending->text(), "Ending");
        QCOMPARE(p->suiEdit_Stop->timeText(), "00:02:14");
        QCOMPARE(p->suiEdit_Stop->color(), Normal);
    }

    void rangeBarKeepsItsWidthAndStopsAtTheEnds()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *clip = AddClip(form, "a.avi", 134);
        clip->SetStartTime(20);
        clip->SetEndTime(70);
        form.SetCurrentClip(clip);
        PreviewPanel *p = form.Preview;
        QCOMPARE(p->Image_Stretch->width(), 50);
        Drag(p->Image_Stretch, 40, false);
        QCOMPARE(p->Image_Left->x(), 60);
        QCOMPARE(p->Image_Right->x(), 120);
        QCOMPARE(p->suiEdit_Start->color(), Lime);
        QCOMPARE(p->suiEdit_Stop->color(), Lime);
        QTest::mouseRelease(p->Image_Stretch, Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(clip->StartTime(), 60);
        QCOMPARE(clip->EndTime(), 109);
        QCOMPARE(p->suiEdit_Start->color(), Normal);

        Drag(p->Image_Stretch, 500);
        QCOMPARE(p->Image_Right->x(), 144);
        QCOMPARE(p->Image_Left->x(), 84);
        QCOMPARE(p->Image_Stretch->width(), 50);
        QCOMPARE(clip->EndTime(), 134);
        Drag(p->Image_Stretch, -500);
        QCOMPARE(p->Image_Left->x(), 0);
        QCOMPARE(p->Image_Right->x(), 60);
        QCOMPARE(clip->StartTime(), 0);
    }

    void rightButtonDoesNotDrag()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *clip = AddClip(form, "a.avi", 134);
        form.SetCurrentClip(clip);
        PreviewPanel *p = form.Preview;
        QTest::mousePress(p->Image_Left, Qt::RightButton, {}, QPoint(4, 4));
        QTest::mouseMove(p->Image_Left, QPoint(40, 4));
        QTest::mouseRelease(p->Image_Left, Qt::RightButton, {}, QPoint(40, 4));
        QCOMPARE(p->Image_Left->x(), 0);
        QVERIFY(p->Label_Info->isHidden());
    }

    void typedTimesAreColoured_data()
    {
        QTest::addColumn<bool>("startBox");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QColor>("colour");
        // The clip: 240 s, trimmed to 30 .. 200.
        QTest::newRow("end past the length") << false << "00:05:00" << Red;
        QTest::newRow("end at the length") << false << "00:04:00" << Normal;
        QTest::newRow("end before the start") << false << "00:00:29" << Red;
        QTest::newRow("end at the start") << false << "00:00:30" << Normal;
        QTest::newRow("start after the end") << true << "00:03:21" << Red;
        QTest::newRow("start at the end") << true << "00:03:20" << Normal;
        QTest::newRow("start 0") << true << "00:00:00" << Normal;
    }

    void typedTimesAreColoured()
    {
        QFETCH(bool, startBox);
        QFETCH(QString, typed);
        QFETCH(QColor, colour);
        MainFormFixture fixture;
        TestMainForm form;
        TVideoInfo *clip = AddClip(form, "a.avi", 240);
        clip->SetStartTime(30);
        clip->SetEndTime(200);
        form.SetCurrentClip(clip);
        skin::TimeEdit *box = startBox ? form.Preview->suiEdit_Start : form.Preview->suiEdit_Stop;
        box->selectAll();
        QTest::keyClicks(box, QString(typed).remove(':'));
        QCOMPARE(box->timeText(), typed);
        QCOMPARE(box->color(), colour);
    }

    void leavingARedBoxRestoresTheStoredTime()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *clip = AddClip(form, "a.avi", 240);
        form.SetCurrentClip(clip);
        skin::TimeEdit *box = form.Preview->suiEdit_Stop;
        box->setText("00:05:00");
        QCOMPARE(box->color(), Red);
        Leave(box, form.Preview->suiEdit_OutputFolder);
        QCOMPARE(box->timeText(), "00:04:00");
        QCOMPARE(box->color(), Normal);
        QCOMPARE(clip->EndTime(), 240);
    }

    void leavingAValidBoxStoresAndMovesTheHandles()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *clip = AddClip(form, "a.avi", 134);
        form.SetCurrentClip(clip);
        PreviewPanel *p = form.Preview;
        p->suiEdit_Start->setText("00:01:07");
        Leave(p->suiEdit_Start, p->suiEdit_OutputFolder);
        QCOMPARE(clip->StartTime(), 67);
        QCOMPARE(p->Image_Left->x(), 67);
        // No new frame is asked for.
        QVERIFY(p->Label_Info->isHidden());
        p->suiEdit_Stop->setText("00:01:40");
        Leave(p->suiEdit_Stop, p->suiEdit_OutputFolder);
        QCOMPARE(clip->EndTime(), 100);
        QCOMPARE(p->Image_Right->x(), 110);
    }

    void startBoxTakesMinutesAbove59()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *clip = AddClip(form, "a.avi", 7200);
        form.SetCurrentClip(clip);
        PreviewPanel *p = form.Preview;
        p->suiEdit_Start->selectAll();
        QTest::keyClicks(p->suiEdit_Start, "009999");
        QCOMPARE(p->suiEdit_Start->timeText(), "00:99:99");
        Leave(p->suiEdit_Start, p->suiEdit_OutputFolder);
        QCOMPARE(clip->StartTime(), 6039);
    }

    void clearingGivesTheBoxesTheirNormalColour()
    {
        MainFormFixture fixture;
        TestMainForm form;
        TVideoInfo *clip = AddClip(form, "a.avi", 240);
        form.SetCurrentClip(clip);
        form.Preview->suiEdit_Start->setText("00:09:00");
        QCOMPARE(form.Preview->suiEdit_Start->color(), Red);
        form.ClearClips();
        QCOMPARE(form.Preview->suiEdit_Start->color(), Normal);
    }
};

QTEST_MAIN(TestRangeBar)
#include "tst_rangebar.moc"
