// The sentence shown beside a row of the split list, on real text in
// several scripts: hand-wrapped lines with CR LF, combining marks, a danda,
// texts edited since the split.

#include "text/SentenceAround.h"

#include <QtTest>

namespace {

// The fortunes of a file of fortunes-de or fortunes-ru from the one that
// holds first to the one that holds last, with the "%" lines between them.
QString fortunes(const QString& name, const QString& first, const QString& last) {
    QFile file(QStringLiteral("/usr/share/games/fortunes/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("%s is missing: run scripts/setup.sh", qPrintable(file.fileName()));
    const QString all = QString::fromUtf8(file.readAll());
    const qsizetype from = all.indexOf(first);
    const qsizetype to = all.indexOf(last, from);
    if (from < 0 || to < 0)
        qFatal("%s is not as it was", qPrintable(file.fileName()));
    const qsizetype begin = all.lastIndexOf(QStringLiteral("%\n"), from) + 2;
    const qsizetype end = all.indexOf(QStringLiteral("\n%"), to);
    return all.mid(begin, end - begin);
}

} // namespace

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
        // Line breaks that end a sentence though no full stop does: a
        // blank line, a heading's, the one before a turn of dialogue.
        const QString pavlov =
            fortunes("de/anekdoten", "Ein Mathematikprofessor trifft", "Pavlov's V\u00f6gel");
        QTest::newRow("German fortunes: a heading after the \"%\" line")
            << pavlov << QStringLiteral("Pavlov") << QStringLiteral("Pavlov's V\u00f6gel");
        QTest::newRow("German fortunes: the paragraph under the heading")
            << pavlov << QStringLiteral("MIT")
            << QStringLiteral("Ein MIT Student ging im Sommer jeden Tag in einem "
                              "schwarz-wei\u00df gestreiften Dre\u00df auf den Fu\u00dfballplatz "
                              "von Harvard.");
        // As the EPUB importer used to keep a heading: on the line above.
        const QString heading =
            pavlov.mid(pavlov.indexOf(QStringLiteral("Pavlov")))
                .replace(QStringLiteral("V\u00f6gel\n\n"), QStringLiteral("V\u00f6gel\n"));
        QTest::newRow("a heading on the line above its paragraph")
            << heading << QStringLiteral("MIT")
            << QStringLiteral("Ein MIT Student ging im Sommer jeden Tag in einem "
                              "schwarz-wei\u00df gestreiften Dre\u00df auf den Fu\u00dfballplatz "
                              "von Harvard.");
        QTest::newRow("the heading on the line above")
            << heading << QStringLiteral("Pavlov") << QStringLiteral("Pavlov's V\u00f6gel");
        // The man page of bash as the Japanese manual pages lay it out.
        const QString manPage = QStringLiteral(
            "\u540d\u524d\n"
            "       bash - GNU Bourne-Again SHell\n"
            "\n"
            "\u66f8\u5f0f\n"
            "       bash [options] [command_string | file]\n"
            "\n"
            "\u8aac\u660e\n"
            "       Bash \u306f sh \u4e92\u63db\u306e\u30b3\u30de\u30f3\u30c9\u8a00\u8a9e"
            "\u30a4\u30f3\u30bf\u30d7\u30ea\u30bf\u3067\u3042\u308a\u3001\u6a19\u6e96"
            "\u5165\u529b\u3084\u30d5\u30a1\u30a4\u30eb\u304b\u3089\u8aad\u307f\u8fbc"
            "\u3093\u3060\u30b3\u30de\u30f3\u30c9\u3092\u5b9f\u884c\u3057\u307e\u3059"
            "\u3002\n");
        QTest::newRow("Japanese man page: a heading")
            << manPage << QStringLiteral("\u540d\u524d") << QStringLiteral("\u540d\u524d");
        QTest::newRow("Japanese man page: the line under a heading")
            << manPage << QStringLiteral("GNU") << QStringLiteral("bash - GNU Bourne-Again SHell");
        QTest::newRow("Japanese man page: a paragraph under a heading")
            << manPage << QStringLiteral("\u4e92\u63db")
            << QStringLiteral("Bash \u306f sh \u4e92\u63db\u306e\u30b3\u30de\u30f3\u30c9"
                              "\u8a00\u8a9e\u30a4\u30f3\u30bf\u30d7\u30ea\u30bf\u3067\u3042"
                              "\u308a\u3001\u6a19\u6e96\u5165\u529b\u3084\u30d5\u30a1\u30a4"
                              "\u30eb\u304b\u3089\u8aad\u307f\u8fbc\u3093\u3060\u30b3\u30de"
                              "\u30f3\u30c9\u3092\u5b9f\u884c\u3057\u307e\u3059\u3002");
        // Subtitles as the importer gives them (a blank line after a cue
        // that ends a sentence), and as it used to (one line per line).
        const QString cues = QStringLiteral("Ich mache mir einen Kaffee.\n\n"
                                            "- M\u00f6chtest du auch einen?\n- Ja, gerne.");
        QTest::newRow("subtitles: a turn of dialogue")
            << cues << QStringLiteral("gerne") << QStringLiteral("- Ja, gerne.");
        QTest::newRow("subtitles: the line before a dash")
            << QString(cues).replace(QStringLiteral("\n\n"), QStringLiteral("\n"))
            << QStringLiteral("Kaffee") << QStringLiteral("Ich mache mir einen Kaffee.");
        const QString turns = QStringLiteral("- M\u00f6chtest du auch einen? - Ja, gerne.");
        QTest::newRow("two turns of dialogue on one line: the first")
            << turns << QStringLiteral("M\u00f6chtest")
            << QStringLiteral("- M\u00f6chtest du auch einen?");
        QTest::newRow("two turns of dialogue on one line: the second")
            << turns << QStringLiteral("gerne") << QStringLiteral("- Ja, gerne.");
        QTest::newRow("subtitles: a turn of dialogue after a line without a full stop")
            << QStringLiteral("Das wei\u00df ich nicht\n- Wer dann?") << QStringLiteral("Wer")
            << QStringLiteral("- Wer dann?");
        const QString russian = fortunes("ru/adv",
                                         "\u0417\u0434\u0440\u0430\u0432\u0441"
                                         "\u0442\u0432\u0443\u0439\u0442\u0435, "
                                         "\u044f \u043a\u0440\u0430\u0441\u0438",
                                         "\u0417\u0434\u0440\u0430\u0432\u0441\u0442\u0432"
                                         "\u0443\u0439\u0442\u0435, \u044f \u043a\u0440"
                                         "\u0430\u0441\u0438");
        QTest::newRow("Russian fortunes: a turn of dialogue")
            << russian
            << QStringLiteral("\u0443\u0441\u0438\u043b\u0438\u0442\u0435\u043b"
                              "\u044c")
            << QStringLiteral("- \u042f \u0443\u0441\u0438\u043b\u0438\u0442\u0435\u043b"
                              "\u044c \u0432\u043a\u0443\u0441\u0430 S-65!");
        // Line breaks that do not end a sentence.
        QTest::newRow("a dash before a lower-case word goes on")
            << QStringLiteral("Er wartete lange auf den Zug, der wie immer zu sp\u00e4t kam\n"
                              "\u2013 wie jeden Morgen seit dem Winter.")
            << QStringLiteral("Winter")
            << QStringLiteral("Er wartete lange auf den Zug, der wie immer zu sp\u00e4t kam "
                              "\u2013 wie jeden Morgen seit dem Winter.");
        QTest::newRow("German poem: a short first line and lines as short after it")
            << QStringLiteral("\u00dcber allen Gipfeln\nIst Ruh,\nIn allen Wipfeln\n"
                              "Sp\u00fcrest du\nKaum einen Hauch;\nDie V\u00f6gelein "
                              "schweigen im Walde.\nWarte nur, balde\nRuhest du auch.")
            << QStringLiteral("Gipfeln")
            << QStringLiteral("\u00dcber allen Gipfeln Ist Ruh, In allen Wipfeln Sp\u00fcrest du "
                              "Kaum einen Hauch; Die V\u00f6gelein schweigen im Walde.");
        QTest::newRow("German poem: a stanza goes on in lower case")
            << fortunes("de/gedichte", "Die Made", "Die Made") << QStringLiteral("Kinde")
            << QStringLiteral("Hinter eines Baumes Rinde ruft die Made nach dem Kinde.");
        QTest::newRow("a blank line holding spaces ends a sentence")
            << QStringLiteral("Es gab noch Kaffee und Kuchen und ein paar Reden ohne Ende\n \t\n"
                              "Dann gingen alle nach Hause.")
            << QStringLiteral("alle") << QStringLiteral("Dann gingen alle nach Hause.");
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
