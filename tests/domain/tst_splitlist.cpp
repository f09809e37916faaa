// The split list keeps each distinct word once and marks what leaves it; it
// must read exactly as the plain list of words it stands for, after any
// series of removals.

#include "domain/SplitList.h"
#include "domain/TextCompare.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <random>

namespace {

// The plain list after removing every word whose folded form is word's, and
// the rows those stood at.
QList<qsizetype> removeFromPlain(QStringList& plain, const QString& word) {
    QList<qsizetype> rows;
    QStringList kept;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (text::folded(plain[i]) == text::folded(word))
            rows.append(i);
        else
            kept.append(plain[i]);
    }
    plain = kept;
    return rows;
}

} // namespace

class SplitListTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsAsThePlainList_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("removals");
        QTest::newRow("empty") << QStringList() << QStringList{"a"};
        QTest::newRow("repeats in any case")
            << QStringList{"Der", "Hund", "der", "DER", "Katze", "der"} << QStringList{"der"};
        QTest::newRow("canonical forms fold together")
            << QStringList{QStringLiteral("e\u0301t\u00e9"), QStringLiteral("\u00e9t\u00e9"), "x"}
            << QStringList{QStringLiteral("\u00c9T\u00c9")};
        QTest::newRow("a word that is not there") << QStringList{"a", "b"} << QStringList{"c"};
        QTest::newRow("everything leaves") << QStringList{"a", "A", "b"} << QStringList{"a", "b"};
    }
    void readsAsThePlainList() {
        QFETCH(QStringList, words);
        QFETCH(QStringList, removals);
        SplitList list(words);
        QStringList plain = words;
        QCOMPARE(list.toStringList(), plain);
        for (const QString& r : removals) {
            QCOMPARE(list.removeFolded(r), removeFromPlain(plain, r));
            QCOMPARE(list.size(), plain.size());
            QCOMPARE(list.toStringList(), plain);
            for (qsizetype row = 0; row < plain.size(); ++row)
                QCOMPARE(list.at(row), plain[row]);
        }
        // A word gone already takes nothing more.
        if (!removals.isEmpty())
            QVERIFY(list.removeFolded(removals.first()).isEmpty());
    }

    // Long lists cross many blocks of rows: random removals, compared at
    // every row and for counting and positions, with copies that must not
    // see each other's removals. With more distinct words than two bytes
    // number, the list's numbers widen on the way; with words far apart in
    // the text, so do their places.
    void longListsAgreeAfterRandomRemovals_data() {
        QTest::addColumn<int>("distinctFirst");
        QTest::addColumn<int>("farApart"); // characters between two words, once
        QTest::newRow("few distinct words") << 0 << 1;
        QTest::newRow("more than 65,536") << 70000 << 1;
        QTest::newRow("words 70,000 characters apart") << 0 << 70000;
    }
    void longListsAgreeAfterRandomRemovals() {
        QFETCH(int, distinctFirst);
        QFETCH(int, farApart);
        QRandomGenerator random(11);
        QStringList vocabulary;
        for (int i = 0; i < 300; ++i)
            vocabulary << QStringLiteral("w%1").arg(i) << QStringLiteral("W%1").arg(i);
        QStringList plain;
        SplitList::Builder builder;
        QString text;
        QList<qsizetype> places;
        auto append = [&](const QString& w) {
            plain << w;
            places << text.size();
            text += w + QString(plain.size() == 1000 ? farApart : 1, QLatin1Char(' '));
        };
        for (int i = 0; i < distinctFirst; ++i)
            append(QStringLiteral("u%1").arg(i));
        for (int i = 0; i < 20000; ++i) {
            // Frequent words often, as in real text.
            append(vocabulary[int(random.bounded(vocabulary.size()) * random.generateDouble())]);
        }
        for (qsizetype i = 0; i < plain.size(); ++i)
            builder.add(QStringView(text).mid(places[i], plain[i].size()), places[i]);
        SplitList list = builder.finish();
        QCOMPARE(list.toStringList(), plain);
        for (qsizetype r = 0; r < plain.size(); r += 97)
            QCOMPARE(list.firstRowFrom(places[r]), r);
        for (int step = 0; step < 60; ++step) {
            const QString w = vocabulary[random.bounded(vocabulary.size())];
            const SplitList before = list;
            const QStringList plainBefore = plain;
            const qsizetype row = random.bounded(qMax<qsizetype>(plain.size(), 1));
            qsizetype equalBefore = 0;
            for (qsizetype i = 0; i < row && i < plain.size(); ++i)
                equalBefore += plain[i] == w;
            QCOMPARE(list.countEqualBefore(w, row), equalBefore);
            QCOMPARE(list.removeFolded(w), removeFromPlain(plain, w));
            QCOMPARE(list.size(), plain.size());
            QCOMPARE(before.toStringList(), plainBefore); // the copy kept its rows
            for (qsizetype r = 0; r < plain.size(); r += 97) {
                QCOMPARE(list.at(r), plain[r]);
                QCOMPARE(text.mid(list.startAt(r), plain[r].size()), plain[r]);
            }
        }
        QCOMPARE(list.toStringList(), plain);
        // The parts the store keeps make the same list again.
        const SplitList again =
            SplitList::fromParts(list.distinctWords(), list.wordOfOccurrence().toVector(),
                                 list.startOfOccurrence().toVector(), list.removedFolded());
        QCOMPARE(again.toStringList(), plain);
        QCOMPARE(again.startAt(0), list.startAt(0));
        QVERIFY(again == list);
    }

    // A removal taken back, in any order, across many blocks: the list reads
    // as before, every row where it stood, and it is the very same list; the
    // counts that the progress and the one-row-per-word view read follow.
    void removalsTakenBack() {
        QRandomGenerator random(5);
        QStringList vocabulary;
        for (int i = 0; i < 120; ++i)
            vocabulary << QStringLiteral("w%1").arg(i) << QStringLiteral("W%1").arg(i);
        QStringList plain;
        for (int i = 0; i < 5000; ++i)
            plain << vocabulary[int(random.bounded(vocabulary.size()) * random.generateDouble())];
        SplitList list(plain);
        const SplitList original = list;
        QStringList removed;
        for (int i = 0; i < 40; ++i) {
            const QString w = vocabulary[random.bounded(vocabulary.size())];
            const bool there = list.containsFolded(w);
            QCOMPARE(!list.removeFolded(w).isEmpty(), there);
            removed << w;
        }
        // Back in another order than they left.
        std::shuffle(removed.begin(), removed.end(), std::mt19937(3));
        for (const QString& w : removed) {
            list.restoreFolded(w); // twice for a word removed twice: once is enough
            list.restoreFolded(w);
            QVERIFY(list.containsFolded(w));
        }
        QVERIFY(list.sameAs(original));
        QCOMPARE(list.toStringList(), plain);
        for (qsizetype r = 0; r < plain.size(); r += 37)
            QCOMPARE(list.at(r), plain[r]);

        // One row per folded word, at its first row, with all its rows counted.
        list.removeFolded(plain[1]);
        removeFromPlain(plain, plain[1]);
        QSet<QString> firstSeen;
        std::vector<qsizetype> firsts;
        for (qsizetype r = 0; r < plain.size(); ++r) {
            const QString f = text::folded(plain[r]);
            if (!firstSeen.contains(f)) {
                firstSeen.insert(f);
                firsts.push_back(r);
            }
        }
        QCOMPARE(list.firstRowsOfWords(), firsts);
        for (qsizetype r = 0; r < plain.size(); r += 53) {
            const QString f = text::folded(plain[r]);
            const auto first = std::find_if(plain.cbegin(), plain.cend(),
                                            [&](const QString& w) { return text::folded(w) == f; });
            QCOMPARE(list.firstRowOfFolded(r), first - plain.cbegin());
        }
        QCOMPARE(list.foldedWordCount(), qsizetype(firstSeen.size()));
        const QString f0 = text::folded(plain[0]);
        QCOMPARE(list.occurrencesOfFolded(0),
                 qsizetype(std::count_if(plain.cbegin(), plain.cend(),
                                         [&](const QString& w) { return text::folded(w) == f0; })));

        // One row per family of words (here: the number of a word, mod 7):
        // the first row of each family and all its rows.
        const auto familyOfWord = [](const QString& w) { return quint32(w.mid(1).toUInt() % 7); };
        const QStringList groupWords = list.wordsOfGroups();
        std::vector<quint32> family;
        for (const QString& w : groupWords) {
            QCOMPARE(list.groupOf(w), qsizetype(family.size()));
            family.push_back(familyOfWord(w));
        }
        std::vector<SplitList::FamilyRow> expected;
        std::vector<qsizetype> index(7, -1);
        for (qsizetype r = 0; r < plain.size(); ++r) {
            const quint32 f = familyOfWord(plain[r]);
            if (index[f] < 0) {
                index[f] = qsizetype(expected.size());
                expected.push_back({r, f, 0});
            }
            ++expected[index[f]].rows;
            QCOMPARE(family[list.groupOfRow(r)], f);
        }
        const auto rows = list.firstRowsOfFamilies(family, 7);
        QCOMPARE(rows.size(), expected.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].row, expected[i].row);
            QCOMPARE(rows[i].family, expected[i].family);
            QCOMPARE(rows[i].rows, expected[i].rows);
        }
        // A numbering of another split: each word its own family.
        QCOMPARE(list.firstRowsOfFamilies({0, 1}, 2).size(), firsts.size());
    }

    void listsWithoutPlacesHaveNone() {
        const SplitList list{"a", "b"};
        QCOMPARE(list.startAt(1), -1);
        QVERIFY(list == QStringList({"a", "b"}));
        QVERIFY(SplitList() == QStringList());
    }
};

QTEST_GUILESS_MAIN(SplitListTest)
#include "tst_splitlist.moc"
