#include "text/SentenceAround.h"

#include <QList>
#include <QStringView>
#include <QTextBoundaryFinder>

#include <algorithm>

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

bool isBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2028);
}

// A heading is a line of a few words at most: "Pavlov's Vögel", "Kapitel 3",
// "名前". Counted in Qt's word boundaries, so that a line of Japanese without
// spaces counts its words too, and in characters for scripts whose words
// those boundaries do not find.
constexpr int headingWords = 6;
constexpr qsizetype headingLength = 60;

bool isShort(QStringView line) {
    if (line.size() > headingLength)
        return false;
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, line.data(), line.size());
    int count = 0;
    qsizetype begin = 0;
    for (qsizetype end = words.toNextBoundary(); end >= 0; end = words.toNextBoundary()) {
        for (QChar c : line.mid(begin, end - begin)) {
            if (c.isLetterOrNumber()) {
                if (++count > headingWords)
                    return false;
                break;
            }
        }
        begin = end;
    }
    return true;
}

// A line that ends with no sentence-final mark: a letter, a number, or a
// closing bracket or quote ("Kapitel 1 (Anfang)", "»Der Proceß«").
bool endsOpen(QStringView line) {
    if (line.isEmpty())
        return false;
    const QChar last = line.back();
    if (last.isLetterOrNumber() || last.isMark())
        return true;
    switch (last.category()) {
    case QChar::Punctuation_Close:
    case QChar::Punctuation_InitialQuote:
    case QChar::Punctuation_FinalQuote:
        return true;
    default:
        return false;
    }
}

// A line of no letters or numbers between paragraphs: "%" between fortunes,
// "* * *" or "-----" between scenes.
bool isSeparator(QStringView line) {
    if (line.isEmpty())
        return false;
    for (QChar c : line) {
        if (c.isLetterOrNumber())
            return false;
    }
    return true;
}

bool isDash(QChar c) {
    return c == QLatin1Char('-') || c == QChar(0x2013) || c == QChar(0x2014) || c == QChar(0x2015);
}

// A line that opens a turn of dialogue: "- Ja, gerne." in a subtitle cue,
// "— Здравствуйте!" in a book. A dash before a lower-case word ("— сказал
// он") or a number ("-5 Grad") goes on with the sentence of the line before.
bool opensDialogue(QStringView line) {
    if (line.isEmpty() || !isDash(line.front()))
        return false;
    qsizetype i = 1;
    while (i < line.size() && (isDash(line[i]) || isSpace(line[i])))
        ++i;
    return i < line.size() && !line[i].isLower() && !line[i].isDigit();
}

bool isSentenceFinal(QChar c) {
    static const QString marks = QStringLiteral(".!?\u2026\u203C\u2047\u2048\u2049"
                                                "\u3002\uFF01\uFF1F\uFF0E\u0964\u0965");
    return marks.contains(c);
}

bool isClosing(QChar c) {
    switch (c.category()) {
    case QChar::Punctuation_Close:
    case QChar::Punctuation_InitialQuote:
    case QChar::Punctuation_FinalQuote:
        return true;
    default:
        return c == QLatin1Char('"') || c == QLatin1Char('\'');
    }
}

// Where a dash stands just before boundary (spaces between them) that
// opens a turn of dialogue: one that stands apart after the end of a
// sentence ("Kaffee. - "). -1 when there is none.
qsizetype dialogueDashBefore(const QString& text, qsizetype boundary) {
    qsizetype i = boundary;
    while (i > 0 && isSpace(text[i - 1]))
        --i;
    const qsizetype dashEnd = i;
    while (i > 0 && isDash(text[i - 1]))
        --i;
    const qsizetype dash = i;
    if (dash == dashEnd || i == 0 || !isSpace(text[i - 1]))
        return -1;
    while (i > 0 && isSpace(text[i - 1]))
        --i;
    while (i > 0 && isClosing(text[i - 1]))
        --i;
    return i > 0 && isSentenceFinal(text[i - 1]) ? dash : -1;
}

// Texts are often wrapped by hand: a single line break inside a paragraph
// does not end a sentence, a blank line (even one holding spaces) does.
// Single breaks become spaces (as many as the break had units, so that
// places stay where they were), but for those that end a sentence although
// the line before has no full stop:
// - after a heading: a short line that opens a paragraph (or the text),
//   ends with no sentence-final mark and is followed by a line that does
//   not go on in lower case (unless the heading has no lower case letters
//   itself: "NAME", "名前"); and not when that line is as short and the
//   paragraph goes on after it, as the lines of a poem do;
// - before a line that opens a turn of dialogue with a dash;
// - around a separator line.
// atTextStart, atTextEnd: text begins or ends where the whole text does,
// not where the window around the word was cut.
void joinWrappedLines(QString& text, bool atTextStart, bool atTextEnd) {
    struct Line {
        qsizetype begin = 0; // the first character that is no space
        qsizetype end = 0;   // after the last character that is no space
    };
    struct Gap {
        qsizetype begin = 0;
        qsizetype end = 0;
        int breaks = 0; // CR LF is one; a paragraph separator counts two
    };
    QList<Line> lines;
    QList<Gap> gaps; // gaps[k] stands between lines[k] and lines[k + 1]
    qsizetype lineBegin = 0;
    for (qsizetype i = 0; i < text.size();) {
        if (!isBreak(text[i]) && text[i] != QChar(0x2029)) {
            ++i;
            continue;
        }
        Gap gap;
        gap.begin = i;
        while (gap.begin > lineBegin && isSpace(text[gap.begin - 1]))
            --gap.begin;
        gap.end = i;
        while (gap.end < text.size() && isSpace(text[gap.end])) {
            const QChar c = text[gap.end];
            if (c == QChar(0x2029))
                gap.breaks += 2;
            else if (isBreak(c) && !(c == QLatin1Char('\n') && gap.end > gap.begin &&
                                     text[gap.end - 1] == QLatin1Char('\r')))
                ++gap.breaks;
            ++gap.end;
        }
        qsizetype contentBegin = lineBegin;
        while (contentBegin < gap.begin && isSpace(text[contentBegin]))
            ++contentBegin;
        lines.append({contentBegin, gap.begin});
        gaps.append(gap);
        lineBegin = gap.end;
        i = gap.end;
    }
    qsizetype contentEnd = text.size();
    while (contentEnd > lineBegin && isSpace(text[contentEnd - 1]))
        --contentEnd;
    lines.append({lineBegin, contentEnd});

    const QStringView view(text);
    auto line = [&](qsizetype k) {
        return view.mid(lines[k].begin, lines[k].end - lines[k].begin);
    };
    auto opensParagraph = [&](qsizetype k) {
        if (k == 0 || (k == 1 && line(0).isEmpty()))
            return atTextStart || (k == 1 && gaps[0].breaks > 1);
        return gaps[k - 1].breaks > 1 || isSeparator(line(k - 1));
    };
    auto endsParagraph = [&](qsizetype k) {
        if (k + 1 == lines.size())
            return atTextEnd;
        return gaps[k].breaks > 1 || isSeparator(line(k + 1));
    };
    auto isHeading = [&](qsizetype k) {
        const QStringView next = line(k + 1);
        // A line the window cuts off is taken for a long one.
        const bool nextCutOff = k + 2 == lines.size() && !atTextEnd;
        // A lower-case letter goes on with the sentence, but after a line
        // that has none itself ("NAME", "名前"), as a man page's headings.
        const bool goesOn =
            !next.isEmpty() && next.front().isLower() &&
            std::any_of(line(k).begin(), line(k).end(), [](QChar c) { return c.isLower(); });
        return opensParagraph(k) && isShort(line(k)) && endsOpen(line(k)) && !next.isEmpty() &&
               !goesOn && (nextCutOff || !isShort(next) || endsParagraph(k + 1));
    };
    QList<qsizetype> joined;
    for (qsizetype k = 0; k < gaps.size(); ++k) {
        if (gaps[k].breaks == 1 && !isSeparator(line(k)) && !isSeparator(line(k + 1)) &&
            !opensDialogue(line(k + 1)) && !isHeading(k))
            joined.append(k);
    }
    for (qsizetype k : joined) {
        for (qsizetype i = gaps[k].begin; i < gaps[k].end; ++i) {
            if (isBreak(text[i]))
                text[i] = QLatin1Char(' ');
        }
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
    joinWrappedLines(part, from == 0, to == text.size());
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
    // Qt leaves the dash that opens a turn of dialogue inside a line
    // ("…einen Kaffee. - Ja, gerne.") at the end of the sentence before it;
    // it belongs to the sentence it opens.
    if (const qsizetype dash = dialogueDashBefore(part, end); dash >= at + length)
        end = dash;
    if (const qsizetype dash = dialogueDashBefore(part, begin); dash >= 0)
        begin = dash;

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
