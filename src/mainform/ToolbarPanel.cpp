#include "mainform/ToolbarPanel.h"

#include "mainform/ControlPlacing.h"
#include "skin/ImageButton.h"

namespace {

skin::ImageButton *Button(QWidget *window, const char *picture, const char *name, int x, int y, int w, int h)
{
    return Place(new skin::ImageButton(QString::fromLatin1(picture), window), name, x, y, w, h);
}

} // namespace

ToolbarPanel::ToolbarPanel(QWidget *window)
    : suiImageButton_OpenDir(Button(window, "add", "suiImageButton_OpenDir", 37, 59, 89, 38))
    , suiImageButton_OpenFile(Button(window, "remove", "suiImageButton_OpenFile", 131, 59, 89, 38))
    , suiImageButton_Clear(Button(window, "clear", "suiImageButton_Clear", 225, 59, 89, 38))
    , suiImageButton_TellFriend(Button(window, "share", "suiImageButton_TellFriend", 315, 57, 95, 40))
    , suiImageButton_About(Button(window, "about", "suiImageButton_About", 787, 64, 22, 22))
    , suiImageButton_Home(Button(window, "home", "suiImageButton_Home", 812, 64, 22, 22))
    , suiImageButton_Mail(Button(window, "mail", "suiImageButton_Mail", 838, 64, 22, 22))
    , suiImageButton_Min(Button(window, "minimize", "suiImageButton_Min", 807, 16, 28, 19))
    , suiImageButton_Close(Button(window, "close", "suiImageButton_Close", 835, 16, 45, 19))
{
    suiImageButton_TellFriend->setToolTip(QStringLiteral("Share to your friends"));
    suiImageButton_About->setToolTip(QStringLiteral("About"));
    suiImageButton_Home->setToolTip(QStringLiteral("Homepage"));
    suiImageButton_Mail->setToolTip(QStringLiteral("Contact"));
}
