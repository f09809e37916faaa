#include "text/HunspellDictionary.h"

#include "text/WordFamiliesDictionary.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <hunspell.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

const QStringList& hunspellFolders() {
    static const QStringList folders{QStringLiteral("/usr/share/hunspell"),
                                     QStringLiteral("/usr/share/myspell/dicts")};
    return folders;
}

} // namespace

QString findHunspellDictionary(const QString& language, const QString& territory) {
    // A code of letters only: it becomes part of a file name and a pattern.
    const auto isLetter = [](QChar c) { return c >= u'a' && c <= u'z'; };
    if (language.isEmpty() || !std::all_of(language.begin(), language.end(), isLetter) ||
        !std::all_of(territory.begin(), territory.end(),
                     [](QChar c) { return c >= u'A' && c <= u'Z'; }))
        return {};
    QStringList wanted;
    if (!territory.isEmpty())
        wanted << language + u'_' + territory;
    if (language == u"en")
        wanted << QStringLiteral("en_US") << QStringLiteral("en_GB");
    wanted << language + u'_' + language.toUpper() << language;
    for (const QString& folder : hunspellFolders()) {
        const QDir dir(folder);
        for (const QString& name : std::as_const(wanted)) {
            if (dir.exists(name + QStringLiteral(".aff")) &&
                dir.exists(name + QStringLiteral(".dic")))
                return dir.filePath(name);
        }
        // Any other territory, the first in the order of their names.
        const QStringList others =
            dir.entryList({language + QStringLiteral("_*.dic")}, QDir::Files, QDir::Name);
        for (const QString& dic : others) {
            const QString name = dic.chopped(4);
            if (dir.exists(name + QStringLiteral(".aff")))
                return dir.filePath(name);
        }
    }
    return {};
}

namespace {

// Text in a dictionary's encoding (its SET line: UTF-8, ISO8859-1, KOI8-R,
// microsoft-cp1251, ...) and back.
class DictionaryEncoding {
public:
    explicit DictionaryEncoding(const std::string& name) {
        QByteArray canonical = QByteArray::fromStdString(name).toUpper();
        canonical.replace('-', QByteArray());
        if (canonical == "UTF8" || canonical.isEmpty())
            return;
        UErrorCode status = U_ZERO_ERROR;
        converter_ = ucnv_open(name.c_str(), &status);
        if (U_FAILURE(status))
            converter_ = nullptr;
        else
            ucnv_setFromUCallBack(converter_, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                                  &status);
        unknown_ = converter_ == nullptr;
    }
    ~DictionaryEncoding() {
        if (converter_)
            ucnv_close(converter_);
    }
    DictionaryEncoding(const DictionaryEncoding&) = delete;
    DictionaryEncoding& operator=(const DictionaryEncoding&) = delete;

    bool isKnown() const { return !unknown_; }

    // nullopt when the dictionary's encoding cannot write word: it is not
    // the dictionary's.
    std::optional<std::string> encode(const QString& word) const {
        if (!converter_)
            return word.toStdString();
        UErrorCode status = U_ZERO_ERROR;
        std::string out(size_t(word.size()) * 4 + 4, '\0');
        const int32_t length = ucnv_fromUChars(converter_, out.data(), int32_t(out.size()),
                                               reinterpret_cast<const UChar*>(word.utf16()),
                                               int32_t(word.size()), &status);
        if (U_FAILURE(status))
            return std::nullopt;
        out.resize(size_t(length));
        return out;
    }

    QString decode(const std::string& text) const {
        if (!converter_)
            return QString::fromStdString(text);
        UErrorCode status = U_ZERO_ERROR;
        QString out(qsizetype(text.size()) * 2 + 2, Qt::Uninitialized);
        const int32_t length =
            ucnv_toUChars(converter_, reinterpret_cast<UChar*>(out.data()), int32_t(out.size()),
                          text.data(), int32_t(text.size()), &status);
        if (U_FAILURE(status))
            return {};
        out.truncate(length);
        return out;
    }

private:
    UConverter* converter_ = nullptr;
    bool unknown_ = false;
};

// Hunspell's C functions, from its library loaded the first time a
// dictionary of it is opened: a start with no language of forms to count
// loads none. All null without the library.
struct HunspellLibrary {
    decltype(&Hunspell_create) create = nullptr;
    decltype(&Hunspell_destroy) destroy = nullptr;
    decltype(&Hunspell_get_dic_encoding) encoding = nullptr;
    decltype(&Hunspell_stem) stem = nullptr;
    decltype(&Hunspell_spell) spell = nullptr;
    decltype(&Hunspell_free_list) freeList = nullptr;

    static const HunspellLibrary& loaded() {
        static const HunspellLibrary library = [] {
            HunspellLibrary found;
            // The soname the program was built against; kept loaded.
            QLibrary file(QStringLiteral(PRAMEL_HUNSPELL_NAME), PRAMEL_HUNSPELL_SOVERSION);
            if (!file.load())
                return found;
            const HunspellLibrary all{
                reinterpret_cast<decltype(create)>(file.resolve("Hunspell_create")),
                reinterpret_cast<decltype(destroy)>(file.resolve("Hunspell_destroy")),
                reinterpret_cast<decltype(encoding)>(file.resolve("Hunspell_get_dic_encoding")),
                reinterpret_cast<decltype(stem)>(file.resolve("Hunspell_stem")),
                reinterpret_cast<decltype(spell)>(file.resolve("Hunspell_spell")),
                reinterpret_cast<decltype(freeList)>(file.resolve("Hunspell_free_list"))};
            if (all.create && all.destroy && all.encoding && all.stem && all.spell && all.freeList)
                found = all;
            return found;
        }();
        return library;
    }
};

class HunspellDictionary final : public WordFamilies::Dictionary {
public:
    explicit HunspellDictionary(const QString& path)
        : Dictionary(QFileInfo(path).fileName())
        , path_(path) {}

protected:
    bool open() override {
        const QByteArray aff = QFile::encodeName(path_ + QStringLiteral(".aff"));
        const QByteArray dic = QFile::encodeName(path_ + QStringLiteral(".dic"));
        const HunspellLibrary& library = HunspellLibrary::loaded();
        if (!library.create)
            return false;
        hunspell_ = Handle(library.create(aff.constData(), dic.constData()));
        if (!hunspell_)
            return false;
        encoding_ = std::make_unique<DictionaryEncoding>(library.encoding(hunspell_.get()));
        if (!encoding_->isKnown()) {
            hunspell_.reset();
            return false;
        }
        return true;
    }

    QString findHead(const QString& word) override {
        if (!hunspell_)
            return word;
        if (const auto stem = stemOf(word))
            return *stem;
        // A noun typed in lower case ("hunde") is found capitalised, as the
        // dictionary has it.
        if (!word.isEmpty() && word.front().isLower()) {
            QString capitalised = word;
            capitalised[0] = capitalised[0].toUpper();
            if (const auto stem = stemOf(capitalised))
                return *stem;
        }
        return word;
    }

private:
    // The head of a word Hunspell knows. Of its stems, the first other than
    // itself that is a word on its own, followed as long as that one has
    // such a stem in turn (a Spanish participle is an entry of its own and a
    // form of its verb: acogidos → acogido → acoger); else the word itself,
    // if it is a stem; else the first stem. A dictionary can hold parts of
    // words that stand only in compounds (de_DE's "hund" of "Hundehütte"
    // beside "Hund"), which are no heads but as a last resort.
    std::optional<QString> stemOf(const QString& word) {
        std::optional<std::string> current = encoding_->encode(word);
        if (!current)
            return std::nullopt;
        std::vector<std::string> stems = stemsOf(*current);
        if (stems.empty())
            return std::nullopt;
        const std::string first = stems.front();
        // A short word's stem of one or two letters is an affix rule's
        // accident, not its family: en_US reads "is" as "i" + s and "his" as
        // "hi" + s, de_DE "das" as "da" + s.
        const bool shortWord = word.size() <= 3;
        auto tooShort = [&](const std::string& stem) {
            return shortWord && encoding_->decode(stem).size() < 3;
        };
        bool moved = false;
        // Two steps at most, and never back: a chain ends at a word whose
        // stems lead nowhere else.
        for (int step = 0; step < 3; ++step) {
            const auto next =
                std::find_if(stems.begin(), stems.end(), [&](const std::string& stem) {
                    return stem != *current && !tooShort(stem) &&
                           HunspellLibrary::loaded().spell(hunspell_.get(), stem.c_str()) != 0;
                });
            if (next == stems.end())
                break;
            current = *next;
            moved = true;
            stems = stemsOf(*current);
        }
        if (!moved &&
            (std::find(stems.begin(), stems.end(), *current) != stems.end() || tooShort(first)))
            return word;
        const QString head = encoding_->decode(moved ? *current : first);
        if (head.isEmpty())
            return std::nullopt;
        return head;
    }

    std::vector<std::string> stemsOf(const std::string& word) const {
        const HunspellLibrary& library = HunspellLibrary::loaded();
        char** list = nullptr;
        const int count = library.stem(hunspell_.get(), &list, word.c_str());
        std::vector<std::string> stems(list, list + std::max(count, 0));
        library.freeList(hunspell_.get(), &list, count);
        return stems;
    }

    struct Destroy {
        void operator()(Hunhandle* handle) const { HunspellLibrary::loaded().destroy(handle); }
    };
    using Handle = std::unique_ptr<Hunhandle, Destroy>;

    const QString path_;
    Handle hunspell_;
    std::unique_ptr<DictionaryEncoding> encoding_;
};

} // namespace

std::shared_ptr<WordFamilies::Dictionary> openHunspellDictionary(const QString& path) {
    return std::make_shared<HunspellDictionary>(path);
}
