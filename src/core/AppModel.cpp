#include "core/AppModel.h"

#include "base/FatalError.h"
#include "core/SplitFilter.h"
#include "core/UseCases.h"
#include "csv/CsvTimestamp.h"
#include "domain/TextCompare.h"
#include "domain/TimeOrderedIds.h"
#include "persistence/CoreDateSetting.h"
#include "persistence/DeleteTitleByIdCommandHandler.h"
#include "persistence/DeleteWordCommandHandler.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandlerProduction.h"
#include "persistence/FetchTitleLanguagesQueryHandler.h"
#include "persistence/LearningWordStore.h"
#include "persistence/LoadLanguageStateQueryHandler.h"
#include "persistence/SaveSplitWordCommandHandler.h"
#include "persistence/SaveTextCommandHandler.h"
#include "persistence/SaveTitleLanguageCommandHandler.h"
#include "persistence/StoreBackup.h"
#include "persistence/UndoTriageCommandHandler.h"
#include "text/SplitTextUseCase.h"

#include <QCoreApplication>
#include <QSet>

#include <atomic>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The entry of the language-state map whose key has the id, whatever its name.
QHash<Title, LanguageState>::iterator findById(QHash<Title, LanguageState>& map, const QUuid& id) {
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it.key().id == id)
            return it;
    }
    return map.end();
}

// A title under a (new) name: its text pane moves to the new key (or an empty
// one is made), and the selection follows it, so the pane keeps its text and
// the window its name.
void followTitle(AppState& s, const Title& title) {
    if (!s.languageStateList.contains(title)) {
        LanguageState ls;
        auto it = findById(s.languageStateList, title.id);
        if (it != s.languageStateList.end()) {
            ls = it.value();
            s.languageStateList.erase(it);
        }
        s.languageStateList.insert(title, ls);
    }
    if (s.currentTitle.id == title.id)
        s.currentTitle = title;
}

// The words of text that a split keeps (SplitFilter.h), found as the
// title's language has them. Each distinct word is judged once, however
// often it stands in the text.
SplitList splitKeeping(const QString& text, const QString& language, const SplitFilter& filter) {
    SplitList::Builder builder([&](const QString& word) { return filter.keeps(word); });
    SplitTextUseCase::forEachWord(text, language, [&](SplitTextUseCase::Span span) {
        builder.add(QStringView(text).mid(span.start, span.length), span.start);
    });
    return builder.finish();
}

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
// list, selects the row after the step's and records the rows of those that
// are the very word, with record, for the next step; in one write, so that
// a word standing thousands of times publishes once.
void takeRowsOf(AppState& s, const QString& word, qint64 row, const AppState::Word& record) {
    auto it = s.languageStateList.find(s.currentTitle);
    if (it == s.languageStateList.end()) {
        s.lastSelectedRow = row;
        s.lastRemovedWords.clear();
        return;
    }
    s.lastSelectedRow = row - it->splittedWords.countEqualBefore(word, row);
    const QList<qsizetype> removed = it->splittedWords.removeFolded(
        word, [&](const QString& w) { return text::equal(w, word); });
    QList<LastRemovedWord> entries;
    entries.reserve(removed.size());
    for (qint64 i : removed)
        entries.append(LastRemovedWord{i, record});
    s.lastRemovedWords = std::move(entries);
}

} // namespace

AppModel::AppModel(AppState initial, UseCases useCases)
    : state_(std::move(initial))
    , useCases_(std::make_unique<const UseCases>(std::move(useCases)))
    , self_(std::make_shared<AppModel*>(this)) {
    // The worker tells of every chunk on its own thread; the model reads the
    // counts on its own, from the event loop, at most once per turn.
    QObject* const loop = QCoreApplication::instance();
    if (!loop)
        return;
    auto queued = std::make_shared<std::atomic<bool>>(false);
    std::weak_ptr<AppModel*> weak = self_;
    listener_ = SaveWordsCommandHandler::addListener([loop, weak, queued] {
        if (queued->exchange(true))
            return;
        QMetaObject::invokeMethod(
            loop,
            [weak, queued] {
                queued->store(false);
                if (auto self = weak.lock())
                    (*self)->refreshBackgroundSaves();
            },
            Qt::QueuedConnection);
    });
}

AppModel::~AppModel() {
    if (listener_)
        SaveWordsCommandHandler::removeListener(listener_);
}

SplitList AppModel::currentSplitList() const {
    const AppState& s = state();
    auto it = s.languageStateList.constFind(s.currentTitle);
    return it == s.languageStateList.constEnd() ? SplitList() : it->splittedWords;
}

void AppModel::finishCutBatches() {
    const QList<FinishedWordBatch> finished =
        useCases_->commands.saveWordsCommandHandler.finishCutBatches();
    if (!finished.isEmpty())
        saves_.modify([&](BackgroundSaves& saves) { saves.finished.append(finished); });
}

void AppModel::load() {
    finishCutBatches();
    QList<TitleAndWordList> list = useCases_->queries.fetchTitleAndKnownWordsQueryHandler->handle();
    QHash<Title, LanguageState> languageStates = LoadLanguageStateQueryHandler().handle();
    QHash<QUuid, QString> titleLanguages = FetchTitleLanguagesQueryHandler().handle();
    QList<LearningWord> learningWords = LearningWordStore::fetchAll();
    modifyAppState([&](AppState& s) {
        s.languageStateList = std::move(languageStates);
        s.titleLanguages = std::move(titleLanguages);
        s.learningWords = std::move(learningWords);
    });
    if (list.isEmpty()) {
        modifyAppState([](AppState& s) { s.listOfTitleAndWordList.clear(); });
        return;
    }
    for (auto& entry : list)
        sortWordList(entry.wordList);
    const Title first = list.first().title;
    modifyAppState([&](AppState& s) { s.listOfTitleAndWordList = std::move(list); });
    modifyAppState([&](AppState& s) { s.currentTitle = first; });
}

void AppModel::loadForStartUp() {
    QObject* const loop = QCoreApplication::instance();
    const QString storePath = CoreDateSetting::defaultStorePath();
    CoreDateSetting::checkLater(storePath);
    // Only the titles, and the first one's words and text pane, before the
    // window is drawn.
    QList<TitleAndWordList> list =
        FetchTitleAndKnownWordsQueryHandlerProduction().handle(QSet<QUuid>());
    // Batches a kill cut short are finished before anything is read.
    finishCutBatches();

    // The check of the store's structure runs beside the first frame,
    // once the read above has opened and prepared the store; a
    // damaged store still ends the program at start, with its dialog.
    checking_ = std::async(std::launch::async, [storePath, loop] {
        const QString damage = CoreDateSetting::checkNow(storePath);
        if (damage.isEmpty() || !loop)
            return;
        QMetaObject::invokeMethod(
            loop, [damage] { fatalError(QStringLiteral("Pramel/CoreDateSetting"), damage); },
            Qt::QueuedConnection);
    });

    if (list.isEmpty()) {
        load();
        return;
    }
    const Title first = list.first().title;
    list = FetchTitleAndKnownWordsQueryHandlerProduction().handle(QSet<QUuid>{first.id});
    QHash<Title, LanguageState> languageStates =
        LoadLanguageStateQueryHandler().handle(QSet<QUuid>{first.id});
    // Every title's language at once: the list shows them from the first frame.
    QHash<QUuid, QString> titleLanguages = FetchTitleLanguagesQueryHandler().handle();
    // The learning words too: a few thousand at most, and the split needs them.
    QList<LearningWord> learningWords = LearningWordStore::fetchAll();
    modifyAppState([&](AppState& s) {
        s.languageStateList = std::move(languageStates);
        s.titleLanguages = std::move(titleLanguages);
        s.learningWords = std::move(learningWords);
    });
    sortWordList(list.first().wordList);
    modifyAppState([&](AppState& s) { s.listOfTitleAndWordList = std::move(list); });
    modifyAppState([&](AppState& s) { s.currentTitle = first; });

    QSet<QUuid> others;
    for (const Title& title : state().titles()) {
        if (title.id != first.id)
            others.insert(title.id);
    }
    std::weak_ptr<AppModel*> weak = self_;
    loading_ = std::async(std::launch::async, [first, others, loop, weak] {
        RestOfLoad rest;
        rest.loaded = first.id;
        rest.list = FetchTitleAndKnownWordsQueryHandlerProduction().handle(others);
        for (auto& entry : rest.list)
            sortWordList(entry.wordList);
        rest.languageStates = LoadLanguageStateQueryHandler().handle(others);
        if (loop) {
            QMetaObject::invokeMethod(
                loop,
                [weak] {
                    if (auto self = weak.lock())
                        (*self)->finishLoading();
                },
                Qt::QueuedConnection);
        }
        return rest;
    });
}

void AppModel::finishLoading() {
    if (!loading_.valid())
        return;
    RestOfLoad rest = loading_.get();
    // Every title still held takes its words and text pane; nothing else has
    // touched them meanwhile (whatever would have waited for this).
    modifyAppState([&](AppState& s) {
        for (const auto& entry : std::as_const(rest.list)) {
            const qsizetype at = s.indexOfTitle(entry.title.id);
            if (at < 0 || entry.title.id == rest.loaded)
                continue;
            s.listOfTitleAndWordList[at].wordList = entry.wordList;
        }
        for (auto it = rest.languageStates.cbegin(); it != rest.languageStates.cend(); ++it) {
            if (it.key().id != rest.loaded && !s.languageStateList.contains(it.key()) &&
                s.indexOfTitle(it.key().id) >= 0)
                s.languageStateList.insert(it.key(), it.value());
        }
    });
    rest = RestOfLoad();
#ifdef __GLIBC__
    // The loading thread's buffers are free now; hand their pages back
    // rather than keep them for allocations that will not come.
    malloc_trim(0);
#endif
}

void AppModel::saveText(QString text) {
    clearHistory(state().currentTitle.id);
    modifyAppState([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it != s.languageStateList.end())
            it->boxText = text;
        else
            s.languageStateList.insert(s.currentTitle, LanguageState{text, {}, 0});
    });
    SaveTextCommandHandler().handle(SaveTextCommand{text, state().currentTitle.id});
}

void AppModel::editText(qint64 position, qint64 removed, QString added) {
    const QString before = currentText();
    if (position < 0 || removed < 0 || position + removed > before.size())
        return;
    clearHistory(state().currentTitle.id);
    QString text;
    modifyAppState([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it == s.languageStateList.end())
            it = s.languageStateList.insert(s.currentTitle, LanguageState{});
        it->boxText.replace(position, removed, added);
        text = it->boxText;
    });
    SaveTextCommandHandler().handle(SaveTextCommand{
        text, state().currentTitle.id, TextChange{position, removed, qint64(added.size())}});
}

QString AppModel::currentText() const {
    const AppState& s = state();
    auto it = s.languageStateList.constFind(s.currentTitle);
    return it == s.languageStateList.constEnd() ? QString() : it->boxText;
}

void AppModel::splitWords() {
    finishLoading();
    clearHistory(state().currentTitle.id);
    const AppState s = appState();
    QString boxText;
    auto it = s.languageStateList.constFind(s.currentTitle);
    if (it != s.languageStateList.constEnd()) {
        boxText = it->boxText;
    } else {
        // No text-pane state for this title: split what the store holds for it.
        const auto stored = LoadLanguageStateQueryHandler().handle();
        for (auto st = stored.constBegin(); st != stored.constEnd(); ++st) {
            if (st.key().id == s.currentTitle.id) {
                boxText = st->boxText;
                break;
            }
        }
    }

    const SplitList filtered =
        splitKeeping(boxText, s.languageOf(s.currentTitle.id), SplitFilter(s, s.currentTitle.id));
    modifyAppState([&](AppState& st) {
        st.languageStateList.insert(st.currentTitle, LanguageState{boxText, filtered, 0});
    });
    SaveSplitWordCommandHandler().handle(SaveSplitWordCommand{filtered, state().currentTitle.id});
}

void AppModel::splitWordsInBackground(std::function<void()> done) {
    finishLoading();
    if (isSplitting())
        return;
    const AppState s = appState();
    const Title title = s.currentTitle;
    auto it = s.languageStateList.constFind(title);
    if (it == s.languageStateList.constEnd() || s.indexOfTitle(title.id) < 0) {
        // Nothing in memory to cut (or no stored title): the plain split.
        splitWords();
        if (done)
            done();
        return;
    }
    const QString text = it->boxText;
    QObject* const loop = QCoreApplication::instance();
    std::weak_ptr<AppModel*> weak = self_;
    auto result = std::make_shared<SplitList>();
    splitting_ = std::async(std::launch::async, [=] {
        // The registered words of the title's language are gathered here too:
        // s is a copy, and its lists are shared, not copied.
        *result = splitKeeping(text, s.languageOf(title.id), SplitFilter(s, title.id));
        // Stored before it is shown: a list on screen survives a kill.
        SaveSplitWordCommandHandler().handle(SaveSplitWordCommand{*result, title.id});
        QMetaObject::invokeMethod(
            loop,
            [weak, result, title, done] {
                auto self = weak.lock();
                if (!self)
                    return;
                AppModel& model = **self;
                model.splitting_.get();
                model.clearHistory(title.id);
                model.modifyAppState([&](AppState& st) {
                    auto entry = findById(st.languageStateList, title.id);
                    if (entry == st.languageStateList.end())
                        return;
                    entry->splittedWords = *result;
                    entry->scrollPosition = 0;
                });
                if (done)
                    done();
            },
            Qt::QueuedConnection);
    });
}

AppModel::Step AppModel::splitStep(TriageStep::Kind kind, const QString& word, qint64 row) const {
    const SplitList list = currentSplitList();
    Step step;
    step.kind = kind;
    step.word = word;
    step.row = row;
    step.tookRows = list.containsFolded(word);
    step.newRemoval = markedByStore(list, word);
    step.lastRemovedBefore = state().lastRemovedWords;
    return step;
}

void AppModel::registerWord(QString word, AppState::Word::Kind kind, qint64 row) {
    const AppState::Word newWord{word, QUuid::createUuid(), kind, QDateTime::currentDateTimeUtc()};
    record(registerWordStep(word, row, newWord));
}

AppModel::Step AppModel::registerWordStep(const QString& word, qint64 row,
                                          const AppState::Word& newWord) {
    const AppState::Word::Kind kind = newWord.kind;
    Step step = splitStep(kind == AppState::Word::Kind::known ? TriageStep::Kind::known
                                                              : TriageStep::Kind::unwanted,
                          word, row);
    step.record = newWord;

    useCases_->saveWord(
        SaveWordCommand{state().currentTitle.id, word, kind, newWord.id, newWord.timestamp});
    modifyAppState([&](AppState& s) { takeRowsOf(s, word, row, newWord); });

    const qsizetype f = state().indexOfTitle(state().currentTitle.id);
    if (f >= 0) {
        modifyAppState([&](AppState& s) { s.listOfTitleAndWordList[f].wordList.append(newWord); });
        // Every list sorted again: the lists a restore added to, and the new
        // word moved to its place in its title's list. The others are sorted
        // already (loading sorts them, and so does every registration).
        modifyAppState([&](AppState& s) {
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

void AppModel::removeTemporarily(QString word, qint64 row) {
    record(removeTemporarilyStep(word, row));
}

AppModel::Step AppModel::removeTemporarilyStep(const QString& word, qint64 row) {
    const Step step = splitStep(TriageStep::Kind::removal, word, row);
    modifyAppState([&](AppState& s) { s.lastSelectedRow = row; });

    // The record is written before the rows go: the rows they stand at now.
    SplitList list = currentSplitList();
    const QList<qsizetype> rows =
        list.removeFolded(word, [&](const QString& w) { return text::equal(w, word); });
    const QDateTime now = QDateTime::currentDateTimeUtc();
    modifyAppState([&](AppState& s) {
        QList<LastRemovedWord> entries;
        entries.reserve(rows.size());
        for (qint64 i : rows) {
            entries.append(LastRemovedWord{
                i, AppState::Word{word, QUuid::createUuid(), AppState::Word::Kind::known, now}});
        }
        s.lastRemovedWords = std::move(entries);
    });

    modifyAppState([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it != s.languageStateList.end())
            it->splittedWords = list;
    });
    useCases_->commands.deleteSplitWordCommandHandler.handle(
        DeleteSplitWordCommand{state().currentTitle.id, word});
    clampLastSelectedRow();
    return step;
}

void AppModel::learnWord(QString word, qint64 row, QString sentence) {
    const LearningWord learning{QUuid::createUuid(),
                                state().currentTitle.id,
                                word,
                                std::move(sentence),
                                LearningWord::minLevel,
                                QString(),
                                QDateTime::currentDateTimeUtc()};
    record(learnWordStep(word, row, learning));
}

AppModel::Step AppModel::learnWordStep(const QString& word, qint64 row,
                                       const LearningWord& learning) {
    Step step = splitStep(TriageStep::Kind::learning, word, row);
    step.learning = learning;
    // The rows go as a registration takes them; the record of their rows
    // carries the learning word's id and time.
    const AppState::Word standIn{word, learning.id, AppState::Word::Kind::known,
                                 learning.timestamp};
    modifyAppState([&](AppState& s) {
        takeRowsOf(s, word, row, standIn);
        s.learningWords.append(learning);
    });
    LearningWordStore::keep(learning, word);
    clampLastSelectedRow();
    return step;
}

void AppModel::promoteLearningWord(QUuid id) {
    const LearningWord* found = state().learningWord(id);
    if (!found)
        return;
    const LearningWord learning = *found;
    const AppState::Word record{learning.wordText, QUuid::createUuid(), AppState::Word::Kind::known,
                                QDateTime::currentDateTimeUtc()};
    Step step;
    useCases_->inOneTransaction([&] { step = promotionStep(learning, record); });
    // A step of the title's own history when it is the current title.
    if (learning.titleId == state().currentTitle.id)
        this->record(std::move(step));
}

AppModel::Step AppModel::promotionStep(const LearningWord& learning, const AppState::Word& record) {
    finishLoading();
    Step step;
    step.kind = TriageStep::Kind::promotion;
    step.word = learning.wordText;
    step.row = state().lastSelectedRow;
    step.record = record;
    step.learning = learning;
    const qsizetype f = state().indexOfTitle(learning.titleId);
    if (f < 0)
        return step;
    // The registration registerWord makes, in the learning word's title; its
    // rows are out of the split list already.
    useCases_->saveWord(SaveWordCommand{learning.titleId, record.wordText, record.kind, record.id,
                                        record.timestamp});
    modifyAppState([&](AppState& s) {
        QList<AppState::Word>& words = s.listOfTitleAndWordList[f].wordList;
        if (unsortedLists_.contains(learning.titleId))
            words.append(record);
        else
            words.insert(sortedPlace(words, record), record);
    });
    dropLearningWord(learning.id);
    return step;
}

void AppModel::dropLearningWord(QUuid id) {
    const LearningWord* found = state().learningWord(id);
    if (!found)
        return;
    const QUuid titleId = found->titleId;
    modifyAppState([&](AppState& s) {
        s.learningWords.removeIf([&](const LearningWord& w) { return w.id == id; });
    });
    LearningWordStore::forget(id, titleId);
}

void AppModel::keepLearningWord(const LearningWord& word) {
    modifyAppState([&](AppState& s) {
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
    LearningWordStore::keep(word);
}

void AppModel::setLearningLevel(QUuid id, int level) {
    const LearningWord* found = state().learningWord(id);
    level = std::clamp(level, LearningWord::minLevel, LearningWord::maxLevel);
    if (!found || found->level == level)
        return;
    LearningWord changed = *found;
    changed.level = level;
    keepLearningWord(changed);
}

void AppModel::setLearningMeaning(QUuid id, QString meaning) {
    const LearningWord* found = state().learningWord(id);
    if (!found || found->meaning == meaning)
        return;
    LearningWord changed = *found;
    changed.meaning = std::move(meaning);
    keepLearningWord(changed);
}

void AppModel::clampLastSelectedRow() {
    const qint64 n = currentSplitList().size();
    if (state().lastSelectedRow < n)
        return;
    modifyAppState([&](AppState& s) { s.lastSelectedRow = n - 1; });
}

void AppModel::deleteWord(QUuid id) {
    if (auto step = deleteWordStep(id))
        record(std::move(*step));
}

std::optional<AppModel::Step> AppModel::deleteWordStep(const QUuid& id) {
    std::optional<Step> step;
    const qsizetype i = state().indexOfTitle(state().currentTitle.id);
    if (i >= 0) {
        const QList<AppState::Word>& words = state().listOfTitleAndWordList[i].wordList;
        for (qsizetype at = 0; at < words.size(); ++at) {
            if (words[at].id == id) {
                step = Step{TriageStep::Kind::deletion,
                            words[at].wordText,
                            state().lastSelectedRow,
                            words[at],
                            {},
                            at,
                            false,
                            false,
                            {}};
                break;
            }
        }
        modifyAppState([&](AppState& s) {
            s.listOfTitleAndWordList[i].wordList.removeIf(
                [&](const AppState::Word& w) { return w.id == id; });
        });
    }
    DeleteWordCommandHandler().handle(DeleteWordCommand{id});
    return step;
}

void AppModel::record(Step step) {
    History& history = histories_[state().currentTitle.id];
    history.redo.clear();
    history.undo.append(std::move(step));
    if (history.undo.size() > historyLimit)
        history.undo.removeFirst();
}

std::optional<AppModel::TriageStep> AppModel::undoStep() const {
    const auto it = histories_.constFind(state().currentTitle.id);
    if (it == histories_.cend() || it->undo.isEmpty())
        return std::nullopt;
    return TriageStep{it->undo.last().kind, it->undo.last().word};
}

std::optional<AppModel::TriageStep> AppModel::redoStep() const {
    const auto it = histories_.constFind(state().currentTitle.id);
    if (it == histories_.cend() || it->redo.isEmpty())
        return std::nullopt;
    return TriageStep{it->redo.last().kind, it->redo.last().word};
}

void AppModel::undo() {
    if (isSplitting())
        return;
    const QUuid titleId = state().currentTitle.id;
    auto it = histories_.find(titleId);
    if (it == histories_.end() || it->undo.isEmpty())
        return;
    Step step = it->undo.takeLast();
    useCases_->inOneTransaction([&] { takeBack(step); });
    histories_[titleId].redo.append(std::move(step));
}

void AppModel::redo() {
    if (isSplitting())
        return;
    const QUuid titleId = state().currentTitle.id;
    auto it = histories_.find(titleId);
    if (it == histories_.end() || it->redo.isEmpty())
        return;
    const Step step = it->redo.takeLast();
    std::optional<Step> again;
    useCases_->inOneTransaction([&] { again = redoneStep(step); });
    if (again)
        histories_[titleId].undo.append(std::move(*again));
}

std::optional<AppModel::Step> AppModel::redoneStep(const Step& step) {
    std::optional<Step> again;
    switch (step.kind) {
    case TriageStep::Kind::known:
    case TriageStep::Kind::unwanted:
        again = registerWordStep(step.word, step.row, step.record);
        break;
    case TriageStep::Kind::removal:
        again = removeTemporarilyStep(step.word, step.row);
        break;
    case TriageStep::Kind::deletion:
        again = deleteWordStep(step.record.id);
        break;
    case TriageStep::Kind::learning:
        again = learnWordStep(step.word, step.row, step.learning);
        break;
    case TriageStep::Kind::promotion:
        if (state().learningWord(step.learning.id))
            again = promotionStep(step.learning, step.record);
        break;
    }
    return again;
}

void AppModel::takeBack(const Step& step) {
    const QUuid titleId = state().currentTitle.id;
    const qsizetype f = state().indexOfTitle(titleId);
    if (step.kind == TriageStep::Kind::deletion) {
        if (f >= 0) {
            modifyAppState([&](AppState& s) {
                QList<AppState::Word>& words = s.listOfTitleAndWordList[f].wordList;
                words.insert(std::clamp<qsizetype>(step.place, 0, words.size()), step.record);
            });
        }
        // Back with its id and time; its rows stay out of the split list,
        // as they were.
        useCases_->commands.saveWordCommandHandler->handle(
            SaveWordCommand{titleId, step.record.wordText, step.record.kind, step.record.id,
                            step.record.timestamp});
        return;
    }
    if (step.kind == TriageStep::Kind::promotion) {
        // The registration goes and the word is learned again, as it was.
        if (f >= 0) {
            modifyAppState([&](AppState& s) {
                s.listOfTitleAndWordList[f].wordList.removeIf(
                    [&](const AppState::Word& w) { return w.id == step.record.id; });
            });
        }
        UndoTriageCommandHandler().handle(UndoTriageCommand{titleId, step.record.id, QString()});
        keepLearningWord(step.learning);
        modifyAppState([&](AppState& s) { s.lastSelectedRow = step.row; });
        return;
    }
    if (step.kind == TriageStep::Kind::learning) {
        modifyAppState([&](AppState& s) {
            s.learningWords.removeIf(
                [&](const LearningWord& w) { return w.id == step.learning.id; });
            if (step.tookRows) {
                auto it = s.languageStateList.find(s.currentTitle);
                if (it != s.languageStateList.end())
                    it->splittedWords.restoreFolded(step.word);
            }
            s.lastRemovedWords = step.lastRemovedBefore;
            s.lastSelectedRow = step.row;
        });
        LearningWordStore::forget(step.learning.id, titleId,
                                  step.newRemoval ? step.word : QString());
        return;
    }
    const bool registration = step.kind != TriageStep::Kind::removal;
    if (registration && f >= 0) {
        modifyAppState([&](AppState& s) {
            s.listOfTitleAndWordList[f].wordList.removeIf(
                [&](const AppState::Word& w) { return w.id == step.record.id; });
        });
    }
    if (step.tookRows) {
        modifyAppState([&](AppState& s) {
            auto it = s.languageStateList.find(s.currentTitle);
            if (it != s.languageStateList.end())
                it->splittedWords.restoreFolded(step.word);
        });
    }
    modifyAppState([&](AppState& s) {
        s.lastRemovedWords = step.lastRemovedBefore;
        s.lastSelectedRow = step.row;
    });
    UndoTriageCommandHandler().handle(UndoTriageCommand{
        titleId, registration ? step.record.id : QUuid(), step.newRemoval ? step.word : QString()});
}

void AppModel::addTitle(QString name) {
    finishLoading();
    const Title title{QUuid::createUuid(), name};
    modifyAppState([&](AppState& s) {
        s.listOfTitleAndWordList.append(TitleAndWordList{title, {}});
        // The new title has a text pane of its own from the start.
        s.languageStateList.insert(title, LanguageState{});
    });
    useCases_->commands.addTitleCommandHandler.handle(AddTitleCommand{title});
    if (!newTitleLanguage_.isEmpty())
        setTitleLanguage(title.id, newTitleLanguage_);
}

void AppModel::addTitleWithText(QString name, QString text) {
    finishLoading();
    const Title title{QUuid::createUuid(), name};
    modifyAppState([&](AppState& s) {
        s.listOfTitleAndWordList.append(TitleAndWordList{title, {}});
        s.languageStateList.insert(title, LanguageState{text, {}, 0});
    });
    useCases_->commands.addTitleCommandHandler.handle(AddTitleCommand{title});
    if (!newTitleLanguage_.isEmpty())
        setTitleLanguage(title.id, newTitleLanguage_);
    SaveTextCommandHandler().handle(SaveTextCommand{text, title.id});
    setCurrentTitle(title);
}

void AppModel::changeTitle(Title title, QString newName) {
    finishLoading();
    const qsizetype i = state().indexOfTitle(title.id);
    if (i < 0)
        return;
    const Title renamed{title.id, newName};
    clearHistory(title.id);
    modifyAppState([&](AppState& s) {
        s.listOfTitleAndWordList[i].title = renamed;
        followTitle(s, renamed);
    });
    useCases_->commands.changeTitleCommandHandler.handle(ChangeTitleCommand{title.id, newName});
}

void AppModel::deleteTitle(QUuid id) {
    finishLoading();
    clearHistory(id);
    const qsizetype position = state().indexOfTitle(id);
    modifyAppState([&](AppState& s) {
        if (position >= 0)
            s.listOfTitleAndWordList.removeAt(position);
    });
    modifyAppState([&](AppState& s) {
        auto it = findById(s.languageStateList, id);
        if (it != s.languageStateList.end())
            s.languageStateList.erase(it);
        s.titleLanguages.remove(id);
        // Its learning words go with it, as the store drops them.
        s.learningWords.removeIf([&](const LearningWord& w) { return w.titleId == id; });
    });
    if (state().currentTitle.id == id) {
        // Nothing may be typed into a title that is gone: the title now at the
        // same place becomes current, else the new last one, else a placeholder.
        modifyAppState([&](AppState& s) {
            const auto& list = s.listOfTitleAndWordList;
            if (list.isEmpty())
                s.currentTitle = Title{QUuid::createUuid(), QString()};
            else
                s.currentTitle = list[std::clamp<qsizetype>(position, 0, list.size() - 1)].title;
        });
    }
    DeleteTitleByIdCommandHandler().handle(DeleteTitleByIdCommandHandler::Command{id});
}

void AppModel::duplicateTitle(qint64 index) {
    finishLoading();
    const AppState& s0 = state();
    if (index < 0 || index >= s0.listOfTitleAndWordList.size())
        return;
    const TitleAndWordList& source = s0.listOfTitleAndWordList[index];
    const QUuid sourceId = source.title.id; // source goes with the first write
    const Title copy{QUuid::createUuid(), source.title.title};
    // Copied words get ids of their own, so deleting one never reaches the other.
    QList<AppState::Word> words = source.wordList;
    TimeOrderedIds ids;
    for (auto& w : words)
        w.id = ids.next();
    modifyAppState([&](AppState& s) {
        s.listOfTitleAndWordList.insert(index + 1, TitleAndWordList{copy, words});
        s.languageStateList.insert(copy, LanguageState{});
    });
    if (unsortedLists_.contains(sourceId))
        unsortedLists_.insert(copy.id);
    // The title, its language and the record of its words' batch in one
    // transaction: a kill leaves no copy that nothing would ever fill.
    useCases_->inOneTransaction([&] {
        useCases_->commands.addTitleCommandHandler.handle(AddTitleCommand{copy});
        // The copy is a text of the same language.
        const QString language = state().languageOf(sourceId);
        if (!language.isEmpty())
            setTitleLanguage(copy.id, language);
        useCases_->commands.saveWordsCommandHandler.handle(
            SaveWordsCommand{copy.id, std::move(words), FinishedWordBatch::Kind::copy, copy.title});
    });
    refreshBackgroundSaves();
}

void AppModel::moveTitle(qint64 from, qint64 to) {
    finishLoading();
    const qsizetype count = state().listOfTitleAndWordList.size();
    if (from < 0 || from >= count || to < 0 || to > count)
        return;
    const TitleAndWordList item = state().listOfTitleAndWordList.at(from);
    modifyAppState([&](AppState& s) { s.listOfTitleAndWordList.removeAt(from); });
    modifyAppState(
        [&](AppState& s) { s.listOfTitleAndWordList.insert(from < to ? to - 1 : to, item); });
    useCases_->commands.changeTitleOrderCommandHandler.handle(state().titles());
}

QList<QStringList> AppModel::exportCSV() {
    finishLoading();
    const AppState& s = state();
    QList<QStringList> rows;
    rows.append({QStringLiteral("title"), QStringLiteral("titleId"), QStringLiteral("word"),
                 QStringLiteral("kind"), QStringLiteral("timestamp")});
    for (const auto& entry : s.listOfTitleAndWordList) {
        const QString id = uuidText(entry.title.id);
        for (const auto& w : entry.wordList) {
            rows.append({entry.title.title, id, w.wordText, kindText(w.kind),
                         csv::formatTimestamp(w.timestamp)});
        }
    }
    return rows;
}

namespace {

// How a restore merges a file's titles into those held: a title already
// held takes the file's name and gains the words it does not hold yet; the
// others are added after the held ones, whole.
struct RestorePlan {
    QList<TitleAndWordList> merged;
    QList<QList<AppState::Word>> added; // per incoming title, what is new to it
    AppModel::RestorePreview preview;
};

RestorePlan planRestore(const QList<TitleAndWordList>& held,
                        const QList<TitleAndWordList>& incoming) {
    RestorePlan plan;
    plan.merged = held;
    plan.added.reserve(incoming.size());
    for (const auto& entry : incoming) {
        const auto found = std::find_if(plan.merged.begin(), plan.merged.end(), [&](const auto& e) {
            return e.title.id == entry.title.id;
        });
        if (found == plan.merged.end()) {
            plan.merged.append(entry);
            plan.added.append(entry.wordList);
            plan.preview.newTitles.append(entry.title.title);
            plan.preview.newWords += entry.wordList.size();
            continue;
        }
        found->title = entry.title;
        QSet<SameWordKey> known;
        for (const auto& w : std::as_const(found->wordList))
            known.insert(sameWordKey(w));
        QList<AppState::Word> fresh;
        for (const auto& w : entry.wordList) {
            if (known.contains(sameWordKey(w)))
                continue;
            found->wordList.append(w);
            fresh.append(w);
        }
        if (!plan.preview.mergedTitles.contains(entry.title.title))
            plan.preview.mergedTitles.append(entry.title.title);
        plan.preview.newWords += fresh.size();
        plan.preview.heldWords += entry.wordList.size() - fresh.size();
        plan.added.append(fresh);
    }
    return plan;
}

} // namespace

AppModel::RestorePreview AppModel::previewRestore(const QList<TitleAndWordList>& incoming) {
    finishLoading();
    return planRestore(state().listOfTitleAndWordList, incoming).preview;
}

void AppModel::restore(QList<TitleAndWordList> incoming, QString source) {
    finishLoading();
    // The list shown after a restore is the one the next start will show: the
    // titles held so far, in their order, then the new ones from the file.
    // The store does the same (it neither doubles titles nor words). Only the
    // words new to memory go to the store: the store holds what memory holds,
    // and a word deleted while the batch waits stays deleted.
    RestorePlan plan = planRestore(state().listOfTitleAndWordList, incoming);
    for (const auto& entry : std::as_const(incoming)) {
        unsortedLists_.insert(entry.title.id);
        // A deletion taken back could double a word the file brings again.
        clearHistory(entry.title.id);
    }

    modifyAppState([&](AppState& s) {
        s.listOfTitleAndWordList = plan.merged;
        for (const auto& entry : incoming)
            followTitle(s, entry.title);
    });
    for (qsizetype i = 0; i < incoming.size(); ++i) {
        useCases_->inOneTransaction([&] {
            useCases_->commands.addTitleCommandHandler.handle(AddTitleCommand{incoming[i].title});
            useCases_->commands.saveWordsCommandHandler.handle(
                SaveWordsCommand{incoming[i].title.id, std::move(plan.added[i]),
                                 FinishedWordBatch::Kind::restore, source});
        });
    }
    refreshBackgroundSaves();
}

void AppModel::refreshBackgroundSaves() {
    const SaveWordsCommandHandler::Pending pending = SaveWordsCommandHandler::pending();
    QList<SaveWordsFailure> failures = SaveWordsCommandHandler::takeFailures();
    const BackgroundSaves& now = saves_.value();
    if (failures.isEmpty() && pending.words == now.wordsLeft && pending.batches == now.batchesLeft)
        return;
    saves_.modify([&](BackgroundSaves& saves) {
        saves.wordsLeft = pending.words;
        saves.batchesLeft = pending.batches;
        saves.failures.append(failures);
    });
}

QString AppModel::closeStore() {
    finishLoading();
    if (checking_.valid())
        checking_.wait();
    if (splitting_.valid())
        splitting_.wait(); // its list is stored on its thread
    SaveWordsCommandHandler::waitForPendingSaves();
    return StoreConnection::checkpointAndClose(CoreDateSetting::defaultStorePath());
}

BackupOutcome AppModel::backUpStore() const {
    const QString store = CoreDateSetting::defaultStorePath();
    return StoreBackup::backUp(store, StoreBackup::folderFor(store));
}

QList<BackupInfo> AppModel::backups() const {
    return StoreBackup::list(StoreBackup::folderFor(CoreDateSetting::defaultStorePath()));
}

QString AppModel::checkBackup(const QString& path, BackupInfo* info) const {
    return StoreBackup::check(path, info);
}

QString AppModel::restoreBackup(const QString& path) {
    // Nothing of ours may write the store while its pages are replaced.
    finishLoading();
    if (splitting_.valid())
        splitting_.wait();
    SaveWordsCommandHandler::waitForPendingSaves();
    const QString error = StoreBackup::restoreInto(path, CoreDateSetting::defaultStorePath());
    if (!error.isEmpty())
        return error;
    unsortedLists_.clear();
    // No step taken on the replaced store can be taken back on this one.
    histories_.clear();
    load();
    return QString();
}

void AppModel::setCurrentTitle(Title title) {
    finishLoading();
    modifyAppState([&](AppState& s) { s.currentTitle = title; });
}

void AppModel::setLastSelectedRow(qint64 row) {
    modifyAppState([&](AppState& s) { s.lastSelectedRow = row; });
}

void AppModel::setTitleLanguage(QUuid titleId, QString language) {
    finishLoading();
    if (state().indexOfTitle(titleId) < 0 || state().languageOf(titleId) == language)
        return;
    modifyAppState([&](AppState& s) {
        if (language.isEmpty())
            s.titleLanguages.remove(titleId);
        else
            s.titleLanguages.insert(titleId, language);
    });
    SaveTitleLanguageCommandHandler().handle(SaveTitleLanguageCommand{titleId, language});
}

void AppModel::setKnownWordsSortType(SortType sortType) {
    if (state().knownWordsSortType == sortType)
        return;
    modifyAppState([&](AppState& s) { s.knownWordsSortType = sortType; });
}

void AppModel::deleteWordOfAnyTitle(QUuid id) {
    finishLoading();
    for (qsizetype i = 0; i < state().listOfTitleAndWordList.size(); ++i) {
        const QList<AppState::Word>& words = state().listOfTitleAndWordList[i].wordList;
        const bool holds = std::any_of(words.cbegin(), words.cend(),
                                       [&](const AppState::Word& w) { return w.id == id; });
        if (!holds)
            continue;
        modifyAppState([&](AppState& s) {
            s.listOfTitleAndWordList[i].wordList.removeIf(
                [&](const AppState::Word& w) { return w.id == id; });
        });
        break;
    }
    DeleteWordCommandHandler().handle(DeleteWordCommand{id});
}
