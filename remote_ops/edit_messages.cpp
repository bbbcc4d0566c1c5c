#include "edit_messages.h"

#include "app/file_list_model.h"
#include "app/progress_texts.h"
#include "app/strings/string_table.h"

namespace corvexo {

QString cannotRenameEntryText(const QString &entry)
{
    if (uiLanguage() == UiLanguage::Japanese)
        return QStringLiteral("\"%1\" はこのフォルダか一つ上のフォルダを表すため、名前を変更できません。").arg(entry);
    return QStringLiteral("\"%1\" stands for this folder or the one above and cannot be renamed.").arg(entry);
}

namespace {

bool japanese() { return uiLanguage() == UiLanguage::Japanese; }

} // namespace

QString deleteQuestion(const QString &entry)
{
    const bool folder = entry.endsWith(u'/');
    const QString name = folder ? entry.chopped(1) : entry;
    if (japanese())
        return (folder ? QStringLiteral("フォルダ「%1」をサーバーから削除しますか？") : QStringLiteral("ファイル「%1」をサーバーから削除しますか？")).arg(name);
    return (folder ? QStringLiteral("Do you want to delete the folder \"%1\" from the server?")
                   : QStringLiteral("Do you want to delete the file \"%1\" from the server?")).arg(name);
}

namespace {

QString factsText(const FileFacts &facts)
{
    const QString size = facts.size >= 0 ? sizeText(facts.size)
                                         : (japanese() ? QStringLiteral("サイズ不明") : QStringLiteral("size unknown"));
    const QString date = facts.modified.isValid()
                             ? modifiedText(facts.modified)
                             : (japanese() ? QStringLiteral("日時不明") : QStringLiteral("date unknown"));
    return size + (japanese() ? QStringLiteral("、") : QStringLiteral(", ")) + date;
}

// kept: the file that would be replaced; coming: the one that would replace it.
QString replaceQuestion(const QString &name, bool local, const FileFacts &kept, const FileFacts &coming)
{
    const QString lineEnd = QStringLiteral("\r\n");
    if (japanese())
        return QStringLiteral("%1 は%2に既にあります。置き換えますか？").arg(name, local ? QStringLiteral("ローカルのフォルダ") : QStringLiteral("サーバー"))
               + lineEnd + lineEnd + QStringLiteral("今あるファイル：") + factsText(kept) + lineEnd
               + (local ? QStringLiteral("ダウンロードするファイル：") : QStringLiteral("アップロードするファイル："))
               + factsText(coming);
    return QStringLiteral("%1 already exists %2. Do you want to replace it?")
               .arg(name, local ? QStringLiteral("in the local folder") : QStringLiteral("on the server"))
           + lineEnd + lineEnd + QStringLiteral("Existing file: ") + factsText(kept) + lineEnd
           + (local ? QStringLiteral("File to download: ") : QStringLiteral("File to upload: ")) + factsText(coming);
}

} // namespace

QString replaceLocalQuestion(const QString &name, const FileFacts &local, const FileFacts &remote)
{
    return replaceQuestion(name, true, local, remote);
}

QString replaceRemoteQuestion(const QString &name, const FileFacts &remote, const FileFacts &local)
{
    return replaceQuestion(name, false, remote, local);
}

} // namespace corvexo
