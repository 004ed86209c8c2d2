// The texts of a clip row stand at their columns and each fits before the next begins, with
// the font that this machine actually has.
#include "mainform/ClipRowFont.h"
#include "mainform/ClipTexts.h"
#include "mainform/TVideoInfo.h"

#include <QFontMetrics>
#include <QtTest>

class TestClipRow : public QObject {
    Q_OBJECT

    struct Row {
        QWidget host;
        TVideoInfo entry{&host, nullptr};
    };

private slots:
    void textsFitTheirColumns_data()
    {
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("number");
        QTest::newRow("whole HD clip") << 86399 << 0 << 86399 << 1 << 1920 << 1080 << 1;
        QTest::newRow("trimmed 4K clip") << 86399 << 3599 << 7199 << 1 << 4096 << 2160 << 9999;
        QTest::newRow("short clip of unknown size") << 8 << 0 << 8 << 5 << 8 << 600 << 12;
        QTest::newRow("PAL clip") << 8 << 1 << 7 << 2 << 720 << 576 << 8888;
    }
    void textsFitTheirColumns()
    {
        QFETCH(int, duration);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, code);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, number);
        Row row;
        row.entry.SetClipName(ClipNameText(QStringLiteral("holiday at the sea side, 2007.avi")));
        row.entry.SetDuration(duration);
        row.entry.SetStartTime(start);
        row.entry.SetEndTime(end);
        row.entry.SetPicture(code, width, height);
        row.entry.SetOutputName(OutputNameFor(number, 2));
        row.entry.EnsureMarkBack();

        // Left edges as the list's layout gives them, each text up to the next one.
        const QList<QPair<QLabel *, int>> columns = {
            {row.entry.Label_ClipName, 128},   {row.entry.Label_VideoLength, 248}, {row.entry.Label_VideoSize, 364},
            {row.entry.Label_Beginning, 414},  {row.entry.Label_Ending, 465},      {row.entry.Label_OutputName, 527},
        };
        const QList<int> lefts = {2, 128, 248, 364, 414, 465};
        for (int i = 0; i < columns.size(); ++i) {
            QLabel *label = columns.at(i).first;
            QVERIFY(label);
            QCOMPARE(label->x(), lefts.at(i));
            const QFontMetrics metrics(label->font());
            // The name's label ends at its own width and cuts its text there.
            const int shown = i == 0 ? std::min(metrics.horizontalAdvance(label->text()), label->width())
                                     : metrics.horizontalAdvance(label->text());
            QVERIFY2(label->x() + shown + (i == 0 ? 0 : ClipColumnGap) <= columns.at(i).second,
                     qPrintable(QStringLiteral("%1 \"%2\" is %3 px wide in %4 %5pt")
                                    .arg(label->objectName(), label->text())
                                    .arg(shown)
                                    .arg(QFontInfo(label->font()).family())
                                    .arg(label->font().pointSizeF())));
        }
    }

    // The choice keeps the window's family and is as large as the columns allow.
    void fontIsTheWindowsFamilyAtTheLargestSizeThatFits()
    {
        const QFont font = ClipRowFont();
        QVERIFY(font.pointSizeF() <= 8.0);
        QVERIFY(font.pointSizeF() >= 6.0);
        const QFontMetrics metrics(font);
        for (const ClipRowColumn &column : ClipRowColumns())
            for (const QString &text : column.widest)
                QVERIFY2(metrics.horizontalAdvance(text) + ClipColumnGap <= column.room, qPrintable(text));
        if (font.pointSizeF() < 8.0) {
            QFont larger = font;
            larger.setPointSizeF(font.pointSizeF() + 0.5);
            larger.setStretch(QFont::Condensed);
            bool allFit = true;
            for (const ClipRowColumn &column : ClipRowColumns())
                for (const QString &text : column.widest)
                    allFit = allFit && QFontMetrics(larger).horizontalAdvance(text) + ClipColumnGap <= column.room;
            QVERIFY(!allFit);
        }
    }
};

QTEST_MAIN(TestClipRow)
#include "tst_cliprow.moc"
