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
    qsizetype size() const { return order_.size(); }
    int unreadable() const { return unreadable_; }
    QList<RemoteEntry> remoteEntries() const;
    // Makes the entries now and keeps them, so that remoteEntries() costs nothing later
    // (done beside the event loop for long listings).
    void keepRemoteEntries() { kept_ = remoteEntries(); }

private:
    // The parser's facts are shared rather than copied, and the text's lines name
    // them in order: a long listing is spared another array of entries.
    QByteArray text_;
    QList<ParsedEntry> parsed_;
    QList<qsizetype> order_;   // indexes into parsed_, one per line of the text after "../"
    bool upLine_ = false;      // the text begins with "../"
    std::optional<QList<RemoteEntry>> kept_;
    int unreadable_ = 0;
};

// Whether a link of unknown kind is taken for a folder without asking the server.
bool linkLooksLikeFolder(QByteArrayView target);

} // namespace corvexo::ftp
