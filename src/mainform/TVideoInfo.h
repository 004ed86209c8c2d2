#pragma once

#include "skin/ImagePanel.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace skin {
class ImageView;
}
class TVideoInfo;

// A text of a clip row. Presses and releases on it count as presses and releases on the row.
class TLabelInfo : public QLabel {
    Q_OBJECT

public:
    TLabelInfo(TVideoInfo *entry, int left);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The two 14 x 14 check marks, made once by the main window and shared by every row.
struct ClipMarks {
    QPixmap unchecked;
    QPixmap checked;
};

// What the probe found about the picture.
struct ClipPicture {
    double pictureAspect = 0.0;
    int width = 0;
    int height = 0;
};

// One clip of the list: a row of texts with a check mark, and the record of the source
// clip. The row is transparent until it is selected; then it shows its silver colour.
class TVideoInfo : public skin::ImagePanel {
    Q_OBJECT

public:
    // owner keeps the entry until the list takes it; marks must outlive the entry.
    TVideoInfo(QWidget *owner, const ClipMarks *marks);

    void SetChecked(bool checked);
    void ToggleChecked();
    void SetClipName(const QString &text);
    void SetDuration(int seconds);
    void SetStartTime(int seconds);
    void SetEndTime(int seconds);
    void SetPicture(int aspectCode, int width, int height);
    void SetOutputName(const QString &text);
    void EnsureMarkBack();
    void SetInfoHint(const QString &text);
    void SetFilePath(const QString &path);
    void SetSupported(bool supported);
    void Select();
    void Deselect();

    int Duration() const { return i_Duration; }
    int StartTime() const { return i_StartTime; }
    int EndTime() const { return i_EndTime; }
    int AspectIndex() const { return i_AspectIndex; }
    int SourceNumber() const { return i_SourceNumber; }
    bool IsChecked() const { return b_Checked; }
    bool IsSupported() const { return b_Supported; }
    bool IsSelected() const { return b_Selected; }
    QString FilePath() const { return s_FilePath; }
    ClipPicture Picture() const { return {d_PictureAspect, i_Width, i_Height}; }

    TLabelInfo *Label_ClipName = nullptr;
    TLabelInfo *Label_VideoLength = nullptr;
    TLabelInfo *Label_Beginning = nullptr;
    TLabelInfo *Label_Ending = nullptr;
    TLabelInfo *Label_VideoSize = nullptr;
    TLabelInfo *Label_MarkBack = nullptr;
    TLabelInfo *Label_OutputName = nullptr;
    skin::ImageView *Image_Mark = nullptr;
    // The thumbnail, later the last preview picture of the clip.
    QImage bmp_Thumbnail;
    // Set by the probe when the aspect code gives the display shape.
    bool b_UseDisplayAspect = false;

private:
    int i_Duration = 0;
    int i_StartTime = 0;
    int i_EndTime = 0;
    int i_AspectIndex = -1;
    int i_SourceNumber = 0;
    bool b_Checked = false;
    bool b_Selected = false;
    QString s_FilePath;
    double d_PictureAspect = 0.0;
    int i_Width = 0;
    int i_Height = 0;
    bool b_Supported = true;

    TLabelInfo *ensureLabel(TLabelInfo *&label, int left);

    const ClipMarks *m_marks;
};
