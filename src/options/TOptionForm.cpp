#include "TOptionForm.h"

#include "OptionStore.h"
#include "Options.h"
#include "platform/ProgramFolder.h"

#include <QComboBox>

QString g_s_OutputFolder;
int i_OutputPSPSerialNumber = 1;
int i_MinDurationTime = -1;
QString OpenDialogFilter;
QString PSPUploadFolder;
QString PSPAVCFolder;
QString PSPMP4Folder;

TOptionForm *OptionForm = nullptr;

QString OptionFilePath(platform::SettingsAccess access)
{
    return platform::ProgramSettingsFile(QStringLiteral("Option.ini"), access);
}

TOptionForm::TOptionForm(QWidget *parent)
    : QWidget(parent)
    , ComboBox_DefaultAudio(new QComboBox(this))
    , ComboBox_DefaultSubtitle(new QComboBox(this))
{
    ComboBox_DefaultAudio->addItems(LanguageNames());
    ComboBox_DefaultSubtitle->addItems(LanguageNames());
    FormCreate();
}

void TOptionForm::FormCreate()
{
    LoadOptions();
}

void TOptionForm::LoadOptions()
{
    const OptionValues values = ::LoadOptions(OptionFilePath(), platform::FixedRoots(), platform::ProgramFolder());
    ComboBox_DefaultAudio->setCurrentIndex(values.defaultAudio);
    ComboBox_DefaultSubtitle->setCurrentIndex(values.defaultSubtitle);
    g_s_OutputFolder = values.outputFolder;
    i_OutputPSPSerialNumber = values.serialBase;
    PSPUploadFolder = values.pspUploadFolder;
    PSPAVCFolder = values.pspAvcFolder;
    PSPMP4Folder = values.pspMp4Folder;
    i_MinDurationTime = values.minDuration;
    OpenDialogFilter = values.openDialogFilter;
}

void TOptionForm::SaveOptions()
{
    OptionValues values;
    values.defaultAudio = DefaultAudio();
    values.defaultSubtitle = DefaultSubtitle();
    values.outputFolder = g_s_OutputFolder;
    values.serialBase = i_OutputPSPSerialNumber;
    // The folder keeps its '/' in memory even when the write below fails.
    if (!g_s_OutputFolder.endsWith(QLatin1Char('/')))
        g_s_OutputFolder += QLatin1Char('/');
    ::SaveOptions(OptionFilePath(platform::SettingsAccess::Write), values);
}

int TOptionForm::DefaultAudio() const
{
    return ComboBox_DefaultAudio->currentIndex();
}

int TOptionForm::DefaultSubtitle() const
{
    return ComboBox_DefaultSubtitle->currentIndex();
}
