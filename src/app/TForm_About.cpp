#include "TForm_About.h"

TForm_About *Form_About = nullptr;

TForm_About::TForm_About(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(432, 236);
}
