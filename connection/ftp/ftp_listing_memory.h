#pragma once
// Large listing buffers are mapped in ahead of being written: one call maps many
// pages, where writing into unmapped pages stops once for every page.

#include <QtGlobal>

namespace corvexo::ftp {

// Maps in the whole pages of [begin, begin + bytes) for writing. Only a speed-up:
// where the system refuses, the pages come in as they are written.
void mapInForWriting(void *begin, qsizetype bytes);

// For a buffer filled from its start: once the filled part (used) passes what
// is mapped (*mapped, bytes from the start), maps in a step more, growing with
// the buffer and staying within its capacity.
void mapInAhead(void *begin, qsizetype used, qsizetype capacity, qsizetype *mapped);

} // namespace corvexo::ftp
