#include "text/WordFamilies.h"

#include "text/HunspellDictionary.h"
#include "text/JapaneseMorphemes.h"
#include "text/WordFamiliesDictionary.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

namespace {

// The language part of a code ("de" of "de_AT") in lower case, and its
// territory ("AT") in upper case, empty when it names none (a script such as
// "Hant" is no territory).
struct LanguageCode {
    QString language;
    QString territory;
};

LanguageCode splitLanguageCode(const QString& code) {
    auto isCut = [](QChar c) { return c == u'_' || c == u'-' || c == u'.' || c == u'@'; };
    const auto languageEnd = std::find_if(code.begin(), code.end(), isCut);
    LanguageCode parts{QStringView(code.begin(), languageEnd).toString().toLower(), {}};
    if (languageEnd != code.end() && (*languageEnd == u'_' || *languageEnd == u'-')) {
        const auto territoryEnd = std::find_if(languageEnd + 1, code.end(), isCut);
        if (territoryEnd - (languageEnd + 1) == 2)
            parts.territory = QStringView(languageEnd + 1, territoryEnd).toString().toUpper();
    }
    return parts;
}

class MecabDictionary final : public WordFamilies::Dictionary {
public:
    MecabDictionary()
        : Dictionary(JapaneseMorphemes::dictionaryName()) {}

protected:
    bool open() override {
        morphemes_ = std::make_unique<JapaneseMorphemes>();
        return morphemes_->isAvailable();
    }

    QString findHead(const QString& word) override { return morphemes_->dictionaryForm(word); }

private:
    std::unique_ptr<JapaneseMorphemes> morphemes_;
};

// Every language's dictionary, made on the first question about it; null
// for a language without one.
std::shared_ptr<WordFamilies::Dictionary> dictionaryFor(const QString& language) {
    static QMutex mutex;
    static QHash<QString, std::shared_ptr<WordFamilies::Dictionary>> dictionaries;
    const LanguageCode code = splitLanguageCode(language);
    if (code.language.isEmpty())
        return nullptr;
    const QString key =
        code.territory.isEmpty() ? code.language : code.language + u'_' + code.territory;
    const QMutexLocker lock(&mutex);
    const auto found = dictionaries.constFind(key);
    if (found != dictionaries.cend())
        return *found;
    std::shared_ptr<WordFamilies::Dictionary> dictionary;
    if (code.language == u"ja") {
        if (JapaneseMorphemes::dictionaryIsInstalled())
            dictionary = std::make_shared<MecabDictionary>();
    } else if (const QString path = findHunspellDictionary(code.language, code.territory);
               !path.isEmpty()) {
        dictionary = openHunspellDictionary(path);
    }
    dictionaries.insert(key, dictionary);
    return dictionary;
}

} // namespace

WordFamilies::WordFamilies(const QString& language)
    : dictionary_(dictionaryFor(language)) {}

QString WordFamilies::head(const QString& word) const {
    if (!dictionary_ || word.isEmpty())
        return word;
    return dictionary_->head(word);
}

QStringList WordFamilies::heads(const QStringList& words) const {
    if (!dictionary_)
        return words;
    return dictionary_->heads(words);
}

QString WordFamilies::headIfLoaded(const QString& word) const {
    if (!dictionary_ || word.isEmpty())
        return word;
    return dictionary_->headIfLoaded(word);
}

bool WordFamilies::isLoaded() const {
    return !dictionary_ || dictionary_->isLoaded();
}

QString WordFamilies::dictionaryName() const {
    return dictionary_ ? dictionary_->name() : QString();
}

QString WordFamilies::head(const QString& language, const QString& word) {
    return WordFamilies(language).head(word);
}

QString WordFamilies::dictionaryName(const QString& language) {
    return WordFamilies(language).dictionaryName();
}

void WordFamilies::preload(const QString& language) {
    if (const auto dictionary = dictionaryFor(language))
        dictionary->load();
}
