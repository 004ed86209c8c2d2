#pragma once

#include "mainform/RangeRules.h"

#include <QColor>

class QLabel;
class QWidget;
namespace skin {
class ImageButton;
class ImagePanel;
class ImageView;
class SkinEdit;
class TimeEdit;
} // namespace skin

// The preview pane with its seek notice, the range bar under it, the snapshot button, and
// the footer of the list: the two time boxes and the output folder with its browse button.
class PreviewPanel {
public:
    explicit PreviewPanel(QWidget *window);

    // Once, after the screen cursors are loaded: the bar's parts at rest.
    void SetupRangeBar();
    // Places the handles from two fractions; both negative put them at rest, disabled.
    void SetRangeBar(float startFraction, float endFraction);
    // The range picture spans from the start handle's right edge to the end handle.
    void RelayoutStretch();
    // The busy state of the pane: the range bar and the snapshot wait, the notice shows.
    void SetPreviewIdle(bool idle);
    // The colour of a time box: normal (the output folder field's colour, taken now), the
    // red of a typed time that breaks the range, or the lime of a drag under way.
    enum class BoxColour { Normal, Red, Lime };
    void SetBoxColour(skin::TimeEdit *box, BoxColour colour);

    skin::ImagePanel *Panel_Preview;
    skin::ImageView *Image_Preview;
    QLabel *Label_Info;

    skin::ImagePanel *Panel_Progress;
    skin::ImageView *Image_ProgressBack;
    skin::ImageButton *Image_Left;
    skin::ImageButton *Image_Right;
    skin::ImageView *Image_Stretch;
    skin::ImageButton *suiImageButton_Snapshoot;

    QLabel *Label_Start;
    skin::TimeEdit *suiEdit_Start;
    QLabel *Label_Stop;
    skin::TimeEdit *suiEdit_Stop;
    QLabel *Label_OutputFolder;
    skin::SkinEdit *suiEdit_OutputFolder;
    skin::ImageButton *suiImageButton_Browse;
};
