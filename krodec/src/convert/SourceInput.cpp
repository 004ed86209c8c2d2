#include "convert/SourceInput.h"

#include "convert/ConvertProgress.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace krodec::convert {
namespace {

constexpr int kBufferSize = 32768;
// How long one wait for data lasts before the stop request is looked at again.
constexpr int kWaitMilliseconds = 100;

} // namespace

SourceInput::~SourceInput()
{
    if (m_context) {
        // The demuxer may have replaced the buffer by a larger one.
        av_freep(&m_context->buffer);
        avio_context_free(&m_context);
    }
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SourceInput::open(const std::string &path)
{
    // Non-blocking, so that opening a FIFO does not wait for a writer and reading one that stays
    // empty comes back to look at the stop request. Regular files are not affected.
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    m_seekable = S_ISREG(info.st_mode) || S_ISBLK(info.st_mode);
    auto *buffer = static_cast<unsigned char *>(av_malloc(kBufferSize));
    if (!buffer)
        return false;
    m_context = avio_alloc_context(buffer, kBufferSize, 0, this, &SourceInput::readPacket, nullptr,
                                   &SourceInput::seekTo);
    if (!m_context) {
        av_free(buffer);
        return false;
    }
    if (!m_seekable)
        m_context->seekable = 0;
    return true;
}

int SourceInput::readPacket(void *self, uint8_t *buffer, int size)
{
    const int fd = static_cast<SourceInput *>(self)->m_fd;
    for (;;) {
        if (progress::stopRequested())
            return AVERROR_EXIT;
        const ssize_t got = ::read(fd, buffer, static_cast<size_t>(size));
        if (got > 0)
            return static_cast<int>(got);
        if (got == 0)
            return AVERROR_EOF;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return AVERROR(errno);
        pollfd waiting{fd, POLLIN, 0};
        ::poll(&waiting, 1, kWaitMilliseconds);
    }
}

int64_t SourceInput::seekTo(void *self, int64_t offset, int whence)
{
    const auto *input = static_cast<SourceInput *>(self);
    if (!input->m_seekable)
        return AVERROR(ESPIPE);
    if (whence == AVSEEK_SIZE) {
        // The end found by seeking, which block devices (a disc) answer too.
        const off_t here = ::lseek(input->m_fd, 0, SEEK_CUR);
        const off_t end = ::lseek(input->m_fd, 0, SEEK_END);
        if (here < 0 || end < 0 || ::lseek(input->m_fd, here, SEEK_SET) < 0)
            return AVERROR(ENOSYS);
        return static_cast<int64_t>(end);
    }
    const off_t moved = ::lseek(input->m_fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return moved < 0 ? AVERROR(errno) : static_cast<int64_t>(moved);
}

} // namespace krodec::convert
