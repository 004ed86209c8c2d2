#pragma once

#include <QCheckBox>
#include <QPixmap>

namespace skin {

// A check box drawn with the skin's check marks (the left half of "check_marks" unchecked,
// the right half checked), its caption to the right.
class CheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit CheckBox(const QString &caption, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    QPixmap m_unchecked;
    QPixmap m_checked;
};

} // namespace skin
