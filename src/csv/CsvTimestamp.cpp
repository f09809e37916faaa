#include "csv/CsvTimestamp.h"

#include "base/StatusLine.h"

#include <algorithm>

namespace csv {

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

} // namespace

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

} // namespace csv
