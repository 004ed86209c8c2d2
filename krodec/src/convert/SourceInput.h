#pragma once

// The bytes of the source file, read without ever blocking for good: a FIFO that no one writes
// or a device that stalls would otherwise hold a conversion that the user has asked to stop.

#include "convert/FfmpegHandles.h"

#include <string>

namespace krodec::convert {

class SourceInput {
public:
    SourceInput() = default;
    SourceInput(const SourceInput &) = delete;
    SourceInput &operator=(const SourceInput &) = delete;
    ~SourceInput();

    // Opens the file for reading; false when it cannot be read (missing, a folder, no access).
    bool open(const std::string &path);
    // The I/O context for the demuxer, which uses it but does not own it.
    AVIOContext *context() const { return m_context; }

private:
    static int readPacket(void *self, uint8_t *buffer, int size);
    static int64_t seekTo(void *self, int64_t offset, int whence);

    int m_fd = -1;
    bool m_seekable = false;
    AVIOContext *m_context = nullptr;
};

} // namespace krodec::convert
