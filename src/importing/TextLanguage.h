#pragma once

#include <QString>
#include <QStringView>

namespace importing {

// The ISO 639 code a title keeps for a language tag as books and files
// write it: "de", "de-AT", "en_US", "ger" and "deu" all give "de". Empty for
// a tag that names no language Qt knows ("und", "x-none", "").
QString languageCode(QStringView tag);

// The language a text is written in, as its code ("de"), recognised with
// libexttextcat from a sample of the text; empty unless exactly one
// language fits: a text too short, one that fits several languages or
// none, or a language Qt does not know, gives none.
QString identifyLanguage(const QString& text);

} // namespace importing
