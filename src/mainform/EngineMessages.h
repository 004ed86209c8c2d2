#pragma once

#include <QEvent>

#include <cstdint>

// Message numbers the engine posts to the window it was handed.
constexpr std::uint32_t WM_FRAMESOURCE_READY = 2312;
constexpr std::uint32_t WM_FRAME_AVAILABLE = 2412;
constexpr std::uint32_t WM_FRAMESOURCE_CLOSED = 2512;
// Accepted by the main window and dropped.
constexpr std::uint32_t WM_IGNORED_1156 = 1156;

// A window message as an event: its number and two words. Safe to post from any thread.
class EngineMessageEvent : public QEvent {
public:
    EngineMessageEvent(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam);

    // The one event type of every message, registered on first use.
    static QEvent::Type EventType();

    std::uint32_t message() const { return m_message; }
    std::intptr_t wParam() const { return m_wParam; }
    std::intptr_t lParam() const { return m_lParam; }

private:
    std::uint32_t m_message;
    std::intptr_t m_wParam;
    std::intptr_t m_lParam;
};
