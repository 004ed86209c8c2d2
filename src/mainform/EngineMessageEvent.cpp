#include "mainform/EngineMessageEvent.h"

EngineMessageEvent::EngineMessageEvent(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam)
    : QEvent(EventType())
    , m_message(message)
    , m_wParam(wParam)
    , m_lParam(lParam)
{
}

QEvent::Type EngineMessageEvent::EventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
