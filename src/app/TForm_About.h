#pragma once

#include <QDialog>

class QLabel;
namespace skin {
class ImageButton;
class ImageView;
class UrlLabel;
} // namespace skin

// The about window: the version heading with its white edge, the build line, and the home
// page and contact links. The texts are set once, when the window is created.
class TForm_About : public QDialog {
    Q_OBJECT

public:
    explicit TForm_About(QWidget *parent = nullptr);

    skin::ImageView *Image_Bk;
    QLabel *Label1;
    QLabel *Label5;
    QLabel *Label2;
    QLabel *Label3;
    skin::UrlLabel *suiURLLabel2;
    QLabel *Label4;
    skin::UrlLabel *suiURLLabel1;
    QLabel *Label7;
    skin::ImageButton *suiButton1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void suiButton1Click();
};

extern TForm_About *Form_About;
