#include "core/AppModel.h"

#include "core/UseCases.h"
#include "csv/CsvTimestamp.h"
#include "domain/TextCompare.h"
#include "domain/TimeOrderedIds.h"
#include "persistence/CoreDateSetting.h"
#include "persistence/DeleteTitleByIdCommandHandler.h"
#include "persistence/DeleteWordCommandHandler.h"
#include "persistence/LoadLanguageStateQueryHandler.h"
#include "persistence/SaveSplitWordCommandHandler.h"
#include "persistence/SaveTextCommandHandler.h"
#include "text/SplitTextUseCase.h"

#include <QCoreApplication>
#include <QSet>

#include <atomic>

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

// Removes every string whose folded form equals the folded word; the rest
// keep their order.
QStringList withoutFolded(const QStringList& list, const QString& word) {
    const bool wordAscii = text::isAscii(word);
    const QString foldedWord = text::folded(word);
    QStringList out;
    out.reserve(list.size());
    for (const QString& s : list) {
        const bool match = (wordAscii && text::isAscii(s)) ? text::foldedEqual(s, word)
                                                           : text::folded(s) == foldedWord;
        if (!match)
            out.append(s);
    }
    return out;
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

QStringList AppModel::currentSplitList() const {
    const AppState& s = state();
    auto it = s.languageStateList.constFind(s.currentTitle);
    return it == s.languageStateList.constEnd() ? QStringList() : it->splittedWords;
}

void AppModel::load() {
    QList<TitleAndWordList> list = useCases_->queries.fetchTitleAndKnownWordsQueryHandler->handle();
    QHash<Title, LanguageState> languageStates = LoadLanguageStateQueryHandler().handle();
    modifyAppState([&](AppState& s) { s.languageStateList = std::move(languageStates); });
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

void AppModel::saveText(QString text) {
    modifyAppState([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it != s.languageStateList.end())
            it->boxText = text;
        else
            s.languageStateList.insert(s.currentTitle, LanguageState{text, {}, 0});
    });
    SaveTextCommandHandler().handle(SaveTextCommand{text, state().currentTitle.id});
}

void AppModel::splitWords() {
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

    const QStringList words = SplitTextUseCase::split(boxText);

    QSet<QString> knownFolded;
    for (const auto& w : s.knownWords())
        knownFolded.insert(text::folded(w.wordText));
    QSet<QString> unwanted;
    for (const auto& w : s.unwantedWords())
        unwanted.insert(text::nfc(w.wordText));

    QStringList filtered;
    filtered.reserve(words.size());
    for (const QString& w : words) {
        if (!knownFolded.isEmpty() && knownFolded.contains(text::folded(w)))
            continue;
        if (!unwanted.isEmpty() && unwanted.contains(text::nfc(w)))
            continue;
        if (text::isDigitsOnly(w))
            continue;
        filtered.append(w);
    }

    modifyAppState([&](AppState& st) {
        st.languageStateList.insert(st.currentTitle, LanguageState{boxText, filtered, 0});
    });
    SaveSplitWordCommandHandler().handle(SaveSplitWordCommand{filtered, state().currentTitle.id});
}

void AppModel::registerWord(QString word, AppState::Word::Kind kind, qint64 row) {
    const QStringList before = currentSplitList();
    qint64 t = 0;
    for (qint64 j = 0; j < row && j < before.size(); ++j) {
        if (text::equal(before[j], word))
            ++t;
    }
    modifyAppState([&](AppState& s) { s.lastSelectedRow = row - t; });

    const AppState::Word newWord{word, QUuid::createUuid(), kind, QDateTime::currentDateTimeUtc()};
    useCases_->saveWord(
        SaveWordCommand{state().currentTitle.id, word, kind, newWord.id, newWord.timestamp});

    const QStringList list = currentSplitList();
    QList<qint64> removed;
    for (qint64 i = 0; i < list.size(); ++i) {
        if (text::equal(list[i], word))
            removed.append(i);
    }

    modifyAppState([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it != s.languageStateList.end())
            it->splittedWords = withoutFolded(it->splittedWords, word);
    });

    const qsizetype f = state().indexOfTitle(state().currentTitle.id);
    if (f >= 0) {
        modifyAppState([&](AppState& s) { s.listOfTitleAndWordList[f].wordList.append(newWord); });
        modifyAppState([](AppState& s) {
            for (auto& entry : s.listOfTitleAndWordList)
                sortWordList(entry.wordList);
        });
    }

    // One write for the whole record of removed positions: nothing reads the
    // intermediate lists, and a word standing thousands of times would
    // otherwise publish thousands of times.
    modifyAppState([&](AppState& s) {
        QList<LastRemovedWord> entries;
        entries.reserve(removed.size());
        for (qint64 i : removed)
            entries.append(LastRemovedWord{i, newWord});
        s.lastRemovedWords = std::move(entries);
    });
    clampLastSelectedRow();
}

void AppModel::removeTemporarily(QString word, qint64 row) {
    modifyAppState([&](AppState& s) { s.lastSelectedRow = row; });

    const QStringList list = currentSplitList();
    QList<LastRemovedWord> entries;
    for (qint64 i = 0; i < list.size(); ++i) {
        if (text::equal(list[i], word))
            entries.append(LastRemovedWord{i, AppState::Word{word, QUuid::createUuid(),
                                                             AppState::Word::Kind::known,
                                                             QDateTime::currentDateTimeUtc()}});
    }
    modifyAppState([&](AppState& s) { s.lastRemovedWords = std::move(entries); });

    modifyAppState([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it != s.languageStateList.end())
            it->splittedWords = withoutFolded(it->splittedWords, word);
    });
    useCases_->commands.deleteSplitWordCommandHandler.handle(
        DeleteSplitWordCommand{state().currentTitle.id, word});
    clampLastSelectedRow();
}

void AppModel::clampLastSelectedRow() {
    const qint64 n = currentSplitList().size();
    if (state().lastSelectedRow < n)
        return;
    modifyAppState([&](AppState& s) { s.lastSelectedRow = n - 1; });
}

void AppModel::deleteWord(QUuid id) {
    const qsizetype i = state().indexOfTitle(state().currentTitle.id);
    if (i >= 0) {
        modifyAppState([&](AppState& s) {
            s.listOfTitleAndWordList[i].wordList.removeIf(
                [&](const AppState::Word& w) { return w.id == id; });
        });
    }
    DeleteWordCommandHandler().handle(DeleteWordCommand{id});
}

void AppModel::addTitle(QString name) {
    const Title title{QUuid::createUuid(), name};
    modifyAppState([&](AppState& s) {
        s.listOfTitleAndWordList.append(TitleAndWordList{title, {}});
        // The new title has a text pane of its own from the start.
        s.languageStateList.insert(title, LanguageState{});
    });
    useCases_->commands.addTitleCommandHandler.handle(AddTitleCommand{title});
}

void AppModel::addTitleWithText(QString name, QString text) {
    const Title title{QUuid::createUuid(), name};
    modifyAppState([&](AppState& s) {
        s.listOfTitleAndWordList.append(TitleAndWordList{title, {}});
        s.languageStateList.insert(title, LanguageState{text, {}, 0});
    });
    useCases_->commands.addTitleCommandHandler.handle(AddTitleCommand{title});
    SaveTextCommandHandler().handle(SaveTextCommand{text, title.id});
    setCurrentTitle(title);
}

void AppModel::changeTitle(Title title, QString newName) {
    const qsizetype i = state().indexOfTitle(title.id);
    if (i < 0)
        return;
    const Title renamed{title.id, newName};
    modifyAppState([&](AppState& s) {
        s.listOfTitleAndWordList[i].title = renamed;
        followTitle(s, renamed);
    });
    useCases_->commands.changeTitleCommandHandler.handle(ChangeTitleCommand{title.id, newName});
}

void AppModel::deleteTitle(QUuid id) {
    const qsizetype position = state().indexOfTitle(id);
    modifyAppState([&](AppState& s) {
        if (position >= 0)
            s.listOfTitleAndWordList.removeAt(position);
    });
    modifyAppState([&](AppState& s) {
        auto it = findById(s.languageStateList, id);
        if (it != s.languageStateList.end())
            s.languageStateList.erase(it);
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
    const AppState& s0 = state();
    if (index < 0 || index >= s0.listOfTitleAndWordList.size())
        return;
    const TitleAndWordList& source = s0.listOfTitleAndWordList[index];
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
    useCases_->commands.addTitleCommandHandler.handle(AddTitleCommand{copy});
    useCases_->commands.saveWordsCommandHandler.handle(SaveWordsCommand{copy.id, words});
    refreshBackgroundSaves();
}

void AppModel::moveTitle(qint64 from, qint64 to) {
    const qsizetype count = state().listOfTitleAndWordList.size();
    if (from < 0 || from >= count || to < 0 || to > count)
        return;
    const TitleAndWordList item = state().listOfTitleAndWordList.at(from);
    modifyAppState([&](AppState& s) { s.listOfTitleAndWordList.removeAt(from); });
    modifyAppState(
        [&](AppState& s) { s.listOfTitleAndWordList.insert(from < to ? to - 1 : to, item); });
    useCases_->commands.changeTitleOrderCommandHandler.handle(state().titles());
}

QList<QStringList> AppModel::exportCSV() const {
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

void AppModel::restore(QList<TitleAndWordList> incoming) {
    // The list shown after a restore is the one the next start will show: the
    // titles held so far, in their order, then the new ones from the file. A
    // title already held takes the file's name and gains the words it does not
    // hold yet; the store does the same (it neither doubles titles nor words).
    // Only the words new to memory go to the store: the store holds what
    // memory holds, and a word deleted while the batch waits stays deleted.
    QList<TitleAndWordList> merged = state().listOfTitleAndWordList;
    QList<QList<AppState::Word>> added;
    added.reserve(incoming.size());
    for (const auto& entry : incoming) {
        const auto found = std::find_if(merged.begin(), merged.end(), [&](const auto& e) {
            return e.title.id == entry.title.id;
        });
        if (found == merged.end()) {
            merged.append(entry);
            added.append(entry.wordList);
            continue;
        }
        found->title = entry.title;
        QSet<QString> held;
        for (const auto& w : std::as_const(found->wordList))
            held.insert(sameWordKey(w));
        QList<AppState::Word> fresh;
        for (const auto& w : entry.wordList) {
            if (held.contains(sameWordKey(w)))
                continue;
            found->wordList.append(w);
            fresh.append(w);
        }
        added.append(fresh);
    }

    modifyAppState([&](AppState& s) {
        s.listOfTitleAndWordList = merged;
        for (const auto& entry : incoming)
            followTitle(s, entry.title);
    });
    for (qsizetype i = 0; i < incoming.size(); ++i) {
        useCases_->commands.addTitleCommandHandler.handle(AddTitleCommand{incoming[i].title});
        useCases_->commands.saveWordsCommandHandler.handle(
            SaveWordsCommand{incoming[i].title.id, added[i]});
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
    SaveWordsCommandHandler::waitForPendingSaves();
    return StoreConnection::checkpointAndClose(CoreDateSetting::defaultStorePath());
}

void AppModel::setCurrentTitle(Title title) {
    modifyAppState([&](AppState& s) { s.currentTitle = title; });
}

void AppModel::setLastSelectedRow(qint64 row) {
    modifyAppState([&](AppState& s) { s.lastSelectedRow = row; });
}
