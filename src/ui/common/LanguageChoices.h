#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

class QComboBox;

// The languages a title can have: every language Qt has a locale for, kept
// by its ISO 639 code ("ja") and named in the program's language: "Japanese",
// or "Japanisch" when the program speaks German. A language is found by that
// name, by its English name, by its own name ("日本語") and by any of its
// ISO 639-1, 639-2 and 639-3 codes ("ja", "jpn").
namespace LanguageChoices {

struct Language {
    // What a title keeps: the ISO 639-1 code where there is one, else the
    // three-letter one.
    QString code;
    QString name; // in the program's language
    QString englishName;
    QString ownName; // in the language itself; empty when Qt has none
    // Every ISO 639 code of the language, in lower case, each once.
    QStringList codes;
    // The names as a search compares them (searchForm), each once, the
    // name shown first.
    QStringList searchNames;
};

// The language the names are given in. The start-up sets it to the
// language of the translation it installed; English until then.
void setShownIn(const QLocale& locale);
QLocale shownIn();

// Every language, by name in the collation of the program's language.
const QList<Language>& all();
// The language with this code (any of its codes), or none.
const Language* find(const QString& code);

// The name of a language code in the program's language; the code itself
// when Qt knows no such language, empty for none.
QString nameOf(const QString& code);
// Its English name, for lines on standard output, which stay English.
QString englishNameOf(const QString& code);

// How well a language answers what was typed, for a query already in its
// search form: 0 when a name or code is what was typed, 1 when the name
// shown begins with it, 2 when another name or a code does, 3 when a name
// holds it elsewhere; -1 when it does not match.
int matchRank(const Language& language, const QString& query);
// A text as names are compared: without regard to case or accents, outer
// spaces dropped.
QString searchForm(const QString& text);
// The languages that match a query, best first: exact matches, then those
// a name or code begins with, then the rest, by name within each group
// (matchRank). Empty for an empty query.
QList<const Language*> search(const QString& query);

// Makes a combo box of languages (each item's data a code, as in all())
// find what is typed as search() does, closed or open: the best match is
// chosen (closed, as a click would choose it) or highlighted (open).
void findTypedLanguages(QComboBox* box);

} // namespace LanguageChoices
