#pragma once

#include <QWidget>

#include <functional>

class QLabel;

// The splash window: borderless, on top, centred, exactly its picture; faded in and out by
// FadeStartForm while the program's windows are created.
class TStartForm : public QWidget {
    Q_OBJECT

public:
    explicit TStartForm(const QPixmap &picture);

    bool b_FadingIn = true;
    int i_Alpha = 0;

    void SetOpacity(int alpha);

private:
    QLabel *Image1;
};

extern TStartForm *StartForm;

// Sleeps for the given milliseconds and lets pending messages be processed.
using FadePause = std::function<void(int milliseconds)>;
void PauseAndProcessMessages(int milliseconds);

// First call fades in (steps of 10, 20 ms pauses), second call fades out (steps of 5,
// 10 ms pauses).
void FadeStartForm(TStartForm &form, const FadePause &pause = PauseAndProcessMessages);
