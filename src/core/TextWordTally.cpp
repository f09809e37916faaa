#include "core/TextWordTally.h"

#include "domain/TextCompare.h"

#include <QSet>

#include <algorithm>

namespace {

// Calls apply(item, +1) for what a list gained and apply(item, -1) for what
// it lost. A step adds or takes away one item: it is found by walking both
// lists (ids compared, no hashing); anything else takes the whole lists.
template <class Item, class Apply>
void followList(const QList<Item>& old, const QList<Item>& now, Apply apply) {
    if (old.constData() == now.constData() && old.size() == now.size())
        return;
    const qsizetype common = std::min(old.size(), now.size());
    qsizetype i = 0;
    while (i < common && old[i].id == now[i].id)
        ++i;
    auto sameTail = [](const QList<Item>& a, qsizetype from, const QList<Item>& b,
                       qsizetype bFrom) {
        if (a.size() - from != b.size() - bFrom)
            return false;
        for (; from < a.size(); ++from, ++bFrom) {
            if (a[from].id != b[bFrom].id)
                return false;
        }
        return true;
    };
    if (now.size() == old.size() + 1 && sameTail(now, i + 1, old, i)) {
        apply(now[i], +1);
        return;
    }
    if (old.size() == now.size() + 1 && sameTail(old, i + 1, now, i)) {
        apply(old[i], -1);
        return;
    }
    if (now.size() == old.size() && i == common)
        return; // the same words (a level or a meaning changed)
    for (const Item& item : old)
        apply(item, -1);
    for (const Item& item : now)
        apply(item, +1);
}

} // namespace

void TextWordTally::follow(const AppState& state, const QUuid& titleId,
                           const std::shared_ptr<const TextWordCounts>& counts) {
    const QString language = state.languageOf(titleId);
    if (counts != counts_ || titleId != titleId_ || language != language_) {
        counts_ = counts;
        titleId_ = titleId;
        language_ = language;
        summedLists_.clear();
        summedLearning_.clear();
        refs_.clear();
        occurrences_ = {};
        distinct_ = {};
    }
    if (!counts_)
        return;

    const auto applyWord = [this](const AppState::Word& word, int delta) {
        change(word.wordText,
               word.kind == AppState::Word::Kind::known ? Kind::known : Kind::unwanted, delta);
    };
    const auto countsFor = [&](const QUuid& id) {
        return language.isEmpty() ? id == titleId : state.languageOf(id) == language;
    };
    QSet<QUuid> counted;
    for (const auto& entry : state.listOfTitleAndWordList) {
        const QUuid& id = entry.title.id;
        if (!countsFor(id) || counted.contains(id))
            continue;
        counted.insert(id);
        QList<AppState::Word>& summed = summedLists_[id];
        followList(summed, entry.wordList, applyWord);
        summed = entry.wordList;
    }
    for (auto it = summedLists_.begin(); it != summedLists_.end();) {
        if (counted.contains(it.key())) {
            ++it;
            continue;
        }
        for (const auto& word : std::as_const(it.value()))
            applyWord(word, -1);
        it = summedLists_.erase(it);
    }

    QList<LearningWord> learning;
    for (const LearningWord& word : state.learningWords) {
        if (word.titleId == titleId || (!language.isEmpty() && counted.contains(word.titleId)))
            learning.append(word);
    }
    followList(summedLearning_, learning, [this](const LearningWord& word, int delta) {
        change(word.wordText, Kind::learning, delta);
    });
    summedLearning_ = learning;
}

const QString& TextWordTally::foldedOf(const QString& word) {
    auto found = folded_.constFind(word);
    if (found == folded_.cend())
        found = folded_.insert(word, text::folded(word));
    return *found;
}

void TextWordTally::change(const QString& word, Kind kind, int delta) {
    const QString& folded = foldedOf(word);
    if (kind != Kind::unwanted && !counts_->foldedByHead.isEmpty()) {
        const QString head = text::folded(counts_->families.head(word));
        const auto family = counts_->foldedByHead.constFind(head);
        if (family != counts_->foldedByHead.cend()) {
            for (const QString& member : *family) {
                if (member != folded)
                    changeFolded(member, word, kind, delta);
            }
        }
    }
    changeFolded(folded, word, kind, delta);
}

void TextWordTally::changeFolded(const QString& folded, const QString& word, Kind kind, int delta) {
    const auto inText = counts_->byFolded.constFind(folded);
    if (inText == counts_->byFolded.cend())
        return; // not in the text: it counts for nothing
    Refs& refs = refs_[folded];
    sum(*inText, refs, -1);
    switch (kind) {
    case Kind::known:
        refs.known += delta;
        break;
    case Kind::learning:
        refs.learning += delta;
        break;
    case Kind::unwanted: {
        const QString form = text::nfc(word);
        int& count = refs.unwanted[form];
        count += delta;
        if (count == 0)
            refs.unwanted.remove(form);
        break;
    }
    }
    sum(*inText, refs, +1);
    if (refs.known == 0 && refs.learning == 0 && refs.unwanted.isEmpty())
        refs_.remove(folded);
}

void TextWordTally::sum(const TextWordCounts::Word& word, const Refs& refs, int sign) {
    // A folded form counts once, however many registrations share it, and
    // known goes before learned before unwanted, as a split asks.
    if (refs.known > 0) {
        occurrences_.known += sign * word.count;
        distinct_.known += sign;
        return;
    }
    if (refs.learning > 0) {
        occurrences_.learning += sign * word.count;
        distinct_.learning += sign;
        return;
    }
    qint64 unwanted = 0;
    for (const TextWordCounts::Form& form : word.forms) {
        if (refs.unwanted.contains(form.nfc))
            unwanted += form.count;
    }
    occurrences_.unwanted += sign * unwanted;
    // A word counts as unwanted only in every form it stands in: another
    // form of it is still to be triaged.
    if (unwanted > 0 && unwanted == word.count)
        distinct_.unwanted += sign;
}
