// CPU time of the listing parser alone on a generated 100,000-entry Unix and
// MLSD listing (run by hand, not a test). Prints the least CPU time of several
// runs per form; under `valgrind --tool=callgrind` one run gives a steady count
// of instructions instead.
//
//   corvexo-listing-bench [entries=100000] [runs=7] [list|mlsd]
//   valgrind --tool=callgrind --toggle-collect='*parseOnce*' corvexo-listing-bench 100000 1 list

#include "connection/ftp/ftp_listing_parser.h"

#include <QByteArray>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

using namespace corvexo::ftp;

namespace {

QByteArray unixListing(int entries)
{
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QByteArray text = "total 123456\r\n";
    char line[200];
    for (int i = 0; i < entries; ++i) {
        const bool folder = i % 10 == 0, recent = i % 3 == 0;
        const char *month = months[i % 12];
        if (recent)
            std::snprintf(line, sizeof line, "%s    1 someuser somegroup %10d %s %2d %02d:%02d %s%06d.dat\r\n",
                          folder ? "drwxr-xr-x" : "-rw-r--r--", i * 37 % 100000000, month, i % 28 + 1, i % 24,
                          i % 60, folder ? "folder" : "file name ", i);
        else
            std::snprintf(line, sizeof line, "%s    1 someuser somegroup %10d %s %2d  %04d %s%06d.dat\r\n",
                          folder ? "drwxr-xr-x" : "-rw-r--r--", i * 37 % 100000000, month, i % 28 + 1,
                          1990 + i % 30, folder ? "folder" : "file name ", i);
        text += line;
    }
    return text;
}

QByteArray mlsdListing(int entries)
{
    QByteArray text;
    char line[200];
    for (int i = 0; i < entries; ++i) {
        std::snprintf(line, sizeof line, "type=%s;size=%d;modify=2024%02d%02d%02d%02d%02d;UNIX.mode=0644; %s%06d.dat\r\n",
                      i % 10 == 0 ? "dir" : "file", i * 37 % 100000000, i % 12 + 1, i % 28 + 1, i % 24, i % 60,
                      i % 60, i % 10 == 0 ? "folder" : "file name ", i);
        text += line;
    }
    return text;
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Fed in the pieces a data connection hands over.
[[gnu::noinline]] double parseOnce(const QByteArray &listing, ListingFormat format, qsizetype *entries)
{
    constexpr qsizetype Piece = 64 * 1024;
    const double start = cpuSeconds();
    FtpListingParser parser(format);
    for (qsizetype at = 0; at < listing.size(); at += Piece)
        parser.feed(QByteArrayView(listing).sliced(at, std::min(Piece, listing.size() - at)));
    parser.finish();
    *entries = parser.entries().size() + parser.unreadable();
    return cpuSeconds() - start;
}

} // namespace

int main(int argc, char **argv)
{
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    const struct {
        const char *name;
        ListingFormat format;
        QByteArray text;
    } forms[] = {{"LIST (Unix)", ListingFormat::List, unixListing(entries)},
                 {"MLSD", ListingFormat::Mlsd, mlsdListing(entries)}};
    const char *only = argc > 3 ? argv[3] : "";
    for (const auto &form : forms) {
        if (*only && std::strncmp(form.name, only[0] == 'l' ? "LIST" : "MLSD", 4) != 0) continue;
        double best = 1e9;
        qsizetype read = 0;
        for (int run = 0; run < runs; ++run) best = std::min(best, parseOnce(form.text, form.format, &read));
        std::printf("%-12s %d lines: %.1f ms CPU (least of %d runs), %lld entries\n", form.name, entries,
                    best * 1000, runs, static_cast<long long>(read));
    }
    return 0;
}
