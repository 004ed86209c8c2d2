#pragma once

#include <cstdint>
#include <istream>
#include <string>

// The version record file: six records, each a plain length and two scrambled copies of
// the same text. Window-free and Qt-free, so the build tool that writes the file shares it.
namespace version {

// The key pair the shipped file is written with.
constexpr unsigned char KeyA = 0x4B;
constexpr unsigned char KeyB = 0x61;
constexpr int RecordCount = 6;
constexpr std::int32_t MaxCopyLength = 512;

// Two characters a byte: high four bits first, each stored as key + value.
std::string UnscrambleText(const std::string &copy, unsigned char key);
std::string ScrambleText(const std::string &plain, unsigned char key);

// Reads one record at the stream's position. Returns whether it is valid; text is copy A's
// decoded text, or empty where the record could not be read in full.
bool ReadVersionRecord(std::istream &file, unsigned char keyA, unsigned char keyB, std::string &text);

// The bytes of one record for plain (at most 256 bytes of text, so a copy fits 512).
std::string VersionRecordBytes(const std::string &plain, unsigned char keyA, unsigned char keyB);

} // namespace version
