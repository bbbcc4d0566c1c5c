#include "listing_dispatcher.h"

#include <iterator>

namespace corvexo::ftp::listing {

namespace {

constexpr LineReader MachineOrder[] = {readMlsdLine};

// Common forms first; a form comes after every form that could misread its lines.
constexpr LineReader ListOrder[] = {
    readUnixLine,       readDosLine,        readEplfLine,        readVmsLine,
    readWindowsSshLine, readUnixVariantLine, readOs2Line,        readIbmILine,
    readMvsDataSetLine, readMvsMemberLine,  readOs9Line,         readVxWorksLine,
    readFactsAnsweringList,
};

} // namespace

LineDispatcher::LineDispatcher(bool machineListing, LineClock clock)
    : order_(machineListing ? MachineOrder : ListOrder),
      families_(machineListing ? int(std::size(MachineOrder)) : int(std::size(ListOrder))),
      clock_(clock)
{
}

Outcome LineDispatcher::read(QByteArrayView line, LineRead &read)
{
    Outcome outcome = order_[latest_](line, clock_, read);
    if (outcome != Outcome::Unreadable) return outcome;
    for (int family = 0; family < families_; ++family) {
        if (family == latest_) continue;
        read = LineRead();
        outcome = order_[family](line, clock_, read);
        if (outcome != Outcome::Unreadable) {
            latest_ = family;
            return outcome;
        }
    }
    read = LineRead();
    if (order_[latest_] == readMvsMemberLine) return readMvsBareMemberLine(line, clock_, read);
    return Outcome::Unreadable;
}

} // namespace corvexo::ftp::listing
