// Listings of an SFTP session: the folder is read with several READDIR
// requests in flight, links are followed to learn whether they lead to a
// folder, and the entries become the same listing an FTP server's MLSD gives,
// so that both protocols share the parser, the charset and the order.

#include "connection/transfer_control.h"
#include "sftp_worker.h"

#include <QDateTime>
#include <deque>

namespace corvexo::sftp {

namespace {

constexpr int ReaddirsInFlight = 4;
constexpr qsizetype MaxFollowedLinks = 2000;

struct ListedName {
    QByteArray name;
    SftpAttributes attributes;
};

// One line as MLSD writes it: "type=dir;size=0;modify=20240102030405; name".
void appendFactsLine(QByteArray &out, const ListedName &entry, bool isFolder)
{
    out += isFolder ? "type=dir;" : "type=file;";
    if (entry.attributes.size && !isFolder) out += "size=" + QByteArray::number(*entry.attributes.size) + ';';
    if (entry.attributes.modified) {
        const QDateTime when = QDateTime::fromSecsSinceEpoch(*entry.attributes.modified, Qt::UTC);
        out += "modify=" + when.toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1() + ';';
    }
    out += ' ';
    out += entry.name;
    out += "\r\n";
}

} // namespace

void SftpWorker::list(bool keepEntries)
{
    SftpOutcome refusal;
    refusal.kind = SftpOutcome::Kind::Failed;
    emit reached(TransferState::RequestSent);
    const std::optional<QByteArray> handle = openHandle(Packet::Opendir, SftpFields().string(folder_).bytes(), &refusal);
    if (!handle) return refusal.sessionLost ? failConnection() : endWith(refusal);
    emit reached(TransferState::Receiving);

    std::vector<ListedName> names;
    std::vector<size_t> links;
    const QByteArray readdir = SftpFields().string(*handle).bytes();
    int inFlight = 0;
    bool atEnd = false;
    std::optional<SftpReply> failure;
    sinceProgress_.start();
    while (true) {
        while (!atEnd && !stopRequested_ && !failure && inFlight < ReaddirsInFlight) {
            if (!wire_->send(Packet::Readdir, readdir)) return failConnection();
            ++inFlight;
        }
        if (inFlight == 0) break;
        SftpReply reply;
        if (!wire_->receive(&reply)) return failConnection();
        --inFlight;
        if (reply.type != Packet::Name) {
            if (reply.status() == Status::Eof) atEnd = true;
            else if (!failure) failure = reply;
            continue;
        }
        SftpReader reader(reply.body);
        for (quint32 count = reader.u32(); count > 0 && reader.ok(); --count) {
            ListedName entry {reader.string(), {}};
            reader.stringView();   // the long form, as ls -l writes it
            entry.attributes = reader.attributes();
            if (!reader.ok() || entry.name == "." || entry.name == ".." || entry.name.isEmpty()
                || entry.name.contains('\r') || entry.name.contains('\n'))
                continue;
            if (entry.attributes.isLink()) links.push_back(names.size());
            names.push_back(std::move(entry));
        }
        if (sinceProgress_.elapsed() >= ProgressIntervalMs) {
            sinceProgress_.restart();
            emit listingProgressed(qint64(names.size()));
        }
    }
    closeHandle(*handle);
    if (stopRequested_) return stopped();
    if (failure) return refuse(*failure);

    // Where a link leads: its target's facts replace the link's own.
    std::vector<bool> folders(names.size());
    for (size_t i = 0; i < names.size(); ++i) folders[i] = names[i].attributes.isFolder();
    for (size_t k = 0; k < links.size() && qsizetype(k) < MaxFollowedLinks; ++k) {
        ListedName &entry = names[links[k]];
        SftpReply reply;
        const QByteArray path = folder_ + (folder_.endsWith('/') ? "" : "/") + entry.name;
        if (!call(Packet::Stat, SftpFields().string(path).bytes(), &reply)) return;
        if (reply.type != Packet::Attrs) continue;   // a link to nothing stays a file
        const SftpAttributes target = SftpReader(reply.body).attributes();
        folders[links[k]] = target.isFolder();
        if (target.size) entry.attributes.size = target.size;
    }
    emit listingProgressed(qint64(names.size()));

    ftp::FtpListingParser parser(ftp::ListingFormat::Mlsd);
    QByteArray lines;
    for (size_t i = 0; i < names.size(); ++i) {
        appendFactsLine(lines, names[i], folders[i]);
        if (lines.size() > (1 << 20) || i + 1 == names.size()) {
            parser.feed(lines);
            lines.clear();
        }
    }
    parser.finish();
    // Each listing decides from its own names; an all-ASCII one leaves the charset as it was.
    const QList<QByteArrayView> sample = parser.namesBeyondAscii();
    if (!sample.isEmpty()) {
        charset_ = ftp::FtpCharset(ftp::FtpCharset::ofListing(sample, parser.namesNotUtf8() == 0));
        charsetKnown_ = true;
    }
    SftpOutcome outcome;
    outcome.code = 226;
    outcome.listing = std::make_shared<ftp::FtpListing>(parser, charset_, folder_ == "/");
    if (keepEntries) outcome.listing->keepRemoteEntries();
    endWith(outcome);
}

} // namespace corvexo::sftp
