#include "convert/OutputFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace krodec::convert {
namespace {

std::optional<std::string> realPath(const std::string &path)
{
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved))
        return std::nullopt;
    return std::string(resolved);
}

bool sameFile(const std::string &a, const std::string &b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev
           && sa.st_ino == sb.st_ino;
}

// A fresh generator each time: a static one brings in template members that are bound as
// unique symbols, which keep the library from ever unloading.
std::string randomSuffix()
{
    std::random_device device;
    static const char digits[] = "0123456789abcdef";
    std::string suffix(8, '0');
    unsigned bits = device();
    for (size_t i = 0; i < suffix.size(); ++i, bits >>= 4)
        suffix[i] = digits[bits % 16];
    return suffix;
}

} // namespace

OutputFile::OutputFile(std::string destPath, std::string tempPath)
    : m_destPath(std::move(destPath)), m_tempPath(std::move(tempPath))
{
}

OutputFile::OutputFile(OutputFile &&other) noexcept
    : m_destPath(std::move(other.m_destPath)), m_tempPath(std::move(other.m_tempPath)),
      m_committed(other.m_committed)
{
    other.m_committed = true;   // the moved-from object owns nothing any more
}

OutputFile::~OutputFile()
{
    if (!m_committed && !m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
}

std::optional<OutputFile> OutputFile::reserve(const std::string &destPath, const std::string &sourcePath)
{
    const auto slash = destPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : destPath.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? destPath : destPath.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    const auto realFolder = realPath(folder);
    const auto realSource = realPath(sourcePath);
    if (!realFolder || !realSource)
        return std::nullopt;
    struct stat info {};
    if (::stat(realFolder->c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    const std::string realDest = *realFolder + (realFolder->back() == '/' ? "" : "/") + name;
    // The finished file is renamed over the destination: never let that be the source.
    if (realDest == *realSource || sameFile(realDest, *realSource))
        return std::nullopt;
    if (::stat(realDest.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return std::nullopt;

    const std::string prefix = realDest.substr(0, realDest.size() - name.size()) + "." + name + ".part-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = prefix + randomSuffix();
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return OutputFile(realDest, std::move(temp));
        }
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

bool OutputFile::commit()
{
    if (m_committed || ::rename(m_tempPath.c_str(), m_destPath.c_str()) != 0)
        return false;
    m_committed = true;
    return true;
}

} // namespace krodec::convert
