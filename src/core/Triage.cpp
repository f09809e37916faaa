#include "core/Triage.h"

#include "core/SplitFamilies.h"
#include "core/StartUpLoad.h"
#include "core/UseCases.h"
#include "domain/TextCompare.h"
#include "domain/TimeOrderedIds.h"

namespace {

// Where a word goes in a list sorted by sortWordList: after every word whose
// key is not greater, as a stable sort of the list with it appended puts it.
qsizetype sortedPlace(const QList<AppState::Word>& words, const AppState::Word& word) {
    const auto at = std::upper_bound(words.cbegin(), words.cend(), word,
                                     [](const AppState::Word& a, const AppState::Word& b) {
                                         return text::foldedCompare(a.wordText, b.wordText) < 0;
                                     });
    return at - words.cbegin();
}

// Whether a step that removes word from list adds the store's mark of its
// removal: unless the split had the word and it is gone already, the mark is
// new (the store marks even a word the split never held).
bool markedByStore(const SplitList& list, const QString& word) {
    return list.containsFolded(word) || !list.splitFolded(word);
}

// Takes every occurrence of word (folded) out of the current title's split
// list, and those of the other forms of its family (folded forms), selects
// the row after the step's and records the rows of those that are the very
// word, with record, for the next step; in one write, so that a word
// standing thousands of times publishes once.
void takeRowsOf(AppState& s, const QString& word, qint64 row, const AppState::Word& record,
                const QStringList& forms) {
    auto it = s.languageStateList.find(s.currentTitle);
    if (it == s.languageStateList.end()) {
        s.lastSelectedRow = row;
        s.lastRemovedWords.clear();
        return;
    }
    s.lastSelectedRow = row - it->splittedWords.countEqualBefore(word, row);
    const QList<qsizetype> removed = it->splittedWords.removeFolded(
        word, [&](const QString& w) { return text::equal(w, word); });
    for (const QString& form : forms) {
        const QList<qsizetype> rows = it->splittedWords.removeFolded(form);
        s.lastSelectedRow -=
            std::lower_bound(rows.cbegin(), rows.cend(), s.lastSelectedRow) - rows.cbegin();
    }
    s.lastRemovedWords = LastRemovedWordsMaker::sharing(removed, record);
}

} // namespace

Triage::Triage(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
               QSet<QUuid>& unsortedLists)
    : ModelRoom(state, useCases)
    , load_(load)
    , unsortedLists_(unsortedLists) {}

QStringList Triage::otherFormsOf(const QString& word) const {
    const AppState& s = state();
    const QString language = s.languageOf(s.currentTitle.id);
    if (!s.countsForms(language))
        return {};
    const SplitList& list = s.currentSplitList();
    // Numbered by the split's thread as a rule; else here, once per split.
    const auto families = SplitFamilies::of(list, language, true);
    return families ? families->otherFormsIn(list, word) : QStringList();
}

void Triage::markFormsGone(const QStringList& forms) {
    if (!forms.isEmpty())
        useCases().commands.deleteSplitWordCommandHandler.handle(
            DeleteSplitWordCommand{state().currentTitle.id, forms.first(), forms.mid(1)});
}

SplitList Triage::currentSplitList() const {
    return state().currentSplitList();
}

void Triage::clampLastSelectedRow() {
    const qint64 n = currentSplitList().size();
    if (state().lastSelectedRow < n)
        return;
    modify([&](AppState& s) { s.lastSelectedRow = n - 1; });
}

TakenStep Triage::splitStep(TriageStep::Kind kind, const QString& word, qint64 row) const {
    const SplitList list = currentSplitList();
    TakenStep step;
    step.kind = kind;
    step.word = word;
    step.row = row;
    step.tookRows = list.containsFolded(word);
    step.newRemoval = markedByStore(list, word);
    step.lastRemovedBefore = state().lastRemovedWords;
    return step;
}

TakenStep Triage::registerWordStep(const QString& word, qint64 row, const AppState::Word& newWord) {
    const AppState::Word::Kind kind = newWord.kind;
    TakenStep step = splitStep(kind == AppState::Word::Kind::known ? TriageStep::Kind::known
                                                                   : TriageStep::Kind::unwanted,
                               word, row);
    step.record = newWord;
    step.command = &TriageCommand::registration();
    // A word known takes the forms of its family with it; an unwanted one
    // stays exact.
    if (kind == AppState::Word::Kind::known)
        step.forms = otherFormsOf(word);

    useCases().inOneTransaction([&] {
        useCases().saveWord(
            SaveWordCommand{state().currentTitle.id, word, kind, newWord.id, newWord.timestamp});
        markFormsGone(step.forms);
    });
    modify([&](AppState& s) { takeRowsOf(s, word, row, newWord, step.forms); });

    const qsizetype f = state().indexOfTitle(state().currentTitle.id);
    if (f >= 0) {
        modify([&](AppState& s) { s.listOfTitleAndWordList[f].wordList.append(newWord); });
        // Every list sorted again: the lists a restore added to, and the new
        // word moved to its place in its title's list. The others are sorted
        // already (loading sorts them, and so does every registration).
        modify([&](AppState& s) {
            for (auto& entry : s.listOfTitleAndWordList) {
                if (unsortedLists_.contains(entry.title.id))
                    sortWordList(entry.wordList);
            }
            QList<AppState::Word>& words = s.listOfTitleAndWordList[f].wordList;
            if (!unsortedLists_.contains(s.listOfTitleAndWordList[f].title.id)) {
                const AppState::Word added = words.takeLast();
                words.insert(sortedPlace(words, added), added);
            }
        });
        unsortedLists_.clear();
    }
    clampLastSelectedRow();
    return step;
}

TakenStep Triage::removeTemporarilyStep(const QString& word, qint64 row) {
    TakenStep step = splitStep(TriageStep::Kind::removal, word, row);
    step.command = &TriageCommand::removal();
    modify([&](AppState& s) { s.lastSelectedRow = row; });

    // The record is written before the rows go: the rows they stand at now.
    SplitList list = currentSplitList();
    const QList<qsizetype> rows =
        list.removeFolded(word, [&](const QString& w) { return text::equal(w, word); });
    const QDateTime now = QDateTime::currentDateTimeUtc();
    modify([&](AppState& s) {
        s.lastRemovedWords = LastRemovedWordsMaker::eachOwn(
            rows, AppState::Word{word, QUuid::createUuid(), AppState::Word::Kind::known, now});
    });

    modify([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it != s.languageStateList.end())
            it->splittedWords = list;
    });
    useCases().commands.deleteSplitWordCommandHandler.handle(
        DeleteSplitWordCommand{state().currentTitle.id, word});
    clampLastSelectedRow();
    return step;
}

TakenStep Triage::learnWordStep(const QString& word, qint64 row, const LearningWord& learning) {
    TakenStep step = splitStep(TriageStep::Kind::learning, word, row);
    step.learning = learning;
    step.command = &TriageCommand::learning();
    step.forms = otherFormsOf(word);
    // The rows go as a registration takes them; the record of their rows
    // carries the learning word's id and time.
    const AppState::Word standIn{word, learning.id, AppState::Word::Kind::known,
                                 learning.timestamp};
    modify([&](AppState& s) {
        takeRowsOf(s, word, row, standIn, step.forms);
        s.learningWords.append(learning);
    });
    useCases().inOneTransaction([&] {
        useCases().commands.keepLearningWordCommandHandler.handle(
            KeepLearningWordCommand{learning, word});
        markFormsGone(step.forms);
    });
    clampLastSelectedRow();
    return step;
}

std::optional<TakenStep> Triage::promoteLearningWord(const QUuid& id) {
    const LearningWord* found = state().learningWord(id);
    if (!found)
        return std::nullopt;
    const LearningWord learning = *found;
    const AppState::Word record{learning.wordText, QUuid::createUuid(), AppState::Word::Kind::known,
                                QDateTime::currentDateTimeUtc()};
    TakenStep step;
    useCases().inOneTransaction([&] { step = promotionStep(learning, record); });
    // A step of the title's own history when it is the current title.
    if (learning.titleId != state().currentTitle.id)
        return std::nullopt;
    return step;
}

TakenStep Triage::promotionStep(const LearningWord& learning, const AppState::Word& record) {
    load_.finishLoading();
    TakenStep step;
    step.kind = TriageStep::Kind::promotion;
    step.word = learning.wordText;
    step.row = state().lastSelectedRow;
    step.record = record;
    step.learning = learning;
    step.command = &TriageCommand::promotion();
    const qsizetype f = state().indexOfTitle(learning.titleId);
    if (f < 0)
        return step;
    // The registration registerWord makes, in the learning word's title; its
    // rows are out of the split list already.
    useCases().saveWord(SaveWordCommand{learning.titleId, record.wordText, record.kind, record.id,
                                        record.timestamp});
    modify([&](AppState& s) {
        QList<AppState::Word>& words = s.listOfTitleAndWordList[f].wordList;
        if (unsortedLists_.contains(learning.titleId))
            words.append(record);
        else
            words.insert(sortedPlace(words, record), record);
    });
    dropLearningWord(learning.id);
    return step;
}

TakenStep Triage::remainingKnownStep(QList<AppState::Word> records) {
    load_.finishLoading();
    SplitList list = currentSplitList();
    TakenStep step;
    step.kind = TriageStep::Kind::remainingKnown;
    step.row = state().lastSelectedRow;
    step.lastRemovedBefore = state().lastRemovedWords;
    step.listBefore = list;
    step.command = &TriageCommand::remainingKnown();
    const QUuid titleId = state().currentTitle.id;
    const qsizetype f = state().indexOfTitle(titleId);
    if (f < 0 || list.isEmpty())
        return step;
    if (records.isEmpty()) {
        // Each word once, in the form it was met in first.
        const QDateTime now = QDateTime::currentDateTimeUtc();
        TimeOrderedIds ids;
        for (const qsizetype row : list.firstRowsOfWords())
            records.append(
                AppState::Word{list.at(row), ids.next(), AppState::Word::Kind::known, now});
    }
    step.records = records;
    step.word = records.first().wordText;

    // The rows are marked gone, and the batch that stores the registrations
    // recorded, in one transaction: after a kill the next start stores the
    // rest of the batch, and no word is neither registered nor in the list.
    QStringList words;
    words.reserve(records.size());
    for (const AppState::Word& record : std::as_const(records))
        words.append(record.wordText);
    useCases().inOneTransaction([&] {
        useCases().commands.deleteSplitWordCommandHandler.handle(
            DeleteSplitWordCommand{titleId, words.first(), words.mid(1)});
        useCases().commands.saveWordsCommandHandler.handle(
            SaveWordsCommand{titleId, records, FinishedWordBatch::Kind::known,
                             state().listOfTitleAndWordList[f].title.title});
    });
    list.removeEveryRow();
    modify([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it != s.languageStateList.end())
            it->splittedWords = list;
        s.lastRemovedWords = LastRemovedWords();
        for (auto& entry : s.listOfTitleAndWordList) {
            if (unsortedLists_.contains(entry.title.id))
                sortWordList(entry.wordList);
        }
        QList<AppState::Word>& registered = s.listOfTitleAndWordList[f].wordList;
        registered.append(records);
        sortWordList(registered);
    });
    unsortedLists_.clear();
    clampLastSelectedRow();
    return step;
}

void Triage::dropLearningWord(const QUuid& id) {
    const LearningWord* found = state().learningWord(id);
    if (!found)
        return;
    const QUuid titleId = found->titleId;
    modify([&](AppState& s) {
        s.learningWords.removeIf([&](const LearningWord& w) { return w.id == id; });
    });
    useCases().commands.forgetLearningWordCommandHandler.handle(
        ForgetLearningWordCommand{id, titleId});
}

void Triage::keepLearningWord(const LearningWord& word) {
    modify([&](AppState& s) {
        auto it = std::find_if(s.learningWords.begin(), s.learningWords.end(),
                               [&](const LearningWord& w) { return w.id == word.id; });
        if (it != s.learningWords.end()) {
            *it = word;
            return;
        }
        // Back in the order of learning.
        auto at = std::upper_bound(
            s.learningWords.begin(), s.learningWords.end(), word,
            [](const LearningWord& a, const LearningWord& b) { return a.timestamp < b.timestamp; });
        s.learningWords.insert(at, word);
    });
    useCases().commands.keepLearningWordCommandHandler.handle(KeepLearningWordCommand{word});
}

void Triage::setLearningLevel(const QUuid& id, int level) {
    const LearningWord* found = state().learningWord(id);
    level = std::clamp(level, LearningWord::minLevel, LearningWord::maxLevel);
    if (!found || found->level == level)
        return;
    LearningWord changed = *found;
    changed.level = level;
    keepLearningWord(changed);
}

void Triage::setLearningMeaning(const QUuid& id, QString meaning) {
    const LearningWord* found = state().learningWord(id);
    if (!found || found->meaning == meaning)
        return;
    LearningWord changed = *found;
    changed.meaning = std::move(meaning);
    keepLearningWord(changed);
}

std::optional<TakenStep> Triage::deleteWordStep(const QUuid& id) {
    std::optional<TakenStep> step;
    const qsizetype i = state().indexOfTitle(state().currentTitle.id);
    if (i >= 0) {
        const QList<AppState::Word>& words = state().listOfTitleAndWordList[i].wordList;
        for (qsizetype at = 0; at < words.size(); ++at) {
            if (words[at].id == id) {
                step = TakenStep{};
                step->kind = TriageStep::Kind::deletion;
                step->word = words[at].wordText;
                step->row = state().lastSelectedRow;
                step->record = words[at];
                step->place = at;
                step->command = &TriageCommand::deletion();
                break;
            }
        }
        modify([&](AppState& s) {
            s.listOfTitleAndWordList[i].wordList.removeIf(
                [&](const AppState::Word& w) { return w.id == id; });
        });
    }
    useCases().commands.deleteWordCommandHandler.handle(DeleteWordCommand{id});
    return step;
}

void Triage::deleteWordOfAnyTitle(const QUuid& id) {
    load_.finishLoading();
    for (qsizetype i = 0; i < state().listOfTitleAndWordList.size(); ++i) {
        const QList<AppState::Word>& words = state().listOfTitleAndWordList[i].wordList;
        const bool holds = std::any_of(words.cbegin(), words.cend(),
                                       [&](const AppState::Word& w) { return w.id == id; });
        if (!holds)
            continue;
        modify([&](AppState& s) {
            s.listOfTitleAndWordList[i].wordList.removeIf(
                [&](const AppState::Word& w) { return w.id == id; });
        });
        break;
    }
    useCases().commands.deleteWordCommandHandler.handle(DeleteWordCommand{id});
}
