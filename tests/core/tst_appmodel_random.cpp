#include "ModelTestSupport.h"
#include "StateSnapshot.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "csv/CsvReader.h"
#include "csv/CsvWriter.h"
#include "persistence/SaveWordsCommandHandler.h"

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

} // namespace

class RandomOperationsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
                    SaveWordsCommandHandler::waitForPendingSaves();
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

        SaveWordsCommandHandler::waitForPendingSaves();
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

QTEST_GUILESS_MAIN(RandomOperationsTest)
#include "tst_appmodel_random.moc"
