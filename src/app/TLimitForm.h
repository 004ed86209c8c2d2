#pragma once

#include <QWidget>

// The notice window: tells the user that a clip they added cannot be converted.
class TLimitForm : public QWidget {
    Q_OBJECT

public:
    explicit TLimitForm(QWidget *parent = nullptr);
};

extern TLimitForm *LimitForm;
