#include "stall_log.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace corvexo {

namespace {

constexpr int kTickMilliseconds = 5;
constexpr qint64 kStallMilliseconds = 20;

class StallLog : public QObject {
public:
    StallLog(const QString &path, QWidget *window) : QObject(window), out_(path)
    {
        if (!out_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return;
        connect(window, &QWidget::windowTitleChanged, this,
                [this](const QString &title) { write(QStringLiteral("title %1 %2").arg(now()).arg(title)); });
        window->winId();  // the window's handle exists from here on
        window->windowHandle()->installEventFilter(this);
        auto *tick = new QTimer(this);
        tick->setTimerType(Qt::PreciseTimer);
        connect(tick, &QTimer::timeout, this, [this] {
            const qint64 gap = sinceTick_.restart() - kTickMilliseconds;
            if (gap > kStallMilliseconds) write(QStringLiteral("stall %1 %2").arg(now()).arg(gap));
        });
        sinceTick_.start();
        tick->start(kTickMilliseconds);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !shown_ && static_cast<QWindow *>(watched)->isExposed()) {
            shown_ = true;
            write(QStringLiteral("shown %1").arg(now()));
        }
        return false;
    }

private:
    static qint64 now() { return QDateTime::currentMSecsSinceEpoch(); }
    void write(const QString &line)
    {
        out_.write(line.toUtf8() + '\n');
        out_.flush();
    }

    QFile out_;
    QElapsedTimer sinceTick_;
    bool shown_ = false;
};

} // namespace

void startStallLogIfAsked(QWidget *window)
{
    const QString path = qEnvironmentVariable("CORVEXO_STALL_LOG");
    if (!path.isEmpty()) new StallLog(path, window);
}

} // namespace corvexo
