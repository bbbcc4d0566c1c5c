#include "state_texts.h"

#include "app/strings/string_table.h"

namespace corvexo {

int stateCaptionNumber(int state)
{
    switch (state) {
    case 1: return 154;
    case 2: return 155;
    case 3: return 156;
    case 4: return 157;
    case 5: return 158;
    case 6: return 159;
    case 7: return 160;
    case 8: return 161;
    case 9: return 162;
    case 10: return 163;
    default: return 0;
    }
}

QString loggedInStatusText(const QString &userName)
{
    return QStringLiteral("User name: ") + userName + QStringLiteral(", Password successful");
}

QString connectionErrorMessage(int responseCode, const QString &responseInfo)
{
    return text(165) + QStringLiteral("\r\n") + QString::number(responseCode) + u' ' + responseInfo;
}

} // namespace corvexo
