#include "TLimitForm.h"

#include "common/KeyColourRegion.h"
#include "options/OptionStore.h"
#include "skin/ImageButton.h"
#include "skin/ImageView.h"
#include "skin/Pictures.h"
#include "skin/SkinPalette.h"

#include <QLabel>
#include <QScreen>
#include <QShowEvent>

TLimitForm *LimitForm = nullptr;

namespace {

// The picture of a mode carries its text; the unsupported-clip notice is the only one.
QString PictureOf(TLimitForm::LimitMode)
{
    return QStringLiteral("notice_background");
}

} // namespace

QString NoticeTip(int maxWidth)
{
    if (maxWidth <= 0)
        return QStringLiteral("File types and formats listed under ExtName and CodecName in Option.ini are skipped.");
    return QStringLiteral("Pictures wider than %1 pixels are skipped: set MaxWidth=0 in Option.ini to convert them")
        .arg(maxWidth);
}

TLimitForm::TLimitForm(QWidget *parent)
    : QDialog(parent)
    , Image_Bk(new skin::ImageView(this))
    , suiImageButton_Close(new skin::ImageButton(QStringLiteral("notice_close"), this))
    , suiButton1(new skin::ImageButton(QStringLiteral("button"), this))
    , Label_Tip(new QLabel(this))
{
    setObjectName(QStringLiteral("LimitForm"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(518, 299);
    Image_Bk->setObjectName(QStringLiteral("Image_Bk"));
    Image_Bk->setAutoSize(true);

    suiImageButton_Close->setObjectName(QStringLiteral("suiImageButton_Close"));
    suiImageButton_Close->setGeometry(458, 2, 46, 20);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton1->setText(QStringLiteral("OK"));
    suiButton1->setGeometry(160, 213, 80, 27);
    Label_Tip->setObjectName(QStringLiteral("Label_Tip"));
    // Two lines where a font is wide: the footer holds them beside the tip's sign.
    Label_Tip->setGeometry(46, 257, 464, 36);
    Label_Tip->setWordWrap(true);
    Label_Tip->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette tipColours = Label_Tip->palette();
    tipColours.setColor(QPalette::WindowText, QColor::fromRgb(skin::MutedColour));
    Label_Tip->setPalette(tipColours);
    Label_Tip->setFont(skin::ControlFont());
    SetWidthLimit(DefaultMaxWidth);
    connect(suiImageButton_Close, &skin::ImageButton::clicked, this, &TLimitForm::suiImageButton_CloseClick);
    connect(suiButton1, &skin::ImageButton::clicked, this, &TLimitForm::suiButton1Click);
    SetLimitMode(LimitMode::UnsupportedClip);
}

void TLimitForm::SetLimitMode(LimitMode mode)
{
    m_mode = mode;
    const QString picture = PictureOf(mode);
    Image_Bk->setPicture(skin::picture(picture));
    setMask(ShapeRegion(skin::keyedPicture(picture)));
}

void TLimitForm::SetWidthLimit(int maxWidth)
{
    Label_Tip->setText(NoticeTip(maxWidth));
}

void TLimitForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && screen())
        move(screen()->availableGeometry().center() - rect().center());
}

void TLimitForm::suiImageButton_CloseClick()
{
    accept();
}

void TLimitForm::suiButton1Click()
{
    accept();
}
