#include "mainform/RangeEditor.h"

#include "common/TextHelpers.h"
#include "mainform/PreviewPanel.h"
#include "mainform/RangeRules.h"
#include "mainform/TMainForm.h"
#include "skin/ImageButton.h"
#include "skin/ImageView.h"
#include "skin/SkinEdit.h"

#include <QApplication>

using BoxColour = PreviewPanel::BoxColour;

RangeEditor::RangeEditor(TMainForm *form)
    : QObject(form)
    , m_form(form)
    , m_panel(form->Preview)
{
    const std::pair<skin::ImageButton *, Part> handles[] = {{m_panel->Image_Left, Part::Start},
                                                            {m_panel->Image_Right, Part::End}};
    for (const auto &[handle, part] : handles) {
        connect(handle, &skin::ImageButton::mouseDown, this,
                [this, part = part](QObject *, Qt::MouseButton button, QPoint at) { Press(part, button, at); });
        connect(handle, &skin::ImageButton::mouseMove, this,
                [this, part = part](QObject *, Qt::MouseButtons buttons, QPoint at) { Move(part, buttons, at); });
        connect(handle, &skin::ImageButton::mouseUp, this,
                [this, part = part](QObject *, Qt::MouseButton button, QPoint) { Release(part, button); });
    }
    skin::ImageView *range = m_panel->Image_Stretch;
    connect(range, &skin::ImageView::mouseDown, this,
            [this](QObject *, Qt::MouseButton button, QPoint at) { Press(Part::Range, button, at); });
    connect(range, &skin::ImageView::mouseMove, this,
            [this](QObject *, Qt::MouseButtons buttons, QPoint at) { Move(Part::Range, buttons, at); });
    connect(range, &skin::ImageView::mouseUp, this,
            [this](QObject *, Qt::MouseButton button, QPoint) { Release(Part::Range, button); });

    for (skin::TimeEdit *box : {m_panel->suiEdit_Start, m_panel->suiEdit_Stop}) {
        connect(box, &QLineEdit::textChanged, this, [this, box] { suiEdit_StartChange(box); });
    }
    // A box is left when the keyboard focus goes elsewhere. The output folder field shares the
    // exit handler: it puts the bar back on the clip's times.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *) {
        if (old && (old == m_panel->suiEdit_Start || old == m_panel->suiEdit_Stop || old == m_panel->suiEdit_OutputFolder))
            suiEdit_StartExit(old);
    });
}

int RangeEditor::StartFromBar() const
{
    return TimeAtFraction(m_form->CurrentClip->Duration(), StartFractionAt(m_panel->Image_Left->x()));
}

int RangeEditor::EndFromBar() const
{
    return TimeAtFraction(m_form->CurrentClip->Duration(), EndFractionAt(m_panel->Image_Right->x()));
}

void RangeEditor::ShowStart()
{
    m_panel->suiEdit_Start->setText(TimeText(StartFromBar()));
    m_panel->SetBoxColour(m_panel->suiEdit_Start, BoxColour::Lime);
}

void RangeEditor::ShowEnd()
{
    m_panel->suiEdit_Stop->setText(TimeText(EndFromBar()));
    m_panel->SetBoxColour(m_panel->suiEdit_Stop, BoxColour::Lime);
}

// The bar is disabled whenever there is no current clip; the check only guards a press that
// raced a clip change.
void RangeEditor::Press(Part part, Qt::MouseButton button, QPoint globalPos)
{
    if (button != Qt::LeftButton || !m_form->CurrentClip)
        return;
    m_form->pt_DragOrigin = globalPos;
    switch (part) {
    case Part::Start:
        m_form->i_DragStartLeft = m_panel->Image_Left->x();
        break;
    case Part::End:
        m_form->i_DragStartLeft = m_panel->Image_Right->x();
        break;
    case Part::Range:
        m_form->i_DragStartLeft = m_panel->Image_Stretch->x();
        m_panel->SetBoxColour(m_panel->suiEdit_Start, BoxColour::Lime);
        m_panel->SetBoxColour(m_panel->suiEdit_Stop, BoxColour::Lime);
        break;
    }
}

void RangeEditor::Move(Part part, Qt::MouseButtons buttons, QPoint globalPos)
{
    if (!(buttons & Qt::LeftButton) || !m_form->CurrentClip)
        return;
    m_form->pt_DragNow = globalPos;
    const int x = m_form->i_DragStartLeft + m_form->pt_DragNow.x() - m_form->pt_DragOrigin.x();
    skin::ImageButton *left = m_panel->Image_Left;
    skin::ImageButton *right = m_panel->Image_Right;
    const int trackWidth = m_panel->Image_ProgressBack->width();
    switch (part) {
    case Part::Start:
        left->move(DraggedStartLeft(x, right->x()), left->y());
        m_panel->RelayoutStretch();
        ShowStart();
        break;
    case Part::End:
        right->move(DraggedEndLeft(x, left->x(), trackWidth, right->width()), right->y());
        m_panel->RelayoutStretch();
        ShowEnd();
        break;
    case Part::Range: {
        const int stretchWidth = m_panel->Image_Stretch->width();
        const int at = DraggedStretchLeft(x, trackWidth, right->width(), stretchWidth);
        left->move(at - RangeHandleWidth, left->y());
        right->move(at + stretchWidth, right->y());
        m_panel->RelayoutStretch();
        ShowStart();
        ShowEnd();
        break;
    }
    }
}

void RangeEditor::Release(Part part, Qt::MouseButton button)
{
    TVideoInfo *clip = m_form->CurrentClip;
    if (button != Qt::LeftButton || !clip)
        return;
    m_form->SetPreviewIdle(false);
    const int duration = clip->Duration();
    switch (part) {
    case Part::Start: {
        const int start = StartFromBar();
        clip->SetStartTime(start);
        m_panel->suiEdit_Start->setText(TimeText(start));
        m_form->PreviewSeek(SeekTimeFor(start, duration), start);
        m_panel->SetBoxColour(m_panel->suiEdit_Start, BoxColour::Normal);
        break;
    }
    case Part::End: {
        const int end = EndFromBar();
        m_panel->SetBoxColour(m_panel->suiEdit_Stop, BoxColour::Normal);
        clip->SetEndTime(end);
        m_panel->suiEdit_Stop->setText(TimeText(end));
        const int seek = SeekTimeFor(end, duration);
        m_form->PreviewSeek(seek, seek);
        break;
    }
    case Part::Range: {
        const int start = StartFromBar();
        const int end = EndFromBar();
        clip->SetStartTime(start);
        clip->SetEndTime(end);
        m_panel->suiEdit_Start->setText(TimeText(start));
        m_panel->suiEdit_Stop->setText(TimeText(end));
        const int seek = SeekTimeFor(start, duration);
        m_form->PreviewSeek(seek, seek);
        m_panel->SetBoxColour(m_panel->suiEdit_Start, BoxColour::Normal);
        m_panel->SetBoxColour(m_panel->suiEdit_Stop, BoxColour::Normal);
        break;
    }
    }
}

void RangeEditor::suiEdit_StartChange(skin::TimeEdit *box)
{
    TVideoInfo *clip = m_form->CurrentClip;
    if (!clip) {
        m_panel->SetBoxColour(box, BoxColour::Normal);
        return;
    }
    const int v = TimeBoxValue(box->timeText());
    const bool invalid = box == m_panel->suiEdit_Start ? StartTimeInvalid(v, clip->EndTime())
                                                       : EndTimeInvalid(v, clip->StartTime(), clip->Duration());
    m_panel->SetBoxColour(box, invalid ? BoxColour::Red : BoxColour::Normal);
}

void RangeEditor::suiEdit_StartExit(QObject *sender)
{
    TVideoInfo *clip = m_form->CurrentClip;
    skin::TimeEdit *box = sender == m_panel->suiEdit_Start  ? m_panel->suiEdit_Start
                          : sender == m_panel->suiEdit_Stop ? m_panel->suiEdit_Stop
                                                            : nullptr;
    if (box) {
        const bool start = box == m_panel->suiEdit_Start;
        if (box->color() == QColor(255, 0, 0)) {
            if (clip)
                box->setText(TimeText(start ? clip->StartTime() : clip->EndTime()));
            else
                box->setText(QString());
            m_panel->SetBoxColour(box, BoxColour::Normal);
            return;
        }
        const int v = TimeBoxValue(box->timeText());
        if (!clip)
            box->setText(QString());
        else if (start)
            clip->SetStartTime(v);
        else
            clip->SetEndTime(v);
    }
    m_form->ShowClipRange(clip);
}
