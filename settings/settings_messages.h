#pragma once
// Messages about the settings files themselves (a file that cannot be read or
// written, lines that do not hold a setting) and about values that cannot be
// kept in them. They name the file and say what was left unchanged.

#include <QString>
#include <QStringList>
#include <QVector>

namespace corvexo {

// The reason given when a settings file's name is taken by a folder.
QString isFolderReason();
// The reason given when another running copy holds the lock file beside a settings file.
QString fileInUseReason();
// Reasons given when a settings file is refused unread.
QString lineTooLongReason(qsizetype maxBytes);
QString fileTooLargeReason(qsizetype maxBytes);
QString cannotReadMessage(const QString &fileName, const QString &path, const QString &reason);
QString cannotWriteMessage(const QString &fileName, const QString &path, const QString &reason);
// Lines without five fields were passed over; the file is kept as it is.
QString badLinesMessage(const QString &fileName, const QVector<int> &lineNumbers);
// More settings on file than the list can hold; the rest were not read.
QString tooManyRecordsMessage(const QString &fileName, int recordsRead, int recordsLeft);
// "SLItems" was not read whole, so it is not rewritten (that would drop what was not read).
QString listNotRewrittenMessage(const QString &fileName);
// "Sfile" does not hold a line of five fields; the current setting is kept.
QString badDefaultMessage(const QString &fileName);
// A value holds a double quote or a line break, which the file cannot keep; nothing was saved.
QString quoteNotSavedMessage(const QString &fileName);
// One problem line (without "* " and line end): these fields hold a double quote or a line break.
QString doubleQuoteProblem(const QStringList &fieldNames);

// One problem line (without "* " and line end): the typed port is no port number.
QString portRangeProblem(const QString &typed);

// One problem line (without "* " and line end): the typed host address names no host
// to connect to; the accepted forms are given as examples.
QString hostProblem(const QString &typed);

} // namespace corvexo
