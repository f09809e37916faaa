#include "ui/common/LanguageChoices.h"

#include "domain/TextCompare.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHash>
#include <QKeyEvent>
#include <QSet>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>

namespace LanguageChoices {

namespace {

QLocale& shownInLocale() {
    static QLocale locale(QLocale::English);
    return locale;
}

// Made at the first use, again after the program's language changed.
struct Languages {
    QList<Language> list;
    QHash<QString, qsizetype> byCode; // every code, lower case
};

Languages& languages() {
    static Languages cache;
    return cache;
}

// ICU's name for a language in another; empty when it has none (it gives
// back the code then).
QString icuName(const QString& code, const QLocale& in) {
    const QByteArray language = code.toLatin1();
    const QByteArray shown = in.name().toLatin1();
    icu::UnicodeString name;
    icu::Locale(language.constData()).getDisplayLanguage(icu::Locale(shown.constData()), name);
    const QString out(reinterpret_cast<const QChar*>(name.getBuffer()), name.length());
    return out.compare(code, Qt::CaseInsensitive) == 0 ? QString() : out;
}

Language describe(QLocale::Language language, const QLocale& in) {
    Language out;
    out.code = QLocale::languageToCode(language);
    out.englishName = QLocale::languageToString(language);
    out.ownName = QLocale(language).nativeLanguageName();
    if (in.language() != QLocale::English)
        out.name = icuName(out.code, in);
    if (out.name.isEmpty())
        out.name = out.englishName;
    static constexpr std::array codeTypes{QLocale::ISO639Part1, QLocale::ISO639Part2B,
                                          QLocale::ISO639Part2T, QLocale::ISO639Part3};
    for (const QLocale::LanguageCodeType type : codeTypes) {
        const QString code = QLocale::languageToCode(language, type).toLower();
        if (!code.isEmpty() && !out.codes.contains(code))
            out.codes.append(code);
    }
    if (!out.codes.contains(out.code.toLower()))
        out.codes.append(out.code.toLower());
    for (const QString& name : {out.name, out.englishName, out.ownName}) {
        const QString form = searchForm(name);
        if (!form.isEmpty() && !out.searchNames.contains(form))
            out.searchNames.append(form);
    }
    return out;
}

const Languages& built() {
    Languages& cache = languages();
    if (!cache.list.isEmpty())
        return cache;
    const QLocale in = shownInLocale();
    QSet<QString> seen;
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale& locale : locales) {
        const QLocale::Language language = locale.language();
        if (language == QLocale::C || language == QLocale::AnyLanguage)
            continue;
        const QString code = QLocale::languageToCode(language);
        if (code.isEmpty() || seen.contains(code))
            continue;
        seen.insert(code);
        cache.list.append(describe(language, in));
    }
    const QCollator collator(in);
    std::sort(cache.list.begin(), cache.list.end(), [&](const Language& a, const Language& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    // A language's own code first: no other language's may take it.
    for (qsizetype i = 0; i < cache.list.size(); ++i)
        cache.byCode.insert(cache.list[i].code.toLower(), i);
    for (qsizetype i = 0; i < cache.list.size(); ++i) {
        for (const QString& code : cache.list[i].codes) {
            if (!cache.byCode.contains(code))
                cache.byCode.insert(code, i);
        }
    }
    return cache;
}

// Finds what is typed into a combo box of languages: letters typed within
// the keyboard interval make one search, as Qt's own type-ahead does, but
// ranked as the language dialog ranks them.
class TypedLanguageFinder : public QObject {
public:
    explicit TypedLanguageFinder(QComboBox* box)
        : QObject(box)
        , box_(box) {
        box->installEventFilter(this);
        box->view()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        if (!typing_.isValid() || typing_.elapsed() > QApplication::keyboardInputInterval())
            typed_.clear();
        // A space opens the list, unless it goes on a name being typed.
        if (typed_.isEmpty() && text.trimmed().isEmpty())
            return false;
        typing_.start();
        typed_ += text;
        const int row = bestRow();
        if (row < 0)
            return true;
        if (watched == box_) {
            if (row != box_->currentIndex()) {
                box_->setCurrentIndex(row);
                Q_EMIT box_->activated(row);
                Q_EMIT box_->textActivated(box_->itemText(row));
            }
        } else {
            box_->view()->setCurrentIndex(
                box_->model()->index(row, box_->modelColumn(), box_->rootModelIndex()));
        }
        return true;
    }

private:
    int bestRow() const {
        const QString query = searchForm(typed_);
        int best = -1;
        int bestRank = -1;
        for (int row = 0; row < box_->count(); ++row) {
            const Language* language = find(box_->itemData(row).toString());
            const int rank = language ? matchRank(*language, query) : -1;
            if (rank >= 0 && (bestRank < 0 || rank < bestRank)) {
                best = row;
                bestRank = rank;
            }
        }
        return best;
    }

    QComboBox* box_;
    QString typed_;
    QElapsedTimer typing_;
};

} // namespace

void setShownIn(const QLocale& locale) {
    shownInLocale() = locale;
    languages() = Languages{};
}

QLocale shownIn() {
    return shownInLocale();
}

const QList<Language>& all() {
    return built().list;
}

const Language* find(const QString& code) {
    if (code.isEmpty())
        return nullptr;
    const Languages& cache = built();
    auto found = cache.byCode.constFind(code.toLower());
    if (found == cache.byCode.cend()) {
        // A code Qt reads as another of the language's (an older one).
        const QLocale::Language language = QLocale::codeToLanguage(code);
        if (language != QLocale::AnyLanguage && language != QLocale::C)
            found = cache.byCode.constFind(QLocale::languageToCode(language).toLower());
    }
    return found == cache.byCode.cend() ? nullptr : &cache.list.at(*found);
}

QString nameOf(const QString& code) {
    if (code.isEmpty())
        return {};
    const Language* language = find(code);
    return language ? language->name : code;
}

QString englishNameOf(const QString& code) {
    if (code.isEmpty())
        return {};
    const Language* language = find(code);
    return language ? language->englishName : code;
}

QString searchForm(const QString& text) {
    return text::withoutMarks(text.trimmed().toCaseFolded());
}

int matchRank(const Language& language, const QString& query) {
    if (query.isEmpty())
        return -1;
    int rank = -1;
    auto better = [&rank](int r) {
        if (rank < 0 || r < rank)
            rank = r;
    };
    // A code counts whole or as a beginning, never from its middle.
    for (const QString& code : language.codes) {
        if (code == query)
            return 0;
        if (code.startsWith(query))
            better(2);
    }
    // The name shown (the first) goes before the others as a beginning.
    for (qsizetype i = 0; i < language.searchNames.size(); ++i) {
        const QString& name = language.searchNames[i];
        if (name == query)
            return 0;
        if (name.startsWith(query))
            better(i == 0 ? 1 : 2);
        else if (name.contains(query))
            better(3);
    }
    return rank;
}

QList<const Language*> search(const QString& query) {
    const QString form = searchForm(query);
    std::array<QList<const Language*>, 4> ranked;
    for (const Language& language : all()) {
        const int rank = matchRank(language, form);
        if (rank >= 0)
            ranked[size_t(rank)].append(&language);
    }
    return ranked[0] + ranked[1] + ranked[2] + ranked[3];
}

void findTypedLanguages(QComboBox* box) {
    new TypedLanguageFinder(box);
}

} // namespace LanguageChoices
