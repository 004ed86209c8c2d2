// The snapshot button: the frame the preview has reached, fetched anew at the clip's own
// picture size, saved as a JPEG or a bitmap file.
#include "app/OrvoApplication.h"
#include "mainform/SnapshotWriter.h"
#include "mainform/TMainForm.h"
#include "options/Options.h"
#include "platform/Dialogs.h"

namespace {

constexpr int SnapshotJpegQuality = 100;

} // namespace

void TMainForm::suiImageButton_SnapshootClick()
{
    if (!b_FrameReady || !CurrentClip)
        return;
    int filterPosition = SnapshotJpeg;
    const QString typedName = platform::dialogs().saveFileName(this, QString::fromLatin1(SnapshotFilter),
                                                               filterPosition, g_s_OutputFolder);
    // The dialog's own loop may have let a disc removal clear the list.
    if (typedName.isEmpty() || !b_FrameReady || !CurrentClip)
        return;
    // The dialog's area is drawn again before the engine works.
    repaint();

    const ClipPicture clip = CurrentClip->Picture();
    const QSize size = SnapshotSize(clip.width, clip.height, CurrentClip->b_UseDisplayAspect, CurrentClip->AspectIndex());
    const QImage picture = GrabFrame(size.width(), size.height());
    const QString name = SnapshotFileName(typedName, filterPosition);
    if (name.isEmpty() || picture.isNull())
        return;
    const bool saved = filterPosition == SnapshotBitmap ? WriteBitmap24(name, picture)
                                                        : WriteJpeg(name, picture, SnapshotJpegQuality);
    if (!saved)
        ShowErrorBox(QStringLiteral("Cannot create file %1").arg(name));
}
