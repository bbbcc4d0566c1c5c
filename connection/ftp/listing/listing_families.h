#pragma once
// The line forms of folder listings that servers in use write, one family per
// file. Each reads one line (without its line end) into an entry, passes it
// over (a header, "." or a parent), or finds it is not of its form. None keeps
// state: a name alone on its line is joined with the next by the parser.

#include "parsed_entry.h"

#include <QByteArrayView>

namespace corvexo::ftp::listing {

enum class Outcome { Entry, Skip, Unreadable };

// What one line gave: the entry and views of its name and link target.
struct LineRead {
    ParsedEntry entry;
    QByteArrayView name;
    QByteArrayView target;
};

// Dates without a year lie in the year before now at the latest.
struct LineClock {
    qint64 now = 0;        // milliseconds since 1970
    int currentYear = 1970;
};

using LineReader = Outcome (*)(QByteArrayView line, const LineClock &clock, LineRead &read);

Outcome readMlsdLine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readFactsAnsweringList(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readUnixLine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readUnixVariantLine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readDosLine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readEplfLine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readVmsLine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readMvsDataSetLine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readMvsMemberLine(QByteArrayView line, const LineClock &clock, LineRead &read);
// A member without statistics is its name alone ("PAYROLL"): read so only within a member listing.
Outcome readMvsBareMemberLine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readIbmILine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readOs2Line(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readOs9Line(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readWindowsSshLine(QByteArrayView line, const LineClock &clock, LineRead &read);
Outcome readVxWorksLine(QByteArrayView line, const LineClock &clock, LineRead &read);

// Whether a line no family reads is a listing's header or footer ("total 12", "合計 12").
bool isListingDecoration(QByteArrayView line);

// Whether a line alone holds a VMS name ("LONG.FILE.NAME;1"), its facts on the next line.
bool isVmsNameAlone(QByteArrayView line);

// The name part of a Unix line: a link's target after " -> ", the kind from the
// mode's type letter, and the mark of ls -F ("dir/", "run*", "ln@") dropped when the mode agrees.
void takeUnixName(char type, QByteArrayView mode, QByteArrayView name, LineRead &read);

} // namespace corvexo::ftp::listing
