#include "mainform/TVideoInfo.h"

#include "mainform/ClipRowFont.h"
#include "mainform/ClipTexts.h"
#include "mainform/ScreenCursors.h"
#include "skin/ImageView.h"
#include "skin/SkinPalette.h"

#include <QMouseEvent>

namespace {

// Where each text of the row begins.
constexpr int MarkBackLeft = 1;
constexpr int MarkBackWidth = 20;
constexpr int ClipNameLeft = 2;
constexpr int ClipNameLabelWidth = 120;
constexpr int VideoLengthLeft = 128;
constexpr int VideoSizeLeft = 248;
constexpr int BeginningLeft = 364;
constexpr int EndingLeft = 414;
constexpr int OutputNameLeft = 465;

constexpr int MarkSide = 14;
const QColor Silver(192, 192, 192);
// Readable on the list's white and on the silver of a selected row, yet plainly paler.
constexpr QRgb UnsupportedTextColour = 0xFF8A929E;

} // namespace

TLabelInfo::TLabelInfo(TVideoInfo *entry, int left)
    : QLabel(entry)
{
    // Measured so that each text ends before the next column begins.
    setFont(ClipRowFont());
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Every text reaches to the end of the row; the row cuts it off.
    setGeometry(left, 0, ClipRowWidth, ClipRowHeight);
    show();
}

void TLabelInfo::mousePressEvent(QMouseEvent *event)
{
    if (auto *entry = qobject_cast<TVideoInfo *>(parentWidget()))
        entry->forwardMouseDown(this, event->button(), event->globalPosition().toPoint());
}

void TLabelInfo::mouseReleaseEvent(QMouseEvent *event)
{
    if (auto *entry = qobject_cast<TVideoInfo *>(parentWidget()))
        entry->forwardMouseUp(this, event->button(), event->globalPosition().toPoint());
}

TVideoInfo::TVideoInfo(QWidget *owner, const ClipMarks *marks)
    : skin::ImagePanel(owner)
    , m_marks(marks)
{
    hide();
    resize(ClipRowWidth, ClipRowHeight);
    setColor(Silver);
    setTransparent(true);

    Image_Mark = new skin::ImageView(this);
    Image_Mark->setGeometry(2, 2, MarkSide, MarkSide);
    Image_Mark->setCursor(ScreenCursor(crPress));
    // Disabled, so a press on the mark falls through to the row and selects it.
    Image_Mark->setEnabled(false);
    connect(Image_Mark, &skin::ImageView::mouseUp, this, [this](QObject *, Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            ToggleChecked();
    });
    SetChecked(false);
    bmp_Thumbnail = QImage(240, 180, QImage::Format_RGB888);
    bmp_Thumbnail.fill(Qt::black);
}

TLabelInfo *TVideoInfo::ensureLabel(TLabelInfo *&label, int left)
{
    if (!label)
        label = new TLabelInfo(this, left);
    return label;
}

void TVideoInfo::SetChecked(bool checked)
{
    b_Checked = checked;
    if (m_marks)
        Image_Mark->setPicture(checked ? m_marks->checked : m_marks->unchecked);
}

void TVideoInfo::ToggleChecked()
{
    SetChecked(!b_Checked);
}

void TVideoInfo::SetClipName(const QString &text)
{
    ensureLabel(Label_ClipName, ClipNameLeft)->setText(text);
    Label_ClipName->resize(ClipNameLabelWidth, ClipRowHeight);
}

void TVideoInfo::SetDuration(int seconds)
{
    i_Duration = ClampClipTime(seconds);
    ensureLabel(Label_VideoLength, VideoLengthLeft)->setText(VideoLengthText(i_Duration));
}

void TVideoInfo::SetStartTime(int seconds)
{
    i_StartTime = ClampClipTime(seconds);
    ensureLabel(Label_Beginning, BeginningLeft)->setText(BeginningText(i_StartTime));
}

void TVideoInfo::SetEndTime(int seconds)
{
    i_EndTime = ClampClipTime(seconds);
    ensureLabel(Label_Ending, EndingLeft)->setText(EndingText(i_EndTime, i_Duration));
}

void TVideoInfo::SetPicture(int aspectCode, int width, int height)
{
    const ClipPictureInfo info = PictureInfoFor(aspectCode, width, height);
    ensureLabel(Label_VideoSize, VideoSizeLeft)->setText(info.sizeText);
    d_PictureAspect = info.pictureAspect;
    i_Width = width;
    i_Height = height;
    i_AspectIndex = info.aspectIndex;
}

void TVideoInfo::SetOutputName(const QString &text)
{
    ensureLabel(Label_OutputName, OutputNameLeft)->setText(text);
}

void TVideoInfo::EnsureMarkBack()
{
    if (!Label_MarkBack) {
        ensureLabel(Label_MarkBack, MarkBackLeft);
        Label_MarkBack->resize(MarkBackWidth, ClipRowHeight);
    }
    Image_Mark->raise();
}

void TVideoInfo::SetInfoHint(const QString &text)
{
    // The labels have no hint of their own, so the row's shows over all of them.
    setToolTip(text);
}

void TVideoInfo::SetFilePath(const QString &path)
{
    s_FilePath = path;
}

void TVideoInfo::SetSupported(bool supported)
{
    b_Supported = supported;
    // A row that will not be converted shows its texts greyed; the labels, made now or
    // later, take the row's text colour.
    QPalette greyed;
    if (!supported)
        greyed.setColor(QPalette::WindowText, QColor(UnsupportedTextColour));
    setPalette(greyed);
}

void TVideoInfo::Select()
{
    setTransparent(false);
    b_Selected = true;
}

void TVideoInfo::Deselect()
{
    setTransparent(true);
    b_Selected = false;
}
