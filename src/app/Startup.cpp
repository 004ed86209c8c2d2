#include "Startup.h"

#include "OrvoApplication.h"
#include "ProductStrings.h"
#include "TForm_About.h"
#include "TLimitForm.h"
#include "TStartForm.h"
#include "mainform/TMainForm.h"
#include "options/TOptionForm.h"
#include "platform/Dialogs.h"
#include "platform/WindowTitles.h"
#include "process/TProcessForm.h"
#include "skin/Pictures.h"

#include <QPixmap>

#include <exception>

namespace {

void CreateWindows()
{
    MainForm = new TMainForm;
    OptionForm = new TOptionForm;
    ProcessForm = new TProcessForm;
    Form_About = new TForm_About;
    LimitForm = new TLimitForm;
}

// The application object owns the windows; they go in the reverse order of creation.
void DestroyWindows()
{
    delete LimitForm;
    LimitForm = nullptr;
    delete Form_About;
    Form_About = nullptr;
    delete ProcessForm;
    ProcessForm = nullptr;
    delete OptionForm;
    OptionForm = nullptr;
    delete MainForm;
    MainForm = nullptr;
}

int RunWindows(OrvoApplication &app)
{
    SetApplicationTitle(DisplayProductName);

    StartForm = new TStartForm(skin::picture(QStringLiteral("splash")));
    StartForm->show();
    StartForm->repaint();
    FadeStartForm(*StartForm);

    CreateWindows();

    FadeStartForm(*StartForm);
    StartForm->close();
    delete StartForm;
    StartForm = nullptr;

    MainForm->setWindowTitle(ProductName);
    MainForm->show();
    app.exec();
    return 0;
}

} // namespace

bool CheckVersionFile()
{
    if (ReadVersionFile())
        return true;
    platform::dialogs().showMessage(platform::MessageKind::Error,
                                    QStringLiteral("Initilization Error!\nPlease re-install software!"));
    return false;
}

int RunProgram(int argc, char **argv)
{
    OrvoApplication app(argc, argv);
    platform::SetMessageTitle(DisplayProductName);
    platform::InstallWindowTitleRegistry(app);

    if (!CheckVersionFile())
        return -1;
    if (platform::FindWindowTitled(ProductName))
        return -1;

    try {
        RunWindows(app);
    } catch (const std::exception &error) {
        ShowErrorBox(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowErrorBox(QString());
    }
    delete StartForm;
    StartForm = nullptr;
    DestroyWindows();
    return 0;
}
