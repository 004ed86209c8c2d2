#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <limits>
#include <optional>

namespace platform {
namespace {

QString fullPath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Lines of the file as they stand, without their line ends; a missing file has none.
struct IniText {
    QStringList lines;
    QString lineEnd = QStringLiteral("\n");
    bool readable = true;
};

IniText readLines(const QString &path)
{
    IniText text;
    QFile file(path);
    if (!file.exists())
        return text;
    if (!file.open(QIODevice::ReadOnly)) {
        text.readable = false;
        return text;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.contains("\r\n"))
        text.lineEnd = QStringLiteral("\r\n");
    QString all = QString::fromUtf8(bytes);
    all.remove(QLatin1Char('\r'));
    text.lines = all.split(QLatin1Char('\n'));
    if (!text.lines.isEmpty() && text.lines.last().isEmpty())
        text.lines.removeLast();
    return text;
}

std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const int close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
};

std::optional<KeyLine> keyLine(const QString &line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    return KeyLine{t.left(eq).trimmed(), t.mid(eq + 1).trimmed()};
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

std::optional<QString> findValue(const QStringList &lines, const QString &section, const QString &key)
{
    bool inSection = false;
    for (const QString &line : lines) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto kv = keyLine(line); kv && sameName(kv->key, key))
            return kv->value;
    }
    return std::nullopt;
}

QString cutToLimit(QString value)
{
    if (value.size() <= IniFile::MaxValueLength)
        return value;
    int length = IniFile::MaxValueLength;
    if (value.at(length - 1).isHighSurrogate())
        --length; // never split a character in two
    return value.left(length);
}

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int d = -1;
    if (u >= u'0' && u <= u'9')
        d = u - u'0';
    else if (u >= u'a' && u <= u'f')
        d = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        d = u - u'A' + 10;
    return d < base ? d : -1;
}

// Digits only, no sign; nullopt for anything else or for more than 32 bits.
std::optional<qint64> parseDigits(const QString &digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    qint64 result = 0;
    for (const QChar c : digits) {
        const int d = digitValue(c, base);
        if (d < 0)
            return std::nullopt;
        result = result * base + d;
        if (result > 0xFFFFFFFFLL)
            return std::nullopt;
    }
    return result;
}

} // namespace

IniWriteError::IniWriteError(const QString &path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(fullPath(path)).toStdString())
{
}

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const IniText text = readLines(m_path);
    const auto value = findValue(text.lines, section, key);
    return cutToLimit(value ? *value : defaultValue);
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const IniText text = readLines(m_path);
    const auto value = findValue(text.lines, section, key);
    return value ? parseIniInteger(cutToLimit(*value), defaultValue) : defaultValue;
}

int parseIniInteger(const QString &text, int defaultValue)
{
    QString t = text;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.startsWith(QLatin1Char('-'));
        t.remove(0, 1);
    }
    std::optional<qint64> magnitude;
    bool hex = false;
    if (t.startsWith(QLatin1Char('$'))) {
        hex = true;
        magnitude = parseDigits(t.mid(1), 16);
    } else if (t.size() > 2 && (t.startsWith(QLatin1String("0x")) || t.startsWith(QLatin1String("0X")))) {
        hex = true;
        magnitude = parseDigits(t.mid(2), 16);
    } else {
        magnitude = parseDigits(t, 10);
    }
    if (!magnitude)
        return defaultValue;
    qint64 value = negative ? -*magnitude : *magnitude;
    if (hex && !negative && value > std::numeric_limits<qint32>::max())
        value -= 0x100000000LL; // $FFFFFFFF reads as -1, as a 32-bit pattern
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return defaultValue;
    return static_cast<int>(value);
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) const
{
    IniText text = readLines(m_path);
    if (!text.readable)
        throw IniWriteError(m_path);

    // A line break inside a value would end the value and start a stray line.
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString newLine = key.trimmed() + QLatin1Char('=') + flat.trimmed();

    int sectionStart = -1; // index of the header line of the first matching section
    int lastInSection = -1; // last non-blank line of that section
    bool replaced = false;
    bool inSection = false;
    for (int i = 0; i < text.lines.size() && !replaced; ++i) {
        const QString &line = text.lines.at(i);
        if (const auto name = sectionName(line)) {
            if (sectionStart >= 0 && inSection)
                break;
            inSection = sameName(*name, section);
            if (inSection) {
                sectionStart = i;
                lastInSection = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!line.trimmed().isEmpty())
            lastInSection = i;
        if (const auto kv = keyLine(line); kv && sameName(kv->key, key)) {
            text.lines[i] = newLine;
            replaced = true;
        }
    }
    if (!replaced) {
        if (sectionStart >= 0) {
            text.lines.insert(lastInSection + 1, newLine);
        } else {
            if (!text.lines.isEmpty() && !text.lines.last().trimmed().isEmpty())
                text.lines.append(QString());
            text.lines.append(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
            text.lines.append(newLine);
        }
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        throw IniWriteError(m_path);
    const QByteArray bytes = (text.lines.join(text.lineEnd) + text.lineEnd).toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw IniWriteError(m_path);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) const
{
    writeString(section, key, QString::number(value));
}

} // namespace platform
