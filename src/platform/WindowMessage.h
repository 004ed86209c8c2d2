#pragma once

#include "KrodecDLL.h"

#include <QEvent>

#include <cstdint>

class QObject;

namespace platform {

// A window message as a Qt event: one event type per message number, two integer words.
// Posting is safe from any thread.
class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam);

    static QEvent::Type typeFor(std::uint32_t message);

    std::uint32_t message() const { return m_message; }
    std::intptr_t wparam() const { return m_wparam; }
    std::intptr_t lparam() const { return m_lparam; }

private:
    std::uint32_t m_message;
    std::intptr_t m_wparam;
    std::intptr_t m_lparam;
};

void PostWindowMessage(QObject *window, std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam);

// The "window handle" handed to the engine: it posts every message to its window. The
// window owns it. An engine thread may still post after the window is gone (a frame source
// left open at program end): such a message is dropped, the handle is never touched.
class EngineWindowHandle {
public:
    explicit EngineWindowHandle(QObject *window);
    ~EngineWindowHandle();
    EngineWindowHandle(const EngineWindowHandle &) = delete;
    EngineWindowHandle &operator=(const EngineWindowHandle &) = delete;

    KrodecWindow *handle() { return &m_base; }

private:
    static void post(KrodecWindow *self, std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam);

    KrodecWindow m_base; // first member: the engine's pointer is this object's address
    QObject *m_window;
};

} // namespace platform
