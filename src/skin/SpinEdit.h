#pragma once

#include <QWidget>

namespace skin {

class ImageButton;
class SkinEdit;

// The value a spin field keeps: v limited to low .. high, except that equal bounds take any
// value.
int BoundedSpinValue(int v, int low, int high);

// A whole-number field with up and down arrows. It keeps its value within its bounds by the
// rule above; the text can be read as typed.
class SpinEdit : public QWidget {
    Q_OBJECT

public:
    explicit SpinEdit(QWidget *parent = nullptr);

    int minValue() const { return m_min; }
    int maxValue() const { return m_max; }
    void setMinValue(int v);
    void setMaxValue(int v);
    // The arrows' increment; below 1 counts as 1.
    int increment() const { return m_increment; }
    void setIncrement(int v) { m_increment = v < 1 ? 1 : v; }
    // The text's number within the bounds; a text that is not a number gives the lower bound.
    int value() const;
    void setValue(int v);
    QString text() const;
    void setText(const QString &text);

signals:
    void valueChanged(int value);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void step(int delta);
    void layoutParts();

    SkinEdit *m_edit;
    ImageButton *m_up;
    ImageButton *m_down;
    int m_min = 0;
    int m_max = 0;
    int m_increment = 1;
};

} // namespace skin
