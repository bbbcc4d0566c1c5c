#pragma once
// A finished folder listing as the windows get it: the listing text (one name
// per line, CR LF between lines, folders ending with "/", "../" first below
// the root, then folders, then files, each in the order people expect) and
// the facts of each entry in the same order.

#include "connection/transfer_facts.h"
#include "ftp_charset.h"
#include "ftp_listing_parser.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace corvexo::ftp {

class FtpListing {
public:
    FtpListing() = default;
    // Names are decoded with charset; links still unsettled count as folders
    // when their target's last part has no extension, else as files.
    FtpListing(const FtpListingParser &parser, const FtpCharset &charset, bool atRoot);

    const QByteArray &text() const { return text_; }
    qsizetype size() const { return entries_.size(); }
    int unreadable() const { return unreadable_; }
    QList<RemoteEntry> remoteEntries() const;
    // Makes the entries now and keeps them, so that remoteEntries() costs nothing later
    // (done beside the event loop for long listings).
    void keepRemoteEntries() { kept_ = remoteEntries(); }

private:
    struct Entry {
        qint64 size = -1;
        qint64 modified = ParsedEntry::NoTime;
        quint32 offset = 0;   // the name's place in the text
        quint16 length = 0;
        bool modifiedIsUtc = false;
        bool isFolder = false;
    };
    QByteArray text_;
    QList<Entry> entries_;
    std::optional<QList<RemoteEntry>> kept_;
    int unreadable_ = 0;
};

// Whether a link of unknown kind is taken for a folder without asking the server.
bool linkLooksLikeFolder(QByteArrayView target);

} // namespace corvexo::ftp
