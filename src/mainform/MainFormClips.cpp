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
    CloseFrameSource();
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
    if (b_Adding || SeekNoticeShown())
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
    SetCurrentClip(entry);
    entry->setFocus();
}

void TMainForm::ClipMouseUp(QObject *sender, Qt::MouseButton button, QPoint globalPos)
{
    if (b_Adding || SeekNoticeShown())
        return;
    if (button == Qt::LeftButton && sender == ClipList->Panel_Info)
        return;
    if (button == Qt::RightButton) {
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
    if (!b_Adding)
        RemoveSelectedClips();
}

void TMainForm::suiImageButton_ClearClick()
{
    if (b_Adding)
        return;
    ClearClips();
    ClipList->Panel_Intro->show();
}

void TMainForm::suiImageButton_OpenDirClick()
{
    AddFiles();
}
