#pragma once

// The destination is written under a hidden temporary name in its own folder and
// only renamed to the real name when the file is complete, so a failure or a crash
// never leaves half a file under the name the program shows.

#include <optional>
#include <string>

namespace krodec::convert {

class OutputFile {
public:
    // Reserves the temporary name. Empty when the destination is the source itself,
    // its folder does not exist, or nothing can be created there.
    static std::optional<OutputFile> reserve(const std::string &destPath, const std::string &sourcePath);

    OutputFile(OutputFile &&other) noexcept;
    OutputFile &operator=(OutputFile &&) = delete;
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;
    ~OutputFile();   // removes the temporary file unless committed

    const std::string &tempPath() const { return m_tempPath; }
    bool commit();   // renames the finished file to the destination

private:
    OutputFile(std::string destPath, std::string tempPath);

    std::string m_destPath;
    std::string m_tempPath;
    bool m_committed = false;
};

} // namespace krodec::convert
