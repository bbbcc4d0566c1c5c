#include "certificate_messages.h"

#include "app/strings/bilingual_text.h"

namespace corvexo {

namespace {

QString pick(const char16_t *english, const char16_t *japaneseText)
{
    return BilingualText{english, japaneseText}.inUiLanguage();
}

QString day(const QDateTime &when)
{
    return when.isValid() ? when.toUTC().toString(QStringLiteral("yyyy-MM-dd hh:mm 'UTC'")) : QStringLiteral("?");
}

} // namespace

// An SSH host key: no issuer or dates, only the key and, when it changed, the one known before.
static QString hostKeyQuestionText(const CertificateQuestion &q)
{
    const bool changed = !q.previousFingerprint.isEmpty();
    QString text = changed
        ? pick(u"WARNING: the host key of %1 (port %2) has changed. Someone may be intercepting the connection "
               u"(an attack), or the server's key was replaced.",
               u"警告：%1（ポート %2）のホスト鍵が変わっています。誰かが通信を傍受している（攻撃の）おそれがあります。"
               u"あるいはサーバーの鍵が取り替えられました。")
        : pick(u"The host key of %1 (port %2) is not in your known hosts.",
               u"%1（ポート %2）のホスト鍵は既知のホストに登録されていません。");
    text = text.arg(q.host).arg(q.port) + QStringLiteral("\n\n");
    text += pick(u"Key type: %1\nFingerprint: %2", u"鍵の種類: %1\nフィンガープリント: %2").arg(q.keyType, q.fingerprint);
    if (changed)
        text += pick(u"\nKnown fingerprint: %1", u"\n登録済みのフィンガープリント: %1").arg(q.previousFingerprint);
    text += changed ? pick(u"\n\nTrust the new key and connect anyway?", u"\n\nそれでも新しい鍵を信頼して接続しますか？")
                    : pick(u"\n\nTrust this key, remember it in your known hosts and connect?",
                           u"\n\nこの鍵を信頼して既知のホストに登録し、接続しますか？");
    return text;
}

QString certificateQuestionText(const CertificateQuestion &q)
{
    if (!q.keyType.isEmpty()) return hostKeyQuestionText(q);
    const bool changed = !q.previousFingerprint.isEmpty();
    QString text = changed
        ? pick(u"The certificate of %1 (port %2) has changed since you trusted it.",
               u"%1（ポート %2）の証明書が、信頼したときのものから変わっています。")
        : pick(u"The certificate of %1 (port %2) cannot be trusted automatically.",
               u"%1（ポート %2）の証明書は自動的には信頼できません。");
    text = text.arg(q.host).arg(q.port) + QStringLiteral("\n\n");
    text += pick(u"Subject: %1\nIssuer: %2\nValid from %3 to %4\nSHA-256 fingerprint: %5",
                 u"発行先: %1\n発行者: %2\n有効期間: %3 から %4 まで\nSHA-256 フィンガープリント: %5")
                .arg(q.subject, q.issuer, day(q.validFrom), day(q.validTo), q.fingerprint);
    if (changed)
        text += pick(u"\nPreviously trusted fingerprint: %1", u"\n以前に信頼したフィンガープリント: %1").arg(q.previousFingerprint);
    if (!q.problems.isEmpty())
        text += pick(u"\n\nProblems:", u"\n\n問題点:") + QStringLiteral("\n- ") + q.problems.join(QStringLiteral("\n- "));
    text += pick(u"\n\nTrust this certificate and connect?", u"\n\nこの証明書を信頼して接続しますか？");
    return text;
}

QString plainLoginQuestionText(const PlainLoginQuestion &q)
{
    const bool refused = q.reason == PlainLoginQuestion::Reason::TlsRefused;
    QString text = refused
        ? pick(u"%1 (port %2) used encryption before, but now refuses it (%3).\n\n"
               u"This may be an attack: someone between you and the server may be trying to read your password.",
               u"%1（ポート %2）は以前は暗号化を使っていましたが、今は拒否しています（%3）。\n\n"
               u"攻撃の可能性があります。サーバーとの間にいる誰かが、パスワードを読み取ろうとしているのかもしれません。")
        : pick(u"%1 (port %2) offered encryption, but the encrypted connection could not be set up (%3).",
               u"%1（ポート %2）は暗号化に応じましたが、暗号化した接続を確立できませんでした（%3）。");
    text = text.arg(q.host).arg(q.port).arg(q.detail);
    text += pick(u"\n\nWithout encryption, the password and everything else travel in clear text, "
                 u"readable by anyone on the way.",
                 u"\n\n暗号化しないと、パスワードを含むすべてが平文で送られ、途中の誰にでも読み取られます。");
    text += refused ? pick(u"\n\nLog in without encryption anyway?", u"\n\nそれでも暗号化せずにログインしますか？")
                    : pick(u"\n\nConnect without encryption for this session?",
                           u"\n\nこの接続に限り、暗号化せずに接続しますか？");
    return text;
}

QString securityTooltipText(const SessionSecurity &security)
{
    if (!security.encrypted) return {};
    if (!security.keyType.isEmpty())
        return pick(u"Encrypted (%1, %2)\nHost key: %3 %4", u"暗号化されています（%1、%2）\nホスト鍵: %3 %4")
            .arg(security.protocol, security.cipher, security.keyType, security.fingerprint);
    return pick(u"Encrypted (%1)\nSHA-256 fingerprint: %2", u"暗号化されています（%1）\nSHA-256 フィンガープリント: %2")
        .arg(security.protocol, security.fingerprint);
}

QString plainSessionTooltipText()
{
    return pick(u"Not encrypted: names, passwords and files travel in clear text.",
                u"暗号化されていません：名前、パスワード、ファイルは平文のまま送られます。");
}

QString certificateRefusedText()
{
    return pick(u"The session was not opened because the server's certificate was not trusted.",
                u"サーバーの証明書を信頼しなかったため、接続しませんでした。");
}

} // namespace corvexo
