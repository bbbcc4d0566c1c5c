#include "local_messages.h"

#include "app/strings/bilingual_text.h"

namespace corvexo {

namespace {

QString pick(const char16_t *english, const char16_t *japanese)
{
    return BilingualText{english, japanese}.inUiLanguage();
}

} // namespace

QString folderMissingText(const QString &path, const QString &kept)
{
    return pick(u"The folder %1 does not exist. Still showing %2.",
                u"フォルダ %1 は存在しません。%2 を表示したままです。").arg(path, kept);
}

QString notAFolderText(const QString &path, const QString &kept)
{
    return pick(u"%1 is not a folder. Still showing %2.",
                u"%1 はフォルダではありません。%2 を表示したままです。").arg(path, kept);
}

QString folderUnreadableText(const QString &path, const QString &kept)
{
    return pick(u"The folder %1 cannot be read. Still showing %2.",
                u"フォルダ %1 を読み込めません。%2 を表示したままです。").arg(path, kept);
}

QString driveUnreadableText(const QString &drive, const QString &kept)
{
    return pick(u"The drive %1 cannot be read. Still showing %2.",
                u"ドライブ %1 を読み込めません。%2 を表示したままです。").arg(drive, kept);
}

QString rememberedFolderNotReadText()
{
    return pick(u"The remembered local folder could not be read.",
                u"保存されたローカルフォルダを読み込めませんでした。");
}

QString noRemoteEntryText()
{
    return pick(u"No remote file is selected. Please select the file to download.",
                u"ホストのファイルが選択されていません。ダウンロードするファイルを選択して下さい。");
}

QString noLocalEntryText()
{
    return pick(u"No local file is selected. Please select the file to upload.",
                u"ローカルのファイルが選択されていません。アップロードするファイルを選択して下さい。");
}

QString unsafeRemoteNameText(const QString &name)
{
    return pick(u"Cannot download \"%1\": it is not a plain file name of this folder.",
                u"\"%1\" はこのフォルダのファイル名ではないのでダウンロードできません。").arg(name);
}

} // namespace corvexo
