#include "listing_words.h"

#include <cmath>

namespace corvexo::ftp::listing {

namespace {

// Month names of the languages whose ls and servers write them, lower case; a
// word that starts one of them (three bytes at least) names that month.
const char *const MonthNames[12][13] = {
    {"january", "januar", "januari", "janvier", "enero", "ene", "gennaio", "gen", "janeiro", "j\xc3\xa4nner", nullptr},
    {"february", "februar", "februari", "f\xc3\xa9vrier", "fevrier", "febrero", "febbraio", "fevereiro", nullptr},
    {"march", "m\xc3\xa4rz", "maerz", "mars", "marzo", "mar\xc3\xa7o", "maart", "mrt", nullptr},
    {"april", "avril", "abril", "aprile", nullptr},
    {"may", "mai", "mayo", "maggio", "mei", "maio", "maj", nullptr},
    {"june", "juni", "juin", "junio", "giugno", "junho", nullptr},
    {"july", "juli", "juillet", "julio", "luglio", "julho", nullptr},
    {"august", "augustus", "ao\xc3\xbbt", "aout", "agosto", nullptr},
    {"september", "septembre", "septiembre", "settembre", "setembro", nullptr},
    {"october", "oktober", "octobre", "octubre", "ottobre", "outubro", nullptr},
    {"november", "novembre", "noviembre", "novembro", nullptr},
    {"december", "dezember", "d\xc3\xa9\x63\x65mbre", "decembre", "diciembre", "dicembre", "dezembro", nullptr},
};

} // namespace

int europeanMonth(QByteArrayView word)
{
    if (word.endsWith('.')) word.chop(1);
    if (word.size() < 3 || word.size() > 12) return 0;
    char key[12];
    for (qsizetype i = 0; i < word.size(); ++i) key[i] = lower(word[i]);
    for (int month = 0; month < 12; ++month)
        for (const char *const *name = MonthNames[month]; *name; ++name)
            if (std::strncmp(*name, key, size_t(word.size())) == 0 && std::strlen(*name) >= size_t(word.size()))
                return month + 1;
    return 0;
}

int yearOf(QByteArrayView word)
{
    if (!allDigits(word)) return -1;
    const int value = int(numberOf(word));
    if (word.size() == 2) return value + (value < 70 ? 2000 : 1900);
    return word.size() == 4 && value >= 1900 ? value : -1;
}

qint64 sizeWithUnit(QByteArrayView word)
{
    if (word.endsWith('B') || word.endsWith('b')) word.chop(1);
    if (word.size() < 2 || !isDigit(word[0])) return -1;
    const char unit = lower(word.back());
    const char *const units = "kmgt";
    const char *const found = std::strchr(units, unit);
    if (!found || !unit) return -1;
    word.chop(1);
    qsizetype used = 0;
    const qint64 whole = numberOf(word, &used);
    double value = double(whole);
    if (used < word.size()) {
        if (word[used] != '.' && word[used] != ',') return -1;
        const QByteArrayView fraction = word.sliced(used + 1);
        if (!allDigits(fraction) || fraction.size() > 6) return -1;
        value += double(numberOf(fraction)) / std::pow(10.0, double(fraction.size()));
    }
    return qint64(std::llround(value * std::pow(1024.0, double(found - units + 1))));
}

} // namespace corvexo::ftp::listing
