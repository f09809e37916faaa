#include "base/StatusLine.h"
#include "csv/CsvReader.h"
#include "csv/CsvTimestamp.h"
#include "csv/CsvWriter.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString header = QStringLiteral("title,titleId,word,kind,timestamp\n");
const QString bookId = QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF");
const QString otherId = QStringLiteral("0E984725-C51C-4BF4-9960-E1C80E27ABA0");
const QString stamp = QStringLiteral("2024-03-05 14:07:09 +0000");

QDateTime utc(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
}

QString line(const QString& title, const QString& id, const QString& word,
             const QString& kind = QStringLiteral("known"), const QString& date = stamp) {
    return QStringList{title, id, word, kind, date}.join(u',') + u'\n';
}

// One "name|id|word|kind|timestamp" entry per restored word, in result order.
QStringList summary(const QList<TitleAndWordList>& titles) {
    QStringList out;
    for (const auto& entry : titles)
        for (const auto& word : entry.wordList)
            out << QStringList{entry.title.title, uuidText(entry.title.id), word.wordText,
                               kindText(word.kind), csv::formatTimestamp(word.timestamp)}
                       .join(u'|');
    return out;
}

QString entry(const QString& name, const QString& id, const QString& word,
              const QString& kind = QStringLiteral("known"), const QString& date = stamp) {
    return QStringList{name, id, word, kind, date}.join(u'|');
}

} // namespace

class CsvTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void formatTimestamp_data() {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("book example") << utc(2024, 3, 5, 14, 7, 9) << stamp;
        QTest::newRow("fraction dropped") << utc(2024, 3, 5, 14, 7, 9, 999) << stamp;
        QTest::newRow("other offset shown in UTC")
            << QDateTime(QDate(2024, 3, 5), QTime(23, 7, 9), Qt::OffsetFromUTC, 9 * 3600) << stamp;
        QTest::newRow("epoch") << utc(1970, 1, 1, 0, 0, 0) << "1970-01-01 00:00:00 +0000";
        QTest::newRow("before epoch, fraction")
            << utc(1969, 12, 31, 23, 59, 59, 500) << "1969-12-31 23:59:59 +0000";
        QTest::newRow("leap day") << utc(2000, 2, 29, 0, 0, 1) << "2000-02-29 00:00:01 +0000";
        QTest::newRow("small year padded")
            << utc(812, 1, 2, 3, 4, 5) << "0812-01-02 03:04:05 +0000";
        QTest::newRow("invalid") << QDateTime() << "";
        // Never more or fewer than four digits: times past either end are
        // written as that end, so the file can be read back.
        QTest::newRow("last second")
            << utc(9999, 12, 31, 23, 59, 59) << "9999-12-31 23:59:59 +0000";
        QTest::newRow("past year 9999") << utc(10000, 1, 1, 0, 0, 0) << "9999-12-31 23:59:59 +0000";
        QTest::newRow("first second")
            << QDateTime::fromSecsSinceEpoch(-62167219200, Qt::UTC) << "0000-01-01 00:00:00 +0000";
        QTest::newRow("before year 0")
            << QDateTime::fromSecsSinceEpoch(-62167219201, Qt::UTC) << "0000-01-01 00:00:00 +0000";
    }
    void formatTimestamp() {
        QFETCH(QDateTime, date);
        QFETCH(QString, text);
        QCOMPARE(csv::formatTimestamp(date), text);
    }

    // The hand-made calendar arithmetic agrees with Qt's over a wide range.
    void formatTimestampAgreesWithQt() {
        QRandomGenerator random(7);
        for (int i = 0; i < 300; ++i) {
            const qint64 ms = random.bounded(qint64(-5e12), qint64(2.5e14));
            const QDateTime date = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
            const QString expected =
                date.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + " +0000";
            QCOMPARE(csv::formatTimestamp(date), expected);
            StatusLineCapture capture;
            QCOMPARE(csv::parseDate(expected),
                     std::optional(date.addMSecs(-(ms % 1000 + 1000) % 1000)));
        }
    }

    void parseDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("date"); // invalid: no date
        QTest::newRow("utc") << stamp << utc(2024, 3, 5, 14, 7, 9);
        QTest::newRow("+0900 same instant")
            << "2024-03-05 23:07:09 +0900" << utc(2024, 3, 5, 14, 7, 9);
        QTest::newRow("-0530 over midnight")
            << "2024-03-05 08:37:09 -0530" << utc(2024, 3, 5, 14, 7, 9);
        QTest::newRow("leap day") << "2024-02-29 00:00:00 +0000" << utc(2024, 2, 29, 0, 0, 0);
        QTest::newRow("no leap day") << "2023-02-29 00:00:00 +0000" << QDateTime();
        QTest::newRow("month 13") << "2024-13-05 14:07:09 +0000" << QDateTime();
        QTest::newRow("hour 24") << "2024-03-05 24:00:00 +0000" << QDateTime();
        QTest::newRow("no offset") << "2024-03-05 14:07:09" << QDateTime();
        QTest::newRow("offset with colon") << "2024-03-05 14:07:09 +00:00" << QDateTime();
        QTest::newRow("ISO T") << "2024-03-05T14:07:09 +0000" << QDateTime();
        QTest::newRow("trailing space") << stamp + " " << QDateTime();
        QTest::newRow("arabic-indic digits")
            << QStringLiteral("\u0662\u0660\u0662\u0664-03-05 14:07:09 +0000") << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
        QTest::newRow("last second of year 9999")
            << "9999-12-31 23:59:59 +0000" << utc(9999, 12, 31, 23, 59, 59);
        QTest::newRow("offset moves past year 9999") << "9999-12-31 23:59:59 -0130" << QDateTime();
        QTest::newRow("offset moves before year 0") << "0000-01-01 00:30:00 +0100" << QDateTime();
    }
    void parseDate() {
        QFETCH(QString, text);
        QFETCH(QDateTime, date);
        StatusLineCapture capture;
        const auto parsed = csv::parseDate(text);
        if (!date.isValid()) {
            QVERIFY(!parsed);
            QCOMPARE(capture.lines(), QStringList{"Failed to parse date"});
            return;
        }
        QVERIFY(parsed);
        QCOMPARE(*parsed, date);
        QCOMPARE(parsed->timeSpec(), Qt::UTC);
        QCOMPARE(capture.lines(), QStringList{"Date object: " + csv::formatTimestamp(date)});
    }

    void localeIndependent_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("arabic") << "ar_SA";
        QTest::newRow("persian") << "fa_IR";
        QTest::newRow("japanese") << "ja_JP";
        QTest::newRow("thai") << "th_TH";
    }
    void localeIndependent() {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        StatusLineCapture capture;
        QCOMPARE(csv::formatTimestamp(utc(2024, 3, 5, 14, 7, 9)), stamp);
        QCOMPARE(csv::parseDate("2024-03-05 23:07:09 +0900"),
                 std::optional(utc(2024, 3, 5, 14, 7, 9)));
        const auto result = csv::parseCSV(header + line("Book", bookId, "apple"));
        QVERIFY(std::holds_alternative<QList<TitleAndWordList>>(result));
    }

    void buildText_data() {
        QTest::addColumn<CsvRows>("rows");
        QTest::addColumn<QString>("text");
        const QStringList head{"title", "titleId", "word", "kind", "timestamp"};
        QTest::newRow("no rows") << CsvRows{} << "";
        QTest::newRow("header only") << CsvRows{head} << header;
        QTest::newRow("book example") << CsvRows{head, {"Book", bookId, "apple", "known", stamp}}
                                      << header + line("Book", bookId, "apple");
        QTest::newRow("empty field quoted") << CsvRows{{"", "a"}} << "\"\",a\n";
        QTest::newRow("comma quoted") << CsvRows{{"a,b", "c"}} << "\"a,b\",c\n";
        QTest::newRow("quotes doubled") << CsvRows{{"say \"hi\""}} << "\"say \"\"hi\"\"\"\n";
        QTest::newRow("line breaks quoted")
            << CsvRows{{"a\r\nb", "c\rd"}} << "\"a\r\nb\",\"c\rd\"\n";
        QTest::newRow("spaces as they stand") << CsvRows{{" a ", " "}} << " a , \n";
        QTest::newRow("leading combining mark quoted")
            << CsvRows{{"x", QStringLiteral("\u0301a")}} << QStringLiteral("x,\"\u0301a\"\n");
        QTest::newRow("trailing prepended letter quoted")
            << CsvRows{{QStringLiteral("a\u0600"), "x"}} << QStringLiteral("\"a\u0600\",x\n");
        QTest::newRow("inner combining mark as it stands")
            << CsvRows{{QStringLiteral("e\u0301")}} << QStringLiteral("e\u0301\n");
    }
    void buildText() {
        QFETCH(CsvRows, rows);
        QFETCH(QString, text);
        QCOMPARE(csv::buildText(rows), text);
    }

    void roundTrip() {
        const QStringList names{"Book",
                                "",
                                "A, B",
                                "say \"hi\"",
                                "two\r\nlines",
                                "lf\nonly",
                                " spaced ",
                                "\"",
                                QStringLiteral("\u0301mark"),
                                QStringLiteral("end\u0600"),
                                QStringLiteral("\U0001F600,\u200D")};
        QList<TitleAndWordList> titles;
        CsvRows rows{{"title", "titleId", "word", "kind", "timestamp"}};
        for (qsizetype i = 0; i < names.size(); ++i) {
            const Title title{QUuid::createUuid(), names[i]};
            const QList<AppState::Word> words{
                {names[names.size() - 1 - i], QUuid::createUuid(), AppState::Word::Kind::known,
                 utc(2024, 3, 5, 14, 7, int(i))},
                {"", QUuid::createUuid(), AppState::Word::Kind::unwanted,
                 utc(1999, 12, 31, 23, 59, 59)}};
            titles.append({title, words});
            for (const auto& w : words)
                rows.append({title.title, uuidText(title.id), w.wordText, kindText(w.kind),
                             csv::formatTimestamp(w.timestamp)});
        }
        StatusLineCapture capture;
        const auto result = csv::parseCSV(csv::buildText(rows));
        QVERIFY(std::holds_alternative<QList<TitleAndWordList>>(result));
        const auto& restored = std::get<QList<TitleAndWordList>>(result);
        QCOMPARE(summary(restored), summary(titles));
        QSet<QUuid> ids;
        for (const auto& t : restored)
            for (const auto& w : t.wordList) {
                ids.insert(w.id);
                // Version 7, time-ordered (see TimeOrderedIds); this Qt does
                // not know the version by name.
                QCOMPARE(uchar(w.id.toRfc4122().at(6)) >> 4, 7);
                QCOMPARE(w.id.variant(), QUuid::DCE);
            }
        QCOMPARE(ids.size(), 2 * names.size());
        QVERIFY(!ids.contains(QUuid()));
        QVERIFY(!ids.contains(titles[0].wordList[0].id));
        QCOMPARE(capture.lines().size(), rows.size() - 1);
    }

    void parseCSV_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("errorLine");
        const QString book = entry("Book", bookId, "apple");
        QTest::newRow("header only") << header << QStringList{} << "" << 0;
        QTest::newRow("book") << header + line("Book", bookId, "apple") << QStringList{book} << ""
                              << 0;
        QTest::newRow("crlf lines") << "title\r\nBook," + bookId + ",apple,known," + stamp + "\r\n"
                                    << QStringList{book} << "" << 0;
        QTest::newRow("lone cr ends a line")
            << "title\rBook," + bookId + ",apple,known," + stamp + "\r" << QStringList{book} << ""
            << 0;
        QTest::newRow("lone cr counts for line numbers")
            << "title\r\"a\rb\"," + bookId + ",apple,known," + stamp + "\rBook," + bookId +
                   ",pear,no," + stamp
            << QStringList{} << "type is not valid" << 4;
        QTest::newRow("date that cannot be written back")
            << header + line("Book", bookId, "apple", "known", "9999-12-31 23:59:59 -0130")
            << QStringList{} << "date is not valid" << 2;
        QTest::newRow("empty lines skipped")
            << "\n\n" + header + "\n\r\n" + line("Book", bookId, "apple") + "\n"
            << QStringList{book} << "" << 0;
        QTest::newRow("spaces line is the header")
            << "  \n" + line("Book", bookId, "apple") << QStringList{book} << "" << 0;
        QTest::newRow("spaces line is a data line") << header + "   \n"
                                                    << QStringList{} << "type is not valid" << 2;
        QTest::newRow("lower-case uuid")
            << header + line("Book", bookId.toLower(), "apple") << QStringList{book} << "" << 0;
        QTest::newRow("braced uuid") << header + line("Book", "{" + bookId + "}", "apple")
                                     << QStringList{} << "titleId is not valid" << 2;
        QTest::newRow("Known") << header + line("Book", bookId, "apple", "Known") << QStringList{}
                               << "type is not valid" << 2;
        QTest::newRow("KNOWN") << header + line("Book", bookId, "apple", "KNOWN") << QStringList{}
                               << "type is not valid" << 2;
        QTest::newRow("known with space") << header + line("Book", bookId, "apple", "known ")
                                          << QStringList{} << "type is not valid" << 2;
        QTest::newRow("unwanted and +0900")
            << header + line("Book", bookId, "apple", "unwanted", "2024-03-05 23:07:09 +0900")
            << QStringList{entry("Book", bookId, "apple", "unwanted")} << "" << 0;
        QTest::newRow("bad date") << header + line("Book", bookId, "apple", "known", "5 March")
                                  << QStringList{} << "date is not valid" << 2;
        QTest::newRow("same id, first name kept")
            << header + line("Book", bookId, "apple") + line("Other", otherId, "pear") +
                   line("Renamed", bookId, "fig")
            << QStringList{book, entry("Book", bookId, "fig"), entry("Other", otherId, "pear")}
            << "" << 0;
        QTest::newRow("six fields") << header + "Book," + bookId + ",apple,known," + stamp + ",x\n"
                                    << QStringList{book} << "" << 0;
        QTest::newRow("second line bad")
            << header + line("Book", bookId, "apple") + line("Book", bookId, "pear", "Known")
            << QStringList{} << "type is not valid" << 3;
        QTest::newRow("line number counts empty lines")
            << header + "\n\n" + line("Book", "nope", "apple") << QStringList{}
            << "titleId is not valid" << 4;
        QTest::newRow("short: bad id") << header + "Book,nope\n"
                                       << QStringList{} << "titleId is not valid" << 2;
        QTest::newRow("short: one field") << header + "Book\n"
                                          << QStringList{} << "type is not valid" << 2;
        QTest::newRow("short: no kind") << header + "Book," + bookId + ",apple\n"
                                        << QStringList{} << "type is not valid" << 2;
        QTest::newRow("short: no date") << header + "Book," + bookId + ",apple,known\n"
                                        << QStringList{} << "date is not valid" << 2;
        QTest::newRow("unquoted empty field dropped")
            << header + "Book,," + bookId + ",apple,known," + stamp + "\n"
            << QStringList{book} << "" << 0;
        QTest::newRow("unquoted empty name shifts columns")
            << header + line("", bookId, "apple") << QStringList{} << "titleId is not valid" << 2;
        QTest::newRow("quoted fields")
            << header + "\"A, B\"," + bookId + ",\"say \"\"hi\"\"\",known," + stamp + "\n"
            << QStringList{entry("A, B", bookId, "say \"hi\"")} << "" << 0;
        QTest::newRow("quoted line break counts for line numbers")
            << header + "\"a\nb\"," + bookId + ",apple,known," + stamp + "\n" +
                   line("Book", bookId, "pear", "no")
            << QStringList{} << "type is not valid" << 4;
        QTest::newRow("unclosed quote as it stands")
            << header + line("\"Book", bookId, "apple")
            << QStringList{entry("\"Book", bookId, "apple")} << "" << 0;
        QTest::newRow("text after closing quote as it stands")
            << header + line("\"Ham\"let", bookId, "apple")
            << QStringList{entry("\"Ham\"let", bookId, "apple")} << "" << 0;
        QTest::newRow("comma with combining mark does not split")
            << header + line(QStringLiteral("Bo,\u0301ok"), bookId, "apple")
            << QStringList{entry(QStringLiteral("Bo,\u0301ok"), bookId, "apple")} << "" << 0;
        QTest::newRow("prepended letter holds the comma")
            << header + line(QStringLiteral("Book\u0600"), bookId, "apple") << QStringList{}
            << "titleId is not valid" << 2;
        // LF is a cluster of its own even before a combining mark.
        QTest::newRow("line feed before combining mark splits")
            << header + line(QStringLiteral("\u0301Book"), bookId, "apple")
            << QStringList{entry(QStringLiteral("\u0301Book"), bookId, "apple")} << "" << 0;
        QTest::newRow("empty text") << "" << QStringList{} << "The file is empty" << 0;
        QTest::newRow("only empty lines") << "\n\r\n\n"
                                          << QStringList{} << "The file is empty" << 0;
    }
    void parseCSV() {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QFETCH(QString, error);
        QFETCH(int, errorLine);
        // Read a few characters at a time, as a file is read, the text reads
        // the same: a line cut between CR and LF, inside quotes or before a
        // comma's mark is read again whole.
        for (const qsizetype piece : {1, 2, 3, 7}) {
            StatusLineCapture quiet;
            qsizetype at = 0;
            const auto pieces = csv::parseCSVPieces([&](QString& to) {
                to += text.mid(at, piece);
                at += piece;
                return at < text.size();
            });
            QCOMPARE(pieces.index(), std::size_t(error.isEmpty() ? 0 : 1));
            if (const auto* e = std::get_if<CSVParseError>(&pieces))
                QCOMPARE(e->message + QString::number(e->line), error + QString::number(errorLine));
            else
                QCOMPARE(summary(std::get<QList<TitleAndWordList>>(pieces)), words);
        }
        StatusLineCapture capture;
        const auto result = csv::parseCSV(text);
        if (!error.isEmpty()) {
            QVERIFY(std::holds_alternative<CSVParseError>(result));
            const auto& e = std::get<CSVParseError>(result);
            QCOMPARE(e.message, error);
            QCOMPARE(e.line, errorLine);
            QCOMPARE(capture.contains("Failed to parse date"),
                     error == "date is not valid" && !text.endsWith("known\n"));
            return;
        }
        QVERIFY(std::holds_alternative<QList<TitleAndWordList>>(result));
        QCOMPARE(summary(std::get<QList<TitleAndWordList>>(result)), words);
        QStringList dates;
        for (qsizetype i = 0; i < words.size(); ++i)
            dates << "Date object: " + stamp;
        QCOMPARE(capture.lines(), dates);
    }

    void writeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("contacts.csv");
        const QString text = header + line(QStringLiteral("\u65e5\u672c"), bookId, "caf\u00e9");
        QString error;
        QVERIFY(csv::writeFile(path, "old", &error));
        QVERIFY(csv::writeFile(path, text, &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), text.toUtf8());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"contacts.csv"});

        const QString missing = dir.filePath("no/such/folder/contacts.csv");
        QVERIFY(!csv::writeFile(missing, text, &error));
        QVERIFY(error.contains("contacts.csv"));
        QVERIFY(!QFile::exists(missing));
        error.clear();
        QVERIFY(!csv::writeFile(dir.path(), text, &error)); // a folder is in the way
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(CsvTest)
#include "tst_csv.moc"
