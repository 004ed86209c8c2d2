#pragma once

#include <QObject>
#include <QPoint>

class TMainForm;
class PreviewPanel;
namespace skin {
class TimeEdit;
}

// The trim range of the current clip, edited in two linked ways: the range bar's start
// handle, end handle and range picture are dragged (the time boxes follow live in lime;
// the release stores the times and asks the preview for the frame there), and the time
// boxes are typed into (red while the time breaks the range; leaving a box stores it).
// Lives as a child of the main window.
class RangeEditor : public QObject {
    Q_OBJECT

public:
    explicit RangeEditor(TMainForm *form);

    // The change and exit handlers of both time boxes.
    void suiEdit_StartChange(skin::TimeEdit *box);
    void suiEdit_StartExit(QObject *box);

private:
    enum class Part { Start, End, Range };

    void Press(Part part, Qt::MouseButton button, QPoint globalPos);
    void Move(Part part, Qt::MouseButtons buttons, QPoint globalPos);
    void Release(Part part, Qt::MouseButton button);
    void ShowStart();
    void ShowEnd();
    int StartFromBar() const;
    int EndFromBar() const;

    TMainForm *m_form;
    PreviewPanel *m_panel;
};
