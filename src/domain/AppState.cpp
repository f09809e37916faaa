#include "domain/AppState.h"

#include "domain/TextCompare.h"

#include <algorithm>
#include <atomic>
#include <vector>

quint64 newTextRevision() {
    static std::atomic<quint64> last{0};
    return ++last;
}

LastRemovedWord LastRemovedWords::at(qsizetype i) const {
    LastRemovedWord entry{rows_.at(i), record_->word};
    if (ownIds_ && i != 0) {
        // The record's id is random (version 4): its first 48 bits, changed
        // by the entry's place, give ids as unlikely to meet as new ones, and
        // keep the version and variant bits.
        entry.word.id.data1 ^= quint32(quint64(i));
        entry.word.id.data2 ^= quint16(quint64(i) >> 32);
    }
    return entry;
}

LastRemovedWord LastRemovedWords::operator[](qsizetype i) const {
    return at(i);
}

void LastRemovedWords::clear() {
    rows_.clear();
    record_.reset();
    ownIds_ = false;
}

LastRemovedWord LastRemovedWords::ConstIterator::operator*() const {
    return list_->at(i_);
}

LastRemovedWords LastRemovedWordsMaker::sharing(QList<qsizetype> rows,
                                                const AppState::Word& record) {
    LastRemovedWords out;
    if (rows.isEmpty())
        return out;
    out.rows_ = std::move(rows);
    out.record_ = std::make_shared<const LastRemovedWord>(LastRemovedWord{0, record});
    return out;
}

LastRemovedWords LastRemovedWordsMaker::eachOwn(QList<qsizetype> rows,
                                                const AppState::Word& record) {
    LastRemovedWords out = sharing(std::move(rows), record);
    out.ownIds_ = true;
    return out;
}

QString kindText(AppState::Word::Kind kind) {
    return kind == AppState::Word::Kind::known ? QStringLiteral("known")
                                               : QStringLiteral("unwanted");
}

SameWordKey sameWordKey(const AppState::Word& word) {
    const qint64 msecs = word.timestamp.toMSecsSinceEpoch();
    const qint64 seconds = msecs >= 0 ? msecs / 1000 : -((-msecs + 999) / 1000); // rounded down
    return {text::nfc(word.wordText), seconds, word.kind};
}

size_t qHash(const SameWordKey& key, size_t seed) {
    return qHashMulti(seed, key.text, key.seconds, int(key.kind));
}

void sortWordList(QList<AppState::Word>& words) {
    if (words.size() < 2)
        return;
    // Most lists are sorted already (every registration re-sorts all of
    // them); a pass over neighbours is far cheaper than folding every key.
    // Read through a const view: a non-const operator[] would detach (copy)
    // a list that other copies of the state share, sorted or not.
    const QList<AppState::Word>& view = words;
    bool inOrder = true;
    for (qsizetype i = 1; i < view.size(); ++i) {
        if (text::foldedCompare(view[i - 1].wordText, view[i].wordText) > 0) {
            inOrder = false;
            break;
        }
    }
    if (inOrder)
        return;
    // Fold each key once, then sort indexes: a comparison sort would otherwise
    // lower-case and normalize both sides on every comparison.
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(words.size());
    for (qsizetype i = 0; i < view.size(); ++i)
        keys.emplace_back(text::folded(view[i].wordText), i);
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
        return text::compareCodePoints(a.first, b.first) < 0;
    });
    bool unchanged = true;
    for (qsizetype i = 0; i < qsizetype(keys.size()); ++i) {
        if (keys[i].second != i) {
            unchanged = false;
            break;
        }
    }
    if (unchanged)
        return; // keep the list shared with other copies of the state
    QList<AppState::Word> sorted;
    sorted.reserve(words.size());
    for (const auto& k : keys)
        sorted.append(view[k.second]);
    words = std::move(sorted);
}

namespace {
QList<AppState::Word> wordsOfKind(const AppState& s, AppState::Word::Kind kind) {
    QList<AppState::Word> out;
    const qsizetype i = s.indexOfTitle(s.currentTitle.id);
    if (i < 0)
        return out;
    for (const auto& w : s.listOfTitleAndWordList[i].wordList) {
        if (w.kind == kind)
            out.append(w);
    }
    return out;
}
} // namespace

QList<AppState::Word> AppState::knownWords() const {
    return wordsOfKind(*this, Word::Kind::known);
}

QList<AppState::Word> AppState::unwantedWords() const {
    return wordsOfKind(*this, Word::Kind::unwanted);
}

QList<AppState::Word> AppState::languageWords(Word::Kind kind) const {
    const QString language = languageOf(currentTitle.id);
    if (language.isEmpty())
        return wordsOfKind(*this, kind);
    QList<Word> out;
    for (const auto& entry : listOfTitleAndWordList) {
        if (languageOf(entry.title.id) != language)
            continue;
        for (const auto& w : entry.wordList) {
            if (w.kind == kind)
                out.append(w);
        }
    }
    return out;
}

const SplitList& AppState::currentSplitList() const {
    static const SplitList none;
    const auto entry = languageStateList.constFind(currentTitle);
    return entry == languageStateList.cend() ? none : entry->splittedWords;
}

QList<LearningWord> AppState::languageLearningWords() const {
    const QString language = languageOf(currentTitle.id);
    QList<LearningWord> out;
    for (const LearningWord& word : learningWords) {
        if (word.titleId == currentTitle.id ||
            (!language.isEmpty() && languageOf(word.titleId) == language))
            out.append(word);
    }
    return out;
}

const LearningWord* AppState::learningWord(const QUuid& id) const {
    for (const LearningWord& word : learningWords) {
        if (word.id == id)
            return &word;
    }
    return nullptr;
}

QList<Title> AppState::titles() const {
    QList<Title> out;
    out.reserve(listOfTitleAndWordList.size());
    for (const auto& e : listOfTitleAndWordList)
        out.append(e.title);
    return out;
}

qsizetype AppState::indexOfTitle(const QUuid& id) const {
    for (qsizetype i = 0; i < listOfTitleAndWordList.size(); ++i) {
        if (listOfTitleAndWordList[i].title.id == id)
            return i;
    }
    return -1;
}
