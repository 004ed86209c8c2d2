#include "TMainForm.h"

#include "options/Options.h"

TMainForm *MainForm = nullptr;

TMainForm::TMainForm(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(897, 561);
    FormCreate();
}

void TMainForm::FormCreate()
{
    // The option store, created next, replaces it with the stored value.
    i_OutputPSPSerialNumber = 1;
}
