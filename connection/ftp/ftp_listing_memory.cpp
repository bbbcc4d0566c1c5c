#include "ftp_listing_memory.h"

#include <algorithm>
#include <sys/mman.h>
#include <unistd.h>

namespace corvexo::ftp {

namespace {

// The step grows with the buffer, so a short listing maps in little it does not use.
constexpr qsizetype MinAheadBytes = 16 * 1024;
constexpr qsizetype MaxAheadBytes = 256 * 1024;

} // namespace

void mapInForWriting(void *begin, qsizetype bytes)
{
#ifdef MADV_POPULATE_WRITE
    static const quintptr page = quintptr(sysconf(_SC_PAGESIZE));
    const quintptr from = (quintptr(begin) + page - 1) & ~(page - 1);
    const quintptr to = (quintptr(begin) + quintptr(bytes)) & ~(page - 1);
    if (bytes > 0 && to > from) madvise(reinterpret_cast<void *>(from), to - from, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(begin);
    Q_UNUSED(bytes);
#endif
}

void mapInAhead(void *begin, qsizetype used, qsizetype capacity, qsizetype *mapped)
{
    if (used <= *mapped || *mapped >= capacity) return;
    const qsizetype to = std::min(capacity, used + std::clamp(used, MinAheadBytes, MaxAheadBytes));
    mapInForWriting(static_cast<char *>(begin) + *mapped, to - *mapped);
    *mapped = to;
}

} // namespace corvexo::ftp
