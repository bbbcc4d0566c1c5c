#include "ftp_link_probe.h"

namespace corvexo::ftp {

FtpLinkProbe::FtpLinkProbe(QStringList links, QString folder)
    : links_(std::move(links)), folder_(std::move(folder)), results_(links_.size())
{
    clock_.start();
}

QString FtpLinkProbe::nextCommand()
{
    if (returning_) return QStringLiteral("CWD ") + folder_;
    // Without a folder to return to, nothing can be tried.
    if (stopped_ || folder_.isEmpty() || next_ >= links_.size() || next_ >= MaxLinks || clock_.elapsed() > MaxMilliseconds)
        return {};
    return QStringLiteral("CWD ") + links_[next_];
}

bool FtpLinkProbe::onReply(const FtpReply &reply)
{
    if (returning_) {
        returning_ = false;
        return reply.isPositive();
    }
    results_[next_++] = reply.isPositive();
    returning_ = reply.isPositive();
    return true;
}

} // namespace corvexo::ftp
