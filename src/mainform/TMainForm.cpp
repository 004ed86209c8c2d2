#include "mainform/TMainForm.h"

#include "app/OrvoApplication.h"
#include "app/ProductStrings.h"
#include "app/TForm_About.h"
#include "app/TLimitForm.h"
#include "common/KeyColourRegion.h"
#include "mainform/ClipListPanel.h"
#include "mainform/ControlPlacing.h"
#include "mainform/DevicePanel.h"
#include "mainform/EngineMessages.h"
#include "mainform/PreviewPanel.h"
#include "mainform/RangeEditor.h"
#include "mainform/ScreenCursors.h"
#include "mainform/ShareLink.h"
#include "mainform/ToolbarPanel.h"
#include "options/OptionStore.h"
#include "options/Options.h"
#include "options/TOptionForm.h"
#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowMessage.h"
#include "platform/Shell.h"
#include "skin/ImageButton.h"
#include "skin/ImagePanel.h"
#include "skin/ImageView.h"
#include "skin/Pictures.h"
#include "skin/SkinComboBox.h"
#include "skin/SkinEdit.h"
#include "skin/SkinPalette.h"
#include "skin/TrackBar.h"

#include <QCloseEvent>

#include <algorithm>
#include <iterator>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>
#include <QWheelEvent>

#include <exception>

TMainForm *MainForm = nullptr;
bool b_UpdaterStarted = false;

namespace {

constexpr int CheckMarkSide = 14;
constexpr int IPhoneDevice = 2;
// The folder browser starts at the top of the file system.
const QString BrowseRoot = QStringLiteral("/");

// Saves the options; a failed write goes to the standard error box, and the command stops.
// Caught here because an exception must not unwind through Qt's signal delivery.
bool SaveOptionsOrShowError()
{
    if (!OptionForm)
        return true;
    try {
        OptionForm->SaveOptions();
    } catch (const std::exception &error) {
        ShowErrorBox(QString::fromUtf8(error.what()));
        return false;
    }
    return true;
}

} // namespace

TMainForm::TMainForm(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setFont(skin::ControlFont());
    Image_Bk = Place(new skin::ImageView(skin::picture(QStringLiteral("main_background")), this), "Image_Bk", 0, 0);
    Image_Chk = Place(new skin::ImageView(skin::picture(QStringLiteral("check_marks")), this), "Image_Chk", 0, 0);
    Image_Chk->hide();
    Toolbar = new ToolbarPanel(this);
    Preview = new PreviewPanel(this);
    ClipList = new ClipListPanel(this, &Clips);
    Devices = new DevicePanel(this);
    ConnectHandlers();
    FormCreate();
}

TMainForm::~TMainForm()
{
    // Before the window's own teardown, whose focus changes would reach the time boxes' handlers.
    delete m_rangeEditor;
    m_rangeEditor = nullptr;
    FormDestroy();
    delete Devices;
    delete ClipList;
    delete Preview;
    delete Toolbar;
}

void TMainForm::ConnectHandlers()
{
    const auto click = [this](skin::ImageButton *button, void (TMainForm::*handler)()) {
        connect(button, &skin::ImageButton::clicked, this, handler);
    };
    click(Toolbar->suiImageButton_OpenDir, &TMainForm::suiImageButton_OpenDirClick);
    click(Toolbar->suiImageButton_OpenFile, &TMainForm::suiImageButton_OpenFileClick);
    click(Toolbar->suiImageButton_Clear, &TMainForm::suiImageButton_ClearClick);
    click(Toolbar->suiImageButton_TellFriend, &TMainForm::suiImageButton_TellFriendClick);
    click(Toolbar->suiImageButton_About, &TMainForm::suiImageButton_AboutClick);
    click(Toolbar->suiImageButton_Home, &TMainForm::suiImageButton_HomeClick);
    click(Toolbar->suiImageButton_Mail, &TMainForm::suiImageButton_MailClick);
    click(Toolbar->suiImageButton_Min, &TMainForm::suiImageButton_MinClick);
    click(Toolbar->suiImageButton_Close, &TMainForm::suiImageButton_CloseClick);
    click(Preview->suiImageButton_Browse, &TMainForm::suiImageButton_BrowseClick);
    click(Preview->suiImageButton_Snapshoot, &TMainForm::suiImageButton_SnapshootClick);
    click(Devices->suiImageButton_StartConvert, &TMainForm::suiImageButton_StartConvertClick);

    const std::pair<skin::ImageButton *, int> devices[] = {{Devices->suiImageButton_iPodMovie, 0},
                                                           {Devices->suiImageButton_iPodMusic, 1},
                                                           {Devices->suiImageButton_iPhone, 2},
                                                           {Devices->suiImageButton_TV, 3}};
    for (const auto &[button, type] : devices)
        connect(button, &skin::ImageButton::clicked, this, [this, type = type] { SwitchDevice(type); });
    connect(Devices->suiTrackBar_Volume, &skin::TrackBar::valueChanged, this, &TMainForm::suiTrackBar_VolumeChange);
    // A pick by the user only; filling the list does not apply anything by itself.
    connect(Devices->suiComboBox_Profile, &QComboBox::activated, this, &TMainForm::suiComboBox_ProfileChange);

    connect(ClipList->Image_Bar, &skin::ImageView::mouseDown, this,
            [this](QObject *, Qt::MouseButton button, QPoint at) { ClipList->Image_BarMouseDown(button, at); });
    connect(ClipList->Image_Bar, &skin::ImageView::mouseMove, this,
            [this](QObject *, Qt::MouseButtons, QPoint at) { ClipList->Image_BarMouseMove(at); });
    connect(ClipList->Image_Bar, &skin::ImageView::mouseUp, this,
            [this](QObject *, Qt::MouseButton button) { ClipList->Image_BarMouseUp(button); });
}

void TMainForm::FormCreate()
{
    Clips.clear();
    SelectedClips.clear();
    CurrentClip = nullptr;

    connect(ClipList->Panel_Info, &skin::ImagePanel::mouseUp, this, &TMainForm::ClipMouseUp);
    // Wheel turns over the rows and the scroll strip reach the list's frame.
    ClipList->Panel_Info->installEventFilter(this);
    setAcceptDrops(true);
    ClipList->suiImagePanel_InfoMove->resize(ClipList->suiImagePanel_InfoMove->width(), 0);
    MakeCheckMarks();
    ClipList->Image_Bar->move(2, 2);
    s_DiscDrive = QStringLiteral("A");
    WatchDiscs(new platform::MountWatcher(this));
    SetCurrentClip(nullptr);
    // The option store, created next, replaces it with the stored value.
    i_OutputPSPSerialNumber = 1;
    ClipList->Panel_Intro->move(ClipList->Panel_Intro->x(), 100);

    for (skin::ImageView *dragArea : {Image_Bk, ClipList->Image}) {
        connect(dragArea, &skin::ImageView::mouseDown, this,
                [this](QObject *, Qt::MouseButton button, QPoint at) { WindowDragDown(button, at); });
        connect(dragArea, &skin::ImageView::mouseMove, this,
                [this](QObject *, Qt::MouseButtons buttons, QPoint at) { WindowDragMove(buttons, at); });
        connect(dragArea, &skin::ImageView::mouseUp, this,
                [this](QObject *, Qt::MouseButton button) { WindowDragUp(button); });
    }

    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(Image_Bk->size());
    setMask(ShapeRegion(skin::keyedPicture(QStringLiteral("main_background"))));

    LoadScreenCursors(platform::ProgramFolder());
    SetupRangeBar();
    ClipList->Panel_AddProgress->raise();
    ClipList->Panel_Intro->raise();
}

void TMainForm::MakeCheckMarks()
{
    const QPixmap marks = Image_Chk->picture();
    m_marks.unchecked = marks.copy(0, 0, CheckMarkSide, CheckMarkSide);
    m_marks.checked = marks.copy(CheckMarkSide, 0, CheckMarkSide, CheckMarkSide);
}

void TMainForm::FormShow()
{
    ClipList->Panel_AddProgress->hide();
    Preview->suiEdit_OutputFolder->setText(g_s_OutputFolder);
    Preview->Label_Info->hide();
    ClipList->Panel_Intro->show();
    b_Adding = false;

    SwitchDevice(IPhoneDevice);
    repaint();

    if (!b_UpdaterStarted) {
        b_UpdaterStarted = true;
        platform::shell().startProgram(QStringLiteral("OrvoUpdate"));
    }

    const RefusedLists refused = ReadRefusedLists(OptionFilePath());
    UnsupportedExtList = refused.extensions;
    UnsupportedFormatList = refused.formats;
    i_MaxWidth = refused.maxWidth;
}

void TMainForm::FormClose()
{
    UnsupportedExtList.clear();
    UnsupportedFormatList.clear();
}

void TMainForm::FormDestroy()
{
    delete PopupMenu_Clips;
    PopupMenu_Clips = nullptr;
    CurrentClip = nullptr;
    qDeleteAll(Clips);
    Clips.clear();
    SelectedClips.clear();
    m_marks = ClipMarks();
}

void TMainForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window coming back from the task bar is not shown anew.
    if (event->spontaneous())
        return;
    if (!m_centred && screen()) {
        m_centred = true;
        move(screen()->availableGeometry().center() - rect().center());
    }
    FormShow();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

bool TMainForm::event(QEvent *event)
{
    using platform::WindowMessageEvent;
    static const QEvent::Type messageTypes[] = {
        WindowMessageEvent::typeFor(WM_FRAMESOURCE_READY), WindowMessageEvent::typeFor(WM_FRAME_AVAILABLE),
        WindowMessageEvent::typeFor(WM_FRAMESOURCE_CLOSED), WindowMessageEvent::typeFor(WM_IGNORED_1156)};
    if (std::find(std::begin(messageTypes), std::end(messageTypes), event->type()) != std::end(messageTypes)) {
        const auto *message = static_cast<WindowMessageEvent *>(event);
        switch (message->message()) {
        case WM_FRAMESOURCE_READY:
            OnFrameSourceReady();
            return true;
        case WM_FRAME_AVAILABLE:
            OnFrameAvailable(message->wparam());
            return true;
        case WM_FRAMESOURCE_CLOSED:
            OnFrameSourceClosed();
            return true;
        case WM_IGNORED_1156:
            return true;
        default:
            break;
        }
    }
    return QWidget::event(event);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ClipList->Panel_Info && event->type() == QEvent::Wheel) {
        ClipList->WheelClipList(static_cast<QWheelEvent *>(event)->angleDelta().y());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainForm::SeekNoticeShown() const
{
    return !Preview->Label_Info->isHidden();
}

void TMainForm::WindowDragDown(Qt::MouseButton button, QPoint globalPos)
{
    b_WindowDragging = button == Qt::LeftButton;
    if (!b_WindowDragging)
        return;
    pt_DragOrigin = globalPos;
    i_DragStartLeft = x();
    i_DragStartTop = y();
}

void TMainForm::WindowDragMove(Qt::MouseButtons buttons, QPoint globalPos)
{
    if (!(buttons & Qt::LeftButton) || !b_WindowDragging)
        return;
    pt_DragNow = globalPos;
    const int top = i_DragStartTop + pt_DragNow.y() - pt_DragOrigin.y();
    const int left = i_DragStartLeft + pt_DragNow.x() - pt_DragOrigin.x();
    if (top != y() || left != x()) {
        move(left, top);
        repaint();
    }
}

void TMainForm::WindowDragUp(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        b_WindowDragging = false;
}

void TMainForm::suiImageButton_MinClick()
{
    showMinimized();
}

void TMainForm::suiImageButton_CloseClick()
{
    if (SeekNoticeShown()) {
        platform::dialogs().showMessage(platform::MessageKind::Information, QStringLiteral("Seeking disc, please waiting."));
        return;
    }
    if (SaveOptionsOrShowError())
        close();
}

void TMainForm::suiImageButton_BrowseClick()
{
    const QString folder =
        platform::dialogs().browseFolder(this, QStringLiteral("Please select Output Folder:"), BrowseRoot);
    if (folder.isEmpty())
        return;
    repaint();
    g_s_OutputFolder = folder;
    // The save also gives the folder its trailing '/'.
    if (SaveOptionsOrShowError())
        SwitchDevice(DeviceType);
}

void TMainForm::suiImageButton_StartConvertClick()
{
    if (b_Adding || HoldWhileListHeld([this] { suiImageButton_StartConvertClick(); }))
        return;
    if (SeekNoticeShown()) {
        platform::dialogs().showMessage(platform::MessageKind::Information, QStringLiteral("Seeking disc, please waiting."));
        return;
    }
    const auto checked = std::find_if(Clips.cbegin(), Clips.cend(), [](TVideoInfo *e) { return e->IsChecked(); });
    if (checked == Clips.cend()) {
        platform::dialogs().showMessage(platform::MessageKind::Information, QStringLiteral("No clip to convert!"));
        return;
    }
    const auto supported = [](TVideoInfo *e) { return e->IsSupported(); };
    if (!std::all_of(Clips.cbegin(), Clips.cend(), supported) && LimitForm) {
        LimitForm->SetLimitMode(TLimitForm::LimitMode::UnsupportedClip);
        LimitForm->SetWidthLimit(i_MaxWidth);
        LimitForm->exec();
    }
    if (std::none_of(Clips.cbegin(), Clips.cend(), supported))
        return;
    ConvertClips();
}

void TMainForm::suiImageButton_AboutClick()
{
    if (Form_About)
        Form_About->exec();
}

void TMainForm::suiImageButton_HomeClick()
{
    platform::shell().open(HomePage);
}

void TMainForm::suiImageButton_MailClick()
{
    platform::shell().open(SupportEmail);
}

void TMainForm::suiImageButton_TellFriendClick()
{
    platform::shell().open(ShareLinkText(DisplayProductName, HomePage));
}
