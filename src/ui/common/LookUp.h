#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Dictionary addresses a word is looked up in: web addresses with {word} in
// them, a list per language (its ISO 639 code; "" for titles without a
// language), kept in the settings. The first of a list is the one
// Words ▸ Look Up opens; all of them are offered under Words ▸ Look Up In.
namespace LookUp {

QStringList addresses(const QString& language);
// Keeps the list (an empty one brings the defaults back). The caller has
// checked each address (core/LookUpAddress.h).
void setAddresses(const QString& language, const QStringList& list);
// A Wiktionary in the language, then the English one.
QStringList defaultAddresses(const QString& language);

// A short name for a menu: the address's host.
QString nameOf(const QString& address);

} // namespace LookUp
