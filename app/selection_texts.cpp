#include "selection_texts.h"

#include "strings/string_table.h"

#include <QStringList>

namespace corvexo {

namespace {

bool japanese()
{
    return uiLanguage() == UiLanguage::Japanese;
}

QString englishCount(qint64 count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

QString deleteCountQuestion(qint64 files, qint64 folders)
{
    if (japanese()) {
        QStringList parts;
        if (files > 0) parts << QStringLiteral("ファイル %1 個").arg(files);
        if (folders > 0) parts << QStringLiteral("フォルダ %1 個").arg(folders);
        return QStringLiteral("%1をサーバーから削除しますか？").arg(parts.join(u'と'));
    }
    QStringList parts;
    if (files > 0) parts << englishCount(files, "file", "files");
    if (folders > 0) parts << englishCount(folders, "folder", "folders");
    return QStringLiteral("Do you want to delete %1 from the server?").arg(parts.join(QStringLiteral(" and ")));
}

QString countingText()
{
    return japanese() ? QStringLiteral("削除する項目を数えています・・・")
                      : QStringLiteral("Counting what will be deleted...");
}

QString countFailedText(const QString &path, const QString &reason)
{
    return (japanese() ? QStringLiteral("フォルダ「%1」の一覧を取得できなかったので、何も削除していません。\r\n%2")
                       : QStringLiteral("Nothing was deleted: the folder \"%1\" could not be listed.\r\n%2"))
        .arg(path, reason);
}

QString notFilesDroppedText(const QString &address)
{
    return (japanese() ? QStringLiteral("ドロップできるのはファイルとフォルダだけです。「%1」はファイルではありません。")
                       : QStringLiteral("Only files and folders can be dropped here. \"%1\" is not a file."))
        .arg(address);
}

QString uploadThisFolderMenuText()
{
    return japanese() ? QStringLiteral("このフォルダをアップロード(&F)") : QStringLiteral("Upload this folder(&F)");
}

} // namespace corvexo
