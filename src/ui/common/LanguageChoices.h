#pragma once

#include <QList>
#include <QString>

// The languages a title can have: every language Qt has a locale for, named
// in English ("Japanese"), kept by its ISO 639 code ("ja").
namespace LanguageChoices {

struct Language {
    QString code;
    QString name;
};

// Every language, by name.
const QList<Language>& all();

// The English name of a language code; the code itself when Qt knows no
// such language, empty for none.
QString nameOf(const QString& code);

} // namespace LanguageChoices
