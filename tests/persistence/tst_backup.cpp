// Backups of the store: a backup is a store of its own, a restore gives back
// exactly what was backed up, bad files change nothing, and a kill during a
// backup harms neither the store nor the older backups.

#include "TestSupport.h"
#include "persistence/AddTitleCommandHandler.h"
#include "persistence/CoreDateSetting.h"
#include "persistence/DeleteTitleByIdCommandHandler.h"
#include "persistence/SaveSplitWordCommandHandler.h"
#include "persistence/SaveTextCommandHandler.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/StoreBackup.h"
#include "persistence/WordBatches.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sqlite3.h>

namespace {

const char* const childVariable = "PRAMEL_BACKUP_CHILD";

QString storePath() {
    return CoreDateSetting::defaultStorePath();
}

// Every row of every table, in a fixed order: the store's content, whatever
// its pages look like.
QStringList contentOf(const QString& path) {
    sqlite3* db = nullptr;
    QStringList rows;
    const QString uri = QStringLiteral("file:%1?mode=ro").arg(path);
    if (sqlite3_open_v2(uri.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {QStringLiteral("cannot open")};
    }
    QStringList tables;
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name", -1,
                       &list, nullptr);
    while (sqlite3_step(list) == SQLITE_ROW)
        tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
    sqlite3_finalize(list);
    for (const QString& table : tables) {
        sqlite3_stmt* s = nullptr;
        const QByteArray sql =
            QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1, 2").arg(table).toUtf8();
        sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW) {
            QString row = table;
            for (int c = 0; c < sqlite3_column_count(s); ++c) {
                const QByteArray cell(static_cast<const char*>(sqlite3_column_blob(s, c)),
                                      sqlite3_column_bytes(s, c));
                row += QLatin1Char('|') + QString::fromLatin1(cell.toHex());
            }
            rows << row;
        }
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return rows;
}

QString pragmaOf(const QString& path, const char* pragma) {
    sqlite3* db = nullptr;
    QString out;
    const QString uri = QStringLiteral("file:%1?mode=ro").arg(path);
    if (sqlite3_open_v2(uri.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                        nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, pragma, -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW)
            out += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return out;
}

// A title holding a book: a long text in many languages, its split list and
// its registered words.
void addBook(const QString& name, int words) {
    const Title title{QUuid::createUuid(), name};
    AddTitleCommandHandler().handle({title});
    const QString sentences = QStringLiteral(
        "In the beginning God created the heaven and the earth.\r\n"
        "Als Gregor Samsa eines Morgens aus unruhigen Träumen erwachte, fand er sich in seinem "
        "Bett zu einem ungeheueren Ungeziefer verwandelt.\n"
        "Все счастливые семьи похожи друг на друга, каждая несчастливая семья несчастлива "
        "по-своему.\n");
    const QString text = sentences.repeated(4000); // about 1.2 MB
    SaveTextCommandHandler().handle({text, title.id});
    QStringList split;
    for (int i = 0; i < 1000; ++i)
        split << QStringList{"In", "the", "beginning", "Gregor", "Samsa", "семьи"};
    SaveSplitWordCommandHandler().handle({SplitList(split), title.id});
    QList<AppState::Word> list;
    for (int i = 0; i < words; ++i)
        list.append({QStringLiteral("%1 wort %2").arg(name).arg(i), QUuid::createUuid(),
                     i % 3 ? AppState::Word::Kind::known : AppState::Word::Kind::unwanted,
                     QDateTime::fromMSecsSinceEpoch(1700000000000 + i, Qt::UTC)});
    SaveWordsCommandHandler().handle({title.id, list});
    WordBatches::process().waitForPendingSaves();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Backs the store up again and again until killed, each with its reason.
int backUpForever() {
    for (int n = 0;; ++n) {
        StoreBackup::backUp(storePath(), StoreBackup::folderFor(storePath()), 1000,
                            QDateTime::currentDateTimeUtc(),
                            {BackupReason::Kind::deletingTitle, QString::number(n)});
        std::printf("backup %d\n", n);
        std::fflush(stdout);
    }
}

} // namespace

class BackupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        addBook(QStringLiteral("Bibel"), 3000);
        addBook(QStringLiteral("Мир"), 500);
    }
    void cleanup() { store_.reset(); }

    // A backup stands alone: it opens read-only, is sound, has no journal
    // beside it, and a restore after changes gives back the same content,
    // whatever the size of the backup's pages (older stores have 4 KiB ones).
    void backupAndRestoreRoundTripTheContent_data() {
        QTest::addColumn<int>("pageSize");
        QTest::newRow("pages as written") << 0;
        QTest::newRow("4 KiB pages") << 4096;
    }
    void backupAndRestoreRoundTripTheContent() {
        QFETCH(int, pageSize);
        const QStringList before = contentOf(storePath());
        QVERIFY(before.size() > 3000);
        const StoreBackup::Outcome outcome =
            StoreBackup::backUp(storePath(), StoreBackup::folderFor(storePath()));
        QVERIFY2(outcome.ok(), qPrintable(outcome.error));
        if (pageSize) {
            QFile::setPermissions(outcome.path, QFile::ReadOwner | QFile::WriteOwner);
            sqlite3* db = nullptr;
            sqlite3_open(outcome.path.toUtf8().constData(), &db);
            const QByteArray sql =
                QByteArray("PRAGMA page_size = ") + QByteArray::number(pageSize) + "; VACUUM";
            QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
            QCOMPARE(pragmaOf(outcome.path, "PRAGMA page_size"), QString::number(pageSize));
        }
        QCOMPARE(QFileInfo(outcome.path).absolutePath(), store_->dataDir() + "/backups");
        QCOMPARE(pragmaOf(outcome.path, "PRAGMA integrity_check"), QStringLiteral("ok"));
        QCOMPARE(pragmaOf(outcome.path, "PRAGMA journal_mode"), QStringLiteral("delete"));
        QVERIFY(!QFileInfo::exists(outcome.path + "-wal"));
        QCOMPARE(contentOf(outcome.path), before);

        StoreBackup::Info info;
        QCOMPARE(StoreBackup::check(outcome.path, &info), QString());
        QCOMPARE(info.titles, 2);
        QCOMPARE(info.words, 3500);
        QVERIFY(qAbs(info.date.secsTo(QDateTime::currentDateTime())) < 60);

        // Changes after the backup, a title gone and another added.
        const auto titles = contentOf(storePath()).filter(QRegularExpression("^TestTitleEntity"));
        QVERIFY(!titles.isEmpty());
        addBook(QStringLiteral("later"), 10);
        sqlite3* db = nullptr;
        sqlite3_open(storePath().toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "PRAGMA foreign_keys = ON; DELETE FROM TestTitleEntity WHERE title = 'Bibel'",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QVERIFY(contentOf(storePath()) != before);

        QCOMPARE(StoreBackup::restoreInto(outcome.path, storePath()), QString());
        QCOMPARE(contentOf(storePath()), before);
        QCOMPARE(pragmaOf(storePath(), "PRAGMA journal_mode"), QStringLiteral("wal"));
        QCOMPARE(pragmaOf(storePath(), "PRAGMA integrity_check"), QStringLiteral("ok"));
        QCOMPARE(pragmaOf(storePath(), "PRAGMA page_size"), QStringLiteral("16384"));
    }

    // The newest written are kept, though the clock that names them went back.
    void theNewestBackupsAreKept_data() {
        QTest::addColumn<int>("step");
        QTest::newRow("clock going on") << 1;
        QTest::newRow("clock set back") << -1;
    }
    void theNewestBackupsAreKept() {
        QFETCH(int, step);
        const QString folder = StoreBackup::folderFor(storePath());
        const QDateTime start = QDateTime::fromSecsSinceEpoch(1800000000, Qt::UTC);
        auto reason = [](int i) {
            return BackupReason{BackupReason::Kind::deletingTitle, QString::number(i)};
        };
        for (int i = 0; i < 12; ++i) {
            const StoreBackup::Outcome outcome =
                StoreBackup::backUp(storePath(), folder, 10, start.addSecs(step * i), reason(i));
            QVERIFY2(outcome.ok(), qPrintable(outcome.error));
            QVERIFY(QFileInfo::exists(outcome.path));
        }
        // Two in the same millisecond get names of their own.
        QVERIFY(StoreBackup::backUp(storePath(), folder, 10, start.addSecs(step * 11), reason(12))
                    .ok());
        const QList<StoreBackup::Info> kept = StoreBackup::list(folder);
        QCOMPARE(kept.size(), 10);
        QCOMPARE(kept.first().date, start.addSecs(step * 11).toLocalTime());
        QCOMPARE(kept.last().date, start.addSecs(step * 3).toLocalTime());
        for (const auto& backup : kept)
            QCOMPARE(backup.words, 3500);
        // Each keeps its own reason, and the reasons of those removed go with them.
        for (int i = 0; i < kept.size(); ++i)
            QCOMPARE(kept[i].reason, reason(12 - i));
        QCOMPARE(QDir(folder).entryList({"*.reason"}, QDir::Files).size(), 10);
    }

    // Why a backup was taken is kept beside it, in a file of its own: the
    // backup is the store's copy as it was, and its header already holds
    // the schema's version and the order it was written in. A backup
    // without one (an older version's) or with one this version cannot
    // read still lists and restores, with no reason.
    void eachBackupKeepsWhyItWasTaken_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QByteArray>("written"); // over the reason's file; empty: as kept
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("listedSubject");
        using K = BackupReason::Kind;
        QTest::newRow("by hand") << int(K::byHand) << "" << QByteArray() << int(K::byHand) << "";
        QTest::newRow("restoring a file") << int(K::restoringFile) << "words.csv" << QByteArray()
                                          << int(K::restoringFile) << "words.csv";
        QTest::newRow("deleting a title, any name")
            << int(K::deletingTitle) << "Мир \"1\"/\n{x}" << QByteArray() << int(K::deletingTitle)
            << "Мир \"1\"/\n{x}";
        QTest::newRow("restoring a backup")
            << int(K::restoringBackup) << "" << QByteArray() << int(K::restoringBackup) << "";
        QTest::newRow("none given: no file")
            << int(K::unknown) << "" << QByteArray() << int(K::unknown) << "";
        QTest::newRow("damaged") << int(K::byHand) << "" << QByteArray("{\"reas") << int(K::unknown)
                                 << "";
        QTest::newRow("a later version's reason")
            << int(K::byHand) << "" << QByteArray(R"({"reason":"compacting","subject":"x"})")
            << int(K::unknown) << "";
        QTest::newRow("not a reason at all")
            << int(K::byHand) << "" << QByteArray(200000, 'x') << int(K::unknown) << "";
    }
    void eachBackupKeepsWhyItWasTaken() {
        QFETCH(int, kind);
        QFETCH(QString, subject);
        QFETCH(QByteArray, written);
        QFETCH(int, listed);
        QFETCH(QString, listedSubject);
        const QString folder = StoreBackup::folderFor(storePath());
        const BackupReason reason{BackupReason::Kind(kind), subject};
        const StoreBackup::Outcome outcome = StoreBackup::backUp(
            storePath(), folder, StoreBackup::kept, QDateTime::currentDateTimeUtc(), reason);
        QVERIFY2(outcome.ok(), qPrintable(outcome.error));
        const QString reasonFile = outcome.path + ".reason";
        QCOMPARE(QFileInfo::exists(reasonFile), reason.kind != BackupReason::Kind::unknown);
        if (!written.isEmpty())
            writeFile(reasonFile, written);
        // The store's copy is the store's, reason or not.
        QCOMPARE(contentOf(outcome.path), contentOf(storePath()));
        QCOMPARE(pragmaOf(outcome.path, "PRAGMA user_version"),
                 pragmaOf(storePath(), "PRAGMA user_version"));

        const QList<StoreBackup::Info> backups = StoreBackup::list(folder);
        QCOMPARE(backups.size(), 1);
        QCOMPARE(backups.first().error, QString());
        QCOMPARE(int(backups.first().reason.kind), listed);
        QCOMPARE(backups.first().reason.subject, listedSubject);
        StoreBackup::Info info;
        QCOMPARE(StoreBackup::check(outcome.path, &info), QString());
        QCOMPARE(info.reason, backups.first().reason);
        QCOMPARE(StoreBackup::restoreInto(outcome.path, storePath()), QString());
        // A later backup leaves the reason where its backup is.
        QVERIFY(StoreBackup::backUp(storePath(), folder).ok());
        QCOMPARE(QFileInfo::exists(reasonFile), reason.kind != BackupReason::Kind::unknown);
    }

    void badBackupsAreRefusedAndChangeNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("text file") << "text"
                                   << "is not a backup of Pramel";
        QTest::newRow("another program's database") << "foreign"
                                                    << "is not a backup of Pramel";
        QTest::newRow("damaged backup") << "damaged"
                                        << "is damaged";
        QTest::newRow("newer version") << "newer"
                                       << "newer version of Pramel";
        QTest::newRow("missing file") << "missing"
                                      << "cannot be read";
    }
    void badBackupsAreRefusedAndChangeNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QString folder = StoreBackup::folderFor(storePath());
        const StoreBackup::Outcome good = StoreBackup::backUp(storePath(), folder);
        QVERIFY(good.ok());
        const QString bad = store_->dir.path() + "/bad.sqlite";
        if (kind == "text") {
            writeFile(bad, QByteArray("title,id,word\n").repeated(500));
        } else if (kind == "foreign") {
            sqlite3* db = nullptr;
            sqlite3_open(bad.toUtf8().constData(), &db);
            sqlite3_exec(db, "CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('x')",
                         nullptr, nullptr, nullptr);
            sqlite3_close(db);
        } else if (kind == "damaged") {
            QVERIFY(QFile::copy(good.path, bad));
            QFile file(bad);
            QVERIFY(file.open(QIODevice::ReadWrite));
            // Page 3 onwards: the tables' own pages, not the header.
            file.seek(3 * 16384);
            file.write(QByteArray(16384 * 4, '\xa5'));
        } else if (kind == "newer") {
            QVERIFY(QFile::copy(good.path, bad));
            QFile::setPermissions(bad, QFile::ReadOwner | QFile::WriteOwner);
            sqlite3* db = nullptr;
            sqlite3_open(bad.toUtf8().constData(), &db);
            sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        }
        const QStringList before = contentOf(storePath());
        const QString refused = StoreBackup::restoreInto(bad, storePath());
        QVERIFY2(refused.contains(message), qPrintable(refused));
        QCOMPARE(contentOf(storePath()), before);

        // Among the backups, it is listed with the reason it cannot be restored.
        if (kind == "missing")
            return;
        const QString listed = folder + "/Pramel-20200101-000000-000.sqlite";
        QVERIFY(QFile::rename(bad, listed));
        const QList<StoreBackup::Info> backups = StoreBackup::list(folder);
        QCOMPARE(backups.size(), 2);
        for (const StoreBackup::Info& backup : backups) {
            if (backup.path == listed)
                QVERIFY2(backup.error.contains(message), qPrintable(backup.error));
            else
                QCOMPARE(backup.error, QString());
        }
    }

    void aFolderThatCannotBeWrittenIsToldNotThrown() {
        const QString notAFolder = store_->dir.path() + "/file";
        writeFile(notAFolder, "x");
        const StoreBackup::Outcome outcome = StoreBackup::backUp(storePath(), notAFolder);
        QVERIFY(!outcome.ok());
        QVERIFY2(outcome.error.contains("cannot be written"), qPrintable(outcome.error));
    }

    // Killed at random points of a backup: the store reads as before, every
    // finished backup is whole, and the next backup clears what was left.
    void aKillDuringABackupHarmsNothing() {
        const QString folder = StoreBackup::folderFor(storePath());
        QVERIFY(StoreBackup::backUp(storePath(), folder).ok());
        const QStringList before = contentOf(storePath());
        for (int round = 0; round < 6; ++round) {
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("XDG_DATA_HOME", store_->dir.path());
            env.insert(childVariable, "1");
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), QStringList());
            QVERIFY(child.waitForStarted());
            QVERIFY(child.waitForReadyRead(20000));
            QThread::msleep(7 * round + 3);
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(20000));
            QCOMPARE(contentOf(storePath()), before);
            for (const QString& name : QDir(folder).entryList({"*.sqlite"}, QDir::Files))
                QCOMPARE(StoreBackup::check(folder + "/" + name), QString());
        }
        // The journal of a copy killed while being written, too, and a reason
        // whose backup never took its name.
        writeFile(folder + "/Pramel-20200101-000000-000.sqlite.part-journal", "x");
        writeFile(folder + "/Pramel-20200101-000000-001.sqlite.reason", "{}");
        QVERIFY(StoreBackup::backUp(storePath(), folder, 1000).ok());
        QCOMPARE(QDir(folder).entryList({"*.part*"}, QDir::Files), QStringList());
        // Every reason left is a finished backup's.
        const QStringList reasons = QDir(folder).entryList({"*.reason"}, QDir::Files);
        for (const QString& name : reasons)
            QVERIFY2(QFileInfo::exists(folder + "/" + name.chopped(7)), qPrintable(name));
    }

private:
    std::unique_ptr<TemporaryStore> store_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pramel"));
    if (!qEnvironmentVariableIsEmpty(childVariable))
        return backUpForever();
    BackupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_backup.moc"
