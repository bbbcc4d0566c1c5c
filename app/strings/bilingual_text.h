#pragma once
// A text written in both of the program's languages: the shape of the message
// tables each subsystem keeps beside its own code.

#include "string_table.h"

#include <QString>

namespace corvexo {

struct BilingualText {
    const char16_t *english;
    const char16_t *japanese;

    QString in(UiLanguage language) const
    {
        return QString::fromUtf16(language == UiLanguage::Japanese ? japanese : english);
    }
    QString inUiLanguage() const { return in(uiLanguage()); }
};

} // namespace corvexo
