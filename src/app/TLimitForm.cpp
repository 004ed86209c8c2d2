#include "TLimitForm.h"

TLimitForm *LimitForm = nullptr;

TLimitForm::TLimitForm(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(518, 299);
}
