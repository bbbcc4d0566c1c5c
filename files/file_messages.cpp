#include "file_messages.h"

#include "app/strings/string_table.h"

namespace corvexo {

QString fileNotSavedMessage(const QString &fileName, const QString &path, const QString &reason)
{
    if (uiLanguage() == UiLanguage::Japanese)
        return QStringLiteral("\"%1\" に保存できませんでした（%2）。ファイルは変更されていません。\r\n%3")
            .arg(fileName, reason, path);
    return QStringLiteral("Could not save \"%1\" (%2). The file was left as it was.\r\n%3")
        .arg(fileName, reason, path);
}

} // namespace corvexo
