#include "text/SentenceAround.h"

#include <QStringView>
#include <QTextBoundaryFinder>

namespace {

bool isSpace(QChar c) {
    return c.isSpace() || c == QChar(0x2028) || c == QChar(0x2029);
}

// White space of any kind (CR LF, tabs, several spaces) as one space.
QString oneSpace(QStringView text) {
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (QChar c : text) {
        if (isSpace(c)) {
            space = true;
            continue;
        }
        if (space)
            out += QLatin1Char(' ');
        space = false;
        out += c;
    }
    if (space)
        out += QLatin1Char(' ');
    return out;
}

// A place to cut text at or after from (keep: the part after it), or at or
// before (keep: the part before): a space if there is one within reach, else
// a grapheme boundary, so that no character loses its marks.
qsizetype cutPlace(const QString& text, qsizetype at, bool keepAfter) {
    at = qBound<qsizetype>(0, at, text.size());
    constexpr qsizetype reach = 30;
    if (keepAfter) {
        for (qsizetype i = at; i < text.size() && i < at + reach; ++i) {
            if (text[i] == QLatin1Char(' '))
                return i + 1;
        }
    } else {
        for (qsizetype i = at; i > 0 && i > at - reach; --i) {
            if (text[i - 1] == QLatin1Char(' '))
                return i - 1;
        }
    }
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    graphemes.setPosition(at);
    if (graphemes.isAtBoundary())
        return at;
    const qsizetype moved = keepAfter ? graphemes.toNextBoundary() : graphemes.toPreviousBoundary();
    return moved < 0 ? at : moved;
}

// Texts are often wrapped by hand: a single line break inside a paragraph
// does not end a sentence, a blank line does. Single breaks become spaces
// (as many as the break had units, so that places stay where they were).
void joinWrappedLines(QString& text) {
    auto isBreak = [](QChar c) {
        return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2028);
    };
    for (qsizetype i = 0; i < text.size();) {
        if (!isBreak(text[i])) {
            ++i;
            continue;
        }
        qsizetype end = i;
        int breaks = 0;
        while (end < text.size() && isBreak(text[end])) {
            // CR LF is one break.
            if (!(text[end] == QLatin1Char('\n') && end > i && text[end - 1] == QLatin1Char('\r')))
                ++breaks;
            ++end;
        }
        if (breaks == 1) {
            for (qsizetype k = i; k < end; ++k)
                text[k] = QLatin1Char(' ');
        }
        i = end;
    }
}

} // namespace

std::optional<SentenceAround> SentenceAround::find(const QString& text, qint64 start,
                                                   const QString& word) {
    const qsizetype length = word.size();
    if (start < 0 || length == 0 || start + length > text.size() ||
        QStringView(text).mid(start, length) != word)
        return std::nullopt;

    // The sentence is looked for in a window around the word: a book is
    // too long to be analysed for every row.
    constexpr qsizetype window = 1500;
    qsizetype from = qMax<qsizetype>(0, start - window);
    qsizetype to = qMin<qsizetype>(text.size(), start + length + window);
    if (from > 0 && text[from].isLowSurrogate())
        --from;
    if (to < text.size() && text[to].isLowSurrogate())
        ++to;
    QString part = text.mid(from, to - from);
    joinWrappedLines(part);
    const qsizetype at = start - from;
    QTextBoundaryFinder sentences(QTextBoundaryFinder::Sentence, part);
    sentences.setPosition(at);
    qsizetype begin = sentences.isAtBoundary() ? at : sentences.toPreviousBoundary();
    if (begin < 0)
        begin = 0;
    sentences.setPosition(at);
    qsizetype end = sentences.toNextBoundary();
    while (end >= 0 && end < at + length)
        end = sentences.toNextBoundary();
    if (end < 0)
        end = part.size();

    SentenceAround found;
    found.word = word;
    QString before = oneSpace(QStringView(part).mid(begin, at - begin));
    QString after = oneSpace(QStringView(part).mid(at + length, end - at - length));
    // No space at the ends of the sentence.
    while (before.startsWith(QLatin1Char(' ')))
        before.remove(0, 1);
    while (after.endsWith(QLatin1Char(' ')))
        after.chop(1);
    found.whole = before + word + after;
    if (found.whole.size() > wholeLength)
        found.whole = found.whole.left(cutPlace(found.whole, wholeLength, false)) + QChar(0x2026);

    // Cut to about maxLength around the word: each side gets half of what
    // the word leaves, and what one side does not need goes to the other.
    const qsizetype room = qMax<qsizetype>(0, maxLength - length);
    qsizetype beforeRoom = room / 2;
    qsizetype afterRoom = room - beforeRoom;
    if (before.size() < beforeRoom) {
        afterRoom += beforeRoom - before.size();
        beforeRoom = before.size();
    } else if (after.size() < afterRoom) {
        beforeRoom += afterRoom - after.size();
        afterRoom = after.size();
    }
    if (before.size() > beforeRoom)
        before = QChar(0x2026) + before.mid(cutPlace(before, before.size() - beforeRoom, true));
    if (after.size() > afterRoom)
        after = after.left(cutPlace(after, afterRoom, false)) + QChar(0x2026);
    found.before = before;
    found.after = after;
    return found;
}
