#include "core/StartUpLoad.h"

#include "base/FatalError.h"
#include "core/UseCases.h"
#include "core/WordBatchProgress.h"
#include "persistence/LoadLanguageStateQueryHandler.h"

#include <QCoreApplication>
#include <QSet>

#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

StartUpLoad::StartUpLoad(Observable<AppState>& state, const UseCases& useCases,
                         WordBatchProgress& saves)
    : ModelRoom(state, useCases)
    , saves_(saves)
    , self_(std::make_shared<StartUpLoad*>(this)) {}

void StartUpLoad::load(QUuid keep) {
    loaded_ = true;
    saves_.finishCutBatches();
    const Queries& queries = useCases().queries;
    QList<TitleAndWordList> list = queries.fetchTitleAndKnownWordsQueryHandler->handle();
    QHash<Title, LanguageState> languageStates = queries.loadLanguageStateQueryHandler.handle();
    QHash<QUuid, QString> titleLanguages = queries.fetchTitleLanguagesQueryHandler.handle();
    QList<LearningWord> learningWords = queries.fetchLearningWordsQueryHandler.handle();
    modify([&](AppState& s) {
        s.languageStateList = std::move(languageStates);
        s.titleLanguages = std::move(titleLanguages);
        s.learningWords = std::move(learningWords);
    });
    if (list.isEmpty()) {
        modify([](AppState& s) { s.listOfTitleAndWordList.clear(); });
        return;
    }
    for (auto& entry : list)
        sortWordList(entry.wordList);
    Title current = list.first().title;
    for (const TitleAndWordList& entry : std::as_const(list)) {
        if (!keep.isNull() && entry.title.id == keep)
            current = entry.title;
    }
    modify([&](AppState& s) { s.listOfTitleAndWordList = std::move(list); });
    modify([&](AppState& s) { s.currentTitle = current; });
}

void StartUpLoad::loadForStartUp(bool later) {
    loaded_ = true;
    QObject* const loop = QCoreApplication::instance();
    const UseCases& cases = useCases();
    const StoreFileHandler storeFile = cases.storeFileHandler;
    const QString storePath = storeFile.path();
    storeFile.checkLater(storePath);
    // Only the titles, and the first one's words and text pane, before the
    // window is drawn.
    QList<TitleAndWordList> list =
        cases.queries.fetchTitlesAndSomeWordsQueryHandler.handle(QSet<QUuid>());
    // Batches a kill cut short are finished before anything is read.
    saves_.finishCutBatches();

    // The check of the store's structure runs beside the first frame,
    // once the read above has opened and prepared the store; a
    // damaged store still ends the program at start, with its dialog.
    check_ = [storeFile, storePath, loop] {
        const QString damage = storeFile.checkNow(storePath);
        if (damage.isEmpty() || !loop)
            return;
        QMetaObject::invokeMethod(
            loop, [damage] { fatalError(QStringLiteral("Pramel/CoreDateSetting"), damage); },
            Qt::QueuedConnection);
    };

    if (list.isEmpty()) {
        continueLoading();
        load();
        return;
    }
    Title first = list.first().title;
    for (const TitleAndWordList& entry : std::as_const(list)) {
        if (!startTitle_.isNull() && entry.title.id == startTitle_)
            first = entry.title;
    }
    list = cases.queries.fetchTitlesAndSomeWordsQueryHandler.handle(QSet<QUuid>{first.id});
    QHash<Title, LanguageState> languageStates = startStateOf(first);
    // Every title's language at once: the list shows them from the first frame.
    QHash<QUuid, QString> titleLanguages = cases.queries.fetchTitleLanguagesQueryHandler.handle();
    // The learning words too: a few thousand at most, and the split needs them.
    QList<LearningWord> learningWords = cases.queries.fetchLearningWordsQueryHandler.handle();
    modify([&](AppState& s) {
        s.languageStateList = std::move(languageStates);
        s.titleLanguages = std::move(titleLanguages);
        s.learningWords = std::move(learningWords);
    });
    for (TitleAndWordList& entry : list) {
        if (entry.title.id == first.id)
            sortWordList(entry.wordList);
    }
    modify([&](AppState& s) { s.listOfTitleAndWordList = std::move(list); });
    modify([&](AppState& s) { s.currentTitle = first; });
    if (first.id == startTitle_ && startRow_ > 0) {
        modify([&](AppState& s) {
            const qint64 rows = s.languageStateList.value(first).splittedWords.size();
            s.lastSelectedRow = qBound<qint64>(0, startRow_, qMax<qint64>(0, rows - 1));
        });
    }

    QSet<QUuid> others;
    for (const Title& title : state().titles()) {
        if (title.id != first.id)
            others.insert(title.id);
    }
    std::weak_ptr<StartUpLoad*> weak = self_;
    // The handlers are copied: the thread may outlive nothing of the model's.
    const FetchTitleAndKnownWordsQueryHandlerProduction fetch =
        cases.queries.fetchTitlesAndSomeWordsQueryHandler;
    const LoadLanguageStateQueryHandler loadStates = cases.queries.loadLanguageStateQueryHandler;
    readRest_ = [first, others, loop, weak, fetch, loadStates] {
        RestOfLoad rest;
        rest.loaded = first.id;
        rest.list = fetch.handle(others);
        for (auto& entry : rest.list)
            sortWordList(entry.wordList);
        rest.languageStates = loadStates.handle(others);
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
    };
    if (!later)
        continueLoading();
}

void StartUpLoad::continueLoading() {
    if (check_)
        checking_ = std::async(std::launch::async, std::exchange(check_, {}));
    if (readRest_)
        loading_ = std::async(std::launch::async, std::exchange(readRest_, {}));
}

std::function<QString()> StartUpLoad::readStartTextAhead() {
    if (!startText_.valid() && !loaded_) {
        const QString path = useCases().storeFileHandler.path();
        startText_ = std::async(std::launch::async, [path, title = startTitle_] {
                         return LoadLanguageStateQueryHandler::startText(path, title);
                     }).share();
        // On a thread of its own: the text is laid out as soon as it is in.
        startSplitList_ = std::async(std::launch::async, [path, title = startTitle_] {
            return LoadLanguageStateQueryHandler::startSplitList(path, title);
        });
    }
    if (!startText_.valid())
        return [] { return QString(); };
    return [ahead = startText_] { return ahead.get().text; };
}

QHash<Title, LanguageState> StartUpLoad::startStateOf(const Title& first) {
    const LoadLanguageStateQueryHandler& load = useCases().queries.loadLanguageStateQueryHandler;
    if (!startText_.valid())
        return load.handle(QSet<QUuid>{first.id});
    const LoadLanguageStateQueryHandler::StartText ahead = std::exchange(startText_, {}).get();
    LoadLanguageStateQueryHandler::StartSplitList list;
    if (startSplitList_.valid())
        list = startSplitList_.get();
    if (ahead.title != first.id)
        return load.handle(QSet<QUuid>{first.id});
    if (list.title != first.id) {
        QHash<Title, LanguageState> states = load.handleWithoutTexts(QSet<QUuid>{first.id});
        for (LanguageState& state : states)
            state.boxText = ahead.text;
        return states;
    }
    LanguageState state;
    state.boxText = ahead.text;
    state.splittedWords = std::move(list.splitWords);
    return {{first, state}};
}

void StartUpLoad::finishLoading() {
    continueLoading();
    if (!loading_.valid())
        return;
    RestOfLoad rest = loading_.get();
    // Every title still held takes its words and text pane; nothing else has
    // touched them meanwhile (whatever would have waited for this).
    modify([&](AppState& s) {
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

void StartUpLoad::waitForCheck() {
    continueLoading();
    if (checking_.valid())
        checking_.wait();
}
