// Listings of a session: the data is parsed as it arrives, links the listing
// cannot settle are tried on the server, and the names are decoded in the
// charset that the listing's own names reveal (a server may keep folders in
// different charsets, whatever its FEAT says).

#include "ftp_link_probe.h"
#include "ftp_messages.h"
#include "ftp_session.h"

#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <memory>

namespace corvexo::ftp {

namespace {

constexpr int ProgressIntervalMs = 200;
constexpr qsizetype LongListingEntries = 20'000;

} // namespace

void FtpSession::startListing(ListingFormat format)
{
    // Letting go of a million entries takes a while: a pool thread does it.
    if (listing_.size() > LongListingEntries)
        QThreadPool::globalInstance()->start([old = std::make_shared<FtpListing>(std::exchange(listing_, {}))]() mutable {
            old.reset();
        });
    listing_ = FtpListing();
    parser_ = std::make_unique<FtpListingParser>(format);
    listingProgressClock_.start();
}

void FtpSession::onListingData()
{
    if (!parser_ || listingProgressClock_.elapsed() < ProgressIntervalMs) return;
    listingProgressClock_.restart();
    emit listingProgressed(parser_->entries().size());
}

void FtpSession::finishListing()
{
    parser_->finish();
    emit listingProgressed(parser_->entries().size());
    learnCharset(*parser_);
    parser_->resolveLinksFromListing();
    QStringList links;
    probedLinks_.clear();
    const QList<ParsedEntry> &entries = parser_->entries();
    const qsizetype searched = parser_->hasLinks() ? entries.size() : 0;
    for (qsizetype i = 0; i < searched && links.size() < FtpLinkProbe::MaxLinks; ++i) {
        if (entries[i].kind != ParsedEntry::Kind::Link) continue;
        probedLinks_.append(i);
        links.append(charset_.decode(parser_->name(entries[i])));
    }
    if (links.isEmpty()) return publishListing();
    linkProbe_ = std::make_unique<FtpLinkProbe>(links, folder_);
    probeNextLink();
}

void FtpSession::learnCharset(const FtpListingParser &parser)
{
    listedFolder_ = folderBytes_;
    const QList<QByteArrayView> sample = parser.namesBeyondAscii();
    if (sample.isEmpty()) return;   // all ASCII: nothing learnt, the charset stays as it was
    charset_ = FtpCharset(FtpCharset::ofListing(sample, parser.namesNotUtf8() == 0));
    charsetKnown_ = true;
    folder_ = charset_.decode(folderBytes_);
}

bool FtpSession::charsetUnsettledFor(const QStringList &names) const
{
    if (charsetKnown_ || listedFolder_ == folderBytes_) return false;
    return std::any_of(names.begin(), names.end(), [](const QString &name) {
        return std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() >= 0x80; });
    });
}

void FtpSession::settleCharset(Step then)
{
    const bool mlsd = features_.contains(QStringLiteral("MLST")) || features_.contains(QStringLiteral("MLSD"));
    parser_ = std::make_unique<FtpListingParser>(mlsd ? ListingFormat::Mlsd : ListingFormat::List);
    openDataConnection([this, mlsd, then](quint16 port) {
        transfer(port, mlsd ? QStringLiteral("MLSD") : QStringLiteral("LIST"), [this, then] {
            parser_->finish();
            learnCharset(*parser_);
            parser_.reset();
            // the command's own transfer starts afresh
            dataDone_ = replyDone_ = false;
            then();
        });
    });
}

void FtpSession::probeNextLink()
{
    const QString line = linkProbe_->nextCommand();
    if (line.isEmpty()) return endLinkProbe();
    request(line, [this](const FtpReply &reply) {
        probeWait_.stop();
        // Lost in another folder, the session cannot go on.
        if (!linkProbe_->onReply(reply))
            return failLocally(engineText(EngineText::CannotReturnToFolder).arg(folder_, reply.text()), false);
        probeNextLink();
    });
    probeWait_.start(FtpLinkProbe::ReplyMilliseconds);
}

void FtpSession::onProbeUnanswered()
{
    if (!running_ || !linkProbe_) return;
    // A late answer could no longer be told from the next command's: the connection goes,
    // and the next command logs in again, silently, into this folder.
    letControlGo();
    endLinkProbe();
}

void FtpSession::endLinkProbe()
{
    const QList<std::optional<bool>> &results = linkProbe_->results();
    for (qsizetype i = 0; i < results.size(); ++i)
        if (results[i])
            parser_->entries()[probedLinks_[i]].kind = *results[i] ? ParsedEntry::Kind::Folder : ParsedEntry::Kind::File;
    publishListing();   // the links left unknown are guessed from their targets
}

void FtpSession::publishListing()
{
    // Ordering a million names takes seconds: it is done on a thread of its own,
    // so the window is not held. The thread gets its own parser and a copy of the facts.
    std::shared_ptr<const FtpListingParser> parser(parser_.release());
    linkProbe_.reset();
    auto built = std::make_shared<FtpListing>();
    QThread *worker = QThread::create([parser, built, charset = charset_, atRoot = folder_ == u"/", keep = keepEntries_] {
        *built = FtpListing(*parser, charset, atRoot);
        if (keep) built->keepRemoteEntries();
    });
    orderer_ = worker;
    const quint64 epoch = epoch_;
    connect(worker, &QThread::finished, this, [this, worker, built, epoch] {
        worker->deleteLater();
        if (epoch != epoch_ || !running_) return;   // aborted meanwhile
        listing_ = std::move(*built);
        answer_ = listing_.text();
        succeed();
    });
    worker->start();
}

} // namespace corvexo::ftp
