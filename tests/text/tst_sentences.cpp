// The sentence shown beside a row of the split list, on real text in
// several scripts: hand-wrapped lines with CR LF, combining marks, a danda,
// texts edited since the split.

#include "text/SentenceAround.h"

#include <QtTest>

class SentencesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sentenceOfAWord_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("whole");
        // The sentence of the last occurrence of each word.
        QTest::newRow("German, wrapped with CR LF, up to the blank line")
            << QStringLiteral(
                   "Ein Bekannter spricht ihn an, ob denn sein Fahrrad kaputt sei.\r\n"
                   "Darauf schaut der Professor verdutzt auf das Rad in seinen H\u00e4nden\r\n"
                   "und spricht: \"Ich hatte das Rad heute mit im Haus gehabt.\"\r\n"
                   "\r\nEin Mathematikprofessor ist angeregt.")
            << QStringLiteral("spricht")
            << QStringLiteral("Darauf schaut der Professor verdutzt auf das Rad in seinen "
                              "H\u00e4nden und spricht: \"Ich hatte das Rad heute mit im Haus "
                              "gehabt.\"");
        QTest::newRow("Russian")
            << QStringLiteral("\u0412\u0441\u0435 \u0441\u0447\u0430\u0441\u0442\u043b\u0438"
                              "\u0432\u044b\u0435 \u0441\u0435\u043c\u044c\u0438 \u043f\u043e"
                              "\u0445\u043e\u0436\u0438 \u0434\u0440\u0443\u0433 \u043d\u0430 "
                              "\u0434\u0440\u0443\u0433\u0430. \u0412\u0441\u0451 \u0441\u043c"
                              "\u0435\u0448\u0430\u043b\u043e\u0441\u044c \u0432 \u0434\u043e"
                              "\u043c\u0435 \u041e\u0431\u043b\u043e\u043d\u0441\u043a\u0438"
                              "\u0445.")
            << QStringLiteral("\u0441\u043c\u0435\u0448\u0430\u043b\u043e\u0441\u044c")
            << QStringLiteral("\u0412\u0441\u0451 \u0441\u043c\u0435\u0448\u0430\u043b\u043e"
                              "\u0441\u044c \u0432 \u0434\u043e\u043c\u0435 \u041e\u0431\u043b"
                              "\u043e\u043d\u0441\u043a\u0438\u0445.");
        // Vietnamese decomposed: every tone mark a combining character.
        QTest::newRow("Vietnamese, combining marks")
            << QStringLiteral("T\u00f4i y\u00eau ti\u1ebfng Vi\u1ec7t. N\u00f3 r\u1ea5t "
                              "\u0111\u1eb9p!")
                   .normalized(QString::NormalizationForm_D)
            << QStringLiteral("r\u1ea5t").normalized(QString::NormalizationForm_D)
            << QStringLiteral("N\u00f3 r\u1ea5t \u0111\u1eb9p!")
                   .normalized(QString::NormalizationForm_D);
        QTest::newRow("Hindi, ends at the danda")
            << QStringLiteral("\u092d\u093e\u0930\u0924 \u090f\u0915 \u0935\u093f\u0936\u093e"
                              "\u0932 \u0926\u0947\u0936 \u0939\u0948\u0964 \u092f\u0939\u093e"
                              "\u0901 \u0905\u0928\u0947\u0915 \u092d\u093e\u0937\u093e\u090f"
                              "\u0901 \u092c\u094b\u0932\u0940 \u091c\u093e\u0924\u0940 \u0939"
                              "\u0948\u0902\u0964")
            << QStringLiteral("\u092d\u093e\u0937\u093e\u090f\u0901")
            << QStringLiteral("\u092f\u0939\u093e\u0901 \u0905\u0928\u0947\u0915 \u092d\u093e"
                              "\u0937\u093e\u090f\u0901 \u092c\u094b\u0932\u0940 \u091c\u093e"
                              "\u0924\u0940 \u0939\u0948\u0902\u0964");
        QTest::newRow("a verse of the Bible as bible-kjv prints it")
            << QStringLiteral("Ge1:1 In the beginning God created the heaven and the earth.\n"
                              "Ge1:2 And the earth was without form, and void; and darkness was "
                              "upon the face of the deep.\n")
            << QStringLiteral("darkness")
            << QStringLiteral("Ge1:2 And the earth was without form, and void; and darkness "
                              "was upon the face of the deep.");
        QTest::newRow("white space runs as one space")
            << QStringLiteral("Er sah  den\tHund\u00a0an.") << QStringLiteral("Hund")
            << QStringLiteral("Er sah den Hund an.");
    }
    void sentenceOfAWord() {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(QString, whole);
        const qsizetype start = text.lastIndexOf(word);
        QVERIFY(start >= 0);
        const auto found = SentenceAround::find(text, start, word);
        QVERIFY(found);
        QCOMPARE(found->whole, whole);
        QCOMPARE(found->before + found->word + found->after, whole); // short: not cut
        QCOMPARE(found->word, word);
    }

    // A long sentence is cut at spaces around the word, marked, the word
    // whole; a cut never leaves a combining mark without its letter.
    void longSentencesAreCutAroundTheWord_data() {
        QTest::addColumn<QString>("filler");
        QTest::newRow("Latin") << QStringLiteral("und der Hund lief weiter ");
        QTest::newRow("combining marks, no spaces")
            << QStringLiteral("e\u0301a\u0308o\u0302").repeated(3);
    }
    void longSentencesAreCutAroundTheWord() {
        QFETCH(QString, filler);
        const QString text = filler.repeated(20) + QStringLiteral(" Katze ") + filler.repeated(20);
        const qsizetype start = text.indexOf(QStringLiteral("Katze"));
        const auto found = SentenceAround::find(text, start, QStringLiteral("Katze"));
        QVERIFY(found);
        QVERIFY(found->before.startsWith(QChar(0x2026)));
        QVERIFY(found->after.endsWith(QChar(0x2026)));
        const qsizetype shown = found->before.size() + 5 + found->after.size();
        QVERIFY2(shown <= SentenceAround::maxLength + 2, qPrintable(QString::number(shown)));
        QVERIFY2(shown >= SentenceAround::maxLength / 2, qPrintable(QString::number(shown)));
        QVERIFY(!found->before.mid(1).at(0).isMark());
        QVERIFY(!found->after.isEmpty());
        // What is shown stands so in the text, bar the runs of white space.
        const QString shownText = found->before.mid(1) + found->word + found->after.chopped(1);
        QVERIFY(text.simplified().contains(shownText.simplified()));
    }

    // No sentence rather than a wrong one: the place no longer holds the
    // word (the text was edited since the split), or lies outside the text.
    void noSentenceWhereTheWordIsNot_data() {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<QString>("word");
        QTest::newRow("shifted by an edit") << qint64(5) << QStringLiteral("Hund");
        QTest::newRow("another case") << qint64(4) << QStringLiteral("hund");
        QTest::newRow("past the end") << qint64(12) << QStringLiteral("Hund");
        QTest::newRow("unknown place") << qint64(-1) << QStringLiteral("Hund");
        QTest::newRow("half a character") << qint64(14) << QStringLiteral("\U0001F415").left(1);
    }
    void noSentenceWhereTheWordIsNot() {
        QFETCH(qint64, start);
        QFETCH(QString, word);
        const QString text = QStringLiteral("Der Hund bellt. \U0001F415");
        QVERIFY(!SentenceAround::find(text, start, word));
    }
};

QTEST_GUILESS_MAIN(SentencesTest)
#include "tst_sentences.moc"
