#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

#include <limits>
#include <optional>

namespace platform {
namespace {

QString fullPath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// One line of the file as raw bytes, with the line end it had ("" for a last line without
// one). Lines the writer does not replace go back byte for byte.
struct IniLine {
    QByteArray bytes;
    QByteArray end;
};

struct IniText {
    QList<IniLine> lines;
    QByteArray lineEnd = "\n"; // for lines the writer adds
    bool readable = true;
};

// Values are 8-bit texts: UTF-8 where the bytes are UTF-8, else one character per byte
// (a path typed in a Latin-1 editor).
QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

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
        text.lineEnd = "\r\n";
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', from);
        if (newline < 0) {
            text.lines.append({bytes.mid(from), QByteArray()});
            break;
        }
        const bool crlf = newline > from && bytes.at(newline - 1) == '\r';
        const qsizetype stop = crlf ? newline - 1 : newline;
        text.lines.append({bytes.mid(from, stop - from), crlf ? QByteArray("\r\n") : QByteArray("\n")});
        from = newline + 1;
    }
    return text;
}

// The line as text for finding names; a byte order mark in front is not part of it.
QString lineText(const IniLine &line)
{
    const QByteArray bom("\xEF\xBB\xBF");
    return decodeText(line.bytes.startsWith(bom) ? line.bytes.mid(bom.size()) : line.bytes);
}

// Inserts a new line at index. A new last line takes over the missing line end of the line
// before it, so a file that ended without a line break still does.
void insertLine(IniText &text, qsizetype index, const QByteArray &bytes)
{
    IniLine line{bytes, text.lineEnd};
    if (index == text.lines.size() && index > 0 && text.lines.last().end.isEmpty()) {
        text.lines.last().end = text.lineEnd;
        line.end.clear();
    }
    text.lines.insert(index, line);
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

// The raw bytes of the first value of the key, blanks around it removed.
std::optional<QByteArray> findValue(const QList<IniLine> &lines, const QString &section, const QString &key)
{
    bool inSection = false;
    for (const IniLine &raw : lines) {
        const QString line = lineText(raw);
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto kv = keyLine(line); kv && sameName(kv->key, key))
            return raw.bytes.mid(raw.bytes.indexOf('=') + 1).trimmed();
    }
    return std::nullopt;
}

// The 2047 bytes a value buffer holds; a UTF-8 character is never split in two.
QString cutToLimit(QByteArray bytes)
{
    if (bytes.size() > IniFile::MaxValueLength) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        (void)utf8.decode(bytes);
        qsizetype length = IniFile::MaxValueLength;
        if (!utf8.hasError())
            while (length > 0 && (static_cast<unsigned char>(bytes.at(length)) & 0xC0) == 0x80)
                --length;
        bytes.truncate(length);
    }
    return decodeText(bytes);
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
    return cutToLimit(value ? *value : defaultValue.toUtf8());
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
    const QByteArray newLine = (key.trimmed() + QLatin1Char('=') + flat.trimmed()).toUtf8();

    int sectionStart = -1; // index of the header line of the first matching section
    int lastInSection = -1; // last non-blank line of that section
    bool replaced = false;
    bool inSection = false;
    for (int i = 0; i < text.lines.size() && !replaced; ++i) {
        const QString line = lineText(text.lines.at(i));
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
            text.lines[i].bytes = newLine; // the line keeps its own line end
            replaced = true;
        }
    }
    if (!replaced) {
        if (sectionStart >= 0) {
            insertLine(text, lastInSection + 1, newLine);
        } else {
            if (!text.lines.isEmpty() && !lineText(text.lines.last()).trimmed().isEmpty())
                insertLine(text, text.lines.size(), QByteArray());
            insertLine(text, text.lines.size(), ('[' + section.trimmed() + ']').toUtf8());
            insertLine(text, text.lines.size(), newLine);
        }
    }

    QByteArray bytes;
    for (const IniLine &line : std::as_const(text.lines))
        bytes += line.bytes + line.end;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        throw IniWriteError(m_path);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw IniWriteError(m_path);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) const
{
    writeString(section, key, QString::number(value));
}

} // namespace platform
