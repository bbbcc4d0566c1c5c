#include "transfer_messages.h"

#include "app/strings/bilingual_text.h"

namespace corvexo {

namespace {

BilingualText textsOf(TransferText which)
{
    switch (which) {
    case TransferText::TlsRequiredButRefused:
        return {u"The server refused encryption (%1); the session ended before logging in, and nothing was sent in clear text.",
                u"サーバーが暗号化を拒否しました（%1）。ログインする前に接続を終えました。平文では何も送信していません。"};
    case TransferText::TlsHandshakeFailed:
        return {u"The encrypted connection could not be set up (%1); the session ended before logging in.",
                u"暗号化した接続を確立できませんでした（%1）。ログインする前に接続を終えました。"};
    case TransferText::PlainLoginNotAllowed:
        return {u"The session ended before logging in: the password was not sent in clear text.",
                u"ログインする前に接続を終えました。パスワードを平文で送信していません。"};
    case TransferText::ProtocolUnavailable:
        return {u"This version of the program cannot connect with %1://.",
                u"このバージョンのプログラムは %1:// で接続できません。"};
    }
    return {u"", u""};
}

} // namespace

QString transferText(TransferText which)
{
    return transferTextIn(uiLanguage(), which);
}

QString transferTextIn(UiLanguage language, TransferText which)
{
    return textsOf(which).in(language);
}

} // namespace corvexo
