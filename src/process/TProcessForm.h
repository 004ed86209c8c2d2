#pragma once

#include <QWidget>

// The progress window of a conversion job.
class TProcessForm : public QWidget {
    Q_OBJECT

public:
    explicit TProcessForm(QWidget *parent = nullptr);
};

extern TProcessForm *ProcessForm;
