#pragma once

#include <QString>
#include <QUrl>

// A dictionary address a word is looked up in: a web address (https or
// http) with {word} where the word goes. Checked wherever one is kept or
// used, since the settings file can hold anything.
namespace LookUpAddress {

// Why the address cannot be used (no {word}, not a web address), in the
// user's language, or in English for a status line; empty when it can.
QString problemWith(const QString& address);
QString problemInEnglish(const QString& address);

// The address with the word, percent-encoded, in place of {word}; an empty
// URL when the address cannot be used.
QUrl urlFor(const QString& address, const QString& word);

} // namespace LookUpAddress
