#include "TForm_About.h"

#include "ProductStrings.h"
#include "common/KeyColourRegion.h"
#include "platform/Shell.h"
#include "skin/ImageButton.h"
#include "skin/ImageView.h"
#include "skin/Pictures.h"
#include "skin/SkinPalette.h"
#include "skin/UrlLabel.h"

#include <QLabel>
#include <QScreen>
#include <QShowEvent>

TForm_About *Form_About = nullptr;

namespace {

constexpr int HeadingPixels = 20;

QLabel *Caption(QWidget *parent, const char *name, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(skin::ControlFont());
    label->adjustSize();
    label->move(x, y);
    return label;
}

QLabel *Heading(QWidget *parent, const char *name, const QColor &colour, int x, int y)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(skin::HeadingFont(HeadingPixels));
    label->setAlignment(Qt::AlignCenter);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    label->setGeometry(x, y, 400, 24);
    return label;
}

skin::UrlLabel *Link(QWidget *parent, const char *name, int x, int y)
{
    auto *link = new skin::UrlLabel(parent);
    link->setObjectName(QString::fromLatin1(name));
    link->move(x, y);
    QObject::connect(link, &skin::UrlLabel::clicked, parent, [](const QString &url) { platform::shell().open(url); });
    return link;
}

} // namespace

TForm_About::TForm_About(QWidget *parent)
    : QDialog(parent)
    , Image_Bk(new skin::ImageView(skin::picture(QStringLiteral("about_background")), this))
    , Label1(Heading(this, "Label1", Qt::white, 18, 52))
    , Label5(Heading(this, "Label5", palette().color(QPalette::WindowText), 16, 51))
    , Label2(Caption(this, "Label2", QStringLiteral("Build on 20070808"), 305, 77))
    , Label3(Caption(this, "Label3", QStringLiteral("Home :"), 25, 141))
    , suiURLLabel2(Link(this, "suiURLLabel2", 81, 141))
    , Label4(Caption(this, "Label4", QStringLiteral("Contact :"), 25, 157))
    , suiURLLabel1(Link(this, "suiURLLabel1", 81, 157))
    , Label7(new QLabel(this))
    , suiButton1(new skin::ImageButton(QStringLiteral("button"), this))
{
    setObjectName(QStringLiteral("Form_About"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(432, 236);
    setMask(ShapeRegion(skin::keyedPicture(QStringLiteral("about_background"))));

    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setGeometry(17, 175, 396, 2);
    Label7->setAutoFillBackground(true);
    QPalette black = Label7->palette();
    black.setColor(QPalette::Window, Qt::black);
    Label7->setPalette(black);

    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton1->setText(QStringLiteral("Close"));
    suiButton1->setGeometry(315, 184, 80, 27);
    connect(suiButton1, &skin::ImageButton::clicked, this, &TForm_About::suiButton1Click);
    FormCreate();
}

void TForm_About::FormCreate()
{
    const auto [version, build] = GetVersionTexts();
    Label1->setText(version);
    Label5->setText(version);
    Label2->setText(build);
    Label2->adjustSize();

    suiURLLabel2->setText(HomePage);
    suiURLLabel2->setUrl(HomePage);
    suiURLLabel2->adjustSize();
    QString address = SupportEmail;
    if (address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        address.remove(0, 7);
    suiURLLabel1->setText(address);
    suiURLLabel1->setUrl(SupportEmail);
    suiURLLabel1->adjustSize();
}

void TForm_About::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (screen())
        move(screen()->availableGeometry().center() - rect().center());
    FormShow();
}

void TForm_About::FormShow()
{
}

void TForm_About::suiButton1Click()
{
    accept();
}
