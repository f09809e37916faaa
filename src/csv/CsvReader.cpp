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
class LineReader {
public:
    explicit LineReader(const QString& text)
        : data_(text.constData())
        , size_(text.size()) {}

    bool atEnd() const { return pos_ >= size_; }

    // Reads the next line into fields; false when the line is empty.
    bool readLine() {
        fields.clear();
        unquoted_.clear();
        lineNumber = nextLineNumber_;
        if (endOfLineAt(pos_)) {
            skipLineEnd();
            return false;
        }
        for (;;) {
            if (!readQuotedField())
                readPlainField();
            if (pos_ < size_ && data_[pos_] == u',') {
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
    qsizetype lineEndLength(qsizetype i) const {
        if (i < size_ && data_[i] == u'\n')
            return 1;
        if (i < size_ && data_[i] == u'\r')
            return i + 1 < size_ && data_[i + 1] == u'\n' ? 2 : 1;
        return 0;
    }
    bool endOfLineAt(qsizetype i) const { return i >= size_ || lineEndLength(i) > 0; }
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
        if (pos_ >= size_ || data_[pos_] != u'"')
            return false;
        qsizetype i = pos_ + 1;
        qsizetype lineFeeds = 0;
        bool doubled = false;
        for (;; ++i) {
            if (i >= size_)
                return false; // never closed: read as it stands
            const char16_t c = data_[i].unicode();
            if (c == u'\n' || (c == u'\r' && (i + 1 >= size_ || data_[i + 1] != u'\n'))) {
                ++lineFeeds;
            } else if (c == u'"') {
                if (i + 1 < size_ && data_[i + 1] == u'"') {
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
        for (; i < size_; ++i) {
            const char16_t c = data_[i].unicode();
            if (c == u'\n' || c == u'\r' || (c == u',' && commaStandsAlone(data_, size_, i)))
                break;
        }
        const qsizetype end = i;
        if (end > pos_)
            fields.append(QStringView(data_ + pos_, end - pos_));
        pos_ = end;
    }

    const QChar* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
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

// Reads up to the first line that is not empty: the header, which is not
// examined. False when there is none.
bool skipHeader(LineReader& reader) {
    while (!reader.atEnd()) {
        if (reader.readLine())
            return true;
    }
    return false;
}

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

} // namespace

std::variant<QList<TitleAndWordList>, CSVParseError> parseCSV(const QString& text) {
    LineReader reader(text);
    if (!skipHeader(reader))
        return invalidForm(QStringLiteral("The file is empty"), 0);
    TitleCollector collector;
    DateReport report;
    while (!reader.atEnd()) {
        if (!reader.readLine())
            continue;
        const auto checked = checkLine(reader.fields, reader.lineNumber, report);
        if (const auto* error = std::get_if<CSVParseError>(&checked))
            return *error;
        collector.add(reader.fields, std::get<CheckedLine>(checked));
    }
    return std::move(collector.titles);
}

QList<CSVParseError> firstErrors(const QString& text, qsizetype limit) {
    LineReader reader(text);
    if (!skipHeader(reader))
        return {invalidForm(QStringLiteral("The file is empty"), 0)};
    QList<CSVParseError> errors;
    DateReport silent(true);
    while (!reader.atEnd() && errors.size() < limit) {
        if (!reader.readLine())
            continue;
        const auto checked = checkLine(reader.fields, reader.lineNumber, silent);
        if (const auto* error = std::get_if<CSVParseError>(&checked))
            errors.append(*error);
    }
    return errors;
}

} // namespace csv
