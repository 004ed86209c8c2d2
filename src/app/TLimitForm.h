#pragma once

#include <QDialog>

class QLabel;

namespace skin {
class ImageButton;
class ImageView;
} // namespace skin

// The notice window: tells the user that a clip they added cannot be converted.
class TLimitForm : public QDialog {
    Q_OBJECT

public:
    enum class LimitMode { UnsupportedClip };

    explicit TLimitForm(QWidget *parent = nullptr);

    // Puts the window into a mode before it is shown.
    void SetLimitMode(LimitMode mode);
    LimitMode limitMode() const { return m_mode; }
    // The width limit the footer's tip names (0 or less: none).
    void SetWidthLimit(int maxWidth);

    skin::ImageView *Image_Bk;
    skin::ImageButton *suiImageButton_Close;
    skin::ImageButton *suiButton1;
    QLabel *Label_Tip;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void suiImageButton_CloseClick();
    void suiButton1Click();

    LimitMode m_mode = LimitMode::UnsupportedClip;
};

extern TLimitForm *LimitForm;

// The footer's tip: how Option.ini lets the refused clips through.
QString NoticeTip(int maxWidth);
