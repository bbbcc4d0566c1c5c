#include "file_list_messages.h"

#include "file_list_model.h"
#include "strings/string_table.h"

namespace corvexo {

QString columnTitle(int column)
{
    const bool japanese = uiLanguage() == UiLanguage::Japanese;
    switch (column) {
    case NameColumn: return japanese ? QStringLiteral("名前") : QStringLiteral("Name");
    case SizeColumn: return japanese ? QStringLiteral("サイズ") : QStringLiteral("Size");
    case ModifiedColumn: return japanese ? QStringLiteral("更新日時") : QStringLiteral("Modified");
    }
    return {};
}

} // namespace corvexo
