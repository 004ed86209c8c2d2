// The main window's clip list: entries, selection, the current clip, removal, clearing,
// relayout, output numbering and the context menu.
#include "mainform/TMainForm.h"

#include "common/TextHelpers.h"
#include "mainform/ClipListPanel.h"
#include "mainform/ClipTexts.h"
#include "mainform/PreviewPanel.h"
#include "options/Options.h"
#include "skin/ImageButton.h"
#include "skin/ImagePanel.h"
#include "skin/ImageView.h"
#include "skin/SkinEdit.h"

#include <QMenu>
#include <QPointer>

TVideoInfo *TMainForm::CreateClipEntry(const QString &fileName)
{
    auto *entry = new TVideoInfo(this, &m_marks);
    connect(entry, &TVideoInfo::mouseDown, this,
            [this](QObject *sender, Qt::MouseButton button) { ClipMouseDown(sender, button); });
    connect(entry, &TVideoInfo::mouseUp, this, &TMainForm::ClipMouseUp);
    entry->SetClipName(ClipNameText(fileName));
    entry->Deselect();
    return entry;
}

void TMainForm::AppendClipEntry(TVideoInfo *entry)
{
    entry->setParent(ClipList->suiImagePanel_InfoMove);
    entry->move(0, ClipRowPitch * static_cast<int>(Clips.size()));
    entry->show();
    Clips.append(entry);
    entry->EnsureMarkBack();
    entry->SetOutputName(OutputNameFor(i_OutputPSPSerialNumber + static_cast<int>(Clips.size()) - 1, DeviceType));
    QWidget *rows = ClipList->suiImagePanel_InfoMove;
    rows->resize(rows->width(), entry->y() + entry->height());
}

TVideoInfo *TMainForm::ClipAt(int i) const
{
    return i >= 0 && i < Clips.size() ? Clips.at(i) : nullptr;
}

void TMainForm::SetCurrentClip(TVideoInfo *entry)
{
    if (entry && entry == CurrentClip)
        return;
    Preview->suiEdit_Start->setText(QString());
    Preview->suiEdit_Stop->setText(QString());
    // The outgoing clip keeps the last preview picture as its thumbnail.
    if (CurrentClip && !Preview->Image_Preview->picture().isNull())
        CurrentClip->bmp_Thumbnail = Preview->Image_Preview->picture().toImage().convertToFormat(QImage::Format_RGB888);
    // The close waits for the engine; what was asked meanwhile is held back, but the entry
    // is looked at again rather than trusted.
    const QPointer<TVideoInfo> wanted(entry);
    CloseFrameSource();
    if (!wanted || !Clips.contains(wanted.data()))
        entry = nullptr;
    CurrentClip = entry;

    if (!entry) {
        ShowThumbnail(nullptr);
        Preview->suiEdit_Start->setEnabled(false);
        Preview->suiEdit_Stop->setEnabled(false);
        Preview->Panel_Progress->setEnabled(false);
        Preview->suiImageButton_Snapshoot->setEnabled(false);
        ShowClipRange(nullptr);
        return;
    }
    Preview->suiEdit_Start->setEnabled(true);
    Preview->suiEdit_Stop->setEnabled(true);
    Preview->suiEdit_Start->setText(TimeText(entry->StartTime()));
    Preview->suiEdit_Stop->setText(TimeText(entry->EndTime()));
    Preview->suiImageButton_Snapshoot->setEnabled(false);
    Preview->Panel_Progress->setEnabled(true);
    ShowClipRange(entry);
    ShowThumbnail(entry);
}

void TMainForm::ShowThumbnail(TVideoInfo *entry)
{
    Preview->Image_Preview->setPicture(entry ? QPixmap::fromImage(entry->bmp_Thumbnail) : QPixmap());
}

void TMainForm::ShowClipRange(TVideoInfo *entry)
{
    if (!entry) {
        Preview->SetRangeBar(-1, -1);
        return;
    }
    // A clip without length has no fractions; its range is the whole bar.
    const int duration = entry->Duration();
    if (duration <= 0) {
        Preview->SetRangeBar(0, 1);
        return;
    }
    Preview->SetRangeBar(static_cast<float>(static_cast<double>(entry->StartTime()) / duration),
                         static_cast<float>(static_cast<double>(entry->EndTime()) / duration));
}

void TMainForm::RebuildSelectedClips()
{
    SelectedClips.clear();
    for (TVideoInfo *entry : std::as_const(Clips))
        if (entry->IsSelected())
            SelectedClips.append(entry);
}

void TMainForm::ClipMouseDown(QObject *sender, Qt::MouseButton)
{
    // A press that reaches a row while the list is held is dropped: the row may be gone after.
    if (b_Adding || SeekNoticeShown() || ListHeld())
        return;
    ClipList->b_MouseHeld = true;
    TVideoInfo *entry = qobject_cast<TLabelInfo *>(sender) ? qobject_cast<TVideoInfo *>(sender->parent())
                                                            : qobject_cast<TVideoInfo *>(sender);
    if (!entry)
        return;
    if (!entry->IsSelected()) {
        RebuildSelectedClips();
        for (TVideoInfo *selected : std::as_const(SelectedClips))
            selected->Deselect();
        entry->Select();
    }
    const QPointer<TVideoInfo> pressed(entry);
    SetCurrentClip(entry);
    if (pressed && CurrentClip == pressed)
        pressed->setFocus();
}

void TMainForm::ClipMouseUp(QObject *sender, Qt::MouseButton button, QPoint globalPos)
{
    if (b_Adding || SeekNoticeShown())
        return;
    if (button == Qt::LeftButton && sender == ClipList->Panel_Info)
        return;
    if (button == Qt::RightButton && !ListHeld()) {
        PreparePopupMenu();
        PopupMenu_Clips->popup(globalPos);
    }
    ClipList->b_MouseHeld = false;
}

void TMainForm::PreparePopupMenu()
{
    if (!PopupMenu_Clips) {
        PopupMenu_Clips = new QMenu(this);
        PopupMenu_Clips->setObjectName(QStringLiteral("PopupMenu_Clips"));
        const auto item = [this](const QString &caption, const QString &name) {
            QAction *action = PopupMenu_Clips->addAction(caption);
            action->setObjectName(name);
            connect(action, &QAction::triggered, this, [this, name] { PopupMenuClick(name); });
        };
        item(QStringLiteral("Remove Select"), QStringLiteral("Remove"));
        item(QStringLiteral("Clear"), QStringLiteral("Clear"));
        PopupMenu_Clips->addSeparator();
        item(QStringLiteral("Add clip(s)..."), QStringLiteral("Add"));
    }
    RebuildSelectedClips();
    const QList<QAction *> items = PopupMenu_Clips->actions();
    items.at(0)->setEnabled(!SelectedClips.isEmpty());
    items.at(1)->setEnabled(!Clips.isEmpty());
}

void TMainForm::PopupMenuClick(const QString &itemName)
{
    if (HoldWhileListHeld([this, itemName] { PopupMenuClick(itemName); }))
        return;
    if (itemName == QLatin1String("Remove"))
        RemoveSelectedClips();
    else if (itemName == QLatin1String("Clear"))
        ClearClips();
    else if (itemName == QLatin1String("Add"))
        AddFiles();
}

void TMainForm::RemoveSelectedClips()
{
    SetCurrentClip(nullptr);
    RebuildSelectedClips();
    QList<TVideoInfo *> kept;
    for (TVideoInfo *entry : std::as_const(Clips)) {
        if (SelectedClips.contains(entry))
            delete entry;
        else
            kept.append(entry);
    }
    Clips = kept;
    SelectedClips.clear();
    RelayoutClips();
}

void TMainForm::RelayoutClips()
{
    for (int i = 0; i < Clips.size(); ++i) {
        TVideoInfo *entry = Clips.at(i);
        entry->EnsureMarkBack();
        if (entry->y() != ClipRowPitch * i)
            entry->move(0, ClipRowPitch * i);
    }
    RenumberOutputNames();
    QWidget *rows = ClipList->suiImagePanel_InfoMove;
    rows->resize(rows->width(), ClipRowPitch * static_cast<int>(Clips.size()));
    ClipList->ScrollClipList();
    ClipList->Panel_Intro->setVisible(Clips.isEmpty());
}

void TMainForm::RenumberOutputNames()
{
    for (int i = 0; i < Clips.size(); ++i)
        Clips.at(i)->SetOutputName(OutputNameFor(i_OutputPSPSerialNumber + i, DeviceType));
}

void TMainForm::ClearClips()
{
    SetCurrentClip(nullptr);
    ShowClipRange(nullptr);
    qDeleteAll(Clips);
    Clips.clear();
    update();
    QWidget *rows = ClipList->suiImagePanel_InfoMove;
    rows->resize(rows->width(), 0);
    s_DiscDrive = QStringLiteral("A");
    Preview->suiEdit_Start->setColor(Preview->suiEdit_OutputFolder->color());
    Preview->suiEdit_Stop->setColor(Preview->suiEdit_OutputFolder->color());
}

void TMainForm::suiImageButton_OpenFileClick()
{
    if (HoldWhileListHeld([this] { suiImageButton_OpenFileClick(); }))
        return;
    if (!b_Adding)
        RemoveSelectedClips();
}

void TMainForm::suiImageButton_ClearClick()
{
    if (HoldWhileListHeld([this] { suiImageButton_ClearClick(); }))
        return;
    if (b_Adding)
        return;
    ClearClips();
    ClipList->Panel_Intro->show();
}

void TMainForm::suiImageButton_OpenDirClick()
{
    AddFiles();
}

bool TMainForm::ListHeld() const
{
    return b_ClosingFrames || b_Converting;
}

bool TMainForm::HoldWhileListHeld(std::function<void()> command)
{
    if (!ListHeld())
        return false;
    m_heldCommands.append(std::move(command));
    return true;
}

void TMainForm::ReleaseHeldCommands()
{
    if (m_heldCommands.isEmpty() || m_heldRunQueued)
        return;
    // Queued, so the handler that ended the hold finishes with what it holds first.
    m_heldRunQueued = true;
    QMetaObject::invokeMethod(this, [this] { RunHeldCommands(); }, Qt::QueuedConnection);
}

void TMainForm::RunHeldCommands()
{
    m_heldRunQueued = false;
    // A command that finds the list held again keeps itself for the next release.
    while (!m_heldCommands.isEmpty() && !ListHeld())
        m_heldCommands.takeFirst()();
}
