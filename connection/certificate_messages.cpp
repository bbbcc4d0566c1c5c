#include "certificate_messages.h"

#include "app/strings/string_table.h"

namespace corvexo {

namespace {

bool japanese() { return uiLanguage() == UiLanguage::Japanese; }

QString pick(const char16_t *english, const char16_t *japaneseText)
{
    return QString::fromUtf16(japanese() ? japaneseText : english);
}

QString day(const QDateTime &when)
{
    return when.isValid() ? when.toUTC().toString(QStringLiteral("yyyy-MM-dd hh:mm 'UTC'")) : QStringLiteral("?");
}

} // namespace

QString certificateQuestionText(const CertificateQuestion &q)
{
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

QString securityTooltipText(const SessionSecurity &security)
{
    if (!security.encrypted) return {};
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
