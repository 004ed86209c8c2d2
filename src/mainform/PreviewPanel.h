#pragma once

class QLabel;
class QWidget;
namespace skin {
class ImageButton;
class ImagePanel;
class ImageView;
class SkinEdit;
class TimeEdit;
} // namespace skin

// Range bar geometry: the handles are W wide and the track between their rest positions is L
// long; the end handle rests at 144.
constexpr int RangeHandleWidth = 10;
constexpr int RangeTrackLength = 134;
constexpr int RangeEndRest = 144;

// Handle positions for start and end fractions of a clip's length, rounded to the pixel and
// kept on the track.
int RangeLeftFor(float startFraction);
int RangeRightFor(float endFraction);

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
