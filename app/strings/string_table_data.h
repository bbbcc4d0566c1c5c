#pragma once

namespace corvexo::strings {

struct StringEntry {
    int number;
    const char16_t *english;
    const char16_t *japanese;
};

extern const StringEntry kStringTable[];
extern const int kStringTableSize;

} // namespace corvexo::strings
