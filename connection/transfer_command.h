#pragma once
// One command for the transfer control: the exact text the window builds
// (kept for display and tests) and its operands, which travel separately so
// that a name with blanks is never split again.

#include <QString>
#include <QStringList>

namespace corvexo {

struct TransferCommand {
    enum class Verb { List, ChangeDir, ParentDir, Get, Put, MakeDir, RemoveDir, Delete, Rename, Size, GetFrom, PutFrom };

    Verb verb = Verb::List;
    QString word;          // the command word as written, trailing blank included ("Dir ", "GET ")
    QStringList operands;  // names and paths, each whole
    qint64 offset = 0;     // GetFrom and PutFrom: the bytes the target already holds
    qint64 knownSize = -1; // GetFrom: the size a listing just gave (-1: unknown), checked instead of asking again
    bool linksShown = false;   // List: links are listed as links, even where a machine listing follows them

    // The command line as the window writes it: word + operands joined by single blanks.
    QString text() const;

    static TransferCommand connectListing();                       // "dir "
    static TransferCommand listing();                              // "Dir "
    static TransferCommand changeDir(const QString &folder);       // "CD " + folder
    static TransferCommand parentDir();                            // "CDUP "
    static TransferCommand get(const QString &remote, const QString &localPath);   // "GET " r local
    static TransferCommand put(const QString &localPath, const QString &remote);   // "put " local r
    static TransferCommand makeDir(const QString &name);           // "mkdir " + name
    static TransferCommand removeDir(const QString &entry);        // "rmdir " + entry
    static TransferCommand remove(const QString &name);            // "delete " + name
    static TransferCommand rename(const QString &from, const QString &to);  // "RENAME " a b
    // For the queue. The answer of size is the remote file's size in digits.
    static TransferCommand size(const QString &remote);                      // "size " remote
    // A listing whose links show as links: an FTP server's machine listing (MLSD) may
    // describe a link by its target, so the long listing (LIST) is asked for instead.
    static TransferCommand linkListing();                                    // "Dir "
    // A download into partPath that continues after its first offset bytes where the
    // server can restart a transfer (else from the beginning); partPath stays, whole or
    // not, and its size is checked against the server's once the transfer ends (against
    // knownSize, without asking the server, when the transfer starts at the beginning).
    static TransferCommand getFrom(const QString &remote, const QString &partPath, qint64 offset,
                                   qint64 knownSize = -1);  // "reget "
    // An upload that sends localPath from offset on, after the offset bytes the remote file holds.
    static TransferCommand putFrom(const QString &localPath, const QString &remote, qint64 offset);  // "reput "

    // Parses a command line typed by a person (console tool): the word decides the verb
    // (case-insensitive); operands are separated by blanks, or written in double quotes.
    // Returns false for an unknown word or a wrong number of operands.
    static bool parse(const QString &line, TransferCommand *out);
};

// The words of a typed command line: separated by blanks or tabs, a name with blanks in
// double quotes. *closed is false when a quote was left open.
QStringList splitOperands(const QString &line, bool *closed);

// True when a name may travel to the server: no CR, LF or NUL (they would inject commands).
bool isSafeOperand(const QString &name);

} // namespace corvexo
