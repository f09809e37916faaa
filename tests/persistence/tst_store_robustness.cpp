// The store under failure: files it cannot use, and a process killed while
// it writes. Each case runs the store in a child process (this same binary,
// started with PRAMEL_STORE_CHILD set), since a fatal error ends the process.

#include "TestSupport.h"
#include "persistence/AddTitleCommandHandler.h"
#include "persistence/DeleteSplitWordCommandHandler.h"
#include "persistence/DeleteTitleByIdCommandHandler.h"
#include "persistence/FetchTitleAndKnownWordsQueryHandlerProduction.h"
#include "persistence/LoadLanguageStateQueryHandler.h"
#include "persistence/SaveSplitWordCommandHandler.h"
#include "persistence/SaveTextCommandHandler.h"
#include "persistence/SaveWordCommandHandlerProduction.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/WordBatches.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <memory>

namespace {

const char* const childVariable = "PRAMEL_STORE_CHILD";

QString storeFile(const QString& dataHome) {
    return dataHome + "/Pramel/TestModel.sqlite";
}

QUuid idOf(const QString& name) {
    return QUuid::createUuidV5(QUuid("{9f3a1c52-5b0e-4c8e-9d7e-2f1b6a4c3d21}"), name);
}
QString titleName(qint64 k) {
    return QStringLiteral("title %1").arg(k);
}
QString textOf(qint64 k) {
    return QStringLiteral("text %1 ").arg(k).repeated(2000);
}
QStringList splitOf(qint64 k) {
    QStringList words;
    for (int i = 0; i < 500; ++i)
        words << QStringLiteral("w%1_%2").arg(k).arg(i % 50);
    return words;
}

void confirm(const char* step, qint64 k) {
    std::printf("%s %lld\n", step, static_cast<long long>(k));
    std::fflush(stdout);
}

// The child's long series of operations; a line after each one has returned.
int runOperations(qint64 first) {
    for (qint64 k = first;; ++k) {
        const Title title{idOf(titleName(k)), titleName(k)};
        AddTitleCommandHandler().handle({title});
        confirm("add", k);
        SaveTextCommandHandler().handle({textOf(k), title.id});
        confirm("text", k);
        SaveSplitWordCommandHandler().handle({splitOf(k), title.id});
        confirm("split", k);
        SaveWordCommandHandlerProduction().handle({title.id, "word", AppState::Word::Kind::known,
                                                   idOf("word " + titleName(k)),
                                                   QDateTime::currentDateTimeUtc()});
        confirm("word", k);
        DeleteSplitWordCommandHandler().handle({title.id, QStringLiteral("W%1_0").arg(k)});
        confirm("delsplit", k);
        QList<AppState::Word> batch;
        for (int i = 0; i < 100; ++i)
            batch.append({QStringLiteral("b%1").arg(i), QUuid::createUuid(),
                          AppState::Word::Kind::unwanted, QDateTime::currentDateTimeUtc()});
        SaveWordsCommandHandler().handle({title.id, batch});
        WordBatches::process().waitForPendingSaves();
        confirm("batch", k);
        if (k % 4 == 3) {
            DeleteTitleByIdCommandHandler().handle({idOf(titleName(k - 1))});
            confirm("deltitle", k - 1);
        }
    }
}

QList<AppState::Word> manyWords(int count) {
    QList<AppState::Word> words;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < count; ++i)
        words.append({QStringLiteral("Wort%1").arg(i), QUuid::createUuid(),
                      AppState::Word::Kind::known, now});
    return words;
}

// A large batch on its way, then a fatal error on the main thread (a text
// write that fails): the batch has to land before the process ends.
int fatalDuringBatch() {
    const Title title{idOf("copy"), "copy"};
    AddTitleCommandHandler().handle({title});
    {
        sqlite3* db = nullptr;
        sqlite3_open(storeFile(qEnvironmentVariable("XDG_DATA_HOME")).toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "CREATE TRIGGER fail BEFORE INSERT ON TestTextEntity "
                     "BEGIN SELECT RAISE(ABORT, 'disk is gone'); END",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    SaveWordsCommandHandler().handle({title.id, manyWords(60000)});
    SaveTextCommandHandler().handle({"typed", title.id});
    return 0; // not reached
}

// The store's files may not grow past a few hundred kilobytes, as on a full
// disk: a large batch fails partway, and says so.
int batchOnAFullDisk() {
    const Title title{idOf("copy"), "copy"};
    AddTitleCommandHandler().handle({title});
    const QString store = storeFile(qEnvironmentVariable("XDG_DATA_HOME"));
    const qint64 largest = std::max(QFileInfo(store).size(), QFileInfo(store + "-wal").size());
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{rlim_t(largest + 512 * 1024), rlim_t(largest + 512 * 1024)};
    setrlimit(RLIMIT_FSIZE, &limit);
    SaveWordsCommandHandler().handle({title.id, manyWords(100000)});
    WordBatches::process().waitForPendingSaves();
    for (const auto& failure : WordBatches::process().takeFailures())
        std::printf("failure %lld of %lld: %s\n", static_cast<long long>(failure.notStored),
                    static_cast<long long>(failure.total), qPrintable(failure.reason));
    std::fflush(stdout);
    return 0;
}

int runChild(const QByteArray& mode) {
    if (mode == "open") {
        LoadLanguageStateQueryHandler().handle();
        return 0;
    }
    if (mode == "fatal during batch")
        return fatalDuringBatch();
    if (mode == "full disk")
        return batchOnAFullDisk();
    if (mode == "operations")
        return runOperations(qEnvironmentVariableIntValue("PRAMEL_STORE_FIRST"));
    return 2;
}

struct ChildResult {
    int exitCode = 0;
    QProcess::ExitStatus status = QProcess::NormalExit;
    QString out;
    QString err;
};

QProcessEnvironment childEnvironment(const QString& dataHome, const QByteArray& mode) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dataHome);
    env.insert(childVariable, QString::fromLatin1(mode));
    return env;
}

// As root every folder is writable; the child then gives up root so that
// permissions apply to it.
void dropRootInChild(QProcess& process) {
    if (geteuid() != 0)
        return;
    process.setChildProcessModifier([] {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(99);
    });
}

QString integrityOf(const QString& path) {
    sqlite3* db = nullptr;
    QString result;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW)
            result += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return result;
}

} // namespace

class StoreRobustnessTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void storeThatCannotBeOpenedEndsTheProgram_data() {
        QTest::addColumn<QString>("setup");
        QTest::newRow("file that is not a database") << "corrupt";
        QTest::newRow("folder that is a file") << "folder is a file";
        QTest::newRow("new store in a read-only folder") << "read-only folder";
        QTest::newRow("stored file that cannot be written") << "read-only store";
    }
    void storeThatCannotBeOpenedEndsTheProgram() {
        QFETCH(QString, setup);
        QTemporaryDir home;
        QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadOther | QFile::ExeOther);
        const QString folder = home.path() + "/Pramel";
        const QByteArray garbage = QByteArray("not a database, just text\n").repeated(200);
        QProcess child;
        if (setup == "corrupt") {
            QDir().mkpath(folder);
            QFile file(storeFile(home.path()));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(garbage);
        } else if (setup == "folder is a file") {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (setup == "read-only folder") {
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther);
            dropRootInChild(child);
        } else {
            QProcess maker;
            maker.setProcessEnvironment(childEnvironment(home.path(), "open"));
            maker.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(maker.waitForFinished());
            QCOMPARE(maker.exitCode(), 0);
            QVERIFY(QFile::exists(storeFile(home.path())));
            for (const QString& name : QDir(folder).entryList(QDir::Files))
                QFile::setPermissions(folder + "/" + name, QFile::ReadOwner | QFile::ReadOther);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther);
            dropRootInChild(child);
        }
        child.setProcessEnvironment(childEnvironment(home.path(), "open"));
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished());
        const QString err = QString::fromUtf8(child.readAllStandardError());
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() != 0 && child.exitCode() != 99, qPrintable(err));
        QVERIFY2(err.startsWith("Pramel/CoreDateSetting: Fatal error: Unresolved error "),
                 qPrintable(err));
        QVERIFY2(!err.contains("code: 0"), qPrintable(err));
        // What cannot be written is named: the folder, or the store file.
        if (setup == "read-only folder")
            QVERIFY2(err.contains("The folder " + folder + " cannot be written"), qPrintable(err));
        if (setup == "read-only store")
            QVERIFY2(err.contains(" cannot be written"), qPrintable(err));
        if (setup == "corrupt") {
            QFile file(storeFile(home.path()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), garbage); // left as it was, not replaced by an empty store
        }
    }

    // A store whose structure is damaged is told at the first open, with
    // what to do, even where the data the start reads is still whole.
    void damagedStoreIsToldAtStart() {
        QTemporaryDir home;
        {
            QProcess maker;
            maker.setProcessEnvironment(childEnvironment(home.path(), "open"));
            maker.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(maker.waitForFinished());
        }
        const QString path = storeFile(home.path());
        // Words to fill an index over a few pages, then the journal folded in.
        {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db,
                                  "INSERT INTO TestTitleEntity (id, title, \"index\") VALUES "
                                  "(randomblob(16), 'A', 0);"
                                  "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                  "WHERE i < 20000) INSERT INTO TestKnownWordEntity SELECT "
                                  "randomblob(16), 'w' || i, 'known', i, randomblob(16), 1 FROM n;"
                                  "PRAGMA wal_checkpoint(TRUNCATE)",
                                  nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(db,
                               "SELECT rootpage FROM sqlite_schema "
                               "WHERE name = 'TestKnownWordEntity_id'",
                               -1, &s, nullptr);
            QCOMPARE(sqlite3_step(s), SQLITE_ROW);
            const qint64 root = sqlite3_column_int64(s, 0);
            sqlite3_finalize(s);
            sqlite3_close(db);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek((root - 1) * 16384));
            file.write(QByteArray(64, '\x5a'));
        }
        QProcess child;
        child.setProcessEnvironment(childEnvironment(home.path(), "open"));
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished());
        const QString err = QString::fromUtf8(child.readAllStandardError());
        QVERIFY2(child.exitCode() != 0, qPrintable(err));
        QVERIFY2(err.startsWith("Pramel/CoreDateSetting: Fatal error: Unresolved error The store "
                                "is damaged"),
                 qPrintable(err));
        QVERIFY2(err.contains("put back a copy"), qPrintable(err));
    }

    // A fatal error while a batch is stored in chunks lets the batch finish:
    // the process never ends with part of it written.
    void fatalErrorLetsTheBatchLand() {
        TemporaryStore store;
        QProcess child;
        child.setProcessEnvironment(childEnvironment(store.dir.path(), "fatal during batch"));
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        const QString err = QString::fromUtf8(child.readAllStandardError());
        QVERIFY2(err.startsWith("Pramel/SaveTextCommandHandler: Fatal error"), qPrintable(err));
        const auto titles = FetchTitleAndKnownWordsQueryHandlerProduction().handle();
        QCOMPARE(titles.size(), 1);
        QCOMPARE(titles[0].wordList.size(), 60000);
    }

    // On a disk that fills up, a batch stores what fits, and the failure says
    // how much did not, and why; the store stays sound.
    void batchOnAFullDiskIsReported() {
        TemporaryStore store;
        QProcess child;
        child.setProcessEnvironment(childEnvironment(store.dir.path(), "full disk"));
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        QCOMPARE(child.exitCode(), 0);
        const QRegularExpression line("failure (\\d+) of 100000: (.*)\n");
        const auto match = line.match(out);
        QVERIFY2(match.hasMatch(), qPrintable(out));
        QVERIFY2(out.contains("Failed to save items: "), qPrintable(out));
        const qint64 notStored = match.captured(1).toLongLong();
        QVERIFY(notStored > 0);
        QCOMPARE(integrityOf(storeFile(store.dir.path())), QStringLiteral("ok"));
        const auto titles = FetchTitleAndKnownWordsQueryHandlerProduction().handle();
        QCOMPARE(titles.size(), 1);
        QCOMPARE(titles[0].wordList.size(), 100000 - notStored);
    }

    // The child is killed at random points; every operation it confirmed must
    // be in the store, and the store must be sound. Rounds share one store,
    // so each child also starts on what the killed one left behind.
    // A store whose split list is still a row per occurrence (version 3) is
    // migrated in one transaction: killed at any moment, it is either the old
    // store or the new one, never half of each, and the list comes through.
    void migrationKilledMidwayLosesNothing() {
        TemporaryStore store;
        const Title title{idOf("book"), "book"};
        AddTitleCommandHandler().handle({title});
        constexpr int rows = 300000;
        {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(storeFile(store.dir.path()).toUtf8().constData(), &db),
                     SQLITE_OK);
            QCOMPARE(
                sqlite3_exec(db,
                             "DROP TABLE TestSplitWordRemoval; DROP TABLE TestSplitWordEntity;"
                             "CREATE TABLE TestSplitWordEntity (title INTEGER NOT NULL,"
                             " folded TEXT NOT NULL, position INTEGER NOT NULL, text TEXT NOT NULL,"
                             " PRIMARY KEY (title, folded, position)) WITHOUT ROWID;"
                             "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n"
                             " WHERE i < 299999) INSERT INTO TestSplitWordEntity"
                             " SELECT 1, 'w' || (i % 997), i, 'W' || (i % 997) FROM n;"
                             "PRAGMA user_version = 3",
                             nullptr, nullptr, nullptr),
                SQLITE_OK);
            sqlite3_close(db);
        }
        QRandomGenerator random(QRandomGenerator::global()->generate());
        for (int round = 0; round < 4; ++round) {
            QProcess child;
            child.setProcessEnvironment(childEnvironment(store.dir.path(), "open"));
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            QTest::qWait(int(random.bounded(20, 250)));
            child.kill();
            QVERIFY(child.waitForFinished());
            QCOMPARE(integrityOf(storeFile(store.dir.path())), QStringLiteral("ok"));
        }
        const SplitList list = LoadLanguageStateQueryHandler().handle().value(title).splittedWords;
        QCOMPARE(list.size(), rows);
        QCOMPARE(list.at(0), QStringLiteral("W0"));
        QCOMPARE(list.at(rows - 1), QStringLiteral("W%1").arg((rows - 1) % 997));
    }

    void killedProcessLosesNothingConfirmed() {
        TemporaryStore store;
        const QString dataHome = store.dir.path();
        QMap<qint64, QSet<QString>> done; // title number -> confirmed steps
        QRandomGenerator random(QRandomGenerator::global()->generate());
        for (int round = 0; round < 5; ++round) {
            QProcess child;
            QProcessEnvironment env = childEnvironment(dataHome, "operations");
            env.insert("PRAMEL_STORE_FIRST", QString::number(round * 1000));
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            QTest::qWait(int(random.bounded(100, 400)));
            child.kill(); // SIGKILL
            QVERIFY(child.waitForFinished());
            const QString out = QString::fromUtf8(child.readAllStandardOutput());
            // Only whole lines: the last one may have been cut by the kill.
            const QStringList lines =
                out.left(out.lastIndexOf('\n')).split('\n', Qt::SkipEmptyParts);
            QVERIFY2(!lines.isEmpty(), qPrintable(child.readAllStandardError()));
            for (const QString& line : lines)
                done[line.section(' ', 1).toLongLong()].insert(line.section(' ', 0, 0));

            QCOMPARE(integrityOf(storeFile(dataHome)), QStringLiteral("ok"));
            const auto titles = FetchTitleAndKnownWordsQueryHandlerProduction().handle();
            const auto states = LoadLanguageStateQueryHandler().handle();
            QHash<QUuid, qsizetype> found;
            for (qsizetype i = 0; i < titles.size(); ++i)
                found.insert(titles[i].title.id, i);
            for (auto it = done.cbegin(); it != done.cend(); ++it) {
                const qint64 k = it.key();
                const QSet<QString>& steps = it.value();
                const QString at = QStringLiteral("title %1, round %2").arg(k).arg(round);
                const Title title{idOf(titleName(k)), titleName(k)};
                if (steps.contains("deltitle")) {
                    QVERIFY2(!found.contains(title.id), qPrintable(at));
                    continue;
                }
                // An operation that was cut before its line may or may not have
                // taken effect: the deletion of this title, the removal of a word.
                const bool deletionBegan = k % 4 == 2 && done.value(k + 1).contains("batch");
                if (deletionBegan && !found.contains(title.id))
                    continue;
                QVERIFY2(found.contains(title.id), qPrintable(at));
                const auto& words = titles[found.value(title.id)].wordList;
                const LanguageState state = states.value(title);
                if (steps.contains("text"))
                    QVERIFY2(state.boxText == textOf(k), qPrintable(at));
                if (steps.contains("split")) {
                    const qsizetype n = state.splittedWords.size();
                    if (steps.contains("delsplit"))
                        QVERIFY2(n == 490, qPrintable(at));
                    else if (steps.contains("word"))
                        QVERIFY2(n == 490 || n == 500, qPrintable(at));
                    else
                        QVERIFY2(n == 500, qPrintable(at));
                }
                if (steps.contains("word")) {
                    bool has = false;
                    for (const auto& w : words)
                        has = has || w.id == idOf("word " + titleName(k));
                    QVERIFY2(has, qPrintable(at));
                }
                if (steps.contains("batch"))
                    QVERIFY2(words.size() == 101, qPrintable(at));
            }
        }
        QVERIFY(done.size() >= 5);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pramel"));
    const QByteArray mode = qgetenv(childVariable);
    if (!mode.isEmpty())
        return runChild(mode);
    StoreRobustnessTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store_robustness.moc"
