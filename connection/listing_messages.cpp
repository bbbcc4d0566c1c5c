#include "listing_messages.h"

#include "app/strings/string_table.h"

namespace corvexo {

QString unreadableEntriesText(int count)
{
    if (uiLanguage() == UiLanguage::Japanese)
        return QStringLiteral("%1 件の項目を読み取れませんでした。読み取れた項目を表示しています。").arg(count);
    if (count == 1) return QStringLiteral("1 entry could not be read. The entries that could be read are shown.");
    return QStringLiteral("%1 entries could not be read. The entries that could be read are shown.").arg(count);
}

} // namespace corvexo
