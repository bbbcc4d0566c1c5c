#pragma once
// Folder listings from the server (MLSD lines, or LIST lines in the Unix and
// DOS formats) and the listing text the windows show: one name per line,
// CR LF between lines, folders ending with "/", "../" first below the root.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace corvexo::ftp {

struct ListingEntry {
    QString name;
    bool isFolder = false;
    friend bool operator==(const ListingEntry &, const ListingEntry &) = default;
};

enum class ListingFormat { Mlsd, List };

// One line of an MLSD answer ("type=dir;size=0; name"); nothing for the folder
// itself, its parent and lines that are not entries.
std::optional<ListingEntry> parseMlsdLine(const QString &line);

// One line of a LIST answer, Unix ("drwxr-xr-x 2 u g 4096 Jan  1 12:00 name")
// or DOS ("01-02-26  10:30PM  <DIR>  name"); nothing for "total", ".", "..".
std::optional<ListingEntry> parseUnixListLine(const QString &line);
std::optional<ListingEntry> parseDosListLine(const QString &line);
std::optional<ListingEntry> parseListLine(const QString &line);

// All entries of an answer; names that could not travel back in a command or
// would break the one-name-per-line text (holding "/" or a line break) are dropped.
QList<ListingEntry> parseListing(const QByteArray &answer, ListingFormat format);

// The text handed to the window.
QByteArray listingText(const QList<ListingEntry> &entries, bool atRoot);

} // namespace corvexo::ftp
