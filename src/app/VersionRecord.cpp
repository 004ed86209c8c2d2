#include "VersionRecord.h"

#include <algorithm>
#include <stdexcept>

namespace version {
namespace {

bool readInt32(std::istream &file, std::int32_t &value)
{
    unsigned char b[4];
    if (!file.read(reinterpret_cast<char *>(b), 4))
        return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8)
                                      | (static_cast<std::uint32_t>(b[2]) << 16)
                                      | (static_cast<std::uint32_t>(b[3]) << 24));
    return true;
}

void appendInt32(std::string &out, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((u >> shift) & 0xFF));
}

// A copy's bytes; false when the file ends before them.
bool readCopy(std::istream &file, std::int32_t length, std::string &copy)
{
    copy.assign(static_cast<std::size_t>(length), '\0');
    return length == 0 || static_cast<bool>(file.read(copy.data(), length));
}

} // namespace

std::string UnscrambleText(const std::string &copy, unsigned char key)
{
    std::string plain;
    plain.reserve(copy.size() / 2);
    // A last character without a partner is not read.
    for (std::size_t i = 0; i + 1 < copy.size(); i += 2) {
        const unsigned high = (static_cast<unsigned char>(copy[i]) - key) & 0x0F;
        const unsigned low = (static_cast<unsigned char>(copy[i + 1]) - key) & 0x0F;
        plain.push_back(static_cast<char>(high * 16 + low));
    }
    return plain;
}

std::string ScrambleText(const std::string &plain, unsigned char key)
{
    std::string copy;
    copy.reserve(plain.size() * 2);
    for (const char c : plain) {
        const auto byte = static_cast<unsigned char>(c);
        copy.push_back(static_cast<char>((key + (byte >> 4)) & 0xFF));
        copy.push_back(static_cast<char>((key + (byte & 0x0F)) & 0xFF));
    }
    return copy;
}

bool ReadVersionRecord(std::istream &file, unsigned char keyA, unsigned char keyB, std::string &text)
{
    text.clear();
    std::int32_t length = 0, lengthA = 0, lengthB = 0;
    if (!readInt32(file, length) || !readInt32(file, lengthA) || !readInt32(file, lengthB))
        return false;
    // A negative copy length consumes nothing and spoils the record.
    bool valid = length >= 0 && lengthA >= 0 && lengthB >= 0;
    lengthA = std::min(std::max(lengthA, 0), MaxCopyLength);
    lengthB = std::min(std::max(lengthB, 0), MaxCopyLength);

    std::string copyA, copyB;
    if (!readCopy(file, lengthA, copyA) || !readCopy(file, lengthB, copyB))
        return false;
    // An odd copy has a character without a partner: it is not a copy the writer made.
    if (copyA.size() % 2 != 0 || copyB.size() % 2 != 0)
        valid = false;

    text = UnscrambleText(copyA, keyA);
    const std::string b = UnscrambleText(copyB, keyB);
    return valid && text == b && static_cast<std::int64_t>(text.size()) == length;
}

std::string VersionRecordBytes(const std::string &plain, unsigned char keyA, unsigned char keyB)
{
    if (plain.size() * 2 > static_cast<std::size_t>(MaxCopyLength))
        throw std::length_error("version text longer than a record holds");
    const std::string a = ScrambleText(plain, keyA);
    const std::string b = ScrambleText(plain, keyB);
    std::string out;
    appendInt32(out, static_cast<std::int32_t>(plain.size()));
    appendInt32(out, static_cast<std::int32_t>(a.size()));
    appendInt32(out, static_cast<std::int32_t>(b.size()));
    out += a;
    out += b;
    return out;
}

} // namespace version
