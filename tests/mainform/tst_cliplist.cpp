// The clip rows and the clip list of the main window: texts and clamps, selection, removal,
// the context menu and scrolling.
#include "MainFormFixture.h"

#include <QMenu>

namespace {

enum class Setter { Duration, Start, End };

QList<int> FullyShownRows(const TMainForm &form)
{
    QList<int> shown;
    const int top = form.ClipList->suiImagePanel_InfoMove->y();
    const int height = form.ClipList->Panel_Info->height();
    for (int i = 0; i < form.Clips.size(); ++i) {
        const int rowTop = top + form.Clips.at(i)->y();
        if (rowTop >= 0 && rowTop + ClipRowHeight <= height)
            shown << i;
    }
    return shown;
}

QList<int> Range(int first, int last)
{
    QList<int> r;
    for (int i = first; i <= last; ++i)
        r << i;
    return r;
}

} // namespace

Q_DECLARE_METATYPE(Setter)

class TestClipList : public QObject {
    Q_OBJECT

private slots:
    void timeTexts_data()
    {
        QTest::addColumn<Setter>("setter");
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored");
        QTest::newRow("length of a day") << Setter::Duration << 0 << 86400 << "Video Length : 24:00:00" << 86400;
        QTest::newRow("length past a day") << Setter::Duration << 0 << 86401 << "Video Length : 00:00:00" << 0;
        QTest::newRow("negative length") << Setter::Duration << 0 << -1 << "Video Length : 00:00:00" << 0;
        QTest::newRow("length of 100 hours cut") << Setter::Duration << 0 << 360000 << "Video Length : 00:00:00" << 0;
        QTest::newRow("start 0") << Setter::Start << 600 << 0 << "Beginning" << 0;
        QTest::newRow("start 75") << Setter::Start << 600 << 75 << "00:01:15" << 75;
        QTest::newRow("start past a day") << Setter::Start << 600 << 90000 << "Beginning" << 0;
        QTest::newRow("end at length") << Setter::End << 600 << 600 << "Ending" << 600;
        QTest::newRow("end before length") << Setter::End << 600 << 30 << "00:00:30" << 30;
        QTest::newRow("end 0 of no length") << Setter::End << 0 << 0 << "Ending" << 0;
        QTest::newRow("end negative") << Setter::End << 600 << -5 << "00:00:00" << 0;
    }

    void timeTexts()
    {
        QFETCH(Setter, setter);
        QFETCH(int, duration);
        QFETCH(int, seconds);
        QFETCH(QString, text);
        QFETCH(int, stored);
        ClipMarks marks;
        TVideoInfo entry(nullptr, &marks);
        entry.SetDuration(duration);
        switch (setter) {
        case Setter::Duration:
            entry.SetDuration(seconds);
            QCOMPARE(entry.Label_VideoLength->text(), text);
            QCOMPARE(entry.Duration(), stored);
            break;
        case Setter::Start:
            entry.SetStartTime(seconds);
            QCOMPARE(entry.Label_Beginning->text(), text);
            QCOMPARE(entry.StartTime(), stored);
            break;
        case Setter::End:
            entry.SetEndTime(seconds);
            QCOMPARE(entry.Label_Ending->text(), text);
            QCOMPARE(entry.EndTime(), stored);
            break;
        }
    }

    void nameTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("40 characters") << QString(30, 'a') + QString(10, 'b') << QString(6, ' ') + QString(30, 'a');
        QTest::newRow("3 characters") << "a.b" << QString(6, ' ') + "a.b" + QString(27, ' ');
        QTest::newRow("exactly 30") << QString(30, 'c') << QString(6, ' ') + QString(30, 'c');
    }

    void nameTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        MainFormFixture fixture;
        TestMainForm form;
        TVideoInfo *entry = form.CreateClipEntry(name);
        QCOMPARE(entry->Label_ClipName->text(), text);
        QCOMPARE(entry->Label_ClipName->geometry(), QRect(2, 0, 120, 17));
        QVERIFY(!entry->IsSelected());
        QVERIFY(!entry->IsChecked());
    }

    void pictureTexts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("aspect");
        QTest::newRow("other code, too narrow") << 5 << 8 << 600 << "Video Size : Unknown" << 4 << 8.0 / 600;
        QTest::newRow("4:3 code, same size") << 2 << 8 << 600 << "Video Size : 8X600" << 0 << 8.0 / 600;
        QTest::newRow("square") << 1 << 640 << 480 << "Video Size : 640X480" << 2 << 640.0 / 480;
        QTest::newRow("16:9") << 3 << 720 << 576 << "Video Size : 720X576" << 1 << 720.0 / 576;
        QTest::newRow("2.21:1") << 4 << 720 << 480 << "Video Size : 720X480" << 3 << 1.5;
        QTest::newRow("other code, large enough") << 0 << 352 << 288 << "Video Size : 352X288" << 4 << 352.0 / 288;
        QTest::newRow("no height") << 0 << 320 << 0 << "Video Size : Unknown" << 4 << 1.0;
        QTest::newRow("no height, square code") << 1 << 320 << 0 << "Video Size : 320X0" << 2 << 1.0;
    }

    void pictureTexts()
    {
        QFETCH(int, code);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(double, aspect);
        ClipMarks marks;
        TVideoInfo entry(nullptr, &marks);
        QCOMPARE(entry.AspectIndex(), -1);
        entry.SetPicture(code, width, height);
        QCOMPARE(entry.Label_VideoSize->text(), text);
        QCOMPARE(entry.AspectIndex(), index);
        QCOMPARE(entry.Picture().pictureAspect, aspect);
        QCOMPARE(entry.Picture().width, width);
        QCOMPARE(entry.Picture().height, height);
    }

    void outputNames_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("name");
        QTest::newRow("first video") << 1 << 0 << "0001.mp4";
        QTest::newRow("music") << 42 << 1 << "0042.mp3";
        QTest::newRow("apple tv") << 999 << 3 << "0999.mp4";
        QTest::newRow("wraps") << 10007 << 2 << "0007.mp4";
        QTest::newRow("below one") << 0 << 1 << "8888.mp3";
    }

    void outputNames()
    {
        QFETCH(int, number);
        QFETCH(int, device);
        QFETCH(QString, name);
        QCOMPARE(OutputNameFor(number, device), name);
    }

    void appendedRowsStackAndNumber()
    {
        MainFormFixture fixture;
        TestMainForm form;
        i_OutputPSPSerialNumber = 7;
        TVideoInfo *a = AddClip(form, "a.avi");
        TVideoInfo *b = AddClip(form, "b.avi");
        QCOMPARE(a->geometry(), QRect(0, 0, 792, 17));
        QCOMPARE(b->geometry(), QRect(0, 18, 792, 17));
        QCOMPARE(a->Label_OutputName->text(), "0007.mp4");
        QCOMPARE(b->Label_OutputName->text(), "0008.mp4");
        QCOMPARE(form.ClipList->suiImagePanel_InfoMove->height(), 35);
        QCOMPARE(b->parentWidget(), form.ClipList->suiImagePanel_InfoMove);
        QCOMPARE(form.ClipAt(1), b);
        QCOMPARE(form.ClipAt(2), nullptr);
        QCOMPARE(form.ClipAt(-1), nullptr);
    }

    void pressOnTextSelectsRowAndMakesItCurrent()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *a = AddClip(form, "a.avi");
        TVideoInfo *b = AddClip(form, "b.avi", 125);
        QTest::mouseClick(a->Label_VideoSize, Qt::LeftButton);
        QVERIFY(a->IsSelected());
        QTest::mouseClick(b->Label_VideoLength, Qt::LeftButton);
        QVERIFY(!a->IsSelected());
        QVERIFY(b->IsSelected());
        QVERIFY(!b->isTransparent());
        QVERIFY(a->isTransparent());
        QCOMPARE(form.CurrentClip, b);
        QVERIFY(form.Preview->suiEdit_Start->isEnabled());
        QCOMPARE(form.Preview->suiEdit_Stop->text(), "00:02:05");
    }

    void clickOnCheckMarkSelectsAndKeepsCheck()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        AddClip(form, "a.avi");
        TVideoInfo *b = AddClip(form, "b.avi");
        QTest::mouseClick(b->Image_Mark, Qt::LeftButton);
        QVERIFY(b->IsSelected());
        QVERIFY(b->IsChecked());
        QCOMPARE(form.CurrentClip, b);
    }

    void removeMiddleOfThree()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        i_OutputPSPSerialNumber = 1;
        TVideoInfo *a = AddClip(form, "a.avi");
        TVideoInfo *b = AddClip(form, "b.avi");
        TVideoInfo *c = AddClip(form, "c.avi");
        QTest::mouseClick(b->Label_ClipName, Qt::LeftButton);
        QCOMPARE(form.CurrentClip, b);
        QTest::mouseClick(form.Toolbar->suiImageButton_OpenFile, Qt::LeftButton);
        QCOMPARE(form.Clips, QList<TVideoInfo *>({a, c}));
        QCOMPARE(c->y(), 18);
        QCOMPARE(c->Label_OutputName->text(), "0002.mp4");
        QCOMPARE(form.CurrentClip, nullptr);
        QVERIFY(form.SelectedClips.isEmpty());
        QCOMPARE(form.ClipList->suiImagePanel_InfoMove->height(), 36);
        QVERIFY(form.ClipList->Panel_Intro->isHidden());
    }

    void removeWithNothingSelected()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        i_OutputPSPSerialNumber = 1;
        TVideoInfo *a = AddClip(form, "a.avi");
        TVideoInfo *b = AddClip(form, "b.avi");
        form.SetCurrentClip(a);
        i_OutputPSPSerialNumber = 40; // as after a conversion
        form.RemoveSelectedClips();
        QCOMPARE(form.Clips, QList<TVideoInfo *>({a, b}));
        QCOMPARE(form.CurrentClip, nullptr);
        QCOMPARE(a->Label_OutputName->text(), "0040.mp4");
        QCOMPARE(b->Label_OutputName->text(), "0041.mp4");
        QVERIFY(!form.Preview->suiEdit_Start->isEnabled());
    }

    void removingTheLastShowsIntro()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *a = AddClip(form, "a.avi");
        form.ClipList->Panel_Intro->hide();
        a->Select();
        form.RemoveSelectedClips();
        QVERIFY(form.Clips.isEmpty());
        QVERIFY(!form.ClipList->Panel_Intro->isHidden());
    }

    void clearEmptiesAndButtonShowsIntro_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("clear button") << true;
        QTest::newRow("context menu") << false;
    }

    void clearEmptiesAndButtonShowsIntro()
    {
        QFETCH(bool, byButton);
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        AddClip(form, "a.avi");
        form.SetCurrentClip(AddClip(form, "b.avi"));
        form.s_DiscDrive = QStringLiteral("/media/dvd");
        form.ClipList->Panel_Intro->hide();
        if (byButton) {
            QTest::mouseClick(form.Toolbar->suiImageButton_Clear, Qt::LeftButton);
        } else {
            form.PreparePopupMenu();
            const auto items = form.PopupMenu_Clips->actions();
            items.at(1)->trigger();
        }
        QVERIFY(form.Clips.isEmpty());
        QCOMPARE(form.CurrentClip, nullptr);
        QCOMPARE(form.s_DiscDrive, "A");
        QCOMPARE(form.ClipList->suiImagePanel_InfoMove->height(), 0);
        QCOMPARE(form.ClipList->Panel_Intro->isHidden(), !byButton);
    }

    void clearAndRemoveWaitWhileAdding()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        TVideoInfo *a = AddClip(form, "a.avi");
        QTest::mouseClick(a->Label_ClipName, Qt::LeftButton);
        form.b_Adding = true;
        QTest::mouseClick(form.Toolbar->suiImageButton_OpenFile, Qt::LeftButton);
        QTest::mouseClick(form.Toolbar->suiImageButton_Clear, Qt::LeftButton);
        QCOMPARE(form.Clips, QList<TVideoInfo *>({a}));
        QCOMPARE(form.CurrentClip, a);
    }

    void contextMenuOnEmptyList()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        QTest::mouseClick(form.ClipList->Panel_Info, Qt::RightButton, {}, QPoint(100, 100));
        QVERIFY(form.PopupMenu_Clips);
        QVERIFY(form.PopupMenu_Clips->isVisible());
        const QList<QAction *> items = form.PopupMenu_Clips->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items.at(0)->text(), "Remove Select");
        QCOMPARE(items.at(0)->objectName(), "Remove");
        QVERIFY(!items.at(0)->isEnabled());
        QCOMPARE(items.at(1)->text(), "Clear");
        QVERIFY(!items.at(1)->isEnabled());
        QVERIFY(items.at(2)->isSeparator());
        QCOMPARE(items.at(3)->text(), "Add clip(s)...");
        QCOMPARE(items.at(3)->objectName(), "Add");
        QVERIFY(items.at(3)->isEnabled());
        form.PopupMenu_Clips->close();
    }

    void contextMenuWithSelection()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        AddClip(form, "a.avi");
        TVideoInfo *b = AddClip(form, "b.avi");
        QTest::mouseClick(b->Label_Ending, Qt::RightButton);
        const QList<QAction *> items = form.PopupMenu_Clips->actions();
        QVERIFY(items.at(0)->isEnabled());
        QVERIFY(items.at(1)->isEnabled());
        items.at(0)->trigger();
        QCOMPARE(form.Clips.size(), 1);
        form.PopupMenu_Clips->close();
    }

    void scrollByThumb_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("drag");
        QTest::addColumn<int>("thumbTop");
        QTest::addColumn<int>("panelTop");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("20, middle") << 20 << 61 << 63 << -108 << 6 << 13;
        QTest::newRow("20, bottom") << 20 << 122 << 124 << -216 << 12 << 19;
        QTest::newRow("20, just down") << 20 << 10 << 12 << 0 << 0 << 7;
        QTest::newRow("20, far up") << 20 << -200 << 2 << 0 << 0 << 7;
        QTest::newRow("20, below the strip") << 20 << 400 << 124 << -216 << 12 << 19;
        QTest::newRow("8, bottom") << 8 << 122 << 124 << 0 << 0 << 7;
    }

    void scrollByThumb()
    {
        QFETCH(int, count);
        QFETCH(int, drag);
        QFETCH(int, thumbTop);
        QFETCH(int, panelTop);
        QFETCH(int, first);
        QFETCH(int, last);
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        for (int i = 0; i < count; ++i)
            AddClip(form, QStringLiteral("clip%1.avi").arg(i));
        skin::ImageView *thumb = form.ClipList->Image_Bar;
        QCOMPARE(thumb->pos(), QPoint(2, 2));
        QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(8, 10));
        QTest::mouseMove(thumb, QPoint(8, 10 + drag));
        QTest::mouseRelease(thumb, Qt::LeftButton, {}, thumb->mapFromGlobal(thumb->mapToGlobal(QPoint(8, 10))));
        QCOMPARE(thumb->y(), thumbTop);
        QCOMPARE(form.ClipList->suiImagePanel_InfoMove->y(), panelTop);
        QCOMPARE(FullyShownRows(form), Range(first, last));
        QVERIFY(!form.ClipList->b_MouseHeld);
    }

    void rightButtonStartsNoDrag()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        for (int i = 0; i < 20; ++i)
            AddClip(form, QStringLiteral("clip%1.avi").arg(i));
        skin::ImageView *thumb = form.ClipList->Image_Bar;
        QTest::mousePress(thumb, Qt::RightButton, {}, QPoint(8, 10));
        QTest::mouseMove(thumb, QPoint(8, 80));
        QTest::mouseRelease(thumb, Qt::RightButton, {}, QPoint(8, 80));
        QCOMPARE(thumb->y(), 2);
        QCOMPARE(form.ClipList->suiImagePanel_InfoMove->y(), 0);
    }

    void removalDownToEightShowsFirstRow()
    {
        MainFormFixture fixture;
        TestMainForm form;
        form.show();
        for (int i = 0; i < 20; ++i)
            AddClip(form, QStringLiteral("clip%1.avi").arg(i));
        skin::ImageView *thumb = form.ClipList->Image_Bar;
        QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(8, 10));
        QTest::mouseMove(thumb, QPoint(8, 132));
        QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(8, 10));
        QCOMPARE(form.ClipList->suiImagePanel_InfoMove->y(), -216);
        for (int i = 0; i < 12; ++i)
            form.Clips.at(i)->Select();
        form.RemoveSelectedClips();
        QCOMPARE(form.Clips.size(), 8);
        QCOMPARE(thumb->y(), 124);
        QCOMPARE(form.ClipList->suiImagePanel_InfoMove->y(), 0);
        QCOMPARE(FullyShownRows(form), Range(0, 7));
    }
};

QTEST_MAIN(TestClipList)
#include "tst_cliplist.moc"
