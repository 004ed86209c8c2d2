#pragma once

namespace skin {
class ImageButton;
}
class QWidget;

// The title band's buttons: the list commands, the outside links and the window's own
// minimise and close buttons.
class ToolbarPanel {
public:
    explicit ToolbarPanel(QWidget *window);

    skin::ImageButton *suiImageButton_OpenDir;
    skin::ImageButton *suiImageButton_OpenFile;
    skin::ImageButton *suiImageButton_Clear;
    skin::ImageButton *suiImageButton_TellFriend;
    skin::ImageButton *suiImageButton_About;
    skin::ImageButton *suiImageButton_Home;
    skin::ImageButton *suiImageButton_Mail;
    skin::ImageButton *suiImageButton_Min;
    skin::ImageButton *suiImageButton_Close;
};
