#include "TProcessForm.h"

TProcessForm *ProcessForm = nullptr;

TProcessForm::TProcessForm(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(510, 265);
}
