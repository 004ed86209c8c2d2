#include "EngineLibrary.h"

#include <QDir>
#include <QElapsedTimer>

#include <dlfcn.h>

#include <cstring>

namespace enginetest {

QString bundleLibraryPath()
{
    return QStringLiteral(ORVO_BUNDLE_DIR "/libKrodecDLL.so");
}

namespace {

template <typename F> void resolve(void *handle, const char *name, F &function, QString &error)
{
    function = reinterpret_cast<F>(dlsym(handle, name));
    if (!function)
        error += QStringLiteral("missing %1; ").arg(QLatin1String(name));
}

} // namespace

EngineLibrary::EngineLibrary(const QString &path)
{
    handle_ = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        error_ = QString::fromLocal8Bit(dlerror());
        return;
    }
    resolve(handle_, "X_GetFileinfo_GetPic", getFileInfo, error_);
    resolve(handle_, "X_Get_Frame", getFrame, error_);
    resolve(handle_, "X_GetFrame_Init", frameInit, error_);
    resolve(handle_, "X_Set_NextFrame_Time", setNextFrameTime, error_);
    resolve(handle_, "X_GetFrame_UnInit", frameUnInit, error_);
    if (!error_.isEmpty())
        unload();
}

EngineLibrary::~EngineLibrary()
{
    unload();
}

void EngineLibrary::unload()
{
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

int32_t EngineLibrary::probe(const QString &path, KrodecProbeInfo &info, double *milliseconds) const
{
    const QByteArray utf8 = path.toUtf8();
    std::vector<char> buffer(static_cast<size_t>(utf8.size()) + 10, '\0');
    std::memcpy(buffer.data(), utf8.constData(), static_cast<size_t>(utf8.size()));
    QElapsedTimer timer;
    timer.start();
    const int32_t result = getFileInfo(buffer.data(), 10, &info);
    if (milliseconds)
        *milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1.0e6;
    return result;
}

RecordingWindow::RecordingWindow()
{
    post = &RecordingWindow::receive;
}

void RecordingWindow::receive(KrodecWindow *self, uint32_t message, intptr_t wparam, intptr_t)
{
    auto *window = static_cast<RecordingWindow *>(self);
    {
        std::lock_guard<std::mutex> lock(window->mutex_);
        window->messages_.push_back({message, wparam});
    }
    window->arrived_.notify_all();
}

std::vector<Message> RecordingWindow::messages() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

bool RecordingWindow::waitForCount(size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return messages_.size() >= count; });
}

Message RecordingWindow::next(size_t seen, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!arrived_.wait_for(lock, timeout, [&] { return messages_.size() > seen; }))
        return {0, 0};
    return messages_[seen];
}

int threadCount()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

} // namespace enginetest
