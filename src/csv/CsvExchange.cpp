#include "csv/CsvExchange.h"

#include "base/StatusLine.h"
#include "csv/Repair.h"
#include "domain/TimeOrderedIds.h"

#include <QDir>
#include <QHash>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTextBoundaryFinder>
#include <QVarLengthArray>

#include <algorithm>
#include <vector>

namespace {

constexpr qint64 secondsPerDay = 86400;

qint64 floorDiv(qint64 a, qint64 b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (the
// well-known era-based conversion; years are astronomical, 0 = 1 BC).
qint64 daysFromCivil(qint64 y, int m, int d) {
    y -= m <= 2;
    const qint64 era = floorDiv(y, 400);
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct CivilDate {
    qint64 year;
    int month;
    int day;
};

CivilDate civilFromDays(qint64 z) {
    z += 719468;
    const qint64 era = floorDiv(z, 146097);
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const int d = int(doy - (153 * mp + 2) / 5 + 1);
    const int m = int(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2), m, d};
}

bool isLeapYear(qint64 y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(qint64 y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : days[m - 1];
}

// The first and last second that a four-digit year can write in UTC.
const qint64 firstWritable = daysFromCivil(0, 1, 1) * secondsPerDay;
const qint64 lastWritable = daysFromCivil(10000, 1, 1) * secondsPerDay - 1;

// "yyyy-MM-dd HH:mm:ss +hhmm" read by hand, so neither the locale nor its
// calendar or digits can change what is accepted. Prints nothing.
std::optional<QDateTime> readTimestamp(QStringView s) {
    if (s.size() != 25)
        return std::nullopt;
    bool ok = true;
    auto number = [&](qsizetype at, int width) {
        int value = 0;
        for (int i = 0; i < width; ++i) {
            const char16_t c = s[at + i].unicode();
            if (c < u'0' || c > u'9')
                ok = false;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    auto expect = [&](qsizetype at, char16_t c) {
        if (s[at].unicode() != c)
            ok = false;
    };
    const int year = number(0, 4);
    expect(4, u'-');
    const int month = number(5, 2);
    expect(7, u'-');
    const int day = number(8, 2);
    expect(10, u' ');
    const int hour = number(11, 2);
    expect(13, u':');
    const int minute = number(14, 2);
    expect(16, u':');
    const int second = number(17, 2);
    expect(19, u' ');
    const char16_t sign = s[20].unicode();
    const int offsetHours = number(21, 2);
    const int offsetMinutes = number(23, 2);
    if (!ok || (sign != u'+' && sign != u'-'))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59 || offsetHours > 23 || offsetMinutes > 59)
        return std::nullopt;
    const qint64 offset = (offsetHours * 3600 + offsetMinutes * 60) * (sign == u'-' ? -1 : 1);
    const qint64 seconds = daysFromCivil(year, month, day) * secondsPerDay + hour * 3600 +
                           minute * 60 + second - offset;
    // The file keeps four-digit years in UTC: a time that an offset moves
    // out of 0000-9999 could not be written back, so it is not taken in.
    if (seconds < firstWritable || seconds > lastWritable)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(seconds * 1000, Qt::UTC);
}

// Whether a comma and the code point on the given side of it make one
// grapheme cluster, as Qt's tables say: a comma glues to a following
// extending mark (combining mark, joiner, spacing mark) and to a preceding
// prepended letter. Nothing else changes whether a comma is a cluster of its
// own, and neither kind exists below U+0300, so the common case needs no
// table. Answers are remembered: a text holds few distinct code points.
enum class Side { before, after };

bool gluesToComma(char32_t cp, Side side) {
    if (cp < 0x0300)
        return false;
    struct Entry {
        char32_t key = ~char32_t(0);
        bool glues = false;
    };
    thread_local Entry cache[2][256];
    Entry& entry = cache[side == Side::after][cp & 0xFF];
    if (entry.key == cp)
        return entry.glues;

    QChar probe[3];
    qsizetype cpLength = 1;
    QChar* cpAt = probe + (side == Side::after ? 1 : 0);
    if (QChar::requiresSurrogates(cp)) {
        cpAt[0] = QChar(QChar::highSurrogate(cp));
        cpAt[1] = QChar(QChar::lowSurrogate(cp));
        cpLength = 2;
    } else {
        cpAt[0] = QChar(char16_t(cp));
    }
    const qsizetype commaAt = side == Side::after ? 0 : cpLength;
    probe[commaAt] = u',';
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, probe, cpLength + 1);
    finder.setPosition(side == Side::after ? 1 : commaAt);
    entry = {cp, !finder.isAtBoundary()};
    return entry.glues;
}

char32_t codePointAt(const QChar* data, qsizetype size, qsizetype at) {
    if (data[at].isHighSurrogate() && at + 1 < size && data[at + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(data[at], data[at + 1]);
    return data[at].unicode();
}

char32_t codePointBefore(const QChar* data, qsizetype at) {
    if (data[at - 1].isLowSurrogate() && at >= 2 && data[at - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(data[at - 2], data[at - 1]);
    return data[at - 1].unicode();
}

// Whether the comma at data[at] is a grapheme cluster of its own, so that the
// reader splits there.
bool commaStandsAlone(const QChar* data, qsizetype size, qsizetype at) {
    if (at > 0 && data[at - 1].unicode() >= 0x0600 &&
        gluesToComma(codePointBefore(data, at), Side::before))
        return false;
    if (at + 1 < size && data[at + 1].unicode() >= 0x0300 &&
        gluesToComma(codePointAt(data, size, at + 1), Side::after))
        return false;
    return true;
}

// Whether a comma written right before or after this field would fuse with
// the field's first or last character into one cluster.
bool fusesWithComma(QStringView field) {
    const qsizetype n = field.size();
    return gluesToComma(codePointAt(field.data(), n, 0), Side::after) ||
           gluesToComma(codePointBefore(field.data(), n), Side::before);
}

bool needsQuotes(QStringView field) {
    if (field.isEmpty())
        return true;
    for (QChar c : field) {
        const char16_t u = c.unicode();
        if (u <= u',' && (u == u',' || u == u'"' || u == u'\r' || u == u'\n'))
            return true;
    }
    return fusesWithComma(field);
}

// Writes the field at out, quoted when quotedSize >= 0; returns the end.
QChar* writeField(QChar* out, const QString& field, qsizetype quotedSize) {
    if (quotedSize < 0)
        return std::copy_n(field.constData(), field.size(), out);
    *out++ = u'"';
    for (QChar c : field) {
        *out++ = c;
        if (c == u'"')
            *out++ = u'"';
    }
    *out++ = u'"';
    return out;
}

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
        : data(text.constData())
        , size(text.size()) {}

    bool atEnd() const { return pos >= size; }

    // Reads the next line into fields; false when the line is empty.
    bool readLine() {
        fields.clear();
        unquoted.clear();
        lineNumber = nextLineNumber;
        if (endOfLineAt(pos)) {
            skipLineEnd();
            return false;
        }
        for (;;) {
            if (!readQuotedField())
                readPlainField();
            if (pos < size && data[pos] == u',') {
                ++pos;
                continue;
            }
            skipLineEnd();
            return true;
        }
    }

    QVarLengthArray<QStringView, 8> fields;
    qsizetype lineNumber = 0;

private:
    // Length of the line end at i (LF, CR LF, or a lone CR as older Mac
    // programs write), 0 when there is none; the end of the text counts as a
    // line end of length 0.
    qsizetype lineEndLength(qsizetype i) const {
        if (i < size && data[i] == u'\n')
            return 1;
        if (i < size && data[i] == u'\r')
            return i + 1 < size && data[i + 1] == u'\n' ? 2 : 1;
        return 0;
    }
    bool endOfLineAt(qsizetype i) const { return i >= size || lineEndLength(i) > 0; }
    bool fieldEndAt(qsizetype i) const {
        return endOfLineAt(i) || (data[i] == u',' && commaStandsAlone(data, size, i));
    }
    void skipLineEnd() {
        const qsizetype len = lineEndLength(pos);
        pos += len;
        if (len > 0)
            ++nextLineNumber;
    }

    bool readQuotedField() {
        if (pos >= size || data[pos] != u'"')
            return false;
        qsizetype i = pos + 1;
        qsizetype lineFeeds = 0;
        bool doubled = false;
        for (;; ++i) {
            if (i >= size)
                return false; // never closed: read as it stands
            const char16_t c = data[i].unicode();
            if (c == u'\n' || (c == u'\r' && (i + 1 >= size || data[i + 1] != u'\n'))) {
                ++lineFeeds;
            } else if (c == u'"') {
                if (i + 1 < size && data[i + 1] == u'"') {
                    doubled = true;
                    ++i;
                } else {
                    break;
                }
            }
        }
        if (!fieldEndAt(i + 1))
            return false;
        const QStringView inner(data + pos + 1, i - pos - 1);
        if (doubled) {
            unquoted.append(inner.toString().replace(QStringLiteral("\"\""), QStringLiteral("\"")));
            fields.append(unquoted.constLast());
        } else {
            fields.append(inner);
        }
        nextLineNumber += lineFeeds;
        pos = i + 1;
        return true;
    }

    void readPlainField() {
        qsizetype i = pos;
        for (; i < size; ++i) {
            const char16_t c = data[i].unicode();
            if (c == u'\n' || c == u'\r' || (c == u',' && commaStandsAlone(data, size, i)))
                break;
        }
        const qsizetype end = i;
        if (end > pos)
            fields.append(QStringView(data + pos, end - pos));
        pos = end;
    }

    const QChar* data;
    qsizetype size;
    qsizetype pos = 0;
    qsizetype nextLineNumber = 1;
    // Unescaped copies of quoted fields with doubled quotes; fields view them.
    QStringList unquoted;
};

// Date lines are printed in batches: one flush per line would cost more than
// the parse itself on a large file.
class DateReport {
public:
    ~DateReport() { printStatusLines(lines); }
    void add(QString line) {
        lines.append(std::move(line));
        if (lines.size() >= 4096) {
            printStatusLines(lines);
            lines.clear();
        }
    }

private:
    QStringList lines;
};

CSVParseError invalidForm(const QString& message, qsizetype line) {
    return CSVParseError{CSVParseError::Case::invalidForm, message, line};
}

} // namespace

namespace csv {

QString formatTimestamp(const QDateTime& date) {
    if (!date.isValid())
        return QString();
    // Four digits always: a time past either end (stored before such times
    // were refused) is written as that end, so the file can be read back.
    const qint64 seconds =
        std::clamp(floorDiv(date.toMSecsSinceEpoch(), 1000), firstWritable, lastWritable);
    const qint64 days = floorDiv(seconds, secondsPerDay);
    const int secondOfDay = int(seconds - days * secondsPerDay);
    const CivilDate civil = civilFromDays(days);

    char16_t buffer[48];
    char16_t* out = buffer;
    auto put = [&](qint64 value, int width) {
        char16_t digits[24];
        int n = 0;
        do {
            digits[n++] = char16_t(u'0' + value % 10);
            value /= 10;
        } while (value > 0 || n < width);
        while (n > 0)
            *out++ = digits[--n];
    };
    put(civil.year, 4);
    *out++ = u'-';
    put(civil.month, 2);
    *out++ = u'-';
    put(civil.day, 2);
    *out++ = u' ';
    put(secondOfDay / 3600, 2);
    *out++ = u':';
    put(secondOfDay / 60 % 60, 2);
    *out++ = u':';
    put(secondOfDay % 60, 2);
    for (char16_t c : u" +0000")
        if (c)
            *out++ = c;
    return QString(reinterpret_cast<const QChar*>(buffer), out - buffer);
}

std::optional<QDateTime> parseDate(const QString& text) {
    std::optional<QDateTime> date = readTimestamp(text);
    if (date)
        printStatus(QStringLiteral("Date object: ") + formatTimestamp(*date));
    else
        printStatus(QStringLiteral("Failed to parse date"));
    return date;
}

QString buildText(const CsvRows& rows) {
    // Measure first, then write in place: appending field by field costs
    // more than the copying itself on a large export.
    std::vector<qsizetype> quotedSizes; // per field: -1 when written as it stands
    qsizetype size = 0;
    for (const QStringList& row : rows) {
        size += std::max<qsizetype>(row.size(), 1); // the commas and the LF
        for (const QString& field : row) {
            if (needsQuotes(field)) {
                quotedSizes.push_back(field.size() + 2 + field.count(u'"'));
                size += quotedSizes.back();
            } else {
                quotedSizes.push_back(-1);
                size += field.size();
            }
        }
    }
    QString text(size, Qt::Uninitialized);
    QChar* out = text.data();
    auto quoted = quotedSizes.cbegin();
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                *out++ = u',';
            out = writeField(out, row[i], *quoted++);
        }
        *out++ = u'\n';
    }
    Q_ASSERT(out == text.constData() + size);
    return text;
}

bool writeFile(const QString& path, const QString& text, QString* error) {
    QSaveFile file(path);
    auto fail = [&](const QString& reason) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray utf8 = text.toUtf8();
    if (file.write(utf8) != utf8.size())
        return fail(file.errorString());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

std::variant<QList<TitleAndWordList>, CSVParseError> parseCSV(const QString& text) {
    LineReader reader(text);
    bool headerSeen = false;
    while (!reader.atEnd() && !headerSeen)
        headerSeen = reader.readLine();
    if (!headerSeen)
        return invalidForm(QStringLiteral("The file is empty"), 0);

    QList<TitleAndWordList> titles;
    QHash<QUuid, qsizetype> indexOfTitle;
    DateReport report;
    TimeOrderedIds freshIds; // the restored words' new ids
    while (!reader.atEnd()) {
        if (!reader.readLine())
            continue;
        const auto& fields = reader.fields;
        const qsizetype line = reader.lineNumber;

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
        std::optional<QDateTime> date = readTimestamp(fields[4]);
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

        // The name counts only on the first line of a title.
        auto found = indexOfTitle.constFind(*titleId);
        const bool newTitle = found == indexOfTitle.cend();
        const Repair repair{newTitle ? fields[0].toString() : QString(), *titleId,
                            fields[2].toString(), *kind, *date};
        if (newTitle) {
            found = indexOfTitle.insert(repair.titleId, titles.size());
            titles.append(TitleAndWordList{Title{repair.titleId, repair.titleString}, {}});
        }
        titles[*found].wordList.append(
            AppState::Word{repair.wordString, freshIds.next(), repair.kind, repair.date});
    }
    return titles;
}

} // namespace csv
