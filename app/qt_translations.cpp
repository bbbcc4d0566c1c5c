#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace corvexo {

bool installQtTranslations(QCoreApplication *application, UiLanguage language)
{
    if (language != UiLanguage::Japanese) return false;  // Qt's texts are English already
    auto *translator = new QTranslator(application);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace corvexo
