#pragma once
// The remote listing between the transfer control's answer and ListView2:
// the text kept in the file "tm" and the lines read back from it.

#include <QString>
#include <QStringList>

namespace corvexo {

// What "tm" holds for an answer: the answer followed by CR LF.
QString tmFileContent(const QString &answer);

// The lines of a "tm" text as they are read back: CR LF or a lone CR ends a
// line, a lone LF is part of the name; the last line end closes the last line.
QStringList listingLines(const QString &tmText);

} // namespace corvexo
