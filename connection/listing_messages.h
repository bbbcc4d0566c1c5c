#pragma once
// Texts of the remote listing that the main string table has no text for.
// English or Japanese like the table.

#include <QString>

namespace corvexo {

// Status bar text: lines of the listing that no known format could read.
QString unreadableEntriesText(int count);

} // namespace corvexo
