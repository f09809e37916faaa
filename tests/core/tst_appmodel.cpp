#include "ModelTestSupport.h"
#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "csv/CsvReader.h"
#include "csv/CsvWriter.h"

#include <QtTest>

#include <sqlite3.h>

using Kind = AppState::Word::Kind;

namespace {

LanguageState languageStateOf(const AppState& s, const QUuid& id) {
    for (auto it = s.languageStateList.constBegin(); it != s.languageStateList.constEnd(); ++it) {
        if (it.key().id == id)
            return it.value();
    }
    return {};
}

} // namespace

class AppModelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;

    // A model holding one current title with the given text split.
    void startWith(const QString& text, const QStringList& known = {},
                   const QStringList& unwanted = {}) {
        startBook(*model_, text, known, unwanted);
        model_->splitWords();
    }
    QStringList splitList() const {
        return languageStateOf(model_->state(), model_->state().currentTitle.id)
            .splittedWords.toStringList();
    }

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        model_ = ViewModelFactory::storeBackedModel();
        model_->load();
    }
    void cleanup() {
        ViewModelFactory::waitForBackgroundSaves();
        model_.reset();
        store_.reset();
    }

    void loadPublishesTwiceOnAnEmptyStoreAndThriceOtherwise() {
        auto fresh = ViewModelFactory::storeBackedModel();
        int count = 0;
        auto sub = fresh->subscribe([&](const AppState&) { ++count; });
        fresh->load();
        QCOMPARE(count, 1 + 2);
        QVERIFY(fresh->state().currentTitle.title.isEmpty());

        model_->addTitle("First");
        model_->addTitle("Second");
        model_->setCurrentTitle(model_->state().listOfTitleAndWordList[0].title);
        model_->saveText("zeta Alpha beta");
        model_->splitWords();
        for (const QString w : {"zeta", "Alpha", "beta"})
            model_->registerWord(w, Kind::known, 0);

        auto next = ViewModelFactory::storeBackedModel();
        count = 0;
        auto sub2 = next->subscribe([&](const AppState&) { ++count; });
        next->load();
        QCOMPARE(count, 1 + 3);
        QCOMPARE(next->state().currentTitle.title, QString("First"));
        QCOMPARE(wordTexts(next->state().listOfTitleAndWordList[0].wordList),
                 QStringList({"Alpha", "beta", "zeta"}));
    }

    void splitFilters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QStringList>("unwanted");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("known is folded") << "Dog dog 42 cat 3rd" << QStringList{"dog"}
                                         << QStringList{} << QStringList{"cat", "3rd"};
        QTest::newRow("unwanted is exact")
            << "Dog dog 42 cat 3rd" << QStringList{} << QStringList{"dog"}
            << QStringList{"Dog", "cat", "3rd"};
        QTest::newRow("unicode digits dropped")
            << QStringLiteral("\u0664\u0662 x \uff11\uff12 \u2163") << QStringList{}
            << QStringList{} << QStringList{"x", QStringLiteral("\u2163")};
        QTest::newRow("known folds full mapping and NFC")
            << QStringLiteral("STRASSE \u0130stanbul Cafe\u0301 cafe")
            << QStringList{QStringLiteral("i\u0307stanbul"), QStringLiteral("caf\u00e9")}
            << QStringList{} << QStringList{"STRASSE", "cafe"};
        QTest::newRow("repeats kept in order")
            << "b a b a" << QStringList{} << QStringList{} << QStringList{"b", "a", "b", "a"};
    }
    void splitFilters() {
        QFETCH(QString, text);
        QFETCH(QStringList, known);
        QFETCH(QStringList, unwanted);
        QFETCH(QStringList, expected);
        startWith(text + " " + known.join(' ') + " " + unwanted.join(' '), known, unwanted);
        // The registered words were part of the text; the rest is what remains.
        QCOMPARE(splitList(), expected);
        QCOMPARE(languageStateOf(restartedModel()->state(), model_->state().currentTitle.id)
                     .splittedWords,
                 expected);
    }

    void registerWordMovesTheSelection_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<qint64>("row");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QList<qint64>>("removed");
        QTest::addColumn<qint64>("selected");
        QTest::newRow("repeats above the row")
            << "a b a c"
            << "a" << qint64(2) << QStringList{"b", "c"} << QList<qint64>{0, 2} << qint64(1);
        QTest::newRow("folded removal, exact positions")
            << "Apple apple pear"
            << "apple" << qint64(1) << QStringList{"pear"} << QList<qint64>{1} << qint64(0);
        QTest::newRow("last word")
            << "solo"
            << "solo" << qint64(0) << QStringList{} << QList<qint64>{0} << qint64(-1);
    }
    void registerWordMovesTheSelection() {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(qint64, row);
        QFETCH(QStringList, after);
        QFETCH(QList<qint64>, removed);
        QFETCH(qint64, selected);
        startWith(text);
        model_->registerWord(word, Kind::known, row);
        const AppState s = model_->state();
        QCOMPARE(splitList(), after);
        QCOMPARE(s.lastSelectedRow, selected);
        QList<qint64> positions;
        for (const auto& r : s.lastRemovedWords) {
            positions << r.index;
            QCOMPARE(r.word.id, s.knownWords().first().id); // the registered record itself
        }
        QCOMPARE(positions, removed);

        // The stored registration is the one in memory, to the millisecond.
        auto next = restartedModel();
        const auto stored = next->state().listOfTitleAndWordList.last().wordList;
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0].id, s.knownWords().first().id);
        QCOMPARE(stored[0].timestamp.toMSecsSinceEpoch(),
                 s.knownWords().first().timestamp.toMSecsSinceEpoch());
        // Folded removal reaches the store too: nothing comes back after a restart.
        QCOMPARE(languageStateOf(next->state(), s.currentTitle.id).splittedWords, after);
    }

    void registrationSortsEveryTitle() {
        model_->addTitle("Other");
        model_->restore(
            {{model_->state().listOfTitleAndWordList[0].title,
              {{"zeta", QUuid::createUuid(), Kind::known, QDateTime::currentDateTimeUtc()},
               {"Alpha", QUuid::createUuid(), Kind::known, QDateTime::currentDateTimeUtc()}}}});
        QCOMPARE(wordTexts(model_->state().listOfTitleAndWordList[0].wordList),
                 QStringList({"zeta", "Alpha"}));
        startWith("word");
        model_->registerWord("word", Kind::unwanted, 0);
        QCOMPARE(wordTexts(model_->state().listOfTitleAndWordList[0].wordList),
                 QStringList({"Alpha", "zeta"}));
        QCOMPARE(wordTexts(model_->state().unwantedWords()), QStringList({"word"}));
    }

    void removeTemporarilyKeepsTheRow() {
        startWith("a b a c d");
        model_->removeTemporarily("c", 3);
        QCOMPARE(model_->state().lastSelectedRow, 3);
        QCOMPARE(splitList(), QStringList({"a", "b", "a", "d"}));
        model_->removeTemporarily("a", 2);
        QCOMPARE(model_->state().lastSelectedRow, 1); // clamped to the last row
        QCOMPARE(model_->state().lastRemovedWords.size(), 2);
        QVERIFY(model_->state().lastRemovedWords[0].word.id !=
                model_->state().lastRemovedWords[1].word.id);
        // Hundreds of rows: a record each, its id its own and a random one.
        startWith(QStringList(300, QStringLiteral("x")).join(' ') + " y");
        model_->removeTemporarily("x", 0);
        QSet<QUuid> ids;
        for (const LastRemovedWord& r : model_->state().lastRemovedWords) {
            QCOMPARE(r.word.wordText, QStringLiteral("x"));
            QCOMPARE(r.word.timestamp, model_->state().lastRemovedWords[0].word.timestamp);
            QCOMPARE(r.word.id.version(), QUuid::Random);
            QCOMPARE(r.word.id.variant(), QUuid::DCE);
            ids.insert(r.word.id);
        }
        QCOMPARE(ids.size(), 300);
        startWith("a b a c d");
        model_->removeTemporarily("c", 3);
        model_->removeTemporarily("a", 2);
        QVERIFY(model_->state().knownWords().isEmpty()); // nothing registered
        QCOMPARE(languageStateOf(restartedModel()->state(), model_->state().currentTitle.id)
                     .splittedWords,
                 QStringList({"b", "d"}));
        model_->splitWords(); // the next split brings them back
        QCOMPARE(splitList(), QStringList({"a", "b", "a", "c", "d"}));
    }

    void deleteWordActsOnTheCurrentTitleOnly() {
        startWith("x y");
        model_->registerWord("x", Kind::known, 0);
        const QUuid id = model_->state().knownWords().first().id;
        const Title first = model_->state().currentTitle;
        model_->addTitle("Another");
        model_->setCurrentTitle(model_->state().listOfTitleAndWordList.last().title);
        model_->deleteWord(id); // belongs to the other title: memory untouched, store deletes
        QCOMPARE(model_->state().listOfTitleAndWordList[0].wordList.size(), 1);
        model_->setCurrentTitle(first);
        model_->deleteWord(id);
        QVERIFY(model_->state().knownWords().isEmpty());
        QVERIFY(restartedModel()->state().listOfTitleAndWordList[0].wordList.isEmpty());
    }

    void saveTextKeepsOneText() {
        startWith("first");
        model_->saveText("second");
        model_->saveText("");
        model_->saveText("third text");
        QCOMPARE(
            languageStateOf(restartedModel()->state(), model_->state().currentTitle.id).boxText,
            QString("third text"));
    }

    void titlesKeepTheirTextPane() {
        model_->addTitle("");
        QCOMPARE(model_->state().listOfTitleAndWordList.size(), 1);
        Title t = model_->state().listOfTitleAndWordList[0].title;
        QVERIFY(model_->state().languageStateList.contains(t));
        model_->setCurrentTitle(t);
        model_->saveText("some text");
        model_->changeTitle(t, "Renamed");
        QCOMPARE(model_->state().currentTitle.title, QString("Renamed"));
        QCOMPARE(model_->state().languageStateList.value(model_->state().currentTitle).boxText,
                 QString("some text"));
        model_->saveText("some text, more");
        auto next = restartedModel();
        QCOMPARE(next->state().currentTitle.title, QString("Renamed"));
        QCOMPARE(next->state().languageStateList.value(next->state().currentTitle).boxText,
                 QString("some text, more"));
        model_->changeTitle({QUuid::createUuid(), "x"}, "nothing"); // unknown id: no change
        QCOMPARE(model_->state().titles().size(), 1);
    }

    void titleWithTextIsStoredAndShown() {
        model_->addTitle("A");
        model_->setCurrentTitle(model_->state().titles()[0]);
        model_->saveText("first text");
        const QString book = "Als Gregor Samsa eines Morgens aus unruhigen Träumen erwachte.\n"
                             "Es war kein Traum.";
        model_->addTitleWithText("Die Verwandlung", book);
        QCOMPARE(titleNames(model_->state()), QStringList({"A", "Die Verwandlung"}));
        QCOMPARE(model_->state().currentTitle.title, QString("Die Verwandlung"));
        model_->splitWords();
        QCOMPARE(splitList().first(), QString("Als"));
        QCOMPARE(splitList().size(), 13);

        auto next = restartedModel();
        QCOMPARE(titleNames(next->state()), QStringList({"A", "Die Verwandlung"}));
        const QList<Title> titles = next->state().titles();
        QCOMPARE(languageStateOf(next->state(), titles[1].id).boxText, book);
        QCOMPARE(languageStateOf(next->state(), titles[1].id).splittedWords, splitList());
        QCOMPARE(languageStateOf(next->state(), titles[0].id).boxText, QString("first text"));
    }

    void deletingTheCurrentTitleSelectsItsNeighbour() {
        for (const QString n : {"A", "B", "C"})
            model_->addTitle(n);
        const auto titles = model_->state().titles();
        model_->setCurrentTitle(titles[1]);
        model_->deleteTitle(titles[1].id);
        QCOMPARE(model_->state().currentTitle, titles[2]);
        model_->deleteTitle(titles[2].id);
        QCOMPARE(model_->state().currentTitle, titles[0]);
        model_->deleteTitle(titles[0].id);
        QVERIFY(model_->state().currentTitle.title.isEmpty());
        QCOMPARE(model_->state().indexOfTitle(model_->state().currentTitle.id), -1);
        QVERIFY(model_->state().languageStateList.isEmpty());
        QVERIFY(restartedModel()->state().listOfTitleAndWordList.isEmpty());
    }

    void duplicateGivesCopiesTheirOwnWords() {
        for (const QString n : {"A", "B", "C"})
            model_->addTitle(n);
        model_->setCurrentTitle(model_->state().titles()[0]);
        model_->saveText("hello world");
        model_->splitWords();
        model_->registerWord("hello", Kind::known, 0);
        model_->duplicateTitle(0);
        model_->duplicateTitle(7); // outside the list: nothing
        const AppState s = model_->state();
        QCOMPARE(s.titles().size(), 4);
        QCOMPARE(s.titles()[1].title, QString("A"));
        QVERIFY(s.titles()[1].id != s.titles()[0].id);
        QCOMPARE(wordTexts(s.listOfTitleAndWordList[1].wordList), QStringList({"hello"}));
        QVERIFY(s.listOfTitleAndWordList[1].wordList[0].id !=
                s.listOfTitleAndWordList[0].wordList[0].id);
        QVERIFY(s.languageStateList.contains(s.titles()[1]));

        // Deleting the copy's word leaves the source's word, in memory and in the store.
        model_->setCurrentTitle(s.titles()[1]);
        model_->deleteWord(s.listOfTitleAndWordList[1].wordList[0].id);
        auto next = restartedModel();
        const AppState r = next->state();
        QCOMPARE(r.titles().size(), 4);
        QCOMPARE(r.titles().last().id, s.titles()[1].id); // stored after all others
        QCOMPARE(wordTexts(r.listOfTitleAndWordList[0].wordList), QStringList({"hello"}));
        QVERIFY(r.listOfTitleAndWordList.last().wordList.isEmpty());
    }

    void moveTitleWritesTheOrderThatLoads_data() {
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("first below the last")
            << qint64(0) << qint64(3) << QStringList{"B", "C", "A"};
        QTest::newRow("last above the first")
            << qint64(2) << qint64(0) << QStringList{"C", "A", "B"};
        QTest::newRow("above itself stays") << qint64(1) << qint64(1) << QStringList{"A", "B", "C"};
        QTest::newRow("above the next stays")
            << qint64(1) << qint64(2) << QStringList{"A", "B", "C"};
        QTest::newRow("from out of range") << qint64(3) << qint64(0) << QStringList{"A", "B", "C"};
        QTest::newRow("to out of range") << qint64(0) << qint64(4) << QStringList{"A", "B", "C"};
    }
    void moveTitleWritesTheOrderThatLoads() {
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QFETCH(QStringList, expected);
        for (const QString name : {"A", "B", "C"})
            model_->addTitle(name);
        int publications = 0;
        auto sub = model_->subscribe([&](const AppState&) { ++publications; });
        model_->moveTitle(from, to);
        QCOMPARE(titleNames(model_->state()), expected);
        // The title is taken out, then put back: two writes, or none.
        const bool inRange = from < 3 && to <= 3;
        QCOMPARE(publications, 1 + (inRange ? 2 : 0));
        QCOMPARE(titleNames(restartedModel()->state()), expected);
    }

    void exportRestoreRoundTrip() {
        model_->addTitle("Book, \"one\"");
        model_->addTitle(""); // no words: not in the file
        model_->setCurrentTitle(model_->state().titles()[0]);
        model_->saveText(QStringLiteral("Caf\u00e9 tea"));
        model_->splitWords();
        model_->registerWord(QStringLiteral("Caf\u00e9"), Kind::known, 0);
        model_->registerWord("tea", Kind::unwanted, 0);
        const QList<QStringList> rows = model_->exportCSV();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], QStringList({"title", "titleId", "word", "kind", "timestamp"}));
        QCOMPARE(rows[1][1], uuidText(model_->state().titles()[0].id));
        const QString text = csv::buildText(rows);
        const AppState before = model_->state();

        // Into a fresh store.
        ViewModelFactory::waitForBackgroundSaves();
        TemporaryStore other;
        auto fresh = ViewModelFactory::storeBackedModel();
        fresh->load();
        auto parsed = csv::parseCSV(text);
        QVERIFY(std::holds_alternative<QList<TitleAndWordList>>(parsed));
        fresh->restore(std::get<QList<TitleAndWordList>>(parsed));
        auto next = restartedModel();
        const auto& list = next->state().listOfTitleAndWordList;
        QCOMPARE(list.size(), 1);
        QCOMPARE(list[0].title, before.titles()[0]);
        QCOMPARE(list[0].wordList.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(list[0].wordList[i].wordText,
                     before.listOfTitleAndWordList[0].wordList[i].wordText);
            QCOMPARE(list[0].wordList[i].kind, before.listOfTitleAndWordList[0].wordList[i].kind);
            QCOMPARE(list[0].wordList[i].timestamp.toSecsSinceEpoch(),
                     before.listOfTitleAndWordList[0].wordList[i].timestamp.toSecsSinceEpoch());
        }
    }

    void restoreMergesIntoTheList() {
        startWith("one two");
        model_->registerWord("one", Kind::known, 0);
        model_->addTitle("Other");
        const AppState before = model_->state();
        const Title book = before.currentTitle;
        const QDateTime when = QDateTime::fromSecsSinceEpoch(1709647629, Qt::UTC);
        model_->restore({
            {{book.id, "Book renamed"},
             {before.knownWords().first(), {"two", QUuid::createUuid(), Kind::unwanted, when}}},
            {{QUuid::createUuid(), "New"}, {{"three", QUuid::createUuid(), Kind::known, when}}},
        });
        const AppState s = model_->state();
        QCOMPARE(s.titles().size(), 3);
        QCOMPARE(s.titles()[0].title, QString("Book renamed"));
        QCOMPARE(s.titles()[1].title, QString("Other"));
        QCOMPARE(s.titles()[2].title, QString("New"));
        QCOMPARE(wordTexts(s.listOfTitleAndWordList[0].wordList), QStringList({"one", "two"}));
        // The current title was renamed: it stays current and keeps its text pane.
        QCOMPARE(s.currentTitle, s.titles()[0]);
        QCOMPARE(s.languageStateList.value(s.currentTitle).splittedWords, QStringList({"two"}));
        QVERIFY(s.languageStateList.contains(s.titles()[2]));

        auto next = restartedModel();
        QCOMPARE(next->state().titles(), s.titles());
        QCOMPARE(wordTexts(next->state().listOfTitleAndWordList[0].wordList),
                 QStringList({"one", "two"}));
    }

    // After a clean quit the store file alone holds everything: a copy of
    // it, taken without its journal, is a complete backup.
    void storeFileAloneIsWholeAfterClosing() {
        startWith("Der Hund bellt, der Hund schläft.", {"der"}, {"schläft"});
        model_->registerWord("Hund", Kind::known, 0);
        model_->duplicateTitle(0);
        model_->addTitle("Leer");
        const AppState before = model_->state();
        QCOMPARE(model_->closeStore(), QString());
        const QString folder = store_->dataDir();
        QVERIFY(!QFile::exists(folder + "/TestModel.sqlite-wal"));

        QTemporaryDir copy;
        QVERIFY(QDir().mkpath(copy.path() + "/Pramel"));
        QVERIFY(
            QFile::copy(folder + "/TestModel.sqlite", copy.path() + "/Pramel/TestModel.sqlite"));
        qputenv("XDG_DATA_HOME", copy.path().toUtf8());
        const auto next = restartedModel();
        const AppState& after = next->state();
        QCOMPARE(after.titles(), before.titles());
        for (qsizetype i = 0; i < before.listOfTitleAndWordList.size(); ++i) {
            QCOMPARE(wordTexts(after.listOfTitleAndWordList[i].wordList),
                     wordTexts(before.listOfTitleAndWordList[i].wordList));
        }
        const LanguageState pane = languageStateOf(after, before.currentTitle.id);
        QCOMPARE(pane.boxText, QStringLiteral("Der Hund bellt, der Hund schläft."));
        QCOMPARE(pane.splittedWords, QStringList({"bellt"}));
        qputenv("XDG_DATA_HOME", store_->dir.path().toUtf8());
    }

    // The words of a copy are told while they go to the store, and a batch
    // that fails is told with the title it was for.
    void backgroundSavesAreToldAsTheyGo() {
        const Title book{QUuid::createUuid(), QStringLiteral("Buch")};
        TitleAndWordList restored{book, {}};
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < 9000; ++i)
            restored.wordList.append(
                {QStringLiteral("Wort%1").arg(i), QUuid::createUuid(), Kind::known, now});
        QList<AppModel::BackgroundSaves> seen;
        auto sub = model_->subscribeBackgroundSaves(
            [&](const AppModel::BackgroundSaves& saves) { seen.append(saves); });
        model_->restore({restored});
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen.last().wordsLeft, 9000);
        QTRY_COMPARE(model_->backgroundSaves().batchesLeft, 0);
        QCOMPARE(model_->backgroundSaves().wordsLeft, 0);
        QVERIFY(model_->backgroundSaves().failures.isEmpty());
        QCOMPARE(restartedModel()->state().listOfTitleAndWordList[0].wordList.size(), 9000);

        sqlite3* db = nullptr;
        sqlite3_open((store_->dataDir() + "/TestModel.sqlite").toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "CREATE TRIGGER fail BEFORE INSERT ON TestKnownWordEntity "
                     "BEGIN SELECT RAISE(ABORT, 'disk is gone'); END",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
        model_->duplicateTitle(0);
        QTRY_COMPARE(model_->backgroundSaves().batchesLeft, 0);
        const auto failures = model_->backgroundSaves().failures;
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0].titleId, model_->state().listOfTitleAndWordList[1].title.id);
        QCOMPARE(failures[0].notStored, 9000);
        QVERIFY(failures[0].reason.startsWith("disk is gone"));
    }

    // At start the window gets the first title at once and the others after;
    // what it ends with is what a whole load gives, and nothing done in
    // between meets a title that is not read yet.
    void startUpLoadsTheRestBehindTheFirstFrame() {
        startWith("Der Hund bellt", {"der"});
        model_->addTitle("Zweiter");
        model_->setCurrentTitle(model_->state().listOfTitleAndWordList.last().title);
        model_->saveText("Ein zweiter Text");
        model_->splitWords();
        model_->registerWord("zweiter", Kind::unwanted, 1);
        ViewModelFactory::waitForBackgroundSaves();
        const AppState whole = restartedModel()->state();

        // As the window starts: the first text read ahead, the rest of the
        // load and the store's check after its first frame.
        auto quick = ViewModelFactory::shared().makeAppModel();
        const std::function<QString()> ahead = quick->readStartTextAhead();
        quick->loadForStartUp(true);
        QCOMPARE(ahead(), languageStateOf(whole, whole.currentTitle.id).boxText);
        const AppState first = quick->state();
        QCOMPARE(languageStateOf(first, first.currentTitle.id).boxText, ahead());
        QVERIFY(quick->isLoading());
        QTest::qWait(20);
        QVERIFY(quick->isLoading()); // nothing needed the rest yet
        quick->continueLoading();
        QCOMPARE(first.titles(), whole.titles());
        QCOMPARE(first.currentTitle, whole.currentTitle);
        QCOMPARE(wordTexts(first.knownWords()), wordTexts(whole.knownWords()));
        QCOMPARE(languageStateOf(first, first.currentTitle.id).splittedWords,
                 languageStateOf(whole, first.currentTitle.id).splittedWords);
        QTRY_VERIFY(!quick->isLoading());
        for (qsizetype i = 0; i < whole.listOfTitleAndWordList.size(); ++i) {
            QCOMPARE(wordTexts(quick->state().listOfTitleAndWordList[i].wordList),
                     wordTexts(whole.listOfTitleAndWordList[i].wordList));
            const QUuid id = whole.listOfTitleAndWordList[i].title.id;
            QCOMPARE(languageStateOf(quick->state(), id).boxText,
                     languageStateOf(whole, id).boxText);
        }

        // Typing into another title at once finds its text there.
        auto hasty = ViewModelFactory::shared().makeAppModel();
        hasty->loadForStartUp(true);
        hasty->setCurrentTitle(hasty->state().listOfTitleAndWordList.last().title);
        QCOMPARE(hasty->currentText(), QStringLiteral("Ein zweiter Text"));
        hasty->editText(0, 0, QStringLiteral("Noch "));
        QCOMPARE(languageStateOf(restartedModel()->state(),
                                 hasty->state().listOfTitleAndWordList.last().title.id)
                     .boxText,
                 QStringLiteral("Noch Ein zweiter Text"));
        // Keys typed in a row wait until the state is read, are in it then as
        // one write, and reach the store before anything else does; a change
        // out of range is refused.
        int writes = 0;
        const Subscription counting = hasty->subscribe([&](const AppState&) { ++writes; });
        writes = 0;
        QVERIFY(hasty->editText(0, 5, QString()) != 0);
        QVERIFY(hasty->editText(4, 7, QStringLiteral("dritter")) != 0);
        QVERIFY(hasty->editText(16, 0, QStringLiteral(".")) != 0);
        QCOMPARE(hasty->editText(18, 0, QStringLiteral("x")), quint64(0));
        QCOMPARE(writes, 0);
        QCOMPARE(hasty->currentText(), QStringLiteral("Ein dritter Text."));
        QCOMPARE(writes, 1);
        QCOMPARE(languageStateOf(restartedModel()->state(),
                                 hasty->state().listOfTitleAndWordList.last().title.id)
                     .boxText,
                 QStringLiteral("Ein dritter Text."));

        // A start that reopens the last place: that title first, at its row
        // (kept within the list); a title deleted since, or none, gives the
        // first title at row 0.
        const Title second = whole.listOfTitleAndWordList.last().title;
        const AppState stored = restartedModel()->state();
        for (const auto& [id, row, title, expectedRow] :
             {std::tuple{second.id, qint64(1), second, qint64(1)},
              std::tuple{second.id, qint64(99), second, qint64(1)},
              std::tuple{QUuid::createUuid(), qint64(5), whole.listOfTitleAndWordList[0].title,
                         qint64(0)},
              std::tuple{QUuid(), qint64(5), whole.listOfTitleAndWordList[0].title, qint64(0)}}) {
            auto reopened = ViewModelFactory::shared().makeAppModel();
            reopened->startAt(id, row);
            const std::function<QString()> text = reopened->readStartTextAhead();
            reopened->loadForStartUp();
            QCOMPARE(text(), languageStateOf(stored, title.id).boxText);
            QCOMPARE(languageStateOf(reopened->state(), title.id).boxText, text());
            QCOMPARE(reopened->state().currentTitle, title);
            QCOMPARE(reopened->state().lastSelectedRow, expectedRow);
            QCOMPARE(languageStateOf(reopened->state(), title.id).splittedWords,
                     languageStateOf(whole, title.id).splittedWords);
            QTRY_VERIFY(!reopened->isLoading());
            QCOMPARE(reopened->state().titles(), whole.titles());
        }
    }

    void restoringStoredTitlesDoesNotDouble() {
        startWith("one two");
        model_->registerWord("one", Kind::known, 0);
        auto parsed = csv::parseCSV(csv::buildText(model_->exportCSV()));
        auto list = std::get<QList<TitleAndWordList>>(parsed);
        model_->restore(list);
        model_->restore(list);
        const AppState s = model_->state();
        QCOMPARE(s.titles().size(), 1);
        // The restored word keeps the id it had, so deleting it reaches the store.
        model_->deleteWord(s.knownWords().first().id);
        auto next = restartedModel();
        QCOMPARE(next->state().titles().size(), 1);
        QVERIFY(next->state().listOfTitleAndWordList[0].wordList.isEmpty());
    }
};

QTEST_GUILESS_MAIN(AppModelTest)
#include "tst_appmodel.moc"
