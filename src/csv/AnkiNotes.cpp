#include "csv/AnkiNotes.h"

#include "base/Utf16.h"
#include "domain/TextCompare.h"

namespace anki {

namespace {

// The learner's text as HTML that means exactly that text to Anki.
QString escaped(const QString& s) {
    QString out;
    out.reserve(s.size() + s.size() / 8);
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        switch (s[i].unicode()) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'"':
            out += u"&quot;";
            break;
        // Braces as entities: "{{c1::" typed by the learner is no cloze.
        case u'{':
            out += u"&#123;";
            break;
        case u'}':
            out += u"&#125;";
            break;
        case u'\t':
            out += u"&#9;";
            break;
        case u'\r':
            if (i + 1 < n && s[i + 1] == u'\n')
                ++i;
            out += u"<br>";
            break;
        case u'\n':
            out += u"<br>";
            break;
        default:
            out += s[i];
        }
    }
    return out;
}

// Inside a cloze a "::" starts the hint; the word's own colons must not.
QString clozed(const QString& s) {
    QString text = escaped(s);
    text.replace(u':', QStringLiteral("&#58;"));
    return QStringLiteral("{{c1::") + text + QStringLiteral("}}");
}

QString bold(const QString& s) {
    return QStringLiteral("<b>") + escaped(s) + QStringLiteral("</b>");
}

bool inWord(char32_t c) {
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

// Where the word stands in the sentence (both in NFC), without regard to
// case, as non-overlapping starts. Whole-word occurrences when there are any.
QList<qsizetype> occurrences(const QString& sentence, const QString& word) {
    QList<qsizetype> all;
    QList<qsizetype> whole;
    const qsizetype n = sentence.size();
    const qsizetype len = word.size();
    if (len == 0)
        return all;
    const QString folded = text::folded(word);
    const QChar* data = sentence.constData();
    for (qsizetype i = 0; i + len <= n;) {
        if (text::folded(sentence.mid(i, len)) != folded) {
            ++i;
            continue;
        }
        all << i;
        const bool startsWord = i == 0 || !inWord(Utf16::codePointBefore(data, 0, i).value);
        const bool endsWord = i + len == n || !inWord(Utf16::codePointAt(data, i + len, n).value);
        if (startsWord && endsWord)
            whole << i;
        i += len;
    }
    return whole.isEmpty() ? all : whole;
}

// The sentence with every occurrence of the word passed through mark(), the
// rest escaped; empty when the word is not found.
template <typename Mark> QString marked(const QString& sentence, const QString& word, Mark mark) {
    const QList<qsizetype> starts = occurrences(sentence, word);
    if (starts.isEmpty())
        return {};
    QString out;
    qsizetype done = 0;
    for (qsizetype at : starts) {
        out += escaped(sentence.mid(done, at - done));
        out += mark(sentence.mid(at, word.size()));
        done = at + word.size();
    }
    out += escaped(sentence.mid(done));
    return out;
}

} // namespace

QString tagFor(const QString& title) {
    const QString s = text::nfc(title);
    QString name;
    bool gap = false;   // whitespace since the last character kept
    bool colon = false; // the last character kept is a colon
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        const Utf16::CodePoint cp = Utf16::codePointAt(s.constData(), i, n);
        const char32_t c = cp.value;
        const QStringView piece(s.constData() + i, cp.length);
        i += cp.length;
        if (QChar::isSpace(c)) {
            gap = !name.isEmpty();
            continue;
        }
        // Anki drops these from tags itself; dropping them here keeps the
        // tag as written.
        if (c < 0x20 || c == 0x7f || c == u'"')
            continue;
        if (gap) {
            name += u'_';
            gap = colon = false;
        }
        if (c == u':' && colon)
            continue;
        colon = c == u':';
        name += piece;
    }
    if (name.isEmpty())
        name = QStringLiteral("Untitled");
    return QStringLiteral("Pramel::Title::") + name;
}

QString notesFile(const QList<Note>& notes, Front front) {
    const bool cloze = front == Front::cloze;
    QString out = cloze ? QStringLiteral("#separator:tab\n"
                                         "#html:true\n"
                                         "#notetype:Cloze\n"
                                         "#columns:Text\tBack Extra\tTags\n"
                                         "#tags column:3\n")
                        : QStringLiteral("#separator:tab\n"
                                         "#html:true\n"
                                         "#notetype:Basic\n"
                                         "#columns:Front\tBack\tTags\n"
                                         "#tags column:3\n");
    for (const Note& note : notes) {
        const QString word = text::nfc(note.word);
        const QString sentence = text::nfc(note.sentence);
        const QString meaning = text::nfc(note.meaning);
        const QString form = escaped(text::nfc(note.dictionaryForm));
        QString first, second;
        if (cloze) {
            first = marked(sentence, word, clozed);
            if (first.isEmpty())
                first = clozed(word);
            second = form;
            if (!form.isEmpty() && !meaning.isEmpty())
                second += QStringLiteral("<br>");
            second += escaped(meaning);
        } else {
            first = marked(sentence, word, bold);
            if (first.isEmpty())
                first = bold(word);
            second = bold(word);
            if (!form.isEmpty())
                second += QStringLiteral(" \u00b7 ") + form;
            if (!meaning.isEmpty())
                second += QStringLiteral("<br>") + escaped(meaning);
        }
        // Anki skips a line that starts with "#" as a comment.
        if (first.startsWith(u'#'))
            first.replace(0, 1, QStringLiteral("&#35;"));
        out += first + u'\t' + second + u'\t' + tagFor(note.title) +
               QStringLiteral(" Pramel::Level::") + QString::number(note.level) + u'\n';
    }
    return out;
}

} // namespace anki
