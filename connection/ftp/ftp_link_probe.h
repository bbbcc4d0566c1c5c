#pragma once
// Finds out whether links are folders when the listing cannot tell: it
// changes into each link and back. A link the server lets us enter is a
// folder; one it refuses is a file. Bounded in count and time, so a folder of
// many links lists quickly; links beyond the bound stay unknown. Each command
// is bounded too: the session gives up on a reply that takes longer than
// ReplyMilliseconds, and the links left unknown are guessed from their targets.

#include "ftp_reply.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <optional>

namespace corvexo::ftp {

class FtpLinkProbe {
public:
    static constexpr int MaxLinks = 50;
    static constexpr int MaxMilliseconds = 4000;   // no link is tried after this
    static constexpr int ReplyMilliseconds = 2000;

    // folder: where the session is, to return to after entering a link.
    FtpLinkProbe(QStringList links, QString folder);

    // The next command line to send; empty when the probe is over.
    QString nextCommand();
    // Takes the final reply to the last command. False when the session could not
    // return to its folder (it is then lost, and the reply says why).
    bool onReply(const FtpReply &reply);
    // Tries no further link; only the way back to the folder is still sent.
    void stop() { stopped_ = true; }

    // Per link in the given order: true for a folder, false for a file, nothing when not known.
    const QList<std::optional<bool>> &results() const { return results_; }

private:
    QStringList links_;
    QString folder_;
    QList<std::optional<bool>> results_;
    qsizetype next_ = 0;
    bool returning_ = false;
    bool stopped_ = false;
    QElapsedTimer clock_;
};

} // namespace corvexo::ftp
