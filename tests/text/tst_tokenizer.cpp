#include "text/SplitTextUseCase.h"

#include <QtTest>

class TokenizerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("only separators") << " ,. \n" << QStringList{};
        QTest::newRow("hello world") << "Hello, world!" << QStringList{"Hello", "world"};
        QTest::newRow("case and repeats kept")
            << "The the THE the" << QStringList{"The", "the", "THE", "the"};
        QTest::newRow("apostrophe") << "don't" << QStringList{"don", "t"};
        QTest::newRow("right single quote")
            << QStringLiteral("it\u2019s") << QStringList{"it", "s"};
        QTest::newRow("hyphen and low line")
            << "well-known snake_case" << QStringList{"well", "known", "snake", "case"};
        QTest::newRow("math and currency stay")
            << "a+b=c 5$ x|y~z ^`" << QStringList{"a+b=c", "5$", "x|y~z", "^`"};
        QTest::newRow("digits and full stop")
            << "x1 2024 3.14" << QStringList{"x1", "2024", "3", "14"};
        QTest::newRow("crlf and tab")
            << "line1\r\nline2\tword" << QStringList{"line1", "line2", "word"};
        QTest::newRow("no-break space") << QStringLiteral("a\u00a0b") << QStringList{"a", "b"};
        QTest::newRow("next line U+0085") << QStringLiteral("a\u0085b") << QStringList{"a", "b"};
        QTest::newRow("guillemets")
            << QStringLiteral("\u00abBonjour\u00bb") << QStringList{"Bonjour"};
        QTest::newRow("inverted question")
            << QStringLiteral("\u00bfQu\u00e9?") << QStringList{QStringLiteral("Qu\u00e9")};
        QTest::newRow("double separators") << "a,,b a  b" << QStringList{"a", "b", "a", "b"};
        QTest::newRow("zero-width space stays")
            << QStringLiteral("a\u200bb c") << QStringList{QStringLiteral("a\u200bb"), "c"};
        QTest::newRow("at, hash, percent, slash")
            << "me@x #tag 50% a/b a\\b" << QStringList{"me", "x", "tag", "50", "a", "b", "a", "b"};
        QTest::newRow("ideographic space and full stop")
            << QStringLiteral("\u65e5\u672c\u3002\u8a9e\u3000\u6587")
            << QStringList{QStringLiteral("\u65e5\u672c"), QStringLiteral("\u8a9e"),
                           QStringLiteral("\u6587")};
        // A combining mark after a separator belongs to the separator's cluster.
        QTest::newRow("combining mark after comma")
            << QStringLiteral("a,\u0301b") << QStringList{"a", "b"};
        QTest::newRow("combining mark on a letter stays")
            << QStringLiteral("cafe\u0301 ok") << QStringList{QStringLiteral("cafe\u0301"), "ok"};
        QTest::newRow("emoji and math letters")
            << QString::fromUcs4(U"\U0001F600x \U0001D400\U0001D401!")
            << QStringList{QString::fromUcs4(U"\U0001F600x"),
                           QString::fromUcs4(U"\U0001D400\U0001D401")};
        // Supplementary punctuation (U+1144B NEWA DANDA, Po) separates as a whole code point.
        QTest::newRow("supplementary punctuation")
            << QString::fromUcs4(U"a\U0001144Bb") << QStringList{"a", "b"};
        // Clusters are found a part of the text at a time: the same far into
        // a long one, a part or more on.
        const QString longWord(40000, QLatin1Char('a'));
        QTest::newRow("combining mark after comma, far in")
            << longWord + QStringLiteral(",\u0301b") << QStringList{longWord, "b"};
        QTest::newRow("cr lf far in") << longWord + longWord + QStringLiteral("\r\nb")
                                      << QStringList{longWord + longWord, "b"};
        QTest::newRow("combining mark after ideographic stop, far in")
            << QString(70000, QChar(0x65e5)) + QStringLiteral("\u3002\u0301b")
            << QStringList{QString(70000, QChar(0x65e5)), "b"};
        QTest::newRow("lone surrogate is not a separator")
            << QString(QChar(0xD800)) + "a b" << QStringList{QString(QChar(0xD800)) + "a", "b"};
    }

    void split() {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QCOMPARE(SplitTextUseCase::split(text), words);
    }

    // Texts in languages written without spaces, from tests/text/data.
    void splitInALanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QFile file(QFINDTESTDATA("data/segmentation.tsv"));
        QVERIFY2(file.open(QIODevice::ReadOnly), "tests/text/data/segmentation.tsv");
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const QStringList fields = line.split(u'\t');
            QCOMPARE(fields.size(), 4);
            QTest::newRow(qPrintable(fields[0]))
                << fields[1] << fields[2] << fields[3].split(u' ', Qt::SkipEmptyParts);
        }
    }
    void splitInALanguage() {
        QFETCH(QString, language);
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QCOMPARE(SplitTextUseCase::split(text, language), words);
    }

    // The Chinese fortunes of fortunes-zh, 2 MB of running prose (the cases
    // above took their Chinese sentences from it): a Chinese title's split
    // finds every word where it stands, cuts the runs of Han characters into
    // words rather than leaving them whole, and keeps no separator in a word.
    void chineseFortunesSplitIntoWords() {
        QFile file(QStringLiteral("/usr/share/games/fortunes/chinese"));
        QVERIFY2(file.open(QIODevice::ReadOnly), "fortunes-zh is missing: run scripts/setup.sh");
        const QString text = QString::fromUtf8(file.readAll());

        QFile cases(QFINDTESTDATA("data/segmentation.tsv"));
        QVERIFY(cases.open(QIODevice::ReadOnly));
        QString running = text;
        running.remove(u'\n');
        for (const QString& line : QString::fromUtf8(cases.readAll()).split(u'\n')) {
            const QStringList fields = line.split(u'\t');
            if (fields.size() == 4 && fields[1].startsWith(QLatin1String("zh")))
                QVERIFY2(running.contains(fields[2]), qPrintable(fields[0]));
        }

        auto isSeparator = [](QChar c) {
            switch (c.category()) {
            case QChar::Separator_Space:
            case QChar::Separator_Line:
            case QChar::Separator_Paragraph:
            case QChar::Punctuation_Connector:
            case QChar::Punctuation_Dash:
            case QChar::Punctuation_Open:
            case QChar::Punctuation_Close:
            case QChar::Punctuation_InitialQuote:
            case QChar::Punctuation_FinalQuote:
            case QChar::Punctuation_Other:
                return true;
            default:
                return c == u'\n' || c == u'\t' || c == u'\r';
            }
        };
        qsizetype end = 0;
        qsizetype misplaced = 0;
        qsizetype withSeparator = 0;
        qsizetype hanWords = 0;
        qsizetype hanCharacters = 0;
        qsizetype longest = 0;
        SplitTextUseCase::forEachWord(text, QStringLiteral("zh"), [&](SplitTextUseCase::Span span) {
            if (span.length <= 0 || span.start < end)
                ++misplaced;
            end = span.start + span.length;
            const QStringView word = QStringView(text).mid(span.start, span.length);
            if (std::any_of(word.begin(), word.end(), isSeparator))
                ++withSeparator;
            if (std::all_of(word.begin(), word.end(),
                            [](QChar c) { return c.script() == QChar::Script_Han; })) {
                ++hanWords;
                hanCharacters += word.size();
                longest = std::max(longest, word.size());
            }
        });
        QCOMPARE(misplaced, 0);
        QCOMPARE(withSeparator, 0);
        QVERIFY2(hanWords > 100000, qPrintable(QString::number(hanWords)));
        // Chinese words are one to four characters long, and ICU's
        // dictionary keeps few longer ones: a run left whole is a clause.
        QVERIFY2(double(hanCharacters) / double(hanWords) < 2.0,
                 qPrintable(QString::number(double(hanCharacters) / double(hanWords))));
        QVERIFY2(longest <= 12, qPrintable(QString::number(longest)));
    }

    // The split list keeps where each word stood: every span is the word's
    // own place in the text, in text order.
    void spansInALanguageAreTheWordsPlaces_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("Japanese") << "ja";
        QTest::newRow("Thai") << "th";
        QTest::newRow("none") << "";
    }
    void spansInALanguageAreTheWordsPlaces() {
        QFETCH(QString, language);
        const QString text = QStringLiteral("東京の天気は晴れです。 ฉันชอบกินข้าวผัด a+b Qtアプリ\n") +
                             QString::fromUcs4(U"\U00020B9F\u3092\u98df\u3079\u308b");
        QList<SplitTextUseCase::Span> spans;
        SplitTextUseCase::forEachWord(text, language,
                                      [&](SplitTextUseCase::Span span) { spans.append(span); });
        QStringList fromSpans;
        qsizetype end = 0;
        for (const auto& span : spans) {
            QVERIFY(span.length > 0);
            QVERIFY(span.start >= end);
            end = span.start + span.length;
            fromSpans << text.mid(span.start, span.length);
        }
        QCOMPARE(fromSpans, SplitTextUseCase::split(text, language));
        QCOMPARE(spans.size() > 5, !language.isEmpty()); // five tokens without a language
    }

    void dictionaryLanguages_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("dictionary");
        for (const char* code : {"ja", "zh", "th", "km", "lo", "my", "zh_TW", "zh-Hant"})
            QTest::newRow(code) << code << true;
        for (const char* code : {"", "en", "de", "ko", "vi", "jav", "j", "mya"})
            QTest::newRow(*code ? code : "none") << code << false;
    }
    void dictionaryLanguages() {
        QFETCH(QString, language);
        QFETCH(bool, dictionary);
        QCOMPARE(SplitTextUseCase::usesDictionary(language), dictionary);
    }

    void tokensIncludeEmptyOnes() {
        SplitTextUseCase::Tokenizer t(",a,");
        QCOMPARE(t.nextToken(), std::optional<QString>(QString()));
        QCOMPARE(t.nextToken(), std::optional<QString>(QStringLiteral("a")));
        QCOMPARE(t.nextToken(), std::nullopt);
        QCOMPARE(t.nextToken(), std::nullopt);
    }

    void longTextIsSplitCompletely() {
        QString text;
        QStringList expected;
        for (int i = 0; i < 50000; ++i) {
            const QString w = QStringLiteral("w%1").arg(i);
            text += w + (i % 7 == 0 ? QStringLiteral(",\r\n") : QStringLiteral(" "));
            expected << w;
        }
        QCOMPARE(SplitTextUseCase::split(text), expected);
    }
};

QTEST_GUILESS_MAIN(TokenizerTest)
#include "tst_tokenizer.moc"
