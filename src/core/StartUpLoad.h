#pragma once

#include "core/ModelRoom.h"
#include "persistence/LoadLanguageStateQueryHandler.h"

#include <QHash>
#include <QList>

#include <functional>
#include <future>
#include <memory>

class WordBatchProgress;

// Reading the store into the state: the whole of it (load), or at start the
// first title at once and the rest on a thread of its own (loadForStartUp),
// with the check of the store's structure beside the first frame.
class StartUpLoad : public ModelRoom {
public:
    StartUpLoad(Observable<AppState>& state, const UseCases& useCases, WordBatchProgress& saves);
    StartUpLoad(const StartUpLoad&) = delete;
    StartUpLoad& operator=(const StartUpLoad&) = delete;

    // The title with the id keep is current afterwards when the store holds
    // it, else the first title.
    void load(QUuid keep = QUuid());
    // later: the rest of the load and the check of the store wait for
    // continueLoading (the window calls it once its first text is drawn, so
    // that they do not take the cores the first frame needs); anything that
    // needs them meanwhile starts them itself.
    void loadForStartUp(bool later = false);
    void continueLoading();
    // The title, and its row, the next loadForStartUp opens when it is still
    // held; else it opens the first title at row 0.
    void startAt(const QUuid& titleId, qint64 row) {
        startTitle_ = titleId;
        startRow_ = row;
    }
    // Begins reading, on threads, the text the next loadForStartUp shows
    // first and its split list; loadForStartUp takes them from there instead
    // of reading them again. Returns what waits for that text (empty when
    // there is none), on any thread: a window lays it out meanwhile.
    std::function<QString()> readStartTextAhead();
    bool isLoading() const { return loading_.valid() || bool(readRest_); }
    // Whether a load has begun: before it the state is empty, not the store's.
    bool hasLoaded() const { return loaded_; }
    // Waits for the rest of the load, if one runs, and publishes it.
    void finishLoading();
    // Waits for the check of the store's structure, if one runs.
    void waitForCheck();

private:
    // The first title's state, its text and split list from the reads ahead
    // when they are that title's.
    QHash<Title, LanguageState> startStateOf(const Title& first);

    WordBatchProgress& saves_;
    bool loaded_ = false;
    QUuid startTitle_;
    qint64 startRow_ = 0;
    // The start's check of the store's structure, beside the first frame.
    std::future<void> checking_;
    std::shared_future<LoadLanguageStateQueryHandler::StartText> startText_;
    // The split list of that title, read ahead beside its text.
    std::future<LoadLanguageStateQueryHandler::StartSplitList> startSplitList_;
    // The rest of a start's load: the other titles' words and text panes.
    struct RestOfLoad {
        QUuid loaded; // the title the start read at once
        QList<TitleAndWordList> list;
        QHash<Title, LanguageState> languageStates;
    };
    std::future<RestOfLoad> loading_;
    // What loadForStartUp left for continueLoading: reading the rest, and
    // checking the store.
    std::function<RestOfLoad()> readRest_;
    std::function<void()> check_;
    // Lets the loading thread's notice reach this object while it lives.
    std::shared_ptr<StartUpLoad*> self_;
};
