#include "importing/TextDecoder.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

#include <algorithm>
#include <memory>

namespace importing {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("importing", text);
}

struct Bom {
    QByteArray bytes;
    QStringConverter::Encoding encoding;
    const char* name;
    int unit; // bytes per code unit
};

// Longest first: the UTF-32LE mark begins with the UTF-16LE one.
const Bom boms[] = {
    {QByteArray("\xFF\xFE\x00\x00", 4), QStringConverter::Utf32LE, "UTF-32LE", 4},
    {QByteArray("\x00\x00\xFE\xFF", 4), QStringConverter::Utf32BE, "UTF-32BE", 4},
    {QByteArray("\xEF\xBB\xBF", 3), QStringConverter::Utf8, "UTF-8", 1},
    {QByteArray("\xFF\xFE", 2), QStringConverter::Utf16LE, "UTF-16LE", 2},
    {QByteArray("\xFE\xFF", 2), QStringConverter::Utf16BE, "UTF-16BE", 2},
};

// Detection reads this much at most: enough to be sure, and quick on a
// whole book.
constexpr int detectionSample = 256 * 1024;
// ICU's confidence goes from 0 to 100; below this it is a guess.
constexpr int leastConfidence = 10;

// UTF-16 and UTF-32 without a mark are known by their NUL bytes: the high
// bytes of Latin text are NUL, one place in every unit, the other bytes next
// to never. Binary data has NULs anywhere, and is not taken for text so.
struct UnmarkedEncoding {
    QStringConverter::Encoding encoding;
    const char* name;
    int unit;
    int zeroAt[2]; // places in the unit (-1: none) that are mostly NUL
    int textAt;    // the place that next to never is
};
const UnmarkedEncoding unmarkedEncodings[] = {
    {QStringConverter::Utf32LE, "UTF-32LE", 4, {2, 3}, 0},
    {QStringConverter::Utf32BE, "UTF-32BE", 4, {0, 1}, 3},
    {QStringConverter::Utf16LE, "UTF-16LE", 2, {1, -1}, 0},
    {QStringConverter::Utf16BE, "UTF-16BE", 2, {0, -1}, 1},
};

bool hasNulPattern(const QByteArray& bytes, const UnmarkedEncoding& e) {
    const qsizetype units = std::min<qsizetype>(bytes.size(), detectionSample) / e.unit;
    if (units == 0 || bytes.size() % e.unit != 0)
        return false;
    qsizetype zeros = 0;
    qsizetype textZeros = 0;
    for (qsizetype i = 0; i < units; ++i) {
        const char* unit = bytes.constData() + i * e.unit;
        bool allZero = true;
        for (int at : e.zeroAt)
            allZero = allZero && (at < 0 || unit[at] == 0);
        zeros += allZero;
        textZeros += unit[e.textAt] == 0;
    }
    // Most units have their NULs in place, and next to none elsewhere.
    return zeros * 2 > units && textZeros * 20 <= units;
}

QString unifiedLineEnds(QString text) {
    if (!text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Judged with its line ends unified: CR LF pairs made one must not leave
// more control characters per hundred than looksLikeText allows.
ImportedText finished(QString text, const QString& encoding) {
    text = unifiedLineEnds(std::move(text));
    if (!looksLikeText(text))
        return ImportedText::failure(tr("The file holds no text (it looks like a binary file)."));
    return ImportedText::withText(std::move(text), encoding);
}

ImportedText decodeWithQt(const QByteArray& bytes, QStringConverter::Encoding encoding,
                          const QString& name) {
    // Stateless: bytes cut off in the middle of a character are an error,
    // not something kept for more input that never comes.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return ImportedText::failure(tr("The file is not valid %1 text.").arg(name));
    return finished(std::move(text), name);
}

struct DetectorCloser {
    void operator()(UCharsetDetector* d) const { ucsdet_close(d); }
};
struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};

// The most likely encoding of the bytes, or an empty string.
QString detectEncoding(const QByteArray& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, DetectorCloser> detector(ucsdet_open(&status));
    if (U_FAILURE(status))
        return {};
    const int32_t length = int32_t(std::min<qsizetype>(bytes.size(), detectionSample));
    ucsdet_setText(detector.get(), bytes.constData(), length, &status);
    const UCharsetMatch* match = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status) || !match)
        return {};
    const int32_t confidence = ucsdet_getConfidence(match, &status);
    const char* name = ucsdet_getName(match, &status);
    if (U_FAILURE(status) || !name || confidence < leastConfidence)
        return {};
    return QString::fromLatin1(name);
}

ImportedText decodeWithIcu(const QByteArray& bytes, const QString& encoding) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(
        ucnv_open(encoding.toLatin1().constData(), &status));
    if (U_FAILURE(status))
        return ImportedText::failure(tr("The file's encoding (%1) cannot be read.").arg(encoding));
    // Bytes that are no character of the encoding stop the reading rather
    // than turn into replacement characters.
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    QString text(bytes.size() * 2 + 1, Qt::Uninitialized);
    status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(text.data()), int32_t(text.size()),
                      bytes.constData(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status))
        return ImportedText::failure(tr("The file is not valid %1 text.").arg(encoding));
    text.truncate(length);
    // A mark at the start is no part of the text.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return finished(std::move(text), encoding);
}

} // namespace

bool looksLikeText(const QString& text) {
    qsizetype controls = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0)
            return false;
        const bool c0 = u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != '\v';
        const bool c1 = u >= 0x7F && u <= 0x9F;
        if (c0 || c1)
            ++controls;
    }
    // A stray control character or two is still text (a form feed, an
    // escape left in an old file); one in a hundred is not.
    return controls * 100 <= text.size();
}

ImportedText decodeText(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return ImportedText::withText({}, QStringLiteral("UTF-8"));
    for (const Bom& bom : boms) {
        if (!bytes.startsWith(bom.bytes))
            continue;
        const QString name = QString::fromLatin1(bom.name);
        // The decoder drops a last unit cut short without a word.
        if (bytes.size() % bom.unit != 0)
            return ImportedText::failure(tr("The file is not valid %1 text.").arg(name));
        return decodeWithQt(bytes, bom.encoding, name);
    }
    const auto binary = [] {
        return ImportedText::failure(tr("The file holds no text (it looks like a binary file)."));
    };
    // NUL is valid UTF-8, yet text holds none: such bytes are UTF-16 or
    // UTF-32 without a mark, or no text at all.
    if (bytes.contains('\0')) {
        for (const UnmarkedEncoding& e : unmarkedEncodings) {
            if (hasNulPattern(bytes, e))
                return decodeWithQt(bytes, e.encoding, QString::fromLatin1(e.name));
        }
        return binary();
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return finished(std::move(text), QStringLiteral("UTF-8"));
    const QString encoding = detectEncoding(bytes);
    if (encoding.isEmpty())
        return ImportedText::failure(tr("The file's character encoding could not be recognised."));
    // Without NULs the bytes are no UTF-16 or UTF-32, whatever the guess.
    if (encoding.startsWith(QStringLiteral("UTF-16")) ||
        encoding.startsWith(QStringLiteral("UTF-32")))
        return binary();
    return decodeWithIcu(bytes, encoding);
}

} // namespace importing
