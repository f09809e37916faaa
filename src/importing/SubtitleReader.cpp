#include "importing/SubtitleReader.h"

#include <QRegularExpression>
#include <QStringList>

namespace importing {

namespace {

// "00:00:01,000 --> 00:00:04,000" (SubRip) and "00:01.000 --> 00:04.000
// line:0" (WebVTT, with or without hours).
bool isTiming(const QString& line) {
    static const QRegularExpression timing(QStringLiteral(
        R"(^\s*(\d+:)?\d{1,2}:\d{2}[,.]\d{1,3}\s*-->\s*(\d+:)?\d{1,2}:\d{2}[,.]\d{1,3})"));
    return timing.match(line).hasMatch();
}

bool isCueNumber(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty())
        return false;
    for (QChar c : trimmed) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

QString withoutMarkup(QString line) {
    // Ruby annotations are read aloud with their base text: leave them out.
    static const QRegularExpression ruby(QStringLiteral("<rt>.*?</rt>"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression styleOverride(QStringLiteral(R"(\{\\[^}]*\})"));
    line.remove(ruby);
    line.remove(tag);
    line.remove(styleOverride);

    static const QRegularExpression reference(QStringLiteral("&(#x[0-9a-fA-F]+|#[0-9]+|[a-z]+);"));
    QString out;
    qsizetype last = 0;
    auto it = reference.globalMatch(line);
    while (it.hasNext()) {
        const auto match = it.next();
        out += QStringView(line).mid(last, match.capturedStart() - last);
        const QString name = match.captured(1);
        QString replacement = match.captured(0);
        if (name.startsWith(QLatin1String("#x")) || name.startsWith(QLatin1String("#X"))) {
            bool ok = false;
            const uint code = name.mid(2).toUInt(&ok, 16);
            if (ok && QChar::isPrint(char32_t(code)))
                replacement = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else if (name.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint code = name.mid(1).toUInt(&ok);
            if (ok && QChar::isPrint(char32_t(code)))
                replacement = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else if (name == QLatin1String("amp")) {
            replacement = QStringLiteral("&");
        } else if (name == QLatin1String("lt")) {
            replacement = QStringLiteral("<");
        } else if (name == QLatin1String("gt")) {
            replacement = QStringLiteral(">");
        } else if (name == QLatin1String("quot")) {
            replacement = QStringLiteral("\"");
        } else if (name == QLatin1String("apos")) {
            replacement = QStringLiteral("'");
        } else if (name == QLatin1String("nbsp")) {
            replacement = QString(QChar(0xA0));
        } else if (name == QLatin1String("lrm") || name == QLatin1String("rlm")) {
            replacement.clear();
        }
        out += replacement;
        last = match.capturedEnd();
    }
    out += QStringView(line).mid(last);
    return out.trimmed();
}

// Whether a cue's text ends a sentence: a full stop, a question or an
// exclamation mark or an ellipsis, perhaps inside quotes or brackets.
bool endsSentence(const QString& text) {
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const QChar c = text[i];
        switch (c.category()) {
        case QChar::Punctuation_Close:
        case QChar::Punctuation_FinalQuote:
        case QChar::Punctuation_InitialQuote:
            continue;
        default:
            break;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\''))
            continue;
        static const QString marks = QStringLiteral(".!?\u2026\u203C\u2047\u2048\u2049"
                                                    "\u3002\uFF01\uFF1F\uFF0E\u0964\u0965");
        return marks.contains(c);
    }
    return false;
}

} // namespace

QString subtitleText(const QString& subtitles) {
    QList<QStringList> cues;
    bool inCue = false;
    // Whether the last line kept is a cue's text, not a number that may
    // belong to the next cue of a file without blank lines.
    bool lastIsNumber = false;
    for (const QString& line : subtitles.split(QLatin1Char('\n'))) {
        if (isTiming(line)) {
            // Without a blank line before it, the number above belongs to
            // this cue, not to the text of the one before.
            if (inCue && lastIsNumber)
                cues.last().removeLast();
            cues.append(QStringList());
            inCue = true;
            lastIsNumber = false;
            continue;
        }
        if (line.trimmed().isEmpty()) {
            inCue = false;
            continue;
        }
        // Outside a cue: a cue's number or identifier, the header, a NOTE,
        // STYLE or REGION block.
        if (!inCue)
            continue;
        const QString text = withoutMarkup(line);
        if (text.isEmpty())
            continue;
        cues.last().append(text);
        lastIsNumber = isCueNumber(line);
    }
    QString text;
    for (const QStringList& cue : cues) {
        if (cue.isEmpty())
            continue;
        if (!text.isEmpty())
            text += endsSentence(text) ? QStringLiteral("\n\n") : QStringLiteral("\n");
        text += cue.join(QLatin1Char('\n'));
    }
    return text;
}

} // namespace importing
