#include "core/WordMarks.h"

#include "domain/TextCompare.h"

#include <algorithm>

namespace {
// The list the state held when the words were read: the state's changes
// detach its list from the copy kept here.
bool sameWords(const QList<AppState::Word>& held, const QList<AppState::Word>& now) {
    return held.isSharedWith(now) || (held.isEmpty() && now.isEmpty());
}
} // namespace

bool WordMarks::update(const AppState& state) {
    const QUuid current = state.currentTitle.id;
    const QString language = state.languageOf(current);
    // The title and the languages decide whose words count.
    const bool whose = current != current_ || language != language_ ||
                       !languagesHeld_.isSharedWith(state.titleLanguages);
    current_ = current;
    language_ = language;
    languagesHeld_ = state.titleLanguages;

    const SplitList& list = state.currentSplitList();
    const bool listChanged = !list.sameAs(list_);
    if (listChanged)
        list_ = list;

    const bool learningChanged = whose || !learningHeld_.isSharedWith(state.learningWords);
    if (learningChanged)
        updateLearning(state, language);

    bool titlesChanged = whose;
    qsizetype counting = 0; // a title deleted changes the count
    for (const auto& title : state.listOfTitleAndWordList) {
        if (titlesChanged)
            break;
        const bool counts = title.title.id == current ||
                            (!language.isEmpty() && state.languageOf(title.title.id) == language);
        if (!counts)
            continue;
        ++counting;
        const auto held = titles_.constFind(title.title.id);
        titlesChanged = held == titles_.cend() || !sameWords(held->held, title.wordList);
    }
    titlesChanged = titlesChanged || counting != titles_.size();
    if (titlesChanged)
        updateTitles(state, language);
    const bool changed = listChanged || learningChanged || titlesChanged;
    if (changed)
        answered_.clear();
    return changed;
}

void WordMarks::updateLearning(const AppState& state, const QString& language) {
    learningHeld_ = state.learningWords;
    learningLevel_.clear();
    for (const LearningWord& word : state.learningWords) {
        if (word.titleId != current_ &&
            (language.isEmpty() || state.languageOf(word.titleId) != language))
            continue;
        const QString folded = text::folded(word.wordText);
        const auto found = learningLevel_.constFind(folded);
        if (found == learningLevel_.cend() || word.level < *found)
            learningLevel_.insert(folded, word.level);
    }
}

void WordMarks::updateTitles(const AppState& state, const QString& language) {
    // Only the unwanted words are read into sets: they are few. Known words
    // are looked up in the current title's own list, sorted by folded form,
    // and only for words gone from the split list.
    QHash<QUuid, TitleWords> titles;
    unwantedExact_.clear();
    currentWords_ = QList<AppState::Word>();
    for (const auto& title : state.listOfTitleAndWordList) {
        const QUuid id = title.title.id;
        if (id != current_ && (language.isEmpty() || state.languageOf(id) != language))
            continue;
        if (id == current_)
            currentWords_ = title.wordList;
        auto held = titles_.find(id);
        if (held == titles_.end() || !sameWords(held->held, title.wordList)) {
            TitleWords words;
            words.held = title.wordList;
            for (const AppState::Word& word : title.wordList) {
                if (word.kind == AppState::Word::Kind::unwanted)
                    words.unwantedExact.insert(text::nfc(word.wordText));
            }
            held = titles_.insert(id, std::move(words));
        }
        unwantedExact_.unite(held->unwantedExact);
        titles.insert(id, std::move(*held));
    }
    titles_ = std::move(titles);
}

bool WordMarks::registeredKnownHere(const QString& word) const {
    // The list is sorted by folded form (sortWordList); one restored into
    // and not sorted yet is read whole.
    const auto less = [](const AppState::Word& a, const QString& b) {
        return text::foldedCompare(a.wordText, b) < 0;
    };
    for (auto at = std::lower_bound(currentWords_.cbegin(), currentWords_.cend(), word, less);
         at != currentWords_.cend() && text::foldedEqual(at->wordText, word); ++at) {
        if (at->kind == AppState::Word::Kind::known)
            return true;
    }
    return std::any_of(currentWords_.cbegin(), currentWords_.cend(), [&](const AppState::Word& w) {
        return w.kind == AppState::Word::Kind::known && text::foldedEqual(w.wordText, word);
    });
}

WordMark WordMarks::markOf(const QString& word) const {
    const auto known = answered_.constFind(word);
    if (known != answered_.cend())
        return *known;
    WordMark mark;
    const QString folded = text::folded(word);
    const auto learning = learningLevel_.constFind(folded);
    const SplitList::Presence presence = list_.presenceOfFolded(folded);
    if (learning != learningLevel_.cend()) {
        mark = {WordMark::Kind::learning, *learning};
    } else if (presence == SplitList::Presence::inList) {
        mark.kind = WordMark::Kind::fresh;
    } else if (!text::isDigitsOnly(word)) {
        // Words the split left out were known, unwanted or learning then;
        // words gone since were registered from this title's list, or set aside.
        if (!unwantedExact_.isEmpty() && unwantedExact_.contains(text::nfc(word)))
            mark.kind = WordMark::Kind::unwanted;
        else if (presence == SplitList::Presence::gone && !registeredKnownHere(word))
            mark.kind = WordMark::Kind::setAside;
    }
    if (answered_.size() > 20000)
        answered_.clear();
    answered_.insert(word, mark);
    return mark;
}
