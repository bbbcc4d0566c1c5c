#include "event_hook.h"

namespace corvexo {

EventHook::EventHook(QObject *parent, Handler handler) : QObject(parent), handler_(std::move(handler)) {}

EventHook *EventHook::watch(QObject *target)
{
    target->installEventFilter(this);
    return this;
}

bool EventHook::eventFilter(QObject *watched, QEvent *event)
{
    return handler_(watched, event);
}

} // namespace corvexo
