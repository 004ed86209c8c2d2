#pragma once

#include <QWidget>

// The main window: clip list, preview, trim range, device and profile panel.
class TMainForm : public QWidget {
    Q_OBJECT

public:
    explicit TMainForm(QWidget *parent = nullptr);

private:
    void FormCreate();
};

extern TMainForm *MainForm;
