#include "ModelTestSupport.h"
#include "StateSnapshot.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "csv/CsvReader.h"
#include "csv/CsvWriter.h"
#include "domain/TextCompare.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <map>

// Long random sequences of operations on one model; a second model loaded
// from the same store must then show exactly what the first one holds.
namespace {

using Kind = AppState::Word::Kind;

using Snapshot = TitleSnapshot;

std::map<QUuid, Snapshot> snapshot(const AppState& s) {
    return snapshotTitles(s);
}

const QStringList vocabulary = {"the",
                                "The",
                                "cat",
                                "Cat",
                                "sat",
                                "on",
                                "mat",
                                "42",
                                QStringLiteral("caf\u00e9"),
                                QStringLiteral("Cafe\u0301"),
                                "dog",
                                "DOG",
                                "a",
                                "b"};

// Killed children: the same binary started with this variable set runs one
// long operation on the store the parent made, and is killed during it.
const char* const childVariable = "PRAMEL_MODEL_CHILD";

// The words of a real text (the opening of Genesis, King James), one per
// row of a split, in many cases and with repetitions.
const QString genesis = QStringLiteral(
    "In the beginning God created the heaven and the earth. And the earth was without form, "
    "and void; and darkness was upon the face of the deep. And the Spirit of God moved upon "
    "the face of the waters. And God said, Let there be light: and there was light. And God "
    "saw the light, that it was good: and God divided the light from the darkness. And God "
    "called the light Day, and the darkness he called Night. And the evening and the morning "
    "were the first day. And God said, Let there be a firmament in the midst of the waters, "
    "and let it divide the waters from the waters. And God made the firmament, and divided "
    "the waters which were under the firmament from the waters which were above the "
    "firmament: and it was so. And God called the firmament Heaven. Bring forth grass, the "
    "herb yielding seed, and the fruit tree yielding fruit after his kind, whose seed is in "
    "itself, upon the earth: and it was so. Two great lights; the greater light to rule the "
    "day, and the lesser light to rule the night: he made the stars also.");

// Triage as fast as the keys go: the first row known, unwanted, learned or
// set aside, with an undo now and then, until the list is empty.
int triageUntilKilled() {
    auto model = ViewModelFactory::storeBackedModel();
    model->load();
    QRandomGenerator rng(QRandomGenerator::global()->generate());
    for (;;) {
        const SplitList split =
            model->state().languageStateList.value(model->state().currentTitle).splittedWords;
        if (split.size() == 0)
            break;
        const QString word = split.at(0);
        switch (rng.bounded(6)) {
        case 0:
            model->learnWord(word, 0, word);
            break;
        case 1:
            model->registerWord(word, Kind::unwanted, 0);
            break;
        case 2:
            model->undo();
            model->redo();
            break;
        default:
            model->registerWord(word, Kind::known, 0);
        }
    }
    std::puts("done");
    std::fflush(stdout);
    return 0;
}

// Copies the first title, or restores the CSV file named by PRAMEL_RESTORE_FILE,
// and waits for its words.
int batchUntilKilled(bool copy) {
    auto model = ViewModelFactory::storeBackedModel();
    model->load();
    if (copy) {
        model->duplicateTitle(0);
    } else {
        const QString path = qEnvironmentVariable("PRAMEL_RESTORE_FILE");
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        auto parsed = csv::parseCSV(QString::fromUtf8(file.readAll()));
        model->restore(std::get<QList<TitleAndWordList>>(parsed), path);
    }
    std::puts("handed over");
    std::fflush(stdout);
    ViewModelFactory::waitForBackgroundSaves();
    std::puts("done");
    std::fflush(stdout);
    return 0;
}

// Starts a child in mode on the store of dataHome and kills it after
// between least and most milliseconds (or lets it end first). Whether it
// ended on its own.
bool runAndKill(const QString& dataHome, const char* mode, int least, int most,
                const QString& restoreFile = QString()) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(childVariable, mode);
    env.insert("XDG_DATA_HOME", dataHome);
    env.insert("PRAMEL_RESTORE_FILE", restoreFile);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    if (!child.waitForStarted())
        return false;
    const bool ended = child.waitForFinished(int(QRandomGenerator::global()->bounded(least, most)));
    if (!ended) {
        child.kill(); // SIGKILL
        child.waitForFinished();
    }
    return ended && child.exitCode() == 0;
}

// Each word of the title counted by id, and by text and kind.
struct Counted {
    QHash<QUuid, int> ids;
    QHash<QString, int> words;
};
Counted counted(const QList<AppState::Word>& words) {
    Counted c;
    for (const auto& w : words) {
        ++c.ids[w.id];
        ++c.words[w.wordText + QLatin1Char('/') + QString::number(int(w.kind))];
    }
    return c;
}

} // namespace

class RandomOperationsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Killed at random points of fast triage, no word is ever registered
    // twice, and no registered or learned word is ever back in the list.
    void killedTriageNeverStoresAWordTwice() {
        TemporaryStore store;
        {
            auto model = ViewModelFactory::storeBackedModel();
            model->load();
            // Thousands of distinct words, so that triage outlasts the kills.
            QString text;
            for (int i = 0; i < 40; ++i)
                text += QString(genesis).replace(QLatin1Char(' '), QStringLiteral("%1 ").arg(i));
            model->addTitleWithText(QStringLiteral("Genesis"), text);
            model->splitWords();
        }
        const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        bool finished = false;
        for (int round = 0; round < 40 && !finished; ++round) {
            finished = runAndKill(dataHome, "triage", 20, 250);
            auto model = restartedModel();
            const AppState& s = model->state();
            QCOMPARE(s.listOfTitleAndWordList.size(), 1);
            const SplitList split = s.languageStateList.value(s.currentTitle).splittedWords;
            QSet<QString> left;
            for (qsizetype i = 0; i < split.size(); ++i)
                left.insert(text::folded(split.at(i)));
            QStringList registered = wordTexts(s.listOfTitleAndWordList[0].wordList);
            for (const auto& w : s.learningWords)
                registered << w.wordText;
            QSet<QString> seen;
            QStringList faults;
            for (const QString& word : std::as_const(registered)) {
                const QString folded = text::folded(word);
                if (seen.contains(folded))
                    faults << word + " registered twice";
                if (left.contains(folded))
                    faults << word + " still in the list";
                seen.insert(folded);
            }
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(", ")));
        }
    }

    // A copy or a restore killed half-way is finished at the next start,
    // word for word, and the start says so.
    void killedBatchIsFinishedAtTheNextStart_data() {
        QTest::addColumn<bool>("copy");
        QTest::newRow("copy of a title") << true;
        QTest::newRow("restore from a file") << false;
    }
    void killedBatchIsFinishedAtTheNextStart() {
        QFETCH(bool, copy);
        constexpr int count = 200000;
        TemporaryStore store;
        const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        TitleAndWordList source{Title{QUuid::createUuid(), QStringLiteral("Bible")}, {}};
        const QStringList words = genesis.split(u' ');
        for (int i = 0; i < count; ++i)
            source.wordList.append({words[i % words.size()], QUuid::createUuid(),
                                    i % 3 ? Kind::known : Kind::unwanted,
                                    QDateTime::fromSecsSinceEpoch(1700000000 + i / 7, Qt::UTC)});
        const QString file = store.dir.filePath(QStringLiteral("words.csv"));
        {
            auto model = ViewModelFactory::storeBackedModel();
            model->load();
            if (copy) {
                model->restore({source});
                ViewModelFactory::waitForBackgroundSaves();
            } else {
                AppState only;
                only.listOfTitleAndWordList = {source};
                model->setAppState(only);
                QString error;
                QVERIFY(csv::writeFile(file, csv::buildText(model->exportCSV()), &error));
                model->setAppState(AppState());
                model->load();
            }
        }
        for (int round = 0; round < 3; ++round) {
            runAndKill(dataHome, copy ? "copy" : "restore", 200, 2500, file);
            auto model = restartedModel();
            const AppModel::BackgroundSaves& saves = model->backgroundSaves();
            const auto& list = model->state().listOfTitleAndWordList;
            const qsizetype batches = copy ? round + 2 : 1;
            // The copy (or the restored title) is either not there at all,
            // or whole: with every word once, each with one id.
            QVERIFY(list.size() <= batches);
            for (const auto& entry : list) {
                QCOMPARE(entry.wordList.size(), count);
                const Counted c = counted(entry.wordList);
                QCOMPARE(c.ids.size(), count);
                QCOMPARE(c.words, counted(source.wordList).words);
            }
            for (const FinishedWordBatch& done : saves.finished) {
                QVERIFY(done.whole);
                QCOMPARE(done.total, count);
                QVERIFY(done.stored <= count);
            }
        }
    }

    void sequencesSurviveARestart_data() {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 12; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void sequencesSurviveARestart() {
        QFETCH(quint32, seed);
        TemporaryStore store;
        QRandomGenerator rng(seed);
        auto model = ViewModelFactory::storeBackedModel();
        model->load();
        QList<QUuid> storedOrder; // the order the next start lists
        QStringList log;
        int undos = 0;
        int redos = 0;

        auto pickTitle = [&](const AppState& s) -> qsizetype {
            return s.listOfTitleAndWordList.isEmpty()
                       ? -1
                       : rng.bounded(qsizetype(s.listOfTitleAndWordList.size()));
        };

        for (int step = 0; step < 360; ++step) {
            const AppState s = model->appState();
            const int op = rng.bounded(17);
            const qsizetype ti = pickTitle(s);
            const QStringList split =
                s.languageStateList.value(s.currentTitle).splittedWords.toStringList();
            switch (op) {
            case 0: {
                model->addTitle(QStringLiteral("T%1").arg(step));
                storedOrder.append(model->state().listOfTitleAndWordList.last().title.id);
                log << "add";
                break;
            }
            case 1:
                if (ti >= 0) {
                    model->changeTitle(s.listOfTitleAndWordList[ti].title,
                                       QStringLiteral("R%1").arg(step));
                    log << QStringLiteral("rename %1").arg(ti);
                }
                break;
            case 2:
                if (ti >= 0 && rng.bounded(3) == 0) {
                    storedOrder.removeAll(s.listOfTitleAndWordList[ti].title.id);
                    model->deleteTitle(s.listOfTitleAndWordList[ti].title.id);
                    log << QStringLiteral("delete %1").arg(ti);
                }
                break;
            case 3:
                if (ti >= 0) {
                    model->duplicateTitle(ti);
                    storedOrder.append(model->state().listOfTitleAndWordList[ti + 1].title.id);
                    log << QStringLiteral("duplicate %1").arg(ti);
                }
                break;
            case 4:
                if (ti >= 0) {
                    // The title at ti ends up at to, as a drag above the title
                    // after to leaves it.
                    const qsizetype to = rng.bounded(qsizetype(s.listOfTitleAndWordList.size()));
                    model->moveTitle(ti, to > ti ? to + 1 : to);
                    storedOrder.clear();
                    for (const auto& t : model->state().titles())
                        storedOrder.append(t.id);
                    log << QStringLiteral("move %1 %2").arg(ti).arg(to);
                }
                break;
            case 5:
                if (ti >= 0) {
                    model->setCurrentTitle(s.listOfTitleAndWordList[ti].title);
                    log << QStringLiteral("select %1").arg(ti);
                }
                break;
            case 6: {
                QStringList words;
                for (int i = rng.bounded(12); i > 0; --i)
                    words << vocabulary[rng.bounded(qsizetype(vocabulary.size()))];
                model->saveText(words.join(rng.bounded(2) ? ", " : " "));
                log << "saveText";
                break;
            }
            case 7:
            case 8:
                model->splitWords();
                log << "split";
                break;
            case 9:
            case 10:
                if (!split.isEmpty()) {
                    const qsizetype row = rng.bounded(split.size());
                    model->registerWord(split[row], rng.bounded(2) ? Kind::known : Kind::unwanted,
                                        row);
                    log << QStringLiteral("register %1").arg(row);
                }
                break;
            case 11:
                if (!split.isEmpty()) {
                    const qsizetype row = rng.bounded(split.size());
                    if (rng.bounded(2))
                        model->removeTemporarily(split[row], row);
                    else if (!s.knownWords().isEmpty())
                        model->deleteWord(s.knownWords().first().id);
                    log << QStringLiteral("remove/delete %1").arg(row);
                }
                break;
            case 12:
                if (ti >= 0 && rng.bounded(2) == 0) {
                    // Restore part of the list from its own export, plus a new title.
                    const auto parsed = csv::parseCSV(csv::buildText(model->exportCSV()));
                    QVERIFY(std::holds_alternative<QList<TitleAndWordList>>(parsed));
                    QList<TitleAndWordList> list;
                    for (const auto& e : std::get<QList<TitleAndWordList>>(parsed))
                        if (rng.bounded(2))
                            list.append(e);
                    list.append({{QUuid::createUuid(), QStringLiteral("N%1").arg(step)},
                                 {{"new", QUuid::createUuid(), Kind::known,
                                   QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC)}}});
                    for (const auto& e : list)
                        if (!storedOrder.contains(e.title.id))
                            storedOrder.append(e.title.id);
                    model->restore(list);
                    log << "restore";
                }
                break;
            case 14:
                if (!split.isEmpty()) {
                    // A step taken and taken back leaves memory and store as
                    // they were.
                    ViewModelFactory::waitForBackgroundSaves();
                    const auto before = snapshot(model->state());
                    const auto storedBefore = snapshot(restartedModel()->state());
                    const qsizetype row = rng.bounded(split.size());
                    switch (rng.bounded(3)) {
                    case 0:
                        model->registerWord(split[row], Kind::unwanted, row);
                        break;
                    case 1:
                        model->removeTemporarily(split[row], row);
                        break;
                    default:
                        if (s.knownWords().isEmpty())
                            model->registerWord(split[row], Kind::known, row);
                        else
                            model->deleteWord(s.knownWords().last().id);
                    }
                    model->undo();
                    ++undos;
                    log << QStringLiteral("step and undo %1").arg(row);
                    QVERIFY2(snapshot(model->state()) == before, qPrintable(log.join("; ")));
                    QVERIFY2(snapshot(restartedModel()->state()) == storedBefore,
                             qPrintable(log.join("; ")));
                    break;
                }
                [[fallthrough]];
            case 13:
                // Undo, often several steps back.
                for (int n = 1 + rng.bounded(3); n > 0 && model->undoStep(); --n) {
                    model->undo();
                    ++undos;
                    log << "undo";
                }
                break;
            case 16:
                // Learn a word, level, promote or drop one.
                if (!split.isEmpty() && (s.learningWords.isEmpty() || rng.bounded(2))) {
                    const qsizetype row = rng.bounded(split.size());
                    model->learnWord(split[row], row, split.mid(row, 3).join(' '));
                    log << QStringLiteral("learn %1").arg(row);
                } else if (!s.learningWords.isEmpty()) {
                    const QUuid id = s.learningWords[rng.bounded(s.learningWords.size())].id;
                    switch (rng.bounded(3)) {
                    case 0:
                        model->setLearningLevel(id, 1 + rng.bounded(5));
                        model->setLearningMeaning(id, QStringLiteral("m%1").arg(step));
                        log << "level";
                        break;
                    case 1:
                        model->promoteLearningWord(id);
                        log << "promote";
                        break;
                    default:
                        model->dropLearningWord(id);
                        log << "drop";
                    }
                }
                break;
            case 15:
                // Redo what was undone; or undo a step and take it again.
                if (!model->redoStep() && model->undoStep()) {
                    model->undo();
                    ++undos;
                    log << "undo";
                }
                for (int n = 1 + rng.bounded(2); n > 0 && model->redoStep(); --n) {
                    model->redo();
                    ++redos;
                    log << "redo";
                }
                break;
            }
        }

        ViewModelFactory::waitForBackgroundSaves();
        QVERIFY2(undos > 0 && redos > 0, qPrintable(log.join("; ")));
        const std::map<QUuid, Snapshot> expected = snapshot(model->state());

        auto next = ViewModelFactory::storeBackedModel();
        next->load();
        const std::map<QUuid, Snapshot> actual = snapshot(next->state());
        const QString context = QStringLiteral("seed %1, ops: %2").arg(seed).arg(log.join("; "));
        QVERIFY2(actual.size() == expected.size(), qPrintable(context));
        for (const auto& [id, want] : expected) {
            auto it = actual.find(id);
            QVERIFY2(it != actual.end(), qPrintable(context));
            const Snapshot& got = it->second;
            if (got.words != want.words || got.boxText != want.boxText ||
                got.splittedWords != want.splittedWords || got.name != want.name ||
                got.learning != want.learning)
                qWarning().noquote() << context << "title" << uuidText(id);
            QCOMPARE(got.name, want.name);
            QCOMPARE(got.words, want.words);
            QCOMPARE(got.boxText, want.boxText);
            QCOMPARE(got.splittedWords, want.splittedWords);
            QCOMPARE(got.learning, want.learning);
        }
        QList<QUuid> order;
        for (const auto& t : next->state().titles())
            order.append(t.id);
        QCOMPARE(order, storedOrder);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pramel"));
    const QByteArray mode = qgetenv(childVariable);
    if (mode == "triage")
        return triageUntilKilled();
    if (mode == "copy" || mode == "restore")
        return batchUntilKilled(mode == "copy");
    RandomOperationsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_appmodel_random.moc"
