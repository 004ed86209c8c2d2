#include "WindowMessage.h"

#include <QCoreApplication>
#include <QHash>
#include <QMutex>

#include <mutex>
#include <unordered_set>

namespace platform {

WindowMessageEvent::WindowMessageEvent(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam)
    : QEvent(typeFor(message))
    , m_message(message)
    , m_wparam(wparam)
    , m_lparam(lparam)
{
}

QEvent::Type WindowMessageEvent::typeFor(std::uint32_t message)
{
    static QMutex mutex;
    static QHash<std::uint32_t, QEvent::Type> types;
    QMutexLocker lock(&mutex);
    auto it = types.find(message);
    if (it == types.end())
        it = types.insert(message, static_cast<QEvent::Type>(QEvent::registerEventType()));
    return *it;
}

void PostWindowMessage(QObject *window, std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam)
{
    if (window)
        QCoreApplication::postEvent(window, new WindowMessageEvent(message, wparam, lparam));
}

namespace {

// Handles alive now, by address: a post checks the address before it touches the handle.
std::mutex liveMutex;
std::unordered_set<const void *> &liveHandles()
{
    static std::unordered_set<const void *> handles;
    return handles;
}

} // namespace

EngineWindowHandle::EngineWindowHandle(QObject *window)
    : m_base{&EngineWindowHandle::post}
    , m_window(window)
{
    std::lock_guard<std::mutex> lock(liveMutex);
    liveHandles().insert(this);
}

EngineWindowHandle::~EngineWindowHandle()
{
    std::lock_guard<std::mutex> lock(liveMutex);
    liveHandles().erase(this);
}

void EngineWindowHandle::post(KrodecWindow *self, std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam)
{
    std::lock_guard<std::mutex> lock(liveMutex);
    if (liveHandles().count(self) == 0)
        return;
    auto *handle = reinterpret_cast<EngineWindowHandle *>(self);
    PostWindowMessage(handle->m_window, message, wparam, lparam);
}

} // namespace platform
