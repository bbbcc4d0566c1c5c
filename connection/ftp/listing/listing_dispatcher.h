#pragma once
// Which family reads a line: the families are tried in one fixed order, the
// common forms first, and the one that read the listing's latest line is
// tried before all others, since a listing is written in one form.

#include "listing_families.h"

namespace corvexo::ftp::listing {

class LineDispatcher {
public:
    LineDispatcher(bool machineListing, LineClock clock);

    // An entry, a line passed over, or a line no family reads.
    Outcome read(QByteArrayView line, LineRead &read);

private:
    const LineReader *order_;
    int families_;
    int latest_ = 0;
    LineClock clock_;
};

} // namespace corvexo::ftp::listing
