#include "string_table.h"
#include "string_table_data.h"

#include <QLocale>

namespace corvexo {

UiLanguage uiLanguage()
{
    static const UiLanguage chosen = QLocale::system().language() == QLocale::Japanese
                                         ? UiLanguage::Japanese
                                         : UiLanguage::English;
    return chosen;
}

QString textIn(UiLanguage language, int number)
{
    for (int i = 0; i < strings::kStringTableSize; ++i) {
        const strings::StringEntry &e = strings::kStringTable[i];
        if (e.number == number)
            return QString::fromUtf16(language == UiLanguage::Japanese ? e.japanese : e.english);
    }
    return {};
}

QString text(int number)
{
    return textIn(uiLanguage(), number);
}

} // namespace corvexo
