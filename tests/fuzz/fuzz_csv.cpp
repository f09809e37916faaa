// Feeds arbitrary text to the CSV reader, then checks that whatever it read is
// written and read back unchanged, and that arbitrary names and words survive
// the writer and the reader.
#include "FuzzInput.h"
#include "csv/CsvReader.h"
#include "csv/CsvTimestamp.h"
#include "csv/CsvWriter.h"

#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_csv: %s\n", what);
        std::abort();
    }
}

CsvRows rowsOf(const QList<TitleAndWordList>& titles) {
    CsvRows rows{{"title", "titleId", "word", "kind", "timestamp"}};
    for (const auto& entry : titles)
        for (const auto& word : entry.wordList)
            rows.append({entry.title.title, uuidText(entry.title.id), word.wordText,
                         kindText(word.kind), csv::formatTimestamp(word.timestamp)});
    return rows;
}

// The line ends of a text as the reader counts them: LF, CR LF, and a lone CR
// (as older Mac programs write).
qsizetype lineEnds(const QString& text) {
    qsizetype ends = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' ||
            (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
            ++ends;
    }
    return ends;
}

// Same titles, names, words, kinds and timestamps (to the second).
bool sameContent(const QList<TitleAndWordList>& a, const QList<TitleAndWordList>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].title.id != b[i].title.id || a[i].title.title != b[i].title.title ||
            a[i].wordList.size() != b[i].wordList.size())
            return false;
        for (qsizetype j = 0; j < a[i].wordList.size(); ++j) {
            const auto& x = a[i].wordList[j];
            const auto& y = b[i].wordList[j];
            if (x.wordText != y.wordText || x.kind != y.kind ||
                x.timestamp.toSecsSinceEpoch() != y.timestamp.toSecsSinceEpoch())
                return false;
        }
    }
    return true;
}

void roundTrip(const QList<TitleAndWordList>& titles) {
    const auto again = csv::parseCSV(csv::buildText(rowsOf(titles)));
    check(std::holds_alternative<QList<TitleAndWordList>>(again), "own export not readable");
    check(sameContent(titles, std::get<QList<TitleAndWordList>>(again)),
          "own export read back changed");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fuzzText(data, size);

    const auto result = csv::parseCSV(text);
    if (const auto* error = std::get_if<CSVParseError>(&result)) {
        check(!error->message.isEmpty(), "error without message");
        check(error->line >= 0 && error->line <= lineEnds(text) + 1, "error line out of range");
        check((error->line == 0) == (error->message == "The file is empty"), "line 0 misused");
    } else {
        roundTrip(std::get<QList<TitleAndWordList>>(result));
    }

    // The text's pieces between NUL characters as names and words.
    const QStringList pieces = text.split(QChar(0));
    QList<TitleAndWordList> titles;
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        const QUuid id(uint(i + 1), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        titles.append({Title{id, pieces[i]},
                       {AppState::Word{pieces[i + 1], QUuid(), AppState::Word::Kind::unwanted,
                                       QDateTime::fromSecsSinceEpoch(i * 86399, Qt::UTC)}}});
    }
    roundTrip(titles);
    return 0;
}
