#pragma once

#include <QWidget>

// The about window: version heading and build line.
class TForm_About : public QWidget {
    Q_OBJECT

public:
    explicit TForm_About(QWidget *parent = nullptr);
};

extern TForm_About *Form_About;
