#pragma once

#include <QLabel>

namespace skin {

// A link text: underlined, blue, red while the mouse is over it, with the hand cursor. A
// left click emits clicked with the link's address, which may differ from the text shown.
class UrlLabel : public QLabel {
    Q_OBJECT

public:
    explicit UrlLabel(QWidget *parent = nullptr);

    void setUrl(const QString &url) { m_url = url; }
    QString url() const { return m_url; }
    // The colour the text has now.
    QColor textColour() const;

signals:
    void clicked(const QString &url);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setHot(bool hot);

    QString m_url;
    bool m_hot = false;
};

} // namespace skin
