#include "ProfileDefinition.h"

namespace profiles {
namespace {

QString numbered(const QString &key, const char *suffix, int n)
{
    return key + QLatin1String(suffix) + QString::number(n);
}

QString joined(const QString &key, const char *suffix)
{
    return key + QLatin1String(suffix);
}

QStringList enumeratedItems(const platform::IniFile &file, const QString &section,
                            const QString &key, int count)
{
    QStringList items;
    const int last = qMin(count, MaxListItems);
    for (int n = 0; n < last; ++n) {
        const QString text = file.readString(section, numbered(key, "Text", n), NoDefinition);
        if (text != NoDefinition)
            items.append(text);
    }
    return items;
}

QStringList rangeItems(const platform::IniFile &file, const QString &section, const QString &key)
{
    const qint64 max = file.readInteger(section, joined(key, "Max"), 0);
    const qint64 min = file.readInteger(section, joined(key, "Min"), 0);
    const qint64 step = qMax(1, file.readInteger(section, joined(key, "Step"), 1));
    QStringList items;
    // 64-bit so that a Max near the top of the integer range cannot wrap the counter.
    for (qint64 number = min; number <= max && items.size() < MaxListItems; number += step)
        items.append(QString::number(number));
    return items;
}

} // namespace

ListDefinition FillListFromDefinition(const platform::IniFile &file, const QString &section,
                                      const QString &key)
{
    ListDefinition list;
    const int count = file.readInteger(section, joined(key, "Count"), 0);
    list.items = count >= 1 ? enumeratedItems(file, section, key, count)
                            : rangeItems(file, section, key);
    const int selected = file.readInteger(section, joined(key, "Default"), -1);
    list.defaultPosition = selected >= 0 && selected < list.items.size() ? selected : -1;
    return list;
}

SpinRange FillSpinFromDefinition(const platform::IniFile &file, const QString &section,
                                 const QString &key)
{
    SpinRange range;
    range.upper = file.readInteger(section, joined(key, "Max"), 0);
    range.lower = file.readInteger(section, joined(key, "Min"), 0);
    range.value = file.readInteger(section, joined(key, "Default"), 0);
    range.step = qMax(1, file.readInteger(section, joined(key, "Step"), 1));
    return range;
}

QString ReadDefinitionValue(const platform::IniFile &file, const QString &section,
                            const QString &key, int n)
{
    const QString candidates[] = {numbered(key, "Value", n), numbered(key, "Text", n),
                                  joined(key, "Value"), joined(key, "Text")};
    for (const QString &candidate : candidates) {
        const QString value = file.readString(section, candidate, NoDefinition);
        if (value != NoDefinition)
            return value;
    }
    return NoDefinition;
}

QString ReadDefinitionText(const platform::IniFile &file, const QString &section,
                           const QString &key, int n)
{
    return file.readString(section, numbered(key, "Text", n), QString());
}

int VideoFormatCount(const platform::IniFile &file, const QString &deviceName)
{
    return file.readInteger(deviceName, QStringLiteral("VideoFormatCount"), 0);
}

QString FormatSectionName(const platform::IniFile &file, const QString &deviceName, int format,
                          const QString &missingName)
{
    const QString name = file.readString(deviceName, numbered(QStringLiteral("VideoFormat"), "Text", format),
                                         missingName);
    return deviceName + QLatin1Char('-') + name;
}

} // namespace profiles
