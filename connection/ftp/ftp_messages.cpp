#include "ftp_messages.h"

#include "app/strings/bilingual_text.h"

namespace corvexo::ftp {

namespace {

BilingualText textsOf(EngineText which)
{
    switch (which) {
    case EngineText::HostNotFound:
        return {u"The host %1 was not found.", u"ホスト %1 が見つかりませんでした。"};
    case EngineText::CannotConnect:
        return {u"Cannot connect to %1 port %2: %3", u"%1 のポート %2 に接続できませんでした：%3"};
    case EngineText::ConnectionBroke:
        return {u"The connection to the server broke: %1", u"サーバーとの接続が切れました：%1"};
    case EngineText::ServerClosed:
        return {u"The server closed the connection.", u"サーバーが接続を閉じました。"};
    case EngineText::NoAnswerWithin:
        return {u"The server did not answer within %1 seconds.", u"サーバーから %1 秒以内に応答がありませんでした。"};
    case EngineText::ReplyLineTooLong:
        return {u"The server sent a reply line that is too long.", u"サーバーの応答の行が長すぎます。"};
    case EngineText::MalformedReply:
        return {u"The server sent a malformed reply.", u"サーバーの応答の形式が正しくありません。"};
    case EngineText::ReplyTooLong:
        return {u"The server sent a reply that is too long.", u"サーバーの応答が長すぎます。"};
    case EngineText::EpsvNoPort:
        return {u"The server's EPSV reply names no port: %1", u"サーバーの EPSV の応答にポートがありません：%1"};
    case EngineText::PasvNoPort:
        return {u"The server's PASV reply names no port: %1", u"サーバーの PASV の応答にポートがありません：%1"};
    case EngineText::CannotWaitForData:
        return {u"Cannot wait for the server's data connection: %1", u"サーバーからのデータ接続を待ち受けできませんでした：%1"};
    case EngineText::DataConnectionFailed:
        return {u"The data connection failed: %1", u"データ接続に失敗しました：%1"};
    case EngineText::DataClosedEarly:
        return {u"The server closed the data connection before the file was sent.",
                u"ファイルを送り終える前に、サーバーがデータ接続を閉じました。"};
    case EngineText::TooMuchData:
        return {u"The server sent more data than expected.", u"サーバーが予定より多くのデータを送ってきました。"};
    case EngineText::CannotWriteReceived:
        return {u"Cannot write the received data: %1", u"受信したデータを書き込めませんでした：%1"};
    case EngineText::CannotReadLocal:
        return {u"Cannot read the local file: %1", u"ローカルファイルを読み込めませんでした：%1"};
    case EngineText::CannotReadLocalFile:
        return {u"Cannot read the local file %1: %2", u"ローカルファイル %1 を読み込めませんでした：%2"};
    case EngineText::ItIsAFolder:
        return {u"it is a folder", u"フォルダです"};
    case EngineText::CannotReturnToFolder:
        return {u"Cannot return to the folder %1: %2", u"フォルダ %1 に戻れませんでした：%2"};
    case EngineText::ListingTooLong:
        return {u"the listing holds more than %1 entries.", u"一覧の項目が %1 個を超えています。"};
    case EngineText::CertificateNotGiven:
        return {u"The server's certificate (%1) is not the one given; nothing was sent.",
                u"サーバーの証明書（%1）は指定されたものではありません。何も送信していません。"};
    case EngineText::CertificateNotTrusted:
        return {u"The server's certificate was not trusted; the session ended before logging in.",
                u"サーバーの証明書が信頼されなかったため、ログインする前に接続を終えました。"};
    case EngineText::UploadIncomplete:
        return {u"The upload of %1 is not complete: %2 bytes arrived of the %3 bytes sent.",
                u"%1 のアップロードは完全ではありません：送信した %3 バイトのうち %2 バイトがサーバーに届きました。"};
    case EngineText::UnencryptedData:
        return {u"unencrypted data came before its encryption began; nothing of it was used.",
                u"暗号化が始まる前に暗号化されていないデータが届きました。そのデータは使用していません。"};
    case EngineText::ChangeMadeBeforeDrop:
        return {u"The server closed the connection before it answered, but the change was made.",
                u"サーバーは応答する前に接続を閉じましたが、変更は行われていました。"};
    case EngineText::TlsTooOld:
        return {u"The server offers only TLS 1.0 or 1.1, which are no longer safe; nothing was sent.",
                u"サーバーは安全ではなくなった TLS 1.0 または 1.1 にしか対応していません。何も送信していません。"};
    case EngineText::TrustFileTooLarge:
        return {u"it is larger than any list of trusted certificates can be: over %1 bytes",
                u"信頼する証明書の一覧としては大きすぎます：%1 バイトを超えています"};
    case EngineText::NoSuchPart:
        return {u"the file is shorter than the part already sent", u"送信済みの部分よりファイルが短くなっています"};
    }
    return {u"", u""};
}

} // namespace

QString engineText(EngineText which)
{
    return engineTextIn(uiLanguage(), which);
}

QString engineTextIn(UiLanguage language, EngineText which)
{
    return textsOf(which).in(language);
}

} // namespace corvexo::ftp
