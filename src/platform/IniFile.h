#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// Raised when a write cannot be completed; the text is "Unable to write to <full path>".
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const QString &path);
};

// The one way every INI file of the program is read and written.
// Section and key names compare without regard to case, blanks around names and values are
// trimmed, quotes are kept as written, lines starting with ';' are comments, the first of
// duplicate keys wins and values come back cut to 2047 bytes. Values are 8-bit texts: UTF-8
// where the bytes are UTF-8, else one character per byte (Latin-1). Every call opens the file
// afresh; nothing is cached. A missing or unreadable file reads as an empty one.
class IniFile {
public:
    static constexpr int MaxValueLength = 2047;

    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // "0x", "0X" (with digits after it) or "$" mean hexadecimal; anything that is not a whole
    // 32-bit number gives the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;

    // Replaces the first occurrence of the key (or adds it, and the section where needed),
    // keeps every other line byte for byte, and replaces the file atomically. The value is
    // written as UTF-8. Throws IniWriteError.
    void writeString(const QString &section, const QString &key, const QString &value) const;
    void writeInteger(const QString &section, const QString &key, int value) const;

private:
    QString m_path;
};

// The integer rule on its own, for values that are not read from a file.
int parseIniInteger(const QString &text, int defaultValue);

} // namespace platform
