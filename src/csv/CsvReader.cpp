#include "csv/CsvReader.h"

#include "base/StatusLine.h"
#include "csv/CsvCommas.h"
#include "csv/CsvTimestamp.h"
#include "csv/Repair.h"
#include "domain/TimeOrderedIds.h"

#include <QHash>
#include <QVarLengthArray>

namespace csv {

namespace {

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// The 36-character 8-4-4-4-12 form, hex digits in either case, no braces.
std::optional<QUuid> readUuid(QStringView s) {
    if (s.size() != 36)
        return std::nullopt;
    char bytes[16];
    int byte = 0;
    for (qsizetype i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (s[i] != u'-')
                return std::nullopt;
            ++i;
            continue;
        }
        const int high = hexValue(s[i].unicode());
        const int low = hexValue(s[i + 1].unicode());
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[byte++] = char(high << 4 | low);
        i += 2;
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes, 16));
}

// Reads the file text line by line and field by field. A line ends at LF or
// CR LF. Fields are split at commas that are clusters of their own; a field
// that opens with a double quote and closes with one right before a comma or
// a line end is quoted (may hold commas, line breaks and doubled quotes).
// Anything else is read as it stands, and unquoted empty fields are dropped.
//
// The text may come in pieces (a file read as it goes): until the last piece
// is in (final), a line whose reading looked at the end of what is there,
// or close to it, is read again once more text has come, so that it reads
// exactly as it would from the whole text.
class LineReader {
public:
    explicit LineReader(const QString& text, bool final = true) { reset(text, final); }

    // Reads on in text, from its start; the line numbers go on.
    void reset(const QString& text, bool final) {
        data_ = text.constData();
        size_ = text.size();
        pos_ = 0;
        final_ = final;
    }

    bool atEnd() const { return pos_ >= size_; }
    qsizetype position() const { return pos_; }

    // Whether the last line read looked at the end of a text that is not
    // the last: it must be read again with more text.
    bool wantsMore() const { return nearEnd_ && !final_; }
    struct Mark {
        qsizetype pos;
        qsizetype nextLineNumber;
    };
    Mark mark() const { return {pos_, nextLineNumber_}; }
    void rewind(const Mark& m) {
        pos_ = m.pos;
        nextLineNumber_ = m.nextLineNumber;
    }

    // Reads the next line into fields; false when the line is empty.
    bool readLine() {
        fields.clear();
        unquoted_.clear();
        nearEnd_ = false;
        lineNumber = nextLineNumber_;
        if (endOfLineAt(pos_)) {
            skipLineEnd();
            return false;
        }
        for (;;) {
            if (!readQuotedField())
                readPlainField();
            if (within(pos_) && data_[pos_] == u',') {
                ++pos_;
                continue;
            }
            skipLineEnd();
            return true;
        }
    }

    using Fields = QVarLengthArray<QStringView, 8>;
    Fields fields;
    qsizetype lineNumber = 0;

private:
    // Length of the line end at i (LF, CR LF, or a lone CR as older Mac
    // programs write), 0 when there is none; the end of the text counts as a
    // line end of length 0.
    // Whether i is within the text; notes a look close to its end (a CR's
    // LF, a comma's combining mark and its surrogate may follow).
    bool within(qsizetype i) const {
        if (i + 3 >= size_)
            nearEnd_ = true;
        return i < size_;
    }
    qsizetype lineEndLength(qsizetype i) const {
        if (within(i) && data_[i] == u'\n')
            return 1;
        if (within(i) && data_[i] == u'\r')
            return within(i + 1) && data_[i + 1] == u'\n' ? 2 : 1;
        return 0;
    }
    bool endOfLineAt(qsizetype i) const { return !within(i) || lineEndLength(i) > 0; }
    bool fieldEndAt(qsizetype i) const {
        return endOfLineAt(i) || (data_[i] == u',' && commaStandsAlone(data_, size_, i));
    }
    void skipLineEnd() {
        const qsizetype len = lineEndLength(pos_);
        pos_ += len;
        if (len > 0)
            ++nextLineNumber_;
    }

    bool readQuotedField() {
        if (!within(pos_) || data_[pos_] != u'"')
            return false;
        qsizetype i = pos_ + 1;
        qsizetype lineFeeds = 0;
        bool doubled = false;
        for (;; ++i) {
            if (!within(i))
                return false; // never closed: read as it stands
            const char16_t c = data_[i].unicode();
            if (c == u'\n' || (c == u'\r' && (!within(i + 1) || data_[i + 1] != u'\n'))) {
                ++lineFeeds;
            } else if (c == u'"') {
                if (within(i + 1) && data_[i + 1] == u'"') {
                    doubled = true;
                    ++i;
                } else {
                    break;
                }
            }
        }
        if (!fieldEndAt(i + 1))
            return false;
        const QStringView inner(data_ + pos_ + 1, i - pos_ - 1);
        if (doubled) {
            unquoted_.append(
                inner.toString().replace(QStringLiteral("\"\""), QStringLiteral("\"")));
            fields.append(unquoted_.constLast());
        } else {
            fields.append(inner);
        }
        nextLineNumber_ += lineFeeds;
        pos_ = i + 1;
        return true;
    }

    void readPlainField() {
        qsizetype i = pos_;
        for (; within(i); ++i) {
            const char16_t c = data_[i].unicode();
            if (c == u'\n' || c == u'\r' || (c == u',' && commaStandsAlone(data_, size_, i)))
                break;
        }
        const qsizetype end = i;
        if (end > pos_)
            fields.append(QStringView(data_ + pos_, end - pos_));
        pos_ = end;
    }

    const QChar* data_ = nullptr;
    qsizetype size_ = 0;
    qsizetype pos_ = 0;
    bool final_ = true;
    mutable bool nearEnd_ = false;
    qsizetype nextLineNumber_ = 1;
    // Unescaped copies of quoted fields with doubled quotes; fields view them.
    QStringList unquoted_;
};

// Date lines are printed in batches: one flush per line would cost more than
// the parse itself on a large file.
class DateReport {
public:
    explicit DateReport(bool silent = false)
        : silent_(silent) {}
    ~DateReport() { printStatusLines(lines_); }
    void add(QString line) {
        if (silent_)
            return;
        lines_.append(std::move(line));
        if (lines_.size() >= 4096) {
            printStatusLines(lines_);
            lines_.clear();
        }
    }

private:
    bool silent_;
    QStringList lines_;
};

CSVParseError invalidForm(const QString& message, qsizetype line) {
    return CSVParseError{CSVParseError::Case::invalidForm, message, line};
}

// The fields of one data line that the file's checks pass.
struct CheckedLine {
    QUuid titleId;
    AppState::Word::Kind kind = AppState::Word::Kind::known;
    QDateTime date;
};

// Checks a data line in the order its faults are told: the title's id, the
// kind, then the date, which is reported as parseDate reports it.
std::variant<CheckedLine, CSVParseError> checkLine(const LineReader::Fields& fields, qsizetype line,
                                                   DateReport& report) {
    std::optional<QUuid> titleId;
    if (fields.size() > 1)
        titleId = readUuid(fields[1]);
    if (fields.size() > 1 && !titleId)
        return invalidForm(QStringLiteral("titleId is not valid"), line);

    std::optional<AppState::Word::Kind> kind;
    if (fields.size() > 3) {
        if (fields[3] == u"known")
            kind = AppState::Word::Kind::known;
        else if (fields[3] == u"unwanted")
            kind = AppState::Word::Kind::unwanted;
    }
    if (!kind)
        return invalidForm(QStringLiteral("type is not valid"), line);

    if (fields.size() < 5)
        return invalidForm(QStringLiteral("date is not valid"), line);
    const std::optional<QDateTime> date = readTimestamp(fields[4]);
    if (!date) {
        report.add(QStringLiteral("Failed to parse date"));
        return invalidForm(QStringLiteral("date is not valid"), line);
    }
    // A date already in UTC form prints as it was read.
    QString dateLine = QStringLiteral("Date object: ");
    if (fields[4].endsWith(u" +0000"))
        dateLine += fields[4];
    else
        dateLine += formatTimestamp(*date);
    report.add(std::move(dateLine));
    return CheckedLine{*titleId, *kind, *date};
}

// The titles of the file in order of first appearance, each with its words.
// A title's name counts only on its first line; the words get new ids.
class TitleCollector {
public:
    void add(const LineReader::Fields& fields, const CheckedLine& line) {
        auto found = indexOfTitle_.constFind(line.titleId);
        const bool newTitle = found == indexOfTitle_.cend();
        const Repair repair{newTitle ? fields[0].toString() : QString(), line.titleId,
                            fields[2].toString(), line.kind, line.date};
        if (newTitle) {
            found = indexOfTitle_.insert(repair.titleId, titles.size());
            titles.append(TitleAndWordList{Title{repair.titleId, repair.titleString}, {}});
        }
        titles[*found].wordList.append(
            AppState::Word{repair.wordString, freshIds_.next(), repair.kind, repair.date});
    }

    QList<TitleAndWordList> titles;

private:
    QHash<QUuid, qsizetype> indexOfTitle_;
    TimeOrderedIds freshIds_; // the restored words' new ids
};

// Reads the lines of text that comes in pieces: pieces(to) appends the next
// piece to `to` and says whether more may follow. onLine(reader) sees each
// line that is not empty, the header first; false from it stops the reading.
// Returns whether there was a header.
template <typename OnLine> bool readLines(const Pieces& pieces, OnLine&& onLine) {
    QString buffer;
    bool more = pieces(buffer);
    LineReader reader(buffer, !more);
    bool header = false;
    for (;;) {
        if (reader.atEnd()) {
            if (!more)
                return header;
            buffer.clear();
            more = pieces(buffer);
            reader.reset(buffer, !more);
            continue;
        }
        const LineReader::Mark mark = reader.mark();
        const bool line = reader.readLine();
        if (reader.wantsMore()) {
            // The line is read again with the next piece behind it.
            reader.rewind(mark);
            buffer.remove(0, mark.pos);
            more = pieces(buffer);
            reader.reset(buffer, !more);
            continue;
        }
        if (!line)
            continue;
        if (!header) {
            header = true; // not examined
            continue;
        }
        if (!onLine(reader))
            return header;
    }
}

Pieces wholeText(const QString& text) {
    return [&text](QString& to) {
        to = text; // shared, not copied
        return false;
    };
}

} // namespace

std::variant<QList<TitleAndWordList>, CSVParseError> parseCSVPieces(const Pieces& pieces) {
    TitleCollector collector;
    DateReport report;
    std::optional<CSVParseError> error;
    const bool header = readLines(pieces, [&](const LineReader& reader) {
        const auto checked = checkLine(reader.fields, reader.lineNumber, report);
        if (const auto* found = std::get_if<CSVParseError>(&checked)) {
            error = *found;
            return false;
        }
        collector.add(reader.fields, std::get<CheckedLine>(checked));
        return true;
    });
    if (!header)
        return invalidForm(QStringLiteral("The file is empty"), 0);
    if (error)
        return *error;
    return std::move(collector.titles);
}

QList<CSVParseError> firstErrorsOfPieces(const Pieces& pieces, qsizetype limit) {
    QList<CSVParseError> errors;
    DateReport silent(true);
    const bool header = readLines(pieces, [&](const LineReader& reader) {
        const auto checked = checkLine(reader.fields, reader.lineNumber, silent);
        if (const auto* error = std::get_if<CSVParseError>(&checked))
            errors.append(*error);
        return errors.size() < limit;
    });
    if (!header)
        return {invalidForm(QStringLiteral("The file is empty"), 0)};
    return errors;
}

std::variant<QList<TitleAndWordList>, CSVParseError> parseCSV(const QString& text) {
    return parseCSVPieces(wholeText(text));
}

QList<CSVParseError> firstErrors(const QString& text, qsizetype limit) {
    return firstErrorsOfPieces(wholeText(text), limit);
}

} // namespace csv
