// The skinned controls' own rules: picture states, the spin field's bounds, the time box's
// mask, the track bar's range and the link label.
#include "skin/ImageButton.h"
#include "skin/SkinComboBox.h"
#include "skin/SkinEdit.h"
#include "skin/SpinEdit.h"
#include "skin/TrackBar.h"
#include "skin/UrlLabel.h"

#include <QtTest>

class TestSkinControls : public QObject {
    Q_OBJECT

private slots:
    void spinBounds_data()
    {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("kept");
        QTest::newRow("inside") << 100 << 1500 << 768 << 768;
        QTest::newRow("above") << 100 << 1500 << 2000 << 1500;
        QTest::newRow("below") << 100 << 1500 << 20 << 100;
        QTest::newRow("at the top") << 100 << 1500 << 1500 << 1500;
        QTest::newRow("equal bounds take anything") << 500 << 500 << 9000 << 9000;
        QTest::newRow("equal bounds, below") << 500 << 500 << -3 << -3;
    }

    void spinBounds()
    {
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(int, value);
        QFETCH(int, kept);
        QCOMPARE(skin::BoundedSpinValue(value, low, high), kept);
        skin::SpinEdit spin;
        spin.setMinValue(low);
        spin.setMaxValue(high);
        spin.setValue(value);
        QCOMPARE(spin.value(), kept);
        QCOMPARE(spin.text(), QString::number(kept));
    }

    void spinTypedValueIsKeptWhenLeft()
    {
        skin::SpinEdit spin;
        spin.setMinValue(100);
        spin.setMaxValue(1500);
        spin.setText(QStringLiteral(" 9999 "));
        QCOMPARE(spin.text(), " 9999 "); // read as typed
        QCOMPARE(spin.value(), 1500);
        spin.setText(QStringLiteral("abc"));
        QCOMPARE(spin.value(), 100);
    }

    void spinArrowsStepByTheIncrement()
    {
        skin::SpinEdit spin;
        spin.setMinValue(100);
        spin.setMaxValue(1500);
        spin.setValue(800);
        spin.setIncrement(10);
        const auto arrows = spin.findChildren<skin::ImageButton *>();
        QCOMPARE(arrows.size(), 2);
        emit arrows.at(0)->clicked(); // up
        QCOMPARE(spin.value(), 810);
        emit arrows.at(1)->clicked(); // down
        emit arrows.at(1)->clicked();
        QCOMPARE(spin.value(), 790);
        spin.setIncrement(0);
        QCOMPARE(spin.increment(), 1);
    }

    void timeBoxMask()
    {
        skin::TimeEdit box;
        QCOMPARE(box.timeText(), "  :  :  ");
        box.setCursorPosition(0);
        QTest::keyClicks(&box, QStringLiteral("012345"));
        QCOMPARE(box.timeText(), "01:23:45");
        box.setText(QString());
        QCOMPARE(box.timeText(), "  :  :  ");
        box.setText(QStringLiteral("1"));
        QCOMPARE(box.timeText(), "1 :  :  ");
    }

    void editColour()
    {
        skin::SkinEdit edit;
        edit.setColor(QColor(202, 202, 202));
        QCOMPARE(edit.color(), QColor(202, 202, 202));
    }

    void imageButtonStates()
    {
        QWidget window;
        auto *button = new skin::ImageButton(QStringLiteral("browse"), &window);
        window.show();
        QCOMPARE(button->size(), QSize(62, 25));
        QCOMPARE(button->state(), skin::ButtonState::Normal);
        button->setDown(true);
        QCOMPARE(button->state(), skin::ButtonState::Pressed);
        button->setDown(false);
        button->setEnabled(false);
        QCOMPARE(button->state(), skin::ButtonState::Disabled);
        QSignalSpy clicks(button, &skin::ImageButton::clicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(clicks.isEmpty());
        button->setEnabled(true);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!clicks.isEmpty());
    }

    void trackBarKeepsPositionInRange()
    {
        skin::TrackBar bar;
        bar.setMinimum(0);
        bar.setMaximum(9);
        bar.setValue(12);
        QCOMPARE(bar.value(), 9);
        bar.setMinimum(2);
        bar.setMaximum(5);
        QCOMPARE(bar.value(), 5);
        bar.setValue(-1);
        QCOMPARE(bar.value(), 2);
    }

    void listIsPickOnly()
    {
        skin::SkinComboBox list;
        QVERIFY(!list.isEditable());
    }

    void linkLabelColours()
    {
        skin::UrlLabel link;
        link.setText(QStringLiteral("example.org"));
        link.setUrl(QStringLiteral("https://example.org/"));
        QCOMPARE(link.textColour(), QColor(Qt::blue));
        QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(link.font().underline());
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(&link, &enter);
        QCOMPARE(link.textColour(), QColor(Qt::red));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&link, &leave);
        QCOMPARE(link.textColour(), QColor(Qt::blue));
        QSignalSpy clicks(&link, &skin::UrlLabel::clicked);
        link.resize(80, 14);
        QTest::mouseClick(&link, Qt::LeftButton);
        QCOMPARE(clicks.size() == 1 ? clicks.first().first().toString() : QString(), "https://example.org/");
    }
};

QTEST_MAIN(TestSkinControls)
#include "tst_skincontrols.moc"
