#include "ui/triage/BookDocument.h"

#include <QCoreApplication>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// A book's lines go into the document in groups, each one block whose lines
// end in line separators. The editor keeps a line layout (some 300 bytes)
// and two map entries for every block, whatever its length: a block to the
// line, they came to 30 MB for a book twice over, more than its text. The
// separators break lines as a block's end does, take a place each as a line
// feed does, and are read back as line feeds (by toPlainText, and by the
// text pane). A group ends at the first line end past groupLength
// characters: a keystroke lays out its block again, a few lines, never more
// than one long line. A CR LF pair, or a CR alone, stays the block's end it
// always was.
constexpr qsizetype groupLength = 2000;

void insertGroupedLines(QTextDocument* document, const QString& text) {
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    QString group;
    qsizetype from = 0;      // the first character not yet in group
    qsizetype groupFrom = 0; // where the block being filled began
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        if (text[at] != QLatin1Char('\n'))
            continue;
        const bool afterCr = at > 0 && text[at - 1] == QLatin1Char('\r');
        if (afterCr || at - groupFrom >= groupLength) {
            group.append(QStringView(text).mid(from, at + 1 - from));
            cursor.insertText(group);
            group.resize(0);
            groupFrom = at + 1;
        } else {
            group.append(QStringView(text).mid(from, at - from));
            group.append(QChar(QChar::LineSeparator));
        }
        from = at + 1;
    }
    group.append(QStringView(text).mid(from));
    if (!group.isEmpty())
        cursor.insertText(group);
    document->setUndoRedoEnabled(true);
}

} // namespace

QTextDocument* buildBookDocument(const QString& text, const QFont& font) {
    auto* document = new QTextDocument;
    document->setDefaultFont(font);
    document->setDocumentMargin(8);
    insertGroupedLines(document, text);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    // The editor lays the document out anew for its width when it takes
    // it, which makes a line layout for each block: made here, that is
    // 7 ms of a book's less on the GUI thread.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        block.layout();
    document->moveToThread(QCoreApplication::instance()->thread());
    return document;
}

bool ungroupLines(QTextDocument* document, int from, int to) {
    // A separator becomes a block's end: one place for one, so the places
    // of the rest stand where they stood. The end goes in after the
    // separator, which then goes: a caret before the separator (at the end
    // of its line) stays there, one after it stays at the next line's
    // start. Put in over the separator, the end took the caret at a line's
    // end past it, and the next key went to the next line.
    bool changed = false;
    const auto ungroup = [document, &changed](const QTextBlock& block) {
        const QString text = block.text();
        const int start = block.position();
        QTextCursor edit(document);
        for (qsizetype at = text.lastIndexOf(QChar::LineSeparator); at >= 0;
             at = at > 0 ? text.lastIndexOf(QChar::LineSeparator, at - 1) : -1) {
            edit.setPosition(start + int(at) + 1);
            edit.insertBlock();
            edit.setPosition(start + int(at));
            edit.deleteChar();
            changed = true;
        }
    };
    const QTextBlock first = document->findBlock(from);
    const QTextBlock last = document->findBlock(to);
    ungroup(last); // the later first: the earlier one's places stay
    if (first != last)
        ungroup(first);
    return changed;
}
