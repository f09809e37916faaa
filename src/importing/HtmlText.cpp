#include "importing/HtmlText.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamEntityResolver>
#include <QXmlStreamReader>

#include <algorithm>

namespace importing {

namespace {

// HTML's character references, which an EPUB's XHTML often uses without
// declaring them: the Latin-1 ones (from U+00A0 on, in order) and the
// typographic ones.
const char* const latin1Names[] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

const struct {
    const char* name;
    char16_t code;
} otherNames[] = {
    {"OElig", 0x152},   {"oelig", 0x153},  {"Scaron", 0x160},  {"scaron", 0x161},
    {"Yuml", 0x178},    {"fnof", 0x192},   {"circ", 0x2C6},    {"tilde", 0x2DC},
    {"ensp", 0x2002},   {"emsp", 0x2003},  {"thinsp", 0x2009}, {"zwnj", 0x200C},
    {"zwj", 0x200D},    {"lrm", 0x200E},   {"rlm", 0x200F},    {"ndash", 0x2013},
    {"mdash", 0x2014},  {"lsquo", 0x2018}, {"rsquo", 0x2019},  {"sbquo", 0x201A},
    {"ldquo", 0x201C},  {"rdquo", 0x201D}, {"bdquo", 0x201E},  {"dagger", 0x2020},
    {"Dagger", 0x2021}, {"bull", 0x2022},  {"hellip", 0x2026}, {"permil", 0x2030},
    {"prime", 0x2032},  {"Prime", 0x2033}, {"lsaquo", 0x2039}, {"rsaquo", 0x203A},
    {"euro", 0x20AC},   {"trade", 0x2122}, {"larr", 0x2190},   {"rarr", 0x2192},
    {"minus", 0x2212},  {"apos", 0x27},    {"quot", 0x22},
};

const QHash<QString, QString>& htmlEntities() {
    static const QHash<QString, QString> entities = [] {
        QHash<QString, QString> map;
        char16_t code = 0xA0;
        for (const char* name : latin1Names)
            map.insert(QString::fromLatin1(name), QString(QChar(code++)));
        for (const auto& entity : otherNames)
            map.insert(QString::fromLatin1(entity.name), QString(QChar(entity.code)));
        return map;
    }();
    return entities;
}

class HtmlEntityResolver : public QXmlStreamEntityResolver {
public:
    QString resolveUndeclaredEntity(const QString& name) override {
        return htmlEntities().value(name);
    }
};

// Elements whose content is no part of the text read.
bool isSkipped(const QString& name) {
    static const QSet<QString> skipped{QStringLiteral("head"),    QStringLiteral("script"),
                                       QStringLiteral("style"),   QStringLiteral("rt"),
                                       QStringLiteral("rp"),      QStringLiteral("noscript"),
                                       QStringLiteral("template")};
    return skipped.contains(name);
}

// Elements that stand on lines of their own.
bool isBlock(const QString& name) {
    static const QSet<QString> blocks{
        QStringLiteral("p"),          QStringLiteral("div"),        QStringLiteral("h1"),
        QStringLiteral("h2"),         QStringLiteral("h3"),         QStringLiteral("h4"),
        QStringLiteral("h5"),         QStringLiteral("h6"),         QStringLiteral("li"),
        QStringLiteral("blockquote"), QStringLiteral("section"),    QStringLiteral("article"),
        QStringLiteral("aside"),      QStringLiteral("header"),     QStringLiteral("footer"),
        QStringLiteral("pre"),        QStringLiteral("tr"),         QStringLiteral("dt"),
        QStringLiteral("dd"),         QStringLiteral("figcaption"), QStringLiteral("hr"),
        QStringLiteral("table"),      QStringLiteral("ul"),         QStringLiteral("ol"),
        QStringLiteral("body")};
    return blocks.contains(name);
}

// Collects the text paragraph by paragraph, one space between words: a
// blank line after each block (paragraph, heading, list item), so that a
// heading never runs into the sentence after it; a line break at <br>, as
// in a poem's lines, and a blank line at two of them in a row.
class TextCollector {
public:
    enum class Break { none, line, paragraph };

    void addText(const QString& piece) {
        for (QChar c : piece) {
            // HTML collapses ASCII white space only: a thin or a
            // no-break space is part of the text.
            const char16_t u = c.unicode();
            if (u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f') {
                spacePending_ = !line_.isEmpty();
                continue;
            }
            if (spacePending_)
                line_ += QLatin1Char(' ');
            spacePending_ = false;
            line_ += c;
        }
    }
    void endBlock() { endLine(Break::paragraph); }
    void lineBreak() {
        // <br/><br/> leaves an empty line, as a paragraph does.
        endLine(line_.isEmpty() && pending_ == Break::line ? Break::paragraph : Break::line);
    }
    QString text() {
        endLine(Break::none);
        return text_;
    }

private:
    void endLine(Break next) {
        spacePending_ = false;
        if (!line_.isEmpty()) {
            if (!text_.isEmpty())
                text_ +=
                    pending_ == Break::paragraph ? QStringLiteral("\n\n") : QStringLiteral("\n");
            text_ += line_;
            line_.clear();
            pending_ = Break::none;
        }
        pending_ = std::max(pending_, next);
    }

    QString text_;
    QString line_;
    bool spacePending_ = false;
    Break pending_ = Break::none;
};

} // namespace

bool htmlText(const QByteArray& xhtml, QString* text, QString* error) {
    QXmlStreamReader reader(xhtml);
    HtmlEntityResolver resolver;
    reader.setEntityResolver(&resolver);
    TextCollector out;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QString name = reader.name().toString().toLower();
            if (isSkipped(name)) {
                reader.skipCurrentElement();
            } else if (name == QLatin1String("br")) {
                out.lineBreak();
            } else if (isBlock(name)) {
                out.endBlock();
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (isBlock(reader.name().toString().toLower()))
                out.endBlock();
            break;
        case QXmlStreamReader::Characters:
            out.addText(reader.text().toString());
            break;
        case QXmlStreamReader::EntityReference:
            out.addText(htmlEntities().value(reader.name().toString()));
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        *error = QStringLiteral("%1 (line %2)").arg(reader.errorString()).arg(reader.lineNumber());
        return false;
    }
    *text = out.text();
    return true;
}

} // namespace importing
