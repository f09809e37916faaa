#include "core/TitleList.h"

#include "core/StartUpLoad.h"
#include "core/StateEdits.h"
#include "core/TriageHistory.h"
#include "core/UseCases.h"
#include "core/WordBatchProgress.h"
#include "domain/TimeOrderedIds.h"

TitleList::TitleList(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
                     TriageHistory& history, WordBatchProgress& saves, QSet<QUuid>& unsortedLists)
    : ModelRoom(state, useCases)
    , load_(load)
    , history_(history)
    , saves_(saves)
    , unsortedLists_(unsortedLists) {}

void TitleList::addTitle(QString name) {
    load_.finishLoading();
    const Title title{QUuid::createUuid(), name};
    modify([&](AppState& s) {
        s.listOfTitleAndWordList.append(TitleAndWordList{title, {}});
        // The new title has a text pane of its own from the start.
        s.languageStateList.insert(title, LanguageState{});
    });
    useCases().commands.addTitleCommandHandler.handle(AddTitleCommand{title});
    if (!newTitleLanguage_.isEmpty())
        setTitleLanguage(title.id, newTitleLanguage_);
}

void TitleList::addTitleWithText(QString name, QString text, QString language) {
    load_.finishLoading();
    const Title title{QUuid::createUuid(), name};
    modify([&](AppState& s) {
        s.listOfTitleAndWordList.append(TitleAndWordList{title, {}});
        s.languageStateList.insert(title, LanguageState{text, {}, 0});
    });
    useCases().commands.addTitleCommandHandler.handle(AddTitleCommand{title});
    if (language.isEmpty())
        language = newTitleLanguage_;
    if (!language.isEmpty())
        setTitleLanguage(title.id, language);
    useCases().commands.saveTextCommandHandler.handle(SaveTextCommand{text, title.id});
    setCurrentTitle(title);
}

void TitleList::changeTitle(Title title, QString newName) {
    load_.finishLoading();
    const qsizetype i = state().indexOfTitle(title.id);
    if (i < 0)
        return;
    const Title renamed{title.id, newName};
    history_.clear(title.id);
    modify([&](AppState& s) {
        s.listOfTitleAndWordList[i].title = renamed;
        followTitle(s, renamed);
    });
    useCases().commands.changeTitleCommandHandler.handle(ChangeTitleCommand{title.id, newName});
}

void TitleList::deleteTitle(QUuid id) {
    load_.finishLoading();
    history_.clear(id);
    const qsizetype position = state().indexOfTitle(id);
    modify([&](AppState& s) {
        if (position >= 0)
            s.listOfTitleAndWordList.removeAt(position);
    });
    modify([&](AppState& s) {
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
        modify([&](AppState& s) {
            const auto& list = s.listOfTitleAndWordList;
            if (list.isEmpty())
                s.currentTitle = Title{QUuid::createUuid(), QString()};
            else
                s.currentTitle = list[std::clamp<qsizetype>(position, 0, list.size() - 1)].title;
        });
    }
    useCases().commands.deleteTitleByIdCommandHandler.handle(
        DeleteTitleByIdCommandHandler::Command{id});
}

void TitleList::duplicateTitle(qint64 index) {
    load_.finishLoading();
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
    modify([&](AppState& s) {
        s.listOfTitleAndWordList.insert(index + 1, TitleAndWordList{copy, words});
        s.languageStateList.insert(copy, LanguageState{});
    });
    if (unsortedLists_.contains(sourceId))
        unsortedLists_.insert(copy.id);
    // The title, its language and the record of its words' batch in one
    // transaction: a kill leaves no copy that nothing would ever fill.
    useCases().inOneTransaction([&] {
        useCases().commands.addTitleCommandHandler.handle(AddTitleCommand{copy});
        // The copy is a text of the same language.
        const QString language = state().languageOf(sourceId);
        if (!language.isEmpty())
            setTitleLanguage(copy.id, language);
        useCases().commands.saveWordsCommandHandler.handle(
            SaveWordsCommand{copy.id, std::move(words), FinishedWordBatch::Kind::copy, copy.title});
    });
    saves_.refresh();
}

void TitleList::moveTitle(qint64 from, qint64 to) {
    load_.finishLoading();
    const qsizetype count = state().listOfTitleAndWordList.size();
    if (from < 0 || from >= count || to < 0 || to > count)
        return;
    const TitleAndWordList item = state().listOfTitleAndWordList.at(from);
    modify([&](AppState& s) { s.listOfTitleAndWordList.removeAt(from); });
    modify([&](AppState& s) { s.listOfTitleAndWordList.insert(from < to ? to - 1 : to, item); });
    useCases().commands.changeTitleOrderCommandHandler.handle(state().titles());
}

void TitleList::setCurrentTitle(Title title) {
    load_.finishLoading();
    modify([&](AppState& s) { s.currentTitle = title; });
}

void TitleList::setTitleLanguage(QUuid titleId, QString language) {
    load_.finishLoading();
    if (state().indexOfTitle(titleId) < 0 || state().languageOf(titleId) == language)
        return;
    modify([&](AppState& s) {
        if (language.isEmpty())
            s.titleLanguages.remove(titleId);
        else
            s.titleLanguages.insert(titleId, language);
    });
    useCases().commands.saveTitleLanguageCommandHandler.handle(
        SaveTitleLanguageCommand{titleId, language});
}
