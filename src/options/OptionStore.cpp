#include "OptionStore.h"

#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

namespace {

const QString Section = QStringLiteral("Option");
const QString NoDefault = QStringLiteral("nodef");

// Records of the language table: a two-letter code (not read) and a name.
struct Language {
    char code[3];
    char name[20];
};
constexpr Language Languages[LanguageCount] = {
    {"de", "Deutsch"},  {"en", "English"},   {"es", "Espanol"}, {"fr", "Francais"},
    {"it", "Italiano"}, {"ja", "Japanese"},  {"ko", "Korean"},  {"la", "Latin"},
    {"pt", "Portugues"}, {"ru", "Russian"},  {"th", "Thai"},    {"zh", "Chinese"},
};

bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

QString withSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QStringList LanguageNames()
{
    QStringList names;
    for (const Language &language : Languages)
        names << QString::fromLatin1(language.name);
    return names;
}

int LanguagePosition(int stored)
{
    return stored >= 0 && stored < LanguageCount ? stored : -1;
}

OptionValues LoadOptions(const QString &iniPath, const QStringList &roots, const QString &fallbackFolder)
{
    const platform::IniFile ini(iniPath);
    OptionValues values;
    values.defaultAudio = LanguagePosition(ini.readInteger(Section, QStringLiteral("DefaultAudio"), 1));
    values.defaultSubtitle = LanguagePosition(ini.readInteger(Section, QStringLiteral("DefaultSubtitle"), 1));

    QString folder = ini.readString(Section, QStringLiteral("OutputFolder"), NoDefault);
    if (folder == NoDefault || !platform::FolderExists(folder)) {
        const QString root = platform::LastExistingRoot(roots);
        if (!root.isEmpty())
            folder = root + QStringLiteral("OutputFolder/");
    }
    // No root and an empty value would leave no folder at all.
    if (folder.isEmpty())
        folder = withSlash(fallbackFolder) + QStringLiteral("OutputFolder/");
    values.outputFolder = withSlash(folder);
    platform::CreateFolder(values.outputFolder);

    values.serialBase = ini.readInteger(Section, QStringLiteral("OutputPSPSerialNumber"), 1);
    values.pspUploadFolder = ini.readString(Section, QStringLiteral("PSPUploadFolder"), QString());
    values.pspAvcFolder = ini.readString(Section, QStringLiteral("PSPAVCFolder"), QString());
    values.pspMp4Folder = ini.readString(Section, QStringLiteral("PSPMP4Folder"), QString());
    values.minDuration = ini.readInteger(Section, QStringLiteral("MinDuration"), -1);
    values.openDialogFilter = ini.readString(Section, QStringLiteral("OpenDialogFilter"), QString());
    return values;
}

void SaveOptions(const QString &iniPath, OptionValues &values)
{
    values.outputFolder = withSlash(values.outputFolder);
    const platform::IniFile ini(iniPath);
    ini.writeInteger(Section, QStringLiteral("DefaultAudio"), values.defaultAudio);
    ini.writeInteger(Section, QStringLiteral("DefaultSubtitle"), values.defaultSubtitle);
    ini.writeString(Section, QStringLiteral("OutputFolder"), values.outputFolder);
    ini.writeInteger(Section, QStringLiteral("OutputPSPSerialNumber"), values.serialBase);
}

QStringList ParseOptionList(const QString &value)
{
    // The value ends at its first NUL, as a C string would.
    const QString text = value.left(value.indexOf(QChar(0)));
    QStringList items;
    const int length = static_cast<int>(text.size());
    int i = 0;
    while (i < length && isBlank(text.at(i)))
        ++i;
    while (i < length) {
        QString item;
        if (text.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < length) {
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < length && text.at(i + 1) == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text.at(i++);
            }
        } else {
            const int start = i;
            while (i < length && !isBlank(text.at(i)) && text.at(i) != QLatin1Char(','))
                ++i;
            item = text.mid(start, i - start);
        }
        items << item;
        while (i < length && isBlank(text.at(i)))
            ++i;
        if (i < length && text.at(i) == QLatin1Char(',')) {
            if (i + 1 == length)
                items << QString();
            ++i;
            while (i < length && isBlank(text.at(i)))
                ++i;
        }
    }
    return items;
}

RefusedLists ReadRefusedLists(const QString &iniPath)
{
    const platform::IniFile ini(iniPath);
    return {ParseOptionList(ini.readString(Section, QStringLiteral("ExtName"), QString())),
            ParseOptionList(ini.readString(Section, QStringLiteral("CodecName"), QString())),
            ini.readInteger(Section, QStringLiteral("MaxWidth"), DefaultMaxWidth)};
}
