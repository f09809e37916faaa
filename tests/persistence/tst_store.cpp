#include "TestSupport.h"
#include "base/FatalError.h"
#include "base/StatusLine.h"
#include "persistence/AddTitleCommandHandler.h"
#include "persistence/ChangeTitleCommandHandler.h"
#include "persistence/ChangeTitleOrderCommandHandler.h"
#include "persistence/CoreDateSetting.h"
#include "persistence/DeleteSplitWordCommandHandler.h"
#include "persistence/DeleteTitleByIdCommandHandler.h"
#include "persistence/DeleteWordCommandHandler.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandlerProduction.h"
#include "persistence/FetchTitleLanguagesQueryHandler.h"
#include "persistence/LearningWordStore.h"
#include "persistence/LoadLanguageStateQueryHandler.h"
#include "persistence/ReviewStore.h"
#include "persistence/SaveSplitWordCommandHandler.h"
#include "persistence/SaveTextCommandHandler.h"
#include "persistence/SaveTitleLanguageCommandHandler.h"
#include "persistence/SaveWordCommandHandlerProduction.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/StoreConnection.h"
#include "persistence/StoreSchema.h"
#include "persistence/TextChunks.h"
#include "persistence/WordBatches.h"

#include <QRandomGenerator>
#include <QtTest>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

using Kind = AppState::Word::Kind;

namespace {

// Titles in the tests are named by one letter; the id follows from the name.
QUuid idOf(const QString& name) {
    return QUuid::createUuidV5(QUuid("{6ba7b811-9dad-11d1-80b4-00c04fd430c8}"), name);
}
Title titleOf(const QString& name) {
    return {idOf(name), name};
}

QString storeFile() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/TestModel.sqlite";
}

// Direct access for what the handlers cannot show: row counts, raw indexes,
// records written by hand.
class RawStore {
public:
    RawStore() { QVERIFY(sqlite3_open(storeFile().toUtf8().constData(), &db) == SQLITE_OK); }
    ~RawStore() { sqlite3_close(db); }
    void exec(const QString& sql) {
        char* error = nullptr;
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
        QVERIFY2(!error, error);
    }
    QString value(const QString& sql) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &s, nullptr);
        QString out;
        if (sqlite3_step(s) == SQLITE_ROW)
            out = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
        return out;
    }
    int count(const QString& table) { return value("SELECT count(*) FROM " + table).toInt(); }

    sqlite3* db = nullptr;
};

QStringList titleNames() {
    QStringList names;
    for (const auto& entry : FetchTitleAndKnownWordsQueryHandlerProduction().handle())
        names << entry.title.title;
    return names;
}

LanguageState stateOf(const QString& name) {
    return LoadLanguageStateQueryHandler().handle().value(titleOf(name));
}

QList<AppState::Word> wordsOf(const QString& name) {
    for (const auto& entry : FetchTitleAndKnownWordsQueryHandlerProduction().handle()) {
        if (entry.title.id == idOf(name))
            return entry.wordList;
    }
    return {};
}

AppState::Word word(const QString& text, Kind kind, const QDateTime& time) {
    return {text, QUuid::createUuid(), kind, time};
}

void addTitle(const QString& name) {
    AddTitleCommandHandler().handle({titleOf(name)});
}

// A learning word of the title, kept in the store, and its card after a
// first Good answer.
ReviewSchedule::Card learnAndReview(const QString& titleName, const QString& text) {
    const LearningWord word{QUuid::createUuid(),
                            idOf(titleName),
                            text,
                            text + " im Satz",
                            LearningWord::minLevel,
                            QString(),
                            QDateTime::currentDateTimeUtc()};
    LearningWordStore::keep(word);
    ReviewSchedule::Card card;
    card.learningWordId = word.id;
    return ReviewSchedule::review(card, ReviewSchedule::Grade::good,
                                  QDateTime(QDate(2024, 3, 1), QTime(9, 30), Qt::UTC));
}

QList<QUuid> reviewedWords() {
    QList<QUuid> ids;
    for (const auto& card : ReviewStore::fetchAll())
        ids << card.learningWordId;
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Runs one step of a title script: "add A", "del A", "order C A B", "rename A B".
void runTitleStep(const QString& step) {
    const QStringList parts = step.split(' ', Qt::SkipEmptyParts);
    if (parts[0] == "add") {
        addTitle(parts[1]);
    } else if (parts[0] == "readd") { // same id, another name
        AddTitleCommandHandler().handle({{idOf(parts[1]), parts[2]}});
    } else if (parts[0] == "del") {
        DeleteTitleByIdCommandHandler().handle({idOf(parts[1])});
    } else if (parts[0] == "order") {
        QList<Title> list;
        for (const QString& name : parts.mid(1))
            list << titleOf(name);
        ChangeTitleOrderCommandHandler().handle(list);
    } else if (parts[0] == "rename") {
        ChangeTitleCommandHandler().handle({idOf(parts[1]), parts.value(2)});
    } else {
        QFAIL(qPrintable("unknown step " + step));
    }
}

} // namespace

class StoreTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TemporaryStore> store_;

private Q_SLOTS:
    void init() { store_ = std::make_unique<TemporaryStore>(); }
    void cleanup() {
        WordBatches::process().waitForPendingSaves();
        WordBatches::process().takeFailures();
        store_.reset();
    }

    void emptyStoreIsMadeWithItsFolder() {
        QVERIFY(!QFile::exists(storeFile()));
        QVERIFY(FetchTitleAndKnownWordsQueryHandlerProduction().handle().isEmpty());
        QVERIFY(LoadLanguageStateQueryHandler().handle().isEmpty());
        QVERIFY(QFile::exists(storeFile()));
        RawStore raw;
        QCOMPARE(raw.value("PRAGMA user_version"), QString::number(StoreSchema::version));
        QCOMPARE(raw.value("PRAGMA journal_mode"), "wal");
    }

    // The window's thread keeps its connection from one handler to the next;
    // a store file put in the place of the one it had open is read, not the
    // old one through the kept connection.
    void storePutInPlaceOfTheOpenOneIsRead() {
        addTitle("A");
        QCOMPARE(FetchTitleAndKnownWordsQueryHandlerProduction().handle().size(), 1);
        for (const char* end : {"", "-wal", "-shm"})
            QFile::rename(storeFile() + end, storeFile() + end + ".aside");
        QVERIFY(FetchTitleAndKnownWordsQueryHandlerProduction().handle().isEmpty());
        addTitle("B");
        const auto titles = FetchTitleAndKnownWordsQueryHandlerProduction().handle();
        QCOMPARE(titles.size(), 1);
        QCOMPARE(titles.first().title.title, "B");
    }

    // A store made by an earlier version is brought up to date by what its
    // tables hold, whatever version number it carries.
    void olderStoresMoveToOrderedPieces_data() {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("label"); // the user_version the file says
        QTest::newRow("whole texts, version 1") << "whole" << 1;
        QTest::newRow("listed pieces, version 2") << "listed" << 2;
        QTest::newRow("listed pieces that say version 1") << "listed" << 1;
    }
    void olderStoresMoveToOrderedPieces() {
        QFETCH(QString, layout);
        QFETCH(int, label);
        addTitle("A");
        addTitle("B");
        SaveTextCommandHandler().handle({"placeholder", idOf("A")});
        QString novel;
        for (int i = 0; i < 20000; ++i)
            novel += QStringLiteral("word%1 ").arg(i * 7919 % 10007);
        {
            RawStore raw;
            raw.exec(
                "DROP TABLE TestTextPiece; DROP TABLE TestTextChunk; DROP TABLE TestTextEntity");
            sqlite3_stmt* insert = nullptr;
            if (layout == "whole") {
                raw.exec("CREATE TABLE TestTextEntity (id BLOB NOT NULL, text TEXT NOT NULL,"
                         " titleId BLOB NOT NULL, title INTEGER NOT NULL UNIQUE"
                         " REFERENCES TestTitleEntity (pk) ON DELETE CASCADE)");
                sqlite3_prepare_v2(raw.db,
                                   "INSERT INTO TestTextEntity SELECT randomblob(16), ?, id, pk"
                                   " FROM TestTitleEntity WHERE title = 'A'",
                                   -1, &insert, nullptr);
                const QByteArray utf8 = novel.toUtf8();
                sqlite3_bind_text(insert, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
                QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
            } else {
                // Three pieces, listed out of row order.
                raw.exec(
                    "CREATE TABLE TestTextEntity (id BLOB NOT NULL, chunks TEXT NOT NULL,"
                    " titleId BLOB NOT NULL, title INTEGER NOT NULL UNIQUE"
                    " REFERENCES TestTitleEntity (pk) ON DELETE CASCADE);"
                    "CREATE TABLE TestTextChunk (pk INTEGER PRIMARY KEY, title INTEGER NOT NULL"
                    " REFERENCES TestTitleEntity (pk) ON DELETE CASCADE, hash INTEGER NOT NULL,"
                    " length INTEGER NOT NULL, text TEXT NOT NULL);"
                    "CREATE INDEX TestTextChunk_title ON TestTextChunk (title)");
                sqlite3_prepare_v2(raw.db,
                                   "INSERT INTO TestTextChunk SELECT ?, pk, 0, 0, ?"
                                   " FROM TestTitleEntity WHERE title = 'A'",
                                   -1, &insert, nullptr);
                const qsizetype third = novel.size() / 3;
                const QList<std::pair<int, QString>> pieces = {{7, novel.left(third)},
                                                               {3, novel.mid(third, third)},
                                                               {5, novel.mid(2 * third)}};
                for (const auto& [pk, text] : pieces) {
                    const QByteArray utf8 = text.toUtf8();
                    sqlite3_bind_int(insert, 1, pk);
                    sqlite3_bind_text(insert, 2, utf8.constData(), int(utf8.size()),
                                      SQLITE_TRANSIENT);
                    QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
                    sqlite3_reset(insert);
                }
                raw.exec("INSERT INTO TestTextEntity SELECT randomblob(16), '7,3,5', id, pk"
                         " FROM TestTitleEntity WHERE title = 'A'");
            }
            sqlite3_finalize(insert);
            raw.exec(QStringLiteral("PRAGMA user_version = %1").arg(label));
        }
        QCOMPARE(stateOf("A").boxText, novel);
        QCOMPARE(stateOf("B").boxText, QString());
        RawStore raw;
        QCOMPARE(raw.value("PRAGMA user_version"), QString::number(StoreSchema::version));
        QVERIFY(raw.count("TestTextChunk") > 1);
        QCOMPARE(raw.value("PRAGMA foreign_key_check"), QString());
        SaveTextCommandHandler().handle({novel + "!", idOf("A")});
        QCOMPARE(stateOf("A").boxText, novel + "!");
    }

    // Split lists of version 3, a row per occurrence keyed by folded form
    // with gaps where words left, become one packed row per title, in order.
    void splitRowsOfVersion3BecomeOnePackedList() {
        addTitle("A");
        addTitle("B");
        {
            RawStore raw;
            raw.exec("DROP TABLE TestSplitWordRemoval; DROP TABLE TestSplitWordEntity;"
                     "CREATE TABLE TestSplitWordEntity (title INTEGER NOT NULL,"
                     " folded TEXT NOT NULL, position INTEGER NOT NULL, text TEXT NOT NULL,"
                     " PRIMARY KEY (title, folded, position)) WITHOUT ROWID;"
                     "CREATE TRIGGER TestTitleEntity_deleteSplitWords AFTER DELETE ON"
                     " TestTitleEntity BEGIN DELETE FROM TestSplitWordEntity"
                     " WHERE title = old.pk; END;"
                     "INSERT INTO TestSplitWordEntity SELECT pk, 'der', 0, 'Der'"
                     " FROM TestTitleEntity WHERE title = 'A';"
                     "INSERT INTO TestSplitWordEntity SELECT pk, 'hund', 2, 'Hund'"
                     " FROM TestTitleEntity WHERE title = 'A';"
                     "INSERT INTO TestSplitWordEntity SELECT pk, 'der', 3, 'der'"
                     " FROM TestTitleEntity WHERE title = 'A';"
                     "INSERT INTO TestSplitWordEntity SELECT pk, 'bellt', 5, 'bellt'"
                     " FROM TestTitleEntity WHERE title = 'A';"
                     "INSERT INTO TestSplitWordEntity VALUES (999, 'gone', 0, 'gone');"
                     "PRAGMA user_version = 3");
        }
        QCOMPARE(stateOf("A").splittedWords, QStringList({"Der", "Hund", "der", "bellt"}));
        QCOMPARE(stateOf("B").splittedWords, QStringList());
        RawStore raw;
        QCOMPARE(raw.value("PRAGMA user_version"), QString::number(StoreSchema::version));
        QCOMPARE(raw.count("TestSplitWordEntity"), 1);
        QCOMPARE(raw.value("PRAGMA foreign_key_check"), QString());
        // The old list's places in the text were not kept.
        QCOMPARE(stateOf("A").splittedWords.startAt(0), -1);
        DeleteSplitWordCommandHandler().handle({idOf("A"), "DER"});
        QCOMPARE(stateOf("A").splittedWords, QStringList({"Hund", "bellt"}));
        DeleteTitleByIdCommandHandler().handle({idOf("A")});
        QCOMPARE(raw.count("TestSplitWordEntity"), 0);
        QCOMPARE(raw.count("TestSplitWordRemoval"), 0);
    }

    // A store of version 4 had no languages: it gains their table, keeps
    // everything else, and its titles have none.
    void version4StoreGainsTitleLanguages() {
        addTitle("A");
        SaveTextCommandHandler().handle({"Der Hund", idOf("A")});
        SaveSplitWordCommandHandler().handle({{"Der", "Hund"}, idOf("A")});
        SaveWordCommandHandlerProduction().handle({idOf("A"), "bellt", Kind::known,
                                                   QUuid::createUuid(),
                                                   QDateTime::currentDateTimeUtc()});
        {
            RawStore raw;
            raw.exec("DROP TABLE TitleLanguage; PRAGMA user_version = 4");
        }
        QVERIFY(FetchTitleLanguagesQueryHandler().handle().isEmpty());
        RawStore raw;
        QCOMPARE(raw.value("PRAGMA user_version"), QString::number(StoreSchema::version));
        QCOMPARE(raw.count("TitleLanguage"), 0);
        QCOMPARE(stateOf("A").boxText, "Der Hund");
        QCOMPARE(stateOf("A").splittedWords, QStringList({"Der", "Hund"}));
        QCOMPARE(wordTexts(wordsOf("A")), QStringList{"bellt"});
        SaveTitleLanguageCommandHandler().handle({idOf("A"), "de"});
        QCOMPARE(FetchTitleLanguagesQueryHandler().handle().value(idOf("A")), "de");
    }

    // Each step changes the language of title A or B (code, or "-" to
    // clear), or deletes a title; the languages then stored are listed.
    void titleLanguages_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("stored"); // "A=ja B=de", sorted by title
        QTest::newRow("set") << "A ja"
                             << "A=ja";
        QTest::newRow("set again replaces") << "A ja; A zh"
                                            << "A=zh";
        QTest::newRow("cleared") << "A ja; B de; A -"
                                 << "B=de";
        QTest::newRow("clearing none is harmless") << "A -"
                                                   << "";
        QTest::newRow("goes with its title") << "A ja; B ja; del A"
                                             << "B=ja";
        QTest::newRow("unknown title is left alone") << "X ja; A th"
                                                     << "A=th";
    }
    void titleLanguages() {
        QFETCH(QString, script);
        QFETCH(QString, stored);
        addTitle("A");
        addTitle("B");
        for (const QString& step : script.split(';', Qt::SkipEmptyParts)) {
            const QStringList parts = step.split(' ', Qt::SkipEmptyParts);
            if (parts[0] == "del")
                runTitleStep(step.trimmed());
            else
                SaveTitleLanguageCommandHandler().handle(
                    {idOf(parts[0]), parts[1] == "-" ? QString() : parts[1]});
        }
        const QHash<QUuid, QString> languages = FetchTitleLanguagesQueryHandler().handle();
        QStringList found;
        for (const QString name : {"A", "B", "X"}) {
            if (languages.contains(idOf(name)))
                found << name + "=" + languages.value(idOf(name));
        }
        QCOMPARE(found.join(' '), stored);
        RawStore raw;
        QCOMPARE(raw.value("PRAGMA foreign_key_check"), QString());
    }

    void titleOrder_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("names");   // as the queries list them
        QTest::addColumn<QString>("indexes"); // stored index of each, same order
        QTest::newRow("three added in order") << "add A; add B; add C"
                                              << "A B C"
                                              << "0 1 2";
        QTest::newRow("deletion leaves a gap") << "add A; add B; add C; del B"
                                               << "A C"
                                               << "0 2";
        QTest::newRow("new title goes after a gap") << "add A; add B; add C; del C; del A; add D"
                                                    << "B D"
                                                    << "1 2";
        QTest::newRow("reorder") << "add A; add B; add C; order C A B"
                                 << "C A B"
                                 << "0 1 2";
        QTest::newRow("reorder list lacking a title keeps its index")
            << "add A; add B; add C; order C B"
            << "A C B"
            << "0 0 1";
        QTest::newRow("reorder skips unknown ids, later position wins")
            << "add A; add B; order X B A B"
            << "A B"
            << "2 3";
        QTest::newRow("stored id added again takes the new name, keeps its place")
            << "add A; add B; readd A Z"
            << "Z B"
            << "0 1";
        QTest::newRow("rename to empty") << "add A; rename A"
                                         << ""
                                         << "0";
        QTest::newRow("rename unknown id") << "add A; rename X Y"
                                           << "A"
                                           << "0";
        QTest::newRow("delete unknown id") << "add A; del X"
                                           << "A"
                                           << "0";
        QTest::newRow("add after reorder goes last") << "add A; add B; order B A; add C"
                                                     << "B A C"
                                                     << "0 1 2";
    }
    void titleOrder() {
        QFETCH(QString, script);
        QFETCH(QString, names);
        QFETCH(QString, indexes);
        for (const QString& step : script.split(';'))
            runTitleStep(step.trimmed());
        const QStringList got = titleNames();
        QCOMPARE(got.join(' '), names);
        // The map holds the same titles, keyed by the same values.
        const auto states = LoadLanguageStateQueryHandler().handle();
        QCOMPARE(states.size(), got.size());
        for (const auto& entry : FetchTitleAndKnownWordsQueryHandlerProduction().handle())
            QVERIFY(states.contains(entry.title));
        RawStore raw;
        QStringList stored;
        for (const auto& entry : FetchTitleAndKnownWordsQueryHandlerProduction().handle())
            stored << raw.value(
                QStringLiteral("SELECT \"index\" FROM TestTitleEntity WHERE id = x'%1'")
                    .arg(QString::fromLatin1(entry.title.id.toRfc4122().toHex())));
        QCOMPARE(stored.join(' '), indexes);
    }

    void indexGoesPast16Bits() {
        addTitle("A");
        ChangeTitleOrderCommandHandler().handle(QList<Title>(40000, titleOf("A")));
        addTitle("B");
        QCOMPARE(titleNames(), QStringList({"A", "B"}));
        RawStore raw;
        QCOMPARE(raw.value("SELECT \"index\" FROM TestTitleEntity WHERE title = 'B'"), "40000");
    }

    void splitWords_data() {
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<QString>("deleted"); // empty: no deletion
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("order and repetitions")
            << QStringList{"a", "b", "a"} << "" << QStringList{"a", "b", "a"};
        QTest::newRow("empty list") << QStringList{} << "" << QStringList{};
        QTest::newRow("deletion takes every repetition, keeps the order of the rest")
            << QStringList{"x", "a", "y", "a", "z", "a"} << "a" << QStringList{"x", "y", "z"};
        QTest::newRow("deletion folds case")
            << QStringList{"Apple", "pear", "apple", "APPLE"} << "apple" << QStringList{"pear"};
        QTest::newRow("deletion folds case of the given text")
            << QStringList{"apple", "pear"} << "Apple" << QStringList{"pear"};
        QTest::newRow("deletion by canonical equivalence")
            << QStringList{QStringLiteral("caf\u00e9"), QStringLiteral("cafe\u0301"), "cafe"}
            << QStringLiteral("CAF\u00c9") << QStringList{"cafe"};
        QTest::newRow("deletion of absent text") << QStringList{"a"} << "b" << QStringList{"a"};
        QTest::newRow("empty and spaced words kept as they are")
            << QStringList{"", " a ", ""} << "" << QStringList{"", " a ", ""};
    }
    void splitWords() {
        QFETCH(QStringList, saved);
        QFETCH(QString, deleted);
        QFETCH(QStringList, expected);
        addTitle("A");
        addTitle("B");
        SaveSplitWordCommandHandler().handle({{"old", "words"}, idOf("A")});
        SaveSplitWordCommandHandler().handle({saved, idOf("A")});
        SaveSplitWordCommandHandler().handle({saved, idOf("B")});
        if (!deleted.isEmpty())
            DeleteSplitWordCommandHandler().handle({idOf("A"), deleted});
        QCOMPARE(stateOf("A").splittedWords, expected);
        QCOMPARE(stateOf("B").splittedWords, saved); // another title is untouched
        QCOMPARE(stateOf("A").boxText, QString());
    }

    // A book's list is written into its row a piece at a time: every word and
    // every place reads back, across the pieces, and a list written over it
    // replaces it whole.
    void longSplitWithPlacesReadsBack() {
        addTitle("A");
        QString text;                                 // the builder keeps views into it
        QList<std::pair<qsizetype, qsizetype>> spans; // start, length
        for (int i = 0; i < 60000; ++i) {
            const QString word = QStringLiteral("w%1").arg(i % 40000);
            spans.append({text.size(), word.size()});
            text += word + QString(1 + i % 3, QLatin1Char(' '));
        }
        SplitList::Builder builder;
        for (const auto& [start, length] : spans)
            builder.add(QStringView(text).mid(start, length), start);
        const SplitList saved = builder.finish();
        SaveSplitWordCommandHandler().handle({saved, idOf("A")});
        const SplitList read = stateOf("A").splittedWords;
        QCOMPARE(read, saved);
        QCOMPARE(read.startOfOccurrence(), saved.startOfOccurrence());
        SaveSplitWordCommandHandler().handle({{"a", "b"}, idOf("A")});
        QCOMPARE(stateOf("A").splittedWords, (SplitList{"a", "b"}));
    }

    void saveForUnknownTitleStoresNothing() {
        const QUuid unknown = idOf("X");
        SaveTextCommandHandler().handle({"text", unknown});
        SaveSplitWordCommandHandler().handle({{"a"}, unknown});
        SaveWordCommandHandlerProduction().handle(
            {unknown, "w", Kind::known, QUuid::createUuid(), QDateTime::currentDateTimeUtc()});
        SaveWordsCommandHandler().handle({unknown, {word("w", Kind::known, {})}});
        WordBatches::process().waitForPendingSaves();
        RawStore raw;
        for (const char* table :
             {"TestTitleEntity", "TestTextEntity", "TestSplitWordEntity", "TestKnownWordEntity"})
            QCOMPARE(raw.count(table), 0);
    }

    void textKeepsOneRecordPerTitle() {
        addTitle("A");
        addTitle("B");
        QCOMPARE(stateOf("A").boxText, QString());
        SaveTextCommandHandler().handle({"", idOf("A")});
        QCOMPARE(stateOf("A").boxText, QString());
        for (const char* typed : {"H", "He", "Hel", "Hello"})
            SaveTextCommandHandler().handle({typed, idOf("A")});
        SaveTextCommandHandler().handle({QStringLiteral("\u00fcber \U0001F600"), idOf("B")});
        QCOMPARE(stateOf("A").boxText, "Hello");
        QCOMPARE(stateOf("B").boxText, QStringLiteral("\u00fcber \U0001F600"));
        QCOMPARE(stateOf("A").scrollPosition, 0.0);
        RawStore raw;
        QCOMPARE(raw.count("TestTextEntity"), 2);
    }

    void textPiecesCoverTheTextAndKeepPairsWhole() {
        QString text;
        quint32 x = 7;
        for (int i = 0; i < 60000; ++i) {
            x = x * 1103515245 + 12345;
            text += (x >> 16) % 3 ? QString::number(x >> 20) + QLatin1Char(' ')
                                  : QString::fromUcs4(U"\U0001F600");
        }
        const auto pieces = TextChunks::cut(text);
        QVERIFY(pieces.size() > 5);
        qsizetype next = 0;
        for (const auto& p : pieces) {
            QCOMPARE(p.start, next);
            QVERIFY(p.length <= 32768);
            QVERIFY(p.length >= 2048 || &p == &pieces.last());
            QVERIFY(!text.at(p.start + p.length - 1).isHighSurrogate());
            next = p.start + p.length;
        }
        QCOMPARE(next, text.size());
        // The same text is cut the same way, also behind a change near its start.
        QString edited = text;
        edited.insert(10, QLatin1Char('Q'));
        const auto after = TextChunks::cut(edited);
        QCOMPARE(after.last().digest, pieces.last().digest);
        QVERIFY(TextChunks::cut(QString()).isEmpty());
    }

    void longTextEditsReadBackAndRewriteLittle_data() {
        QTest::addColumn<qsizetype>("at");         // where a character is typed (-1: the end)
        QTest::addColumn<QStringList>("alphabet"); // the characters of the text
        const QStringList latin =
            QStringLiteral("abcdefghij klmnopqrstuvwxyz,.\n").split(QString());
        const QStringList wide = {QString::fromUcs4(U"\U0001F600"),
                                  QString::fromUcs4(U"\U0001D400"),
                                  QStringLiteral("\u65E5"),
                                  QStringLiteral("\u672C"),
                                  " ",
                                  "x"};
        QTest::newRow("typed at the start") << qsizetype(0) << latin;
        QTest::newRow("typed in the middle") << qsizetype(150000) << latin;
        QTest::newRow("typed at the end") << qsizetype(-1) << latin;
        QTest::newRow("surrogate pairs throughout") << qsizetype(99999) << wide;
    }
    void longTextEditsReadBackAndRewriteLittle() {
        QFETCH(qsizetype, at);
        QFETCH(QStringList, alphabet);
        alphabet.removeAll(QString());
        addTitle("A");
        QString text;
        quint32 x = 12345;
        while (text.size() < 300000) {
            x = x * 1103515245 + 12345;
            text += alphabet.at((x >> 16) % alphabet.size());
        }
        SaveTextCommandHandler().handle({text, idOf("A")});
        QCOMPARE(stateOf("A").boxText, text);
        RawStore raw;
        const int before = raw.count("TestTextChunk");
        QVERIFY(before > 10);
        const QString maxBefore = raw.value("SELECT max(pk) FROM TestTextChunk");

        text.insert(at < 0 ? text.size() : at, QLatin1Char('Q'));
        SaveTextCommandHandler().handle({text, idOf("A")});
        QCOMPARE(stateOf("A").boxText, text);
        // One keystroke rewrites a piece or two, not the whole text.
        const int rewritten =
            raw.value("SELECT count(*) FROM TestTextChunk WHERE pk > " + maxBefore).toInt();
        QVERIFY2(rewritten <= 2, qPrintable(QString::number(rewritten)));
        QVERIFY(qAbs(raw.count("TestTextChunk") - before) <= 2);

        // Clearing the text leaves no pieces behind; deleting the title neither.
        SaveTextCommandHandler().handle({QString(), idOf("A")});
        QCOMPARE(stateOf("A").boxText, QString());
        QCOMPARE(raw.count("TestTextChunk"), 0);
        SaveTextCommandHandler().handle({text, idOf("A")});
        DeleteTitleByIdCommandHandler().handle({idOf("A")});
        QCOMPARE(raw.count("TestTextChunk"), 0);
    }

    // The 64-bit hash that once decided whether a stored piece could stand
    // for new text: two texts that differ in their first eight characters can
    // be made to agree on it. The second text must still be the one stored.
    void textsThatAWeakHashCannotTellApartStayApart() {
        auto weakHash = [](QStringView piece) {
            quint64 h = 0xcbf29ce484222325ull ^ quint64(piece.size());
            auto mix = [&](quint64 w) {
                h = (h ^ w) * 0x9E3779B97F4A7C15ull;
                h ^= h >> 29;
            };
            qsizetype i = 0;
            for (; i + 4 <= piece.size(); i += 4) {
                quint64 w;
                std::memcpy(&w, piece.utf16() + i, sizeof w);
                mix(w);
            }
            for (; i < piece.size(); ++i)
                mix(piece[i].unicode());
            h ^= h >> 32;
            h *= 0xD6E8FEB86659FD93ull;
            return h ^ (h >> 32);
        };
        QString a;
        for (int i = 0; a.size() < 6000; ++i)
            a += QStringLiteral("Im Anfang war das Wort %1. ").arg(i);
        // Choose the first four units of b, then the next four so that the
        // running hash after eight units is the same as a's.
        auto step = [](quint64 h, quint64 w) {
            h = (h ^ w) * 0x9E3779B97F4A7C15ull;
            return h ^ (h >> 29);
        };
        auto word = [](QStringView s) {
            quint64 w;
            std::memcpy(&w, s.utf16(), sizeof w);
            return w;
        };
        const quint64 h0 = 0xcbf29ce484222325ull ^ quint64(TextChunks::cut(a).first().length);
        const quint64 target =
            step(h0, word(QStringView(a).mid(0, 4))) ^ word(QStringView(a).mid(4, 4));
        QString b;
        for (char16_t c = u'A'; c < u'z' && b.isEmpty(); ++c) {
            const QString first = QString(4, QChar(c));
            const quint64 second = step(h0, word(first)) ^ target;
            QString candidate = first;
            bool valid = true;
            for (int k = 0; k < 4; ++k) {
                const char16_t u = char16_t(second >> (16 * k));
                valid = valid && u != 0 && !QChar::isSurrogate(u) && u < 0xFFFE;
                candidate += QChar(u);
            }
            if (valid)
                b = candidate + a.mid(8);
        }
        QVERIFY(!b.isEmpty());
        QVERIFY(a != b);
        QCOMPARE(weakHash(QStringView(b).first(TextChunks::cut(b).first().length)),
                 weakHash(QStringView(a).first(TextChunks::cut(a).first().length)));

        addTitle("A");
        SaveTextCommandHandler().handle({a, idOf("A")});
        SaveTextCommandHandler().handle({b, idOf("A")});
        QCOMPARE(stateOf("A").boxText, b);
    }

    // A text whose pieces no longer add up is never loaded short: the next
    // keystroke would store it so. The program ends, naming the title.
    void textThatDoesNotAddUpEndsTheProgram_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("a piece deleted")
            << "DELETE FROM TestTextChunk WHERE pk = (SELECT chunk FROM TestTextPiece"
               " WHERE position = 1)";
        QTest::newRow("a place in the order deleted")
            << "DELETE FROM TestTextPiece WHERE position = 1";
        QTest::newRow("a piece cut short")
            << "UPDATE TestTextChunk SET text = substr(text, 10) WHERE pk = (SELECT chunk FROM"
               " TestTextPiece WHERE position = 1)";
        QTest::newRow("a piece another title's")
            << "UPDATE TestTextChunk SET title = title + 1000 WHERE pk = (SELECT chunk FROM"
               " TestTextPiece WHERE position = 1)";
    }
    void textThatDoesNotAddUpEndsTheProgram() {
        QFETCH(QString, damage);
        addTitle("Der Zauberberg");
        QString text;
        for (int i = 0; text.size() < 40000; ++i)
            text += QStringLiteral("Ein einfacher junger Mensch reiste %1 nach Davos. ").arg(i);
        SaveTextCommandHandler().handle({text, idOf("Der Zauberberg")});
        {
            RawStore raw;
            raw.exec("PRAGMA foreign_keys = OFF");
            raw.exec(damage);
            QCOMPARE(raw.value("PRAGMA integrity_check"), "ok");
        }
        QString source;
        QString message;
        const FatalErrorHook previous = setFatalErrorHook([&](const QString& s, const QString& m) {
            source = s;
            message = m;
            throw std::runtime_error("stopped");
        });
        try {
            LoadLanguageStateQueryHandler().handle();
        } catch (const std::runtime_error&) {
        }
        setFatalErrorHook(previous);
        QCOMPARE(source, "Pramel/LoadLanguageStateQueryHandler");
        QVERIFY2(message.contains(QStringLiteral("\u201cDer Zauberberg\u201d")),
                 qPrintable(message));
    }

    // Saved from the change alone, a text is stored exactly as a whole save
    // would store it: the same pieces in the same order, whatever the edits
    // (typed, deleted, pasted; at the start, the end, across pieces, with
    // surrogate pairs), and a keystroke writes a piece or two.
    void editsStoreTheSamePiecesAsAWholeSave() {
        addTitle("A");
        QRandomGenerator random(5);
        const QStringList alphabet = {"a",
                                      "b",
                                      "c",
                                      "d",
                                      " ",
                                      ".",
                                      "\n",
                                      QString::fromUcs4(U"\U0001F600"),
                                      QStringLiteral("\u00e9")};
        auto randomText = [&](qsizetype length) {
            QString out;
            while (out.size() < length)
                out += alphabet[random.bounded(alphabet.size())];
            return out;
        };
        QString text = randomText(150000);
        SaveTextCommandHandler().handle({text, idOf("A")});
        RawStore raw;
        auto storedDigests = [&] {
            QList<QByteArray> out;
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(raw.db,
                               "SELECT c.digest FROM TestTextPiece p JOIN TestTextChunk c"
                               " ON c.pk = p.chunk ORDER BY p.position",
                               -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW)
                out.append(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 0)),
                                      sqlite3_column_bytes(st, 0)));
            sqlite3_finalize(st);
            return out;
        };
        for (int step = 0; step < 120; ++step) {
            // Mostly keystrokes, sometimes a paste or a cut of a passage.
            const int kind = random.bounded(10);
            qint64 position = random.bounded(text.size() + 1);
            if (step % 17 == 0)
                position = step % 2 ? 0 : text.size(); // the very start and end
            // Never split a surrogate pair: the text pane cannot either.
            if (position > 0 && position < text.size() && text[position].isLowSurrogate())
                --position;
            qint64 removed = kind == 9
                                 ? random.bounded(qMin<qint64>(40000, text.size() - position) + 1)
                             : kind == 8 ? qMin<qint64>(1, text.size() - position)
                                         : 0;
            if (position + removed < text.size() && text[position + removed].isLowSurrogate())
                ++removed;
            const QString added = kind == 7  ? randomText(30000)
                                  : kind < 7 ? randomText(1)
                                             : QString();
            const qint64 maxBefore = raw.value("SELECT max(pk) FROM TestTextChunk").toLongLong();
            text.replace(position, removed, added);
            SaveTextCommandHandler().handle(
                {text, idOf("A"), TextChange{position, removed, qint64(added.size())}});
            if (kind < 7) {
                const int written =
                    raw.value(QStringLiteral("SELECT count(*) FROM TestTextChunk WHERE pk > %1")
                                  .arg(maxBefore))
                        .toInt();
                QVERIFY2(written <= 3, qPrintable(QString::number(written)));
            }
            if (step % 10 == 0 || kind >= 7) {
                QCOMPARE(stateOf("A").boxText, text);
                QList<QByteArray> expected;
                for (const auto& piece : TextChunks::cut(text))
                    expected.append(piece.digest);
                QCOMPARE(storedDigests(), expected);
            }
        }
        // A change that does not fit what is stored is stored whole instead.
        text += "tail";
        SaveTextCommandHandler().handle({text, idOf("A"), TextChange{0, 0, 99}});
        QCOMPARE(stateOf("A").boxText, text);
        QCOMPARE(raw.value("PRAGMA foreign_key_check"), QString());
    }

    void registeredWordReadsBackExactly() {
        addTitle("A");
        const QUuid id = QUuid::createUuid();
        const QDateTime time = QDateTime::fromMSecsSinceEpoch(1700000000123, Qt::UTC);
        SaveWordCommandHandlerProduction().handle({idOf("A"), "Straße", Kind::unwanted, id, time});
        const auto words = wordsOf("A");
        QCOMPARE(words.size(), 1);
        QCOMPARE(words[0].wordText, "Straße");
        QCOMPARE(words[0].id, id);
        QCOMPARE(words[0].kind, Kind::unwanted);
        QCOMPARE(words[0].timestamp, time);
        QCOMPARE(words[0].timestamp.toMSecsSinceEpoch(), 1700000000123);
    }

    void storedKindIsKnownOnlyWhenExactlyKnown_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("known") << "'known'" << Kind::known;
        QTest::newRow("unwanted") << "'unwanted'" << Kind::unwanted;
        QTest::newRow("other case") << "'Known'" << Kind::unwanted;
        QTest::newRow("padded") << "'known '" << Kind::unwanted;
        QTest::newRow("other text") << "'learned'" << Kind::unwanted;
        QTest::newRow("absent") << "NULL" << Kind::unwanted;
    }
    void storedKindIsKnownOnlyWhenExactlyKnown() {
        QFETCH(QString, stored);
        QFETCH(Kind, kind);
        addTitle("A");
        {
            RawStore raw;
            raw.exec(QStringLiteral("INSERT INTO TestKnownWordEntity (id, word, kind, date, "
                                    "titleId, title) SELECT randomblob(16), 'w', %1, 0, id, pk "
                                    "FROM TestTitleEntity")
                         .arg(stored));
        }
        const auto words = wordsOf("A");
        QCOMPARE(words.size(), 1);
        QCOMPARE(words[0].kind, kind);
    }

    void bothKindsInOneListPerTitle() {
        addTitle("A");
        addTitle("B");
        const QDateTime now = QDateTime::currentDateTimeUtc();
        SaveWordCommandHandlerProduction().handle(
            {idOf("A"), "k", Kind::known, QUuid::createUuid(), now});
        SaveWordCommandHandlerProduction().handle(
            {idOf("A"), "u", Kind::unwanted, QUuid::createUuid(), now});
        SaveWordCommandHandlerProduction().handle(
            {idOf("B"), "b", Kind::known, QUuid::createUuid(), now});
        const auto list = FetchTitleAndKnownWordsQueryHandlerProduction().handle();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].wordList.size(), 2);
        QCOMPARE(list[1].wordList.size(), 1);
        QSet<QString> kinds;
        for (const auto& w : list[0].wordList)
            kinds << w.wordText + "=" + kindText(w.kind);
        QCOMPARE(kinds, QSet<QString>({"k=known", "u=unwanted"}));
    }

    void deleteWordById() {
        addTitle("A");
        const QUuid keep = QUuid::createUuid();
        const QUuid drop = QUuid::createUuid();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        SaveWordCommandHandlerProduction().handle({idOf("A"), "keep", Kind::known, keep, now});
        SaveWordCommandHandlerProduction().handle({idOf("A"), "drop", Kind::known, drop, now});
        DeleteWordCommandHandler().handle({QUuid::createUuid()});
        QCOMPARE(wordsOf("A").size(), 2);
        DeleteWordCommandHandler().handle({drop});
        const auto words = wordsOf("A");
        QCOMPARE(words.size(), 1);
        QCOMPARE(words[0].id, keep);
    }

    void deletingTitleDeletesWhatItHolds() {
        for (const QString name : {"A", "B"}) {
            addTitle(name);
            SaveTextCommandHandler().handle({"text " + name, idOf(name)});
            SaveSplitWordCommandHandler().handle({{"s", "t"}, idOf(name)});
            SaveWordCommandHandlerProduction().handle({idOf(name), "w", Kind::known,
                                                       QUuid::createUuid(),
                                                       QDateTime::currentDateTimeUtc()});
        }
        DeleteTitleByIdCommandHandler().handle({idOf("A")});
        RawStore raw;
        QCOMPARE(raw.count("TestTitleEntity"), 1);
        QCOMPARE(raw.count("TestTextEntity"), 1);
        QCOMPARE(raw.count("TestSplitWordEntity"), 1); // B's list, one row
        QCOMPARE(raw.count("TestKnownWordEntity"), 1);
        QCOMPARE(stateOf("B").boxText, "text B");
        // A title added again under the deleted id starts empty.
        addTitle("A");
        QCOMPARE(stateOf("A").splittedWords, QStringList());
        QVERIFY(wordsOf("A").isEmpty());
    }

    // A review card reads back as it was saved after the program starts
    // again; saved again it takes the place of the first; a card of a word
    // not stored is left out, and removing a card leaves the word.
    void reviewCardReadsBackAfterARestart() {
        addTitle("A");
        const ReviewSchedule::Card first = learnAndReview("A", "Hund");
        ReviewStore::save(first);
        CoreDateSetting::forgetKeptConnections();
        QList<ReviewSchedule::Card> cards = ReviewStore::fetchAll();
        QCOMPARE(cards.size(), 1);
        const ReviewSchedule::Card& read = cards.first();
        QCOMPARE(read.learningWordId, first.learningWordId);
        QCOMPARE(read.stability, first.stability);
        QCOMPARE(read.difficulty, first.difficulty);
        QCOMPARE(read.lastReview, first.lastReview);
        QCOMPARE(read.due, first.due);
        QCOMPARE(read.reps, 1);
        QCOMPARE(read.lapses, 0);
        QCOMPARE(read.state, ReviewSchedule::Card::State::review);

        const ReviewSchedule::Card lapsed =
            ReviewSchedule::review(read, ReviewSchedule::Grade::again, read.due);
        ReviewStore::save(lapsed);
        ReviewSchedule::Card stray = lapsed;
        stray.learningWordId = QUuid::createUuid();
        ReviewStore::save(stray);
        CoreDateSetting::forgetKeptConnections();
        cards = ReviewStore::fetchAll();
        QCOMPARE(cards.size(), 1);
        QCOMPARE(cards.first().stability, lapsed.stability);
        QCOMPARE(cards.first().due, lapsed.due);
        QCOMPARE(cards.first().reps, 2);
        QCOMPARE(cards.first().lapses, 1);

        ReviewStore::remove(first.learningWordId);
        QVERIFY(ReviewStore::fetchAll().isEmpty());
        QCOMPARE(LearningWordStore::fetchAll().size(), 1);
    }

    // A store of version 7 had no review schedules: it gains their table,
    // keeps its learning words, every one of them new to review, and then
    // keeps their cards.
    void version7StoreGainsReviewSchedules() {
        addTitle("A");
        const ReviewSchedule::Card card = learnAndReview("A", "Katze");
        {
            RawStore raw;
            raw.exec("DROP TABLE LearningReview; PRAGMA user_version = 7");
        }
        CoreDateSetting::forgetKeptConnections();
        QVERIFY(ReviewStore::fetchAll().isEmpty());
        QCOMPARE(LearningWordStore::fetchAll().size(), 1);
        RawStore raw;
        QCOMPARE(raw.value("PRAGMA user_version"), QString::number(StoreSchema::version));
        ReviewStore::save(card);
        QCOMPARE(reviewedWords(), QList<QUuid>{card.learningWordId});
        QCOMPARE(raw.value("PRAGMA foreign_key_check"), QString());
    }

    // A learning word forgotten, or one of a deleted title, takes its review
    // card with it; the other words keep theirs.
    void learningWordTakesItsReviewCardWithIt() {
        addTitle("A");
        addTitle("B");
        const ReviewSchedule::Card forgotten = learnAndReview("A", "Hund");
        const ReviewSchedule::Card kept = learnAndReview("A", "Katze");
        const ReviewSchedule::Card ofB = learnAndReview("B", "Maus");
        for (const auto& card : {forgotten, kept, ofB})
            ReviewStore::save(card);
        LearningWordStore::forget(forgotten.learningWordId, idOf("A"));
        QList<QUuid> left{kept.learningWordId, ofB.learningWordId};
        std::sort(left.begin(), left.end());
        QCOMPARE(reviewedWords(), left);
        DeleteTitleByIdCommandHandler().handle({idOf("B")});
        QCOMPARE(reviewedWords(), QList<QUuid>{kept.learningWordId});
        RawStore raw;
        QCOMPARE(raw.count("LearningReview"), 1);
        QCOMPARE(raw.value("PRAGMA foreign_key_check"), QString());
    }

    void batchReadsBackAndSkipsWordsAlreadyHeld() {
        addTitle("A");
        const QDateTime t = QDateTime::fromMSecsSinceEpoch(1700000000500, Qt::UTC);
        const QList<AppState::Word> batch = {word("one", Kind::known, t),
                                             word("two", Kind::unwanted, t.addSecs(1))};
        SaveWordsCommandHandler().handle({idOf("A"), {}});
        SaveWordsCommandHandler().handle({idOf("A"), batch});
        WordBatches::process().waitForPendingSaves();
        auto words = wordsOf("A");
        sortWordList(words);
        QCOMPARE(words.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(words[i].id, batch[i].id);
            QCOMPARE(words[i].wordText, batch[i].wordText);
            QCOMPARE(words[i].kind, batch[i].kind);
            QCOMPARE(words[i].timestamp, batch[i].timestamp);
        }
        // A restore of the same words, with times cut to the second as the CSV
        // file keeps them: nothing new. Another kind or another second is new.
        const QDateTime cut = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        SaveWordsCommandHandler().handle(
            {idOf("A"),
             {word("one", Kind::known, cut), word("two", Kind::unwanted, cut.addSecs(1)),
              word("one", Kind::unwanted, cut), word("one", Kind::known, cut.addSecs(1))}});
        WordBatches::process().waitForPendingSaves();
        QCOMPARE(wordsOf("A").size(), 4);
    }

    void deletionReachesAWordStillOnItsWayToTheStore() {
        addTitle("A");
        QList<AppState::Word> batch;
        for (int i = 0; i < 2000; ++i)
            batch << word(QString("w%1").arg(i), Kind::known, QDateTime::currentDateTimeUtc());
        SaveWordsCommandHandler().handle({idOf("A"), batch});
        DeleteWordCommandHandler().handle({batch.last().id});
        WordBatches::process().waitForPendingSaves();
        const auto words = wordsOf("A");
        QCOMPARE(words.size(), 1999);
        for (const auto& w : words)
            QVERIFY(w.id != batch.last().id);
    }

    void restoringStoredTitlesDoesNotDoubleThem() {
        const QDateTime t = QDateTime::currentDateTimeUtc();
        const QList<AppState::Word> words = {word("a", Kind::known, t), word("b", Kind::known, t)};
        for (int round = 0; round < 2; ++round) {
            for (const QString name : {"A", "B"}) {
                AddTitleCommandHandler().handle({titleOf(name)});
                SaveWordsCommandHandler().handle({idOf(name), words});
            }
        }
        WordBatches::process().waitForPendingSaves();
        const auto list = FetchTitleAndKnownWordsQueryHandlerProduction().handle();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].wordList.size(), 2);
        QCOMPARE(list[1].wordList.size(), 2);
    }

    void batchesAreStoredInOrderWhileTheMainThreadWrites() {
        constexpr int titles = 8;
        constexpr int perBatch = 300;
        addTitle("main");
        for (int t = 0; t < titles; ++t) {
            const QString name = QString::number(t);
            addTitle(name);
            QList<AppState::Word> batch;
            for (int i = 0; i < perBatch; ++i)
                batch << word(QString("w%1").arg(i), Kind::known, QDateTime::currentDateTimeUtc());
            SaveWordsCommandHandler().handle({idOf(name), batch});
            // Meanwhile the main thread keeps writing on its own connections.
            SaveTextCommandHandler().handle({"text " + name, idOf("main")});
            SaveSplitWordCommandHandler().handle({{"x", name}, idOf("main")});
        }
        // The same word and second handed over twice: the first batch wins,
        // which it can only do when the batches run in the order given.
        const QDateTime t = QDateTime::currentDateTimeUtc();
        const AppState::Word first = word("same", Kind::known, t);
        SaveWordsCommandHandler().handle({idOf("main"), {first}});
        SaveWordsCommandHandler().handle({idOf("main"), {word("same", Kind::known, t)}});
        WordBatches::process().waitForPendingSaves();

        const auto list = FetchTitleAndKnownWordsQueryHandlerProduction().handle();
        QCOMPARE(list.size(), titles + 1);
        QCOMPARE(list[0].wordList.size(), 1);
        QCOMPARE(list[0].wordList[0].id, first.id);
        for (int t = 1; t <= titles; ++t)
            QCOMPARE(list[t].wordList.size(), perBatch);
        QCOMPARE(stateOf("main").boxText, QString("text %1").arg(titles - 1));
        WordBatches::process().waitForPendingSaves(); // nothing pending: returns at once
    }

    // A large batch goes in chunks, and the window's writes take turns with
    // them: none waits for the whole batch, so none runs into the busy
    // timeout (shortened here so that a whole-batch transaction would).
    void windowWritesNeverWaitForAWholeBatch() {
        StoreConnection::setBusyTimeout(150);
        addTitle("copy");
        addTitle("open");
        QList<AppState::Word> batch;
        const QDateTime t = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < 120 * 1000; ++i)
            batch << word(QStringLiteral("wort%1").arg(i), Kind::known, t);
        QString fatal;
        const FatalErrorHook previous =
            setFatalErrorHook([&](const QString& source, const QString&) {
                fatal = source;
                throw std::runtime_error("stopped");
            });
        SaveWordsCommandHandler().handle({idOf("copy"), batch});
        QElapsedTimer clock;
        qint64 longest = 0;
        int writes = 0;
        QSet<qint64> seen; // words left, as seen between two writes
        try {
            while (WordBatches::process().pending().words > 0) {
                seen.insert(WordBatches::process().pending().words);
                clock.start();
                SaveTextCommandHandler().handle(
                    {QStringLiteral("typed %1").arg(writes), idOf("open")});
                longest = std::max(longest, clock.elapsed());
                ++writes;
            }
        } catch (const std::runtime_error&) {
        }
        WordBatches::process().waitForPendingSaves();
        setFatalErrorHook(previous);
        StoreConnection::setBusyTimeout(10000);
        qInfo("%d writes during the batch, the longest took %lld ms", writes, longest);
        QCOMPARE(fatal, QString());
        // The writes went in between the chunks, not before or after the batch.
        QVERIFY2(seen.size() > 10, qPrintable(QString::number(seen.size())));
        QCOMPARE(wordsOf("copy").size(), batch.size());
        QCOMPARE(stateOf("open").boxText, QStringLiteral("typed %1").arg(writes - 1));
        QVERIFY(WordBatches::process().takeFailures().isEmpty());
    }

    // A batch whose title went away is told, unless the user deleted the title.
    void batchForAMissingTitleIsReported() {
        addTitle("kept");
        addTitle("deleted");
        StatusLineCapture lines;
        SaveWordsCommandHandler().handle({idOf("never stored"), {word("a", Kind::known, {})}});
        QList<AppState::Word> many;
        for (int i = 0; i < 5000; ++i)
            many << word(QString::number(i), Kind::unwanted, {});
        SaveWordsCommandHandler().handle({idOf("kept"), many});
        SaveWordsCommandHandler().handle({idOf("deleted"), many});
        DeleteTitleByIdCommandHandler().handle({idOf("deleted")});
        WordBatches::process().waitForPendingSaves();
        const auto failures = WordBatches::process().takeFailures();
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0].titleId, idOf("never stored"));
        QCOMPARE(failures[0].notStored, 1);
        QVERIFY(failures[0].fatalSource.isEmpty());
        QVERIFY(lines.lines().value(0).startsWith("Failed to save items: "));
        QCOMPARE(wordsOf("kept").size(), 5000);
        QCOMPARE(titleNames(), QStringList({"kept"}));
        QCOMPARE(WordBatches::process().pending().words, 0);
    }

    // A failing write, made by a trigger that raises an error, takes the path
    // its handler is given: the program ends naming the handler, or a line is
    // printed and the program goes on.
    void failedWrites_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("fatalSource"); // empty: no fatal error
        QTest::addColumn<QString>("printed");     // empty: nothing printed
        QTest::newRow("text") << "TestTextEntity"
                              << "Pramel/SaveTextCommandHandler"
                              << "";
        QTest::newRow("split words") << "TestSplitWordEntity"
                                     << "Pramel/SaveSplitWordCommandHandler"
                                     << "";
        QTest::newRow("word") << "TestKnownWordEntity"
                              << "Pramel/SaveWordCommand"
                              << "";
        QTest::newRow("add title") << "TestTitleEntity"
                                   << ""
                                   << "Failed to fetch items: ";
        QTest::newRow("word batch") << "TestKnownWordEntity#batch"
                                    << ""
                                    << "Failed to save items: ";
    }
    void failedWrites() {
        QFETCH(QString, table);
        QFETCH(QString, fatalSource);
        QFETCH(QString, printed);
        addTitle("A");
        const QString tableName = table.section('#', 0, 0);
        {
            RawStore raw;
            raw.exec(QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON %1 "
                                    "BEGIN SELECT RAISE(ABORT, 'disk is gone'); END")
                         .arg(tableName));
        }
        QString fatal;
        const FatalErrorHook previous =
            setFatalErrorHook([&](const QString& source, const QString&) {
                fatal = source;
                throw std::runtime_error("stopped");
            });
        StatusLineCapture lines;
        try {
            if (table == "TestTextEntity")
                SaveTextCommandHandler().handle({"t", idOf("A")});
            else if (table == "TestSplitWordEntity")
                SaveSplitWordCommandHandler().handle({{"a"}, idOf("A")});
            else if (table == "TestKnownWordEntity")
                SaveWordCommandHandlerProduction().handle({idOf("A"), "w", Kind::known,
                                                           QUuid::createUuid(),
                                                           QDateTime::currentDateTimeUtc()});
            else if (table == "TestTitleEntity")
                addTitle("B");
            else {
                SaveWordsCommandHandler().handle({idOf("A"), {word("w", Kind::known, {})}});
                WordBatches::process().waitForPendingSaves();
            }
        } catch (const std::runtime_error&) {
        }
        setFatalErrorHook(previous);
        QCOMPARE(fatal, fatalSource);
        if (printed.isEmpty()) {
            QVERIFY(lines.lines().isEmpty());
        } else {
            QCOMPARE(lines.lines().size(), 1);
            QVERIFY(lines.lines()[0].startsWith(printed + "disk is gone"));
        }
        // Nothing of the failed write is left behind.
        QCOMPARE(titleNames(), QStringList({"A"}));
        QCOMPARE(stateOf("A").boxText, QString());
        QCOMPARE(stateOf("A").splittedWords, QStringList());
        QVERIFY(wordsOf("A").isEmpty());
    }
};

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
