#include "sftp_messages.h"

#include "app/strings/bilingual_text.h"

namespace corvexo::sftp {

namespace {

BilingualText textsOf(SftpText which)
{
    switch (which) {
    case SftpText::HandshakeFailed:
        return {u"The SSH connection to %1 port %2 failed: %3", u"%1 のポート %2 への SSH 接続に失敗しました：%3"};
    case SftpText::NotSftp:
        return {u"The server does not offer SFTP.", u"サーバーは SFTP を提供していません。"};
    case SftpText::MalformedPacket:
        return {u"The server sent a malformed SFTP packet.", u"サーバーの SFTP パケットの形式が正しくありません。"};
    case SftpText::ChannelClosed:
        return {u"The server closed the SFTP channel.", u"サーバーが SFTP チャネルを閉じました。"};
    case SftpText::HostKeyNotTrusted:
        return {u"The host key of %1 was not trusted, so nothing was sent to the server.",
                u"%1 のホスト鍵が信頼されなかったため、サーバーには何も送信していません。"};
    case SftpText::LoginRefused:
        return {u"The server refused the login as %1. Tried: %2.", u"サーバーが %1 としてのログインを拒否しました。試した方法：%2。"};
    case SftpText::MethodAgent:
        return {u"the keys of ssh-agent", u"ssh-agent の鍵"};
    case SftpText::MethodKeyFile:
        return {u"the key %1", u"鍵 %1"};
    case SftpText::MethodPassword:
        return {u"the password", u"パスワード"};
    case SftpText::MethodKeyboard:
        return {u"the password by keyboard-interactive", u"キーボード対話によるパスワード"};
    case SftpText::MethodNone:
        return {u"no method the server offers", u"サーバーが提供する方法はありません"};
    case SftpText::NotAFolder:
        return {u"%1 is not a folder.", u"%1 はフォルダではありません。"};
    case SftpText::ServerStatus:
        return {u"The server refused the request (SFTP status %1).", u"サーバーが要求を拒否しました（SFTP 状態 %1）。"};
    }
    return {u"", u""};
}

} // namespace

QString sftpTextIn(UiLanguage language, SftpText which)
{
    return textsOf(which).in(language);
}

QString sftpText(SftpText which)
{
    return sftpTextIn(uiLanguage(), which);
}

} // namespace corvexo::sftp
