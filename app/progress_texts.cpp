#include "progress_texts.h"

#include "strings/string_table.h"

namespace corvexo {

namespace {

bool japanese() { return uiLanguage() == UiLanguage::Japanese; }

} // namespace

QString sizeText(qint64 bytes)
{
    if (bytes < 1024) return japanese() ? QStringLiteral("%1 バイト").arg(bytes) : QStringLiteral("%1 bytes").arg(bytes);
    const char *const units[] = {"KB", "MB", "GB", "TB"};
    double value = double(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    return QString::number(value, 'f', 1) + u' ' + QLatin1String(units[unit]);
}

std::optional<qint64> bytesPerSecond(qint64 doneBytes, qint64 elapsedMs)
{
    if (elapsedMs < 100 || doneBytes < 0) return std::nullopt;
    return doneBytes * 1000 / elapsedMs;
}

std::optional<qint64> secondsLeft(qint64 doneBytes, qint64 totalBytes, std::optional<qint64> speed)
{
    if (totalBytes < 0 || !speed || *speed <= 0) return std::nullopt;
    const qint64 rest = std::max<qint64>(0, totalBytes - doneBytes);
    return (rest + *speed - 1) / *speed;
}

QString durationText(qint64 seconds)
{
    const qint64 h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    const QString mmss = QStringLiteral("%1:%2").arg(h > 0 ? QStringLiteral("%1").arg(m, 2, 10, QChar(u'0')) : QString::number(m))
                             .arg(s, 2, 10, QChar(u'0'));
    return h > 0 ? QString::number(h) + u':' + mmss : mmss;
}

QString progressLine(const TransferProgress &progress, qint64 elapsedMs)
{
    if (progress.unit == TransferProgress::Unit::Entries)
        return japanese() ? QStringLiteral("%1 件受信").arg(progress.done)
                          : QStringLiteral("%1 entries received").arg(progress.done);
    QStringList parts;
    const QString done = sizeText(progress.done);
    if (progress.total >= 0)
        parts << (japanese() ? QStringLiteral("%2 中 %1").arg(done, sizeText(progress.total))
                             : QStringLiteral("%1 of %2").arg(done, sizeText(progress.total)));
    else
        parts << done;
    const std::optional<qint64> speed = bytesPerSecond(progress.done, elapsedMs);
    if (speed) parts << sizeText(*speed) + (japanese() ? QStringLiteral("/秒") : QStringLiteral("/s"));
    if (const auto left = secondsLeft(progress.done, progress.total, speed))
        parts << (japanese() ? QStringLiteral("残り %1").arg(durationText(*left))
                             : QStringLiteral("%1 left").arg(durationText(*left)));
    return parts.join(japanese() ? QStringLiteral("、") : QStringLiteral(", "));
}

std::optional<int> progressPermille(const TransferProgress &progress)
{
    if (progress.unit != TransferProgress::Unit::Bytes || progress.total <= 0) return std::nullopt;
    return int(std::clamp<qint64>(progress.done * 1000 / progress.total, 0, 1000));
}

} // namespace corvexo
