#include "app/Translations.h"

#include "ui/common/LanguageChoices.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

const QTranslator* install(QCoreApplication& app, const QLocale& locale, const QString& name,
                           const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (translator->load(locale, name, QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

bool installTranslations(QCoreApplication& app, const QLocale& locale) {
    install(app, locale, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    const QTranslator* own =
        install(app, locale, QStringLiteral("pramel"), QStringLiteral(":/i18n"));
    // Languages are named in the language the program speaks: its
    // translation's, else English.
    LanguageChoices::setShownIn(own && !own->language().isEmpty() ? QLocale(own->language())
                                                                  : QLocale(QLocale::English));
    return own != nullptr;
}
