#include "TStartForm.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QThread>

TStartForm *StartForm = nullptr;

TStartForm::TStartForm(const QPixmap &picture)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen)
    , Image1(new QLabel(this))
{
    Image1->setGeometry(0, 0, 400, 220);
    Image1->setPixmap(picture);
    setFixedSize(Image1->size());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    setWindowOpacity(0.0);
}

void TStartForm::SetOpacity(int alpha)
{
    i_Alpha = alpha;
    setWindowOpacity(alpha / 255.0);
}

void PauseAndProcessMessages(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
    QCoreApplication::processEvents();
}

void FadeStartForm(TStartForm &form, const FadePause &pause)
{
    if (form.b_FadingIn) {
        while (form.i_Alpha < 255) {
            const int next = form.i_Alpha + 10;
            if (next > 255) {
                form.SetOpacity(255);
                form.b_FadingIn = false;
                return;
            }
            form.SetOpacity(next);
            pause(20);
        }
        form.b_FadingIn = false;
        return;
    }
    while (form.i_Alpha > 0) {
        const int next = form.i_Alpha - 5;
        if (next < 0) {
            form.SetOpacity(0);
            return;
        }
        form.SetOpacity(next);
        pause(10);
    }
}
