#pragma once
// One command for the transfer control: the exact text the window builds
// (kept for display and tests) and its operands, which travel separately so
// that a name with blanks is never split again.

#include <QString>
#include <QStringList>

namespace corvexo {

struct TransferCommand {
    enum class Verb { List, ChangeDir, ParentDir, Get, Put, MakeDir, RemoveDir, Delete, Rename };

    Verb verb = Verb::List;
    QString word;          // the command word as written, trailing blank included ("Dir ", "GET ")
    QStringList operands;  // names and paths, each whole

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

    // Parses a command line typed by a person (console tool): the word decides the verb
    // (case-insensitive); operands are separated by blanks, or written in double quotes.
    // Returns false for an unknown word or a wrong number of operands.
    static bool parse(const QString &line, TransferCommand *out);
};

// True when a name may travel to the server: no CR, LF or NUL (they would inject commands).
bool isSafeOperand(const QString &name);

} // namespace corvexo
