#pragma once

#include "text/WordFamilies.h"

#include <QString>

#include <memory>

// The word families of a language from its Hunspell dictionary (see
// WordFamilies): the dictionaries installed under /usr/share/hunspell, read
// with Hunspell's library, which is loaded the first time one is opened.

// The installed dictionary for a language (lower-case letters, "de") and
// territory (upper-case, "AT"; may be empty), as the path of its .aff and
// .dic without the ending; empty when there is none. Of several, the
// language's own territory is taken (de_DE, fr_FR, it_IT, ru_RU, es_ES; for
// English en_US, then en_GB), or the one named.
QString findHunspellDictionary(const QString& language, const QString& territory);

// The families of the dictionary at path, read on the first question.
std::shared_ptr<WordFamilies::Dictionary> openHunspellDictionary(const QString& path);
