#include "TestSupport.h"
#include "domain/AppState.h"
#include "domain/TextCompare.h"
#include "domain/TimeOrderedIds.h"

#include <QSet>
#include <QtTest>

namespace {
AppState::Word word(const QString& text, AppState::Word::Kind kind = AppState::Word::Kind::known) {
    return {text, QUuid::createUuid(), kind, QDateTime::currentDateTimeUtc()};
}
} // namespace

class RecordsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Ids made for many words at once count up, stay unique and carry their
    // version and variant.
    void timeOrderedIdsCountUp() {
        TimeOrderedIds ids;
        QByteArray previous = ids.next().toRfc4122();
        QSet<QUuid> seen;
        for (int i = 0; i < 100000; ++i) {
            const QUuid id = ids.next();
            const QByteArray bytes = id.toRfc4122();
            QVERIFY(bytes > previous);
            QCOMPARE(uchar(bytes[6]) >> 4, 7);
            QCOMPARE(uchar(bytes[8]) >> 6, 2);
            seen.insert(id);
            previous = bytes;
        }
        QCOMPARE(seen.size(), 100000);
        // Two generators made in the same millisecond do not meet.
        TimeOrderedIds other;
        QVERIFY(!seen.contains(other.next()));
    }

    void freshState() {
        AppState s;
        QVERIFY(s.listOfTitleAndWordList.isEmpty());
        QVERIFY(s.languageStateList.isEmpty());
        QCOMPARE(s.lastSelectedRow, 0);
        QCOMPARE(s.knownWordsSortType, SortType::alphabet);
        QVERIFY(!s.currentTitle.id.isNull());
        QVERIFY(s.currentTitle.title.isEmpty());
        QVERIFY(s.knownWords().isEmpty());
    }

    void titleKeysCoverIdAndName() {
        const QUuid id = QUuid::createUuid();
        QHash<Title, int> map;
        map.insert({id, "Book"}, 1);
        QVERIFY(!map.contains({id, "Other"}));
        QVERIFY(!map.contains({QUuid::createUuid(), "Book"}));
        // Canonically equivalent names are the same key: é precomposed and decomposed.
        QVERIFY(map.contains({id, "Book"}));
        map.insert({id, QString::fromUtf8("caf\u00e9")}, 2);
        QCOMPARE(map.value({id, QStringLiteral("cafe\u0301")}), 2);
    }

    void derivedListsFollowCurrentTitleId() {
        AppState s;
        const Title a{QUuid::createUuid(), "A"};
        s.listOfTitleAndWordList = {
            {a, {word("k1"), word("u1", AppState::Word::Kind::unwanted), word("k2")}},
            {{a.id, "A again"}, {word("other")}},
        };
        s.currentTitle = {a.id, "renamed"}; // the name is not compared
        QCOMPARE(wordTexts(s.knownWords()), QStringList({"k1", "k2"}));
        QCOMPARE(wordTexts(s.unwantedWords()), QStringList({"u1"}));
        s.currentTitle = {QUuid::createUuid(), "A"};
        QVERIFY(s.knownWords().isEmpty());
        QVERIFY(s.unwantedWords().isEmpty());
        QCOMPARE(s.titles().size(), 2);
    }

    void wordListSortIsStableAndFolded_data() {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Apple before apple")
            << QStringList{"banana", "Apple", "apple"} << QStringList{"Apple", "apple", "banana"};
        QTest::newRow("apple before Apple")
            << QStringList{"banana", "apple", "Apple"} << QStringList{"apple", "Apple", "banana"};
        QTest::newRow("load order")
            << QStringList{"zeta", "Alpha", "beta"} << QStringList{"Alpha", "beta", "zeta"};
        // By code point: U+1D400 (a surrogate pair) sorts after U+FF21.
        QTest::newRow("supplementary after BMP")
            << QStringList{QString::fromUcs4(U"\U0001D400"), QStringLiteral("\uFF41")}
            << QStringList{QStringLiteral("\uFF41"), QString::fromUcs4(U"\U0001D400")};
        QTest::newRow("decomposed equals precomposed, stable")
            << QStringList{QStringLiteral("e\u0301"), "zz", QStringLiteral("\u00e9")}
            << QStringList{"zz", QStringLiteral("e\u0301"), QStringLiteral("\u00e9")};
    }
    void wordListSortIsStableAndFolded() {
        QFETCH(QStringList, input);
        QFETCH(QStringList, expected);
        QList<AppState::Word> words;
        for (const auto& t : input)
            words << word(t);
        sortWordList(words);
        QCOMPARE(wordTexts(words), expected);
    }

    void digitsOnly_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("digits");
        QTest::newRow("ascii") << "2024" << true;
        QTest::newRow("arabic-indic") << QStringLiteral("\u0661\u0662") << true;
        QTest::newRow("mathematical bold digit") << QString::fromUcs4(U"\U0001D7CE") << true;
        QTest::newRow("mixed") << "3rd" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("roman numeral is Nl") << QStringLiteral("\u2163") << false;
    }
    void digitsOnly() {
        QFETCH(QString, text);
        QFETCH(bool, digits);
        QCOMPARE(text::isDigitsOnly(text), digits);
    }
};

QTEST_GUILESS_MAIN(RecordsTest)
#include "tst_records.moc"
