// The preview pane: the engine's frame source for the current clip, opened on the first seek,
// with its busy state while the engine works and its bounded close.
#include "mainform/PreviewPanel.h"
#include "mainform/RangeEditor.h"
#include "mainform/RangeRules.h"
#include "mainform/TMainForm.h"
#include "skin/ImageButton.h"
#include "skin/ImagePanel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QThread>

#include <cstring>
#include <functional>

bool b_ClosingFrames = false;

namespace {

constexpr int WaitStepMs = 100;
// The picture a clip entry starts with, used when an entry has none.
constexpr int ThumbnailWidth = 240;
constexpr int ThumbnailHeight = 180;

// Sleeps a step at a time and lets the window's messages through in between, until done()
// or the limit has passed. False when the limit ended the wait. The user's clicks and keys
// stay queued until the wait is over: a handler run inside it could free what the caller holds.
bool WaitForEngine(const std::function<bool()> &done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= limitMs)
            return false;
        QThread::msleep(WaitStepMs);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

} // namespace

void TMainForm::SetupRangeBar()
{
    Preview->SetupRangeBar();
    if (!m_rangeEditor)
        m_rangeEditor = new RangeEditor(this);
}

void TMainForm::SetPreviewIdle(bool idle)
{
    Preview->SetPreviewIdle(idle);
}

bool TMainForm::OpenFrameEngine()
{
    if (h_FrameLibrary.IsLoaded())
        return true;
    engine::PreviewFunctions functions;
    if (!h_FrameLibrary.Load(functions))
        return false;
    m_frameFunctions = functions;
    // The notice must be on screen before the engine starts working.
    Preview->Label_Info->show();
    Preview->Label_Info->raise();
    Preview->Panel_Preview->repaint();
    return true;
}

void TMainForm::PreviewSeek(int seekTime, int openingTime)
{
    if (b_FrameReady) {
        if (seekTime == i_LastFrameTime) {
            SetPreviewIdle(true);
            return;
        }
        // A refused seek sends no answer, so nothing would end the busy state.
        if (m_frameFunctions.Set_NextFrame_Time(seekTime) < 0)
            SetPreviewIdle(true);
        return;
    }
    // Still opening: the source seeks to the trim start as soon as it is ready.
    if (h_FrameLibrary.IsLoaded())
        return;
    if (!CurrentClip || !OpenFrameEngine()) {
        SetPreviewIdle(true);
        return;
    }
    const QByteArray path = CurrentClip->FilePath().toUtf8();
    const QByteArray opening = QByteArray::number(openingTime);
    if (m_frameFunctions.GetFrame_Init(m_engineWindow.handle(), 2, path.constData(), "", opening.constData()) < 0) {
        // No source was started, so no engine thread can post: the library may go at once.
        h_FrameLibrary.Release();
        m_frameFunctions = engine::PreviewFunctions();
        SetPreviewIdle(true);
    }
}

void TMainForm::OnFrameSourceReady()
{
    // An answer from a library given up after a close that timed out.
    if (!h_FrameLibrary.IsLoaded())
        return;
    b_FrameReady = true;
    b_FrameClosed = false;
    SetPreviewIdle(false);
    if (!CurrentClip)
        return;
    const int seek = SeekTimeFor(CurrentClip->StartTime(), CurrentClip->Duration());
    if (m_frameFunctions.Set_NextFrame_Time(seek) < 0)
        SetPreviewIdle(true);
}

void TMainForm::OnFrameAvailable(std::intptr_t wParam)
{
    if (!CurrentClip)
        return;
    if (wParam == 1) {
        const QImage &thumbnail = CurrentClip->bmp_Thumbnail;
        const QImage frame = thumbnail.isNull() ? GrabFrame(ThumbnailWidth, ThumbnailHeight)
                                                : GrabFrame(thumbnail.width(), thumbnail.height());
        if (!frame.isNull()) {
            CurrentClip->bmp_Thumbnail = frame;
            ShowThumbnail(CurrentClip);
        }
    }
    SetPreviewIdle(true);
}

void TMainForm::OnFrameSourceClosed()
{
    b_FrameReady = false;
    b_FrameClosed = true;
}

QImage TMainForm::GrabFrame(int width, int height)
{
    if (!h_FrameLibrary.IsLoaded() || width <= 0 || height <= 0)
        return QImage();
    unsigned char *pixels = nullptr;
    std::int32_t frameTime = 0;
    if (m_frameFunctions.Get_Frame(width, height, nullptr, &pixels, &frameTime) < 0 || !pixels)
        return QImage();
    i_LastFrameTime = frameTime;
    // The engine's rows are blue, green, red without padding, the layout of a 24-bit bitmap.
    QImage frame(width, height, QImage::Format_BGR888);
    if (frame.isNull())
        return QImage();
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int row = 0; row < height; ++row)
        std::memcpy(frame.scanLine(row), pixels + static_cast<std::size_t>(row) * rowBytes, rowBytes);
    return frame;
}

void TMainForm::CloseFrameSource()
{
    if (!h_FrameLibrary.IsLoaded() || b_ClosingFrames)
        return;
    b_ClosingFrames = true;
    // Both waits are bounded: an engine that never answers must not hold the program.
    WaitForEngine([this] { return b_FrameReady; }, i_FrameWaitLimit);
    b_FrameClosed = false;
    // A refusal means there is no source, and no answer will come.
    const bool closing = m_frameFunctions.GetFrame_UnInit() >= 0;
    const bool closed = closing && WaitForEngine([this] { return b_FrameClosed; }, i_FrameWaitLimit);
    b_FrameReady = false;
    if (closed || !closing)
        h_FrameLibrary.Release();
    else
        // An engine thread may still run in it: the library stays loaded for the process's life.
        h_FrameLibrary.Abandon();
    m_frameFunctions = engine::PreviewFunctions();
    i_LastFrameTime = 0;
    b_ClosingFrames = false;
    // No seek is answered any more: the pane is not busy, and there is no frame to save.
    Preview->Label_Info->hide();
    Preview->suiImageButton_Snapshoot->setEnabled(false);
    Preview->Panel_Progress->setEnabled(CurrentClip != nullptr);
    // What came in during the waits runs once the caller is done.
    ReleaseHeldCommands();
}
