#include "persistence/StoreSchema.h"

#include "persistence/SplitListStore.h"
#include "persistence/StoreConnection.h"
#include "persistence/StoreError.h"
#include "persistence/StoreStatement.h"
#include "persistence/StoreTransaction.h"
#include "persistence/TextStore.h"

#include <QMap>
#include <QSet>

#include <sqlite3.h>

namespace StoreSchema {

namespace {

// Ids are 16-byte blobs (RFC 4122 byte order). The records of a title point
// at it by its row number, `title`, which keeps the keys of the large tables
// short; `titleId` keeps the title's id beside it.
const char* const baseTables = R"sql(
CREATE TABLE TestTitleEntity (
    pk      INTEGER PRIMARY KEY,
    id      BLOB    NOT NULL UNIQUE,
    title   TEXT    NOT NULL,
    "index" INTEGER NOT NULL
);
CREATE INDEX TestTitleEntity_index ON TestTitleEntity ("index");

CREATE TABLE TestKnownWordEntity (
    id      BLOB    NOT NULL,
    word    TEXT    NOT NULL,
    kind    TEXT,
    date    INTEGER NOT NULL,
    titleId BLOB    NOT NULL,
    title   INTEGER NOT NULL REFERENCES TestTitleEntity (pk) ON DELETE CASCADE
);
CREATE INDEX TestKnownWordEntity_id ON TestKnownWordEntity (id);
CREATE INDEX TestKnownWordEntity_title ON TestKnownWordEntity (title);
)sql";

// A title's split list, as the split made it, in one row: its distinct
// words, and the word of each row and where it stood in the text, packed
// (SplitListStore.h); and a row per folded word that has left it since.
const char* const splitTables = R"sql(
CREATE TABLE TestSplitWordEntity (
    title    INTEGER PRIMARY KEY REFERENCES TestTitleEntity (pk) ON DELETE CASCADE,
    count    INTEGER NOT NULL,
    words    BLOB    NOT NULL,
    sequence BLOB    NOT NULL,
    starts   BLOB    NOT NULL
);
CREATE TABLE TestSplitWordRemoval (
    title  INTEGER NOT NULL REFERENCES TestTitleEntity (pk) ON DELETE CASCADE,
    folded TEXT    NOT NULL,
    PRIMARY KEY (title, folded)
) WITHOUT ROWID;
)sql";

// A title's text: its pieces, each stored once per title under the digest of
// its content (TextChunks.h); their order, one row per place, each pointing
// at its piece and holding its length (a keystroke finds its place from the
// order alone: the pieces' own rows, a page each, are not read); and the one
// text record with the text's length, against which the pieces are checked
// when the store is read.
const char* const textTables = R"sql(
CREATE TABLE TestTextEntity (
    id      BLOB    NOT NULL,
    titleId BLOB    NOT NULL,
    title   INTEGER NOT NULL UNIQUE REFERENCES TestTitleEntity (pk) ON DELETE CASCADE,
    length  INTEGER NOT NULL
);
CREATE TABLE TestTextChunk (
    pk     INTEGER PRIMARY KEY,
    title  INTEGER NOT NULL REFERENCES TestTitleEntity (pk) ON DELETE CASCADE,
    digest BLOB    NOT NULL,
    length INTEGER NOT NULL,
    text   TEXT    NOT NULL
);
CREATE INDEX TestTextChunk_digest ON TestTextChunk (title, digest);
CREATE TABLE TestTextPiece (
    title    INTEGER NOT NULL REFERENCES TestTitleEntity (pk) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    chunk    INTEGER NOT NULL REFERENCES TestTextChunk (pk),
    length   INTEGER NOT NULL,
    PRIMARY KEY (title, position)
) WITHOUT ROWID;
CREATE INDEX TestTextPiece_chunk ON TestTextPiece (chunk);
)sql";

// The language of a title, for the titles that have one: a table of its own
// beside the title's record, which stays as it was. The language is its ISO
// 639 code ("ja", "de"); a title without a row has none.
const char* const languageTables = R"sql(
CREATE TABLE TitleLanguage (
    title    INTEGER PRIMARY KEY REFERENCES TestTitleEntity (pk) ON DELETE CASCADE,
    language TEXT    NOT NULL
);
)sql";

// The words being learned (version 6), kept apart from the registered words:
// the sentence met, a level from 1 to 5, the learner's meaning.
const char* const learningTables = R"sql(
CREATE TABLE LearningWord (
    pk       INTEGER PRIMARY KEY,
    id       BLOB    NOT NULL UNIQUE,
    title    INTEGER NOT NULL REFERENCES TestTitleEntity (pk) ON DELETE CASCADE,
    word     TEXT    NOT NULL,
    sentence TEXT    NOT NULL,
    level    INTEGER NOT NULL CHECK (level BETWEEN 1 AND 5),
    meaning  TEXT    NOT NULL,
    date     INTEGER NOT NULL
);
CREATE INDEX LearningWord_title ON LearningWord (title);
)sql";

// A batch of words on its way to the store (a title's copy, a restore),
// recorded before its first chunk with every word it stores (packed, in
// parts of WordBatchStore::wordsPerPart), and removed
// with its last one (version 7). One left at a start was cut short by a kill:
// the start stores the rest (WordBatches::finishCutBatches).
const char* const batchTables = R"sql(
CREATE TABLE WordBatch (
    pk     INTEGER PRIMARY KEY,
    title  INTEGER NOT NULL REFERENCES TestTitleEntity (pk) ON DELETE CASCADE,
    kind   TEXT    NOT NULL,
    source TEXT    NOT NULL,
    total  INTEGER NOT NULL
);
CREATE TABLE WordBatchPart (
    batch INTEGER NOT NULL REFERENCES WordBatch (pk) ON DELETE CASCADE,
    part  INTEGER NOT NULL,
    words BLOB    NOT NULL,
    PRIMARY KEY (batch, part)
) WITHOUT ROWID;
)sql";

// The review schedule of a learning word (version 8), its FSRS card
// (domain/ReviewSchedule.h): a row once the word has been reviewed, none
// while it is new to review. The row goes with its word, whether the word is
// forgotten or its title deleted. Times are milliseconds since the epoch, as
// LearningWord's date; state is FSRS's number for it.
const char* const reviewTables = R"sql(
CREATE TABLE LearningReview (
    learningWordId BLOB    NOT NULL PRIMARY KEY
                           REFERENCES LearningWord (id) ON DELETE CASCADE,
    stability      REAL    NOT NULL,
    difficulty     REAL    NOT NULL,
    lastReview     INTEGER NOT NULL,
    due            INTEGER NOT NULL,
    reps           INTEGER NOT NULL,
    lapses         INTEGER NOT NULL,
    state          INTEGER NOT NULL
) WITHOUT ROWID;
)sql";

// How a store keeps its texts, as far as its tables tell.
enum class TextLayout {
    wholeTexts,          // each text whole in TestTextEntity.text (version 1)
    listedPieces,        // pieces listed in TestTextEntity.chunks (version 2)
    orderedPieces,       // pieces in order rows with their lengths, TestTextPiece
    orderWithoutLengths, // the same without the lengths (early version 3)
    unknown,
};

// How it keeps its split lists.
enum class SplitLayout {
    rows,   // a row per occurrence, keyed by folded form (up to version 3)
    packed, // one packed row per title (version 4)
    unknown,
};

QSet<QString> namesOf(StoreConnection& store, const char* sql) {
    QSet<QString> names;
    StoreStatement query(store.handle(), sql);
    while (query.next())
        names.insert(query.text(0));
    return names;
}

QSet<QString> tablesOf(StoreConnection& store) {
    return namesOf(store, "SELECT name FROM sqlite_schema WHERE type = 'table'");
}

TextLayout textLayoutOf(StoreConnection& store, const QSet<QString>& tables) {
    const QSet<QString> columns =
        namesOf(store, "SELECT name FROM pragma_table_info('TestTextEntity')");
    if (tables.contains(QStringLiteral("TestTextPiece")) &&
        columns.contains(QStringLiteral("length"))) {
        const QSet<QString> order =
            namesOf(store, "SELECT name FROM pragma_table_info('TestTextPiece')");
        return order.contains(QStringLiteral("length")) ? TextLayout::orderedPieces
                                                        : TextLayout::orderWithoutLengths;
    }
    if (columns.contains(QStringLiteral("chunks")) &&
        tables.contains(QStringLiteral("TestTextChunk")))
        return TextLayout::listedPieces;
    if (columns.contains(QStringLiteral("text")))
        return TextLayout::wholeTexts;
    return TextLayout::unknown;
}

SplitLayout splitLayoutOf(StoreConnection& store) {
    const QSet<QString> columns =
        namesOf(store, "SELECT name FROM pragma_table_info('TestSplitWordEntity')");
    if (columns.contains(QStringLiteral("sequence")))
        return SplitLayout::packed;
    if (columns.contains(QStringLiteral("folded")))
        return SplitLayout::rows;
    return SplitLayout::unknown;
}

struct OldText {
    qint64 title;
    QUuid titleId;
    QString text;
};

// Each text of a store that kept texts whole.
QList<OldText> wholeTexts(StoreConnection& store) {
    QList<OldText> texts;
    StoreStatement query(store.handle(), "SELECT title, titleId, text FROM TestTextEntity");
    while (query.next())
        texts.append({query.integer(0), query.uuid(1), query.text(2)});
    return texts;
}

// Each text of a store that listed its pieces' row numbers in one column.
QList<OldText> listedTexts(StoreConnection& store) {
    QHash<qint64, QString> pieces;
    StoreStatement pieceQuery(store.handle(), "SELECT pk, text FROM TestTextChunk");
    while (pieceQuery.next())
        pieces.insert(pieceQuery.integer(0), pieceQuery.text(1));
    QList<OldText> texts;
    StoreStatement query(store.handle(), "SELECT title, titleId, chunks FROM TestTextEntity");
    while (query.next()) {
        OldText old{query.integer(0), query.uuid(1), QString()};
        const QString order = query.text(2);
        for (const auto pk : QStringView(order).split(QLatin1Char(','), Qt::SkipEmptyParts))
            old.text += pieces.value(pk.toLongLong());
        texts.append(old);
    }
    return texts;
}

// Each text of a store whose order rows did not hold the pieces' lengths.
QList<OldText> orderedTexts(StoreConnection& store) {
    QHash<qint64, QString> texts;
    {
        StoreStatement query(store.handle(), R"sql(
            SELECT p.title, c.text FROM TestTextPiece p JOIN TestTextChunk c ON c.pk = p.chunk
            ORDER BY p.title, p.position)sql");
        while (query.next())
            texts[query.integer(0)] += query.text(1);
    }
    QList<OldText> out;
    StoreStatement query(store.handle(), "SELECT title, titleId FROM TestTextEntity");
    while (query.next())
        out.append({query.integer(0), query.uuid(1), texts.value(query.integer(0))});
    return out;
}

// Replaces the text tables by the present ones and stores each text again.
void storeTextsAgain(StoreConnection& store, const QList<OldText>& texts) {
    store.exec("DROP TABLE IF EXISTS TestTextPiece; DROP TABLE IF EXISTS TestTextChunk;"
               "DROP TABLE TestTextEntity");
    store.exec(textTables);
    for (const auto& old : texts)
        storeTitleText(store, old.title, old.titleId, old.text);
}

// Moves split lists kept a row per occurrence into the packed rows. The
// places of their words in the text were not kept: they stay unknown.
void packSplitLists(StoreConnection& store) {
    QHash<qint64, QMap<qint64, QString>> byTitle;
    {
        StoreStatement query(store.handle(),
                             "SELECT title, position, text FROM TestSplitWordEntity");
        while (query.next())
            byTitle[query.integer(0)].insert(query.integer(1), query.text(2));
    }
    store.exec("DROP TRIGGER IF EXISTS TestTitleEntity_deleteSplitWords;"
               "DROP TABLE TestSplitWordEntity");
    store.exec(splitTables);
    QSet<qint64> titles;
    {
        StoreStatement query(store.handle(), "SELECT pk FROM TestTitleEntity");
        while (query.next())
            titles.insert(query.integer(0));
    }
    for (auto it = byTitle.cbegin(); it != byTitle.cend(); ++it) {
        if (titles.contains(it.key())) // rows of deleted titles were left to the trigger
            SplitListStore::store(store, it.key(), SplitList(it->values()));
    }
}

StoreError unknownStore(const StoreConnection& store) {
    return StoreError{SQLITE_ERROR, QStringLiteral("The file is not a store of Pramel"),
                      QStringLiteral("{path: %1}").arg(store.path())};
}

StoreError newerStore(const StoreConnection& store, qint64 found) {
    return StoreError{SQLITE_ERROR,
                      QStringLiteral("The store was written by a newer version of Pramel"),
                      QStringLiteral("{schema version: %1, supported: %2, path: %3}")
                          .arg(found)
                          .arg(version)
                          .arg(store.path())};
}

qint64 userVersion(StoreConnection& store) {
    StoreStatement query(store.handle(), "PRAGMA user_version");
    query.next();
    return query.integer(0);
}

} // namespace

void prepare(StoreConnection& store) {
    // The first read also tells whether the file is a database at all.
    if (userVersion(store) == version && splitLayoutOf(store) == SplitLayout::packed) {
        const QSet<QString> tables = tablesOf(store);
        if (textLayoutOf(store, tables) == TextLayout::orderedPieces &&
            tables.contains(QStringLiteral("TitleLanguage")) &&
            tables.contains(QStringLiteral("LearningWord")) &&
            tables.contains(QStringLiteral("WordBatch")) &&
            tables.contains(QStringLiteral("LearningReview")))
            return;
    }
    // Larger pages than the default 4 KiB: a long text is a shorter chain of
    // pages to free and write again on every save. Only a new file takes them.
    store.exec("PRAGMA page_size = 16384; PRAGMA journal_mode = WAL");
    // One transaction for the whole migration: a kill halfway leaves the
    // store as it was, and the next start migrates it again.
    StoreTransaction transaction(store, StoreTransaction::Mode::write);
    const qint64 found = userVersion(store); // another connection may have won the race
    if (found > version)
        throw newerStore(store, found);
    const QSet<QString> tables = tablesOf(store);
    if (!tables.contains(QStringLiteral("TestTitleEntity"))) {
        if (!tables.isEmpty())
            throw unknownStore(store);
        store.exec(baseTables);
        store.exec(splitTables);
        store.exec(textTables);
        store.exec(languageTables);
        store.exec(learningTables);
        store.exec(batchTables);
        store.exec(reviewTables);
    } else {
        // Texts and split lists moved to new tables at different versions:
        // each part is brought up to date by what it holds.
        switch (textLayoutOf(store, tables)) {
        case TextLayout::wholeTexts:
            storeTextsAgain(store, wholeTexts(store));
            break;
        case TextLayout::listedPieces:
            storeTextsAgain(store, listedTexts(store));
            break;
        case TextLayout::orderWithoutLengths:
            storeTextsAgain(store, orderedTexts(store));
            break;
        case TextLayout::orderedPieces:
            break;
        case TextLayout::unknown:
            throw unknownStore(store);
        }
        switch (splitLayoutOf(store)) {
        case SplitLayout::rows:
            packSplitLists(store);
            break;
        case SplitLayout::packed:
            break;
        case SplitLayout::unknown:
            throw unknownStore(store);
        }
        // Stores before version 5 had no languages: their titles have none.
        if (!tables.contains(QStringLiteral("TitleLanguage")))
            store.exec(languageTables);
        // Nor learning words before version 6.
        if (!tables.contains(QStringLiteral("LearningWord")))
            store.exec(learningTables);
        // Nor records of batches before version 7.
        if (!tables.contains(QStringLiteral("WordBatch")))
            store.exec(batchTables);
        // Nor review schedules before version 8: every learning word is new
        // to review.
        if (!tables.contains(QStringLiteral("LearningReview")))
            store.exec(reviewTables);
    }
    store.exec(QStringLiteral("PRAGMA user_version = %1").arg(version).toUtf8().constData());
    transaction.commit();
}

} // namespace StoreSchema
