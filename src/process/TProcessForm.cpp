#include "TProcessForm.h"

#include "common/KeyColourRegion.h"
#include "common/TextHelpers.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "process/ProgressRules.h"
#include "skin/CheckBox.h"
#include "skin/ImageButton.h"
#include "skin/ImageView.h"
#include "skin/Pictures.h"
#include "skin/SkinPalette.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QScreen>
#include <QTimer>

TProcessForm *ProcessForm = nullptr;

namespace {

constexpr int LeftColumn = 65;
constexpr int RightColumn = 273;
constexpr int LeftValue = 169;
constexpr int RightValue = 385;
constexpr int LabelHeight = 14;
constexpr int PollInterval = 500;
const QString ZeroTime = QStringLiteral("00:00:00");

template <typename W>
W *Place(W *control, const char *name, int x, int y, int w, int h)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(x, y, w, h);
    return control;
}

// A caption sized to its text.
QLabel *MakeLabel(QWidget *window, const char *name, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, window);
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(x, y);
    return label;
}

QLabel *Value(QWidget *window, const char *name, int x, int y, int w)
{
    auto *label = Place(new QLabel(window), name, x, y, w, LabelHeight);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TProcessForm::TProcessForm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ProcessForm"));
    setFont(skin::ControlFont());
    setAttribute(Qt::WA_DeleteOnClose, false);
    MakeControls();
    FormCreate();
}

TProcessForm::~TProcessForm()
{
    // The worker has nothing left to do once its end message is posted.
    if (h_Thread.joinable())
        h_Thread.join();
}

void TProcessForm::MakeControls()
{
    const QPixmap background = skin::picture(QStringLiteral("process_background"));
    Image_Bk = Place(new skin::ImageView(background, this), "Image_Bk", 0, 0, background.width(), background.height());
    MakeLabel(this, "Label1", QStringLiteral("Current Clip :"), LeftColumn, 52);
    MakeLabel(this, "Label2", QStringLiteral("Destination Name :"), LeftColumn, 76);
    MakeLabel(this, "Label3", QStringLiteral("Start Time :"), LeftColumn, 100);
    MakeLabel(this, "Label4", QStringLiteral("Stop Time :"), RightColumn, 100);
    MakeLabel(this, "Label5", QStringLiteral("Duration :"), LeftColumn, 120);
    MakeLabel(this, "Label6", QStringLiteral("Current Time :"), RightColumn, 120);
    MakeLabel(this, "Label7", QStringLiteral("FPS :"), LeftColumn, 140);
    MakeLabel(this, "Label8", QStringLiteral("Current Frame :"), RightColumn, 140);
    MakeLabel(this, "Label9", QStringLiteral("%"), 346, 173);

    Label_TitleName = Value(this, "Label_TitleName", LeftValue, 52, 264);
    Label_DesName = Value(this, "Label_DesName", LeftValue, 76, 264);
    Label_StartTime = Value(this, "Label_StartTime", LeftValue, 100, 50);
    Label_Length = Value(this, "Label_Length", LeftValue, 120, 50);
    // Wide enough for "Seeking..." in the window's font; it ends before the next column.
    Label_FPS = Value(this, "Label_FPS", LeftValue, 140, 50);
    Label_StopTime = Value(this, "Label_StopTime", RightValue, 100, 50);
    Label_CurrentTime = Value(this, "Label_CurrentTime", RightValue, 120, 50);
    Label_CurrentFrame = Value(this, "Label_CurrentFrame", RightValue, 140, 50);
    for (QLabel *label : {Label_FPS, Label_CurrentFrame})
        label->resize(std::max(label->width(), label->fontMetrics().horizontalAdvance(QStringLiteral("Seeking...")) + 2),
                      LabelHeight);
    Label_Percent = Value(this, "Label_Percent", 327, 173, 18);
    Label_Percent->setAlignment(Qt::AlignRight | Qt::AlignTop);

    Panel_Progress = Place(new QWidget(this), "Panel_Progress", 43, 176, 0, 6);
    Image_Progress = new skin::ImageView(skin::picture(QStringLiteral("progress_fill")), Panel_Progress);
    Image_Progress->setObjectName(QStringLiteral("Image_Progress"));
    Image_Progress->setFit(skin::ImageView::Fit::Stretch);
    Image_Progress->setGeometry(0, 0, 0, 6);

    suiImageButton_StopConvert = Place(new skin::ImageButton(QStringLiteral("stop"), this),
                                       "suiImageButton_StopConvert", 391, 158, 87, 86);
    suiCheckBox_PowerOff = new skin::CheckBox(QStringLiteral("Shut down computer when conversion completed"), this);
    suiCheckBox_OpenFolder = new skin::CheckBox(QStringLiteral("Open output folder when conversion completed"), this);
    suiCheckBox_PowerOff->setObjectName(QStringLiteral("suiCheckBox_PowerOff"));
    suiCheckBox_OpenFolder->setObjectName(QStringLiteral("suiCheckBox_OpenFolder"));
    suiCheckBox_PowerOff->setGeometry(QRect(QPoint(34, 204), suiCheckBox_PowerOff->sizeHint()));
    suiCheckBox_OpenFolder->setGeometry(QRect(QPoint(34, 226), suiCheckBox_OpenFolder->sizeHint()));
    suiCheckBox_OpenFolder->setChecked(true);
    suiImageButton_Min = Place(new skin::ImageButton(QStringLiteral("minimize"), this), "suiImageButton_Min", 432, 3, 28, 19);
    suiImageButton_Close = Place(new skin::ImageButton(QStringLiteral("close"), this), "suiImageButton_Close", 460, 3, 45, 19);

    Timer_Info = new QTimer(this);
    Timer_Info->setObjectName(QStringLiteral("Timer_Info"));
    Timer_Info->setInterval(PollInterval);

    connect(Timer_Info, &QTimer::timeout, this, &TProcessForm::Timer_InfoTimer);
    connect(suiImageButton_StopConvert, &skin::ImageButton::clicked, this, &TProcessForm::suiImageButton_StopConvertClick);
    connect(suiImageButton_Close, &skin::ImageButton::clicked, this, &TProcessForm::suiImageButton_CloseClick);
    connect(suiImageButton_Min, &skin::ImageButton::clicked, this, &TProcessForm::suiImageButton_MinClick);
}

void TProcessForm::FormCreate()
{
    connect(Image_Bk, &skin::ImageView::mouseDown, this,
            [this](QObject *, Qt::MouseButton button, QPoint at) { WindowDragDown(button, at); });
    connect(Image_Bk, &skin::ImageView::mouseMove, this,
            [this](QObject *, Qt::MouseButtons buttons, QPoint at) { WindowDragMove(buttons, at); });
    connect(Image_Bk, &skin::ImageView::mouseUp, this,
            [this](QObject *, Qt::MouseButton button) { WindowDragUp(button); });
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(Image_Bk->size());
    setMask(ShapeRegion(skin::keyedPicture(QStringLiteral("process_background"))));
}

void TProcessForm::FormShow()
{
    i_ClipStart = 0;
    i_EngineDuration = 0;
    b_Prepared = false;
    for (QLabel *label : {Label_StartTime, Label_StopTime, Label_Length, Label_CurrentTime})
        label->setText(ZeroTime);
    Label_TitleName->clear();
    Label_DesName->clear();
    Label_FPS->setText(QStringLiteral("0"));
    Label_CurrentFrame->setText(QStringLiteral("0"));
    ShowProgressByTime(0);
}

void TProcessForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (screen())
        move(screen()->availableGeometry().center() - rect().center());
    FormShow();
}

void TProcessForm::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous() && m_modalLoop)
        m_modalLoop->quit();
}

bool TProcessForm::FormCloseQuery() const
{
    return !b_JobRunning;
}

void TProcessForm::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TProcessForm::event(QEvent *event)
{
    using platform::WindowMessageEvent;
    static const QEvent::Type ended = WindowMessageEvent::typeFor(WM_JOB_ENDED);
    static const QEvent::Type started = WindowMessageEvent::typeFor(WM_ENGINE_STARTED);
    if (event->type() == ended) {
        JobEnded(static_cast<int>(static_cast<WindowMessageEvent *>(event)->wparam()));
        return true;
    }
    if (event->type() == started) {
        EngineStarted();
        return true;
    }
    return QWidget::event(event);
}

void TProcessForm::ShowProgressByTime(int seconds)
{
    const ProgressShown shown = ProgressByTime(seconds, i_RangeLength);
    Panel_Progress->resize(shown.barWidth, Panel_Progress->height());
    Image_Progress->resize(shown.barWidth, Panel_Progress->height());
    Label_Percent->setText(QString::number(shown.percent));
}

void TProcessForm::ShowProgressPercent(int percent)
{
    const ProgressShown shown = ProgressByPercent(percent);
    Panel_Progress->resize(shown.barWidth, Panel_Progress->height());
    Image_Progress->resize(shown.barWidth, Panel_Progress->height());
    Label_Percent->setText(QString::number(shown.percent));
}

void TProcessForm::Timer_InfoTimer()
{
    if (!h_Engine.IsLoaded() || !p_Engine.Get_Info)
        return;
    int32_t info[3] = {0, 0, 0};
    p_Engine.Get_Info(info);
    const int seconds = info[0];
    const int framesPerSecond = info[1];
    const int frame = info[2];
    Label_CurrentTime->setText(TimeText(seconds + i_ClipStart));
    if (frame == 0 || framesPerSecond == 0) {
        Label_FPS->setText(QStringLiteral("Seeking..."));
        Label_CurrentFrame->setText(QStringLiteral("Seeking..."));
        repaint();
    } else {
        Label_FPS->setText(QString::number(framesPerSecond));
        Label_CurrentFrame->setText(QString::number(frame));
    }
    ShowProgressByTime(seconds);
}

void TProcessForm::EngineStarted()
{
    suiImageButton_StopConvert->setEnabled(true);
}

void TProcessForm::JobEnded(int result)
{
    using platform::MessageKind;
    b_JobRunning = false;
    switch (result) {
    case JobNoEngine:
        platform::dialogs().showMessage(
            MessageKind::Error,
            QStringLiteral("Can not initial conversion function!\nRe-install software may fix this problem!"));
        close();
        break;
    case JobFinished:
        ShowProgressPercent(100);
        if (suiCheckBox_PowerOff->isChecked()) {
            platform::shell().powerOff();
            break;
        }
        if (suiCheckBox_OpenFolder->isChecked())
            platform::shell().open(m_job.s_OutputDir);
        platform::dialogs().showMessage(MessageKind::Information,
                                        QStringLiteral("Process finish!\nYou can transfer files to your Apple device."));
        break;
    case JobStopped:
        platform::dialogs().showMessage(MessageKind::Information, QStringLiteral("Stop process by user!"));
        break;
    case JobFailed:
        platform::dialogs().showMessage(MessageKind::Error,
                                        QStringLiteral("Conversion wrong, please check parameter and try again!"));
        break;
    default:
        break;
    }
}

void TProcessForm::suiImageButton_StopConvertClick()
{
    RequestStop();
}

void TProcessForm::suiImageButton_CloseClick()
{
    if (b_JobRunning) {
        platform::dialogs().showMessage(platform::MessageKind::Information,
                                        QStringLiteral("Please stop conversion process first!"));
        return;
    }
    close();
}

void TProcessForm::suiImageButton_MinClick()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible())
            window->showMinimized();
    }
}

void TProcessForm::WindowDragDown(Qt::MouseButton button, QPoint globalPos)
{
    b_WindowDragging = button == Qt::LeftButton;
    if (!b_WindowDragging)
        return;
    pt_DragOrigin = globalPos;
    i_DragStartLeft = x();
    i_DragStartTop = y();
}

void TProcessForm::WindowDragMove(Qt::MouseButtons buttons, QPoint globalPos)
{
    if (!(buttons & Qt::LeftButton) || !b_WindowDragging)
        return;
    pt_DragNow = globalPos;
    const int top = i_DragStartTop + pt_DragNow.y() - pt_DragOrigin.y();
    const int left = i_DragStartLeft + pt_DragNow.x() - pt_DragOrigin.x();
    if (top == y() && left == x())
        return;
    move(left, top);
    raise();
    // The window behind shows through the old place at once too.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible())
            window->repaint();
    }
}

void TProcessForm::WindowDragUp(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        b_WindowDragging = false;
}
