#include "ui/common/LanguageChoices.h"

#include <QCollator>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace LanguageChoices {

const QList<Language>& all() {
    static const QList<Language> languages = [] {
        QList<Language> out;
        QSet<QString> seen;
        const QList<QLocale> locales = QLocale::matchingLocales(
            QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        for (const QLocale& locale : locales) {
            const QLocale::Language language = locale.language();
            if (language == QLocale::C || language == QLocale::AnyLanguage)
                continue;
            const QString code = QLocale::languageToCode(language);
            if (code.isEmpty() || seen.contains(code))
                continue;
            seen.insert(code);
            out.append({code, QLocale::languageToString(language)});
        }
        const QCollator collator{QLocale(QLocale::English)};
        std::sort(out.begin(), out.end(), [&](const Language& a, const Language& b) {
            return collator.compare(a.name, b.name) < 0;
        });
        return out;
    }();
    return languages;
}

QString nameOf(const QString& code) {
    if (code.isEmpty())
        return {};
    const QLocale::Language language = QLocale::codeToLanguage(code);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return code;
    return QLocale::languageToString(language);
}

} // namespace LanguageChoices
