// Listings of a session: the data is parsed as it arrives, links the listing
// cannot settle are tried on the server, and the names are decoded in the
// server's charset, which the first listing with names beyond ASCII reveals.

#include "ftp_link_probe.h"
#include "ftp_messages.h"
#include "ftp_session.h"

#include <QThread>
#include <QThreadPool>
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
    if (!charsetKnown_ && features_.contains(QStringLiteral("UTF8"))) charsetKnown_ = true;
    if (!charsetKnown_) {
        const QList<QByteArrayView> sample = parser_->namesBeyondAscii();
        if (!sample.isEmpty()) {
            charset_ = FtpCharset(FtpCharset::detect(sample));
            charsetKnown_ = true;
            folder_ = charset_.decode(folderBytes_);
        }
    }
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
