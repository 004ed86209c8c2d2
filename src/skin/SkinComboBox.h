#pragma once

#include "skin/Pictures.h"

#include <QComboBox>

namespace skin {

// A drop-down list to pick from; no typing. Drawn as a white field with the skin's
// drop-down button at its right end.
class SkinComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit SkinComboBox(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    ButtonPictures m_button;
};

} // namespace skin
