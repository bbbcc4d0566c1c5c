#include "system_reasons.h"

#include "strings/string_table.h"

#include <QList>

#include <algorithm>
#include <cstring>
#include <locale.h>
#include <utility>

namespace corvexo {

namespace {

constexpr int kLastErrorNumber = 133;

// Each reason as the C locale words it, beside the same reason in the user's locale;
// the longest first, so that no shorter reason is replaced inside a longer one.
QList<std::pair<QString, QString>> translatedReasons()
{
    QList<std::pair<QString, QString>> reasons;
    const locale_t english = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const locale_t user = newlocale(LC_ALL_MASK, "", locale_t(0));
    if (english && user) {
        for (int error = 1; error <= kLastErrorNumber; ++error) {
            const QString from = QString::fromUtf8(strerror_l(error, english));
            const QString to = QString::fromLocal8Bit(strerror_l(error, user));
            if (from != to && !from.startsWith(QStringLiteral("Unknown error"))) reasons.append({from, to});
        }
    }
    if (english) freelocale(english);
    if (user) freelocale(user);
    std::sort(reasons.begin(), reasons.end(), [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
    return reasons;
}

} // namespace

QString withSystemReasonsInUserLanguage(const QString &text)
{
    if (uiLanguage() != UiLanguage::Japanese) return text;
    static const QList<std::pair<QString, QString>> reasons = translatedReasons();
    QString result = text;
    for (const auto &[english, translated] : reasons) result.replace(english, translated);
    return result;
}

} // namespace corvexo
