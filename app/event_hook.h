#pragma once
// A small event filter that hands the events of the objects it watches to a
// function; the function returns true to swallow an event. It lives as long
// as its parent.

#include <QObject>

#include <functional>

namespace corvexo {

class EventHook : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(QObject *watched, QEvent *event)>;
    EventHook(QObject *parent, Handler handler);
    EventHook *watch(QObject *target);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Handler handler_;
};

} // namespace corvexo
