#include "ui/triage/TextPane.h"

#include "base/FreedPages.h"
#include "ui/triage/BookDocument.h"
#include "ui/triage/FocusDetectTextView.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>

#include <algorithm>
#include <thread>
#include <utility>

namespace {

// Text of the document as its toPlainText() gives it: block ends as line
// feeds, non-breaking spaces as spaces.
QString plainText(QString text) {
    for (QChar& c : text) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xfdd0: // the start and end of a frame
        case 0xfdd1:
            c = QLatin1Char('\n');
            break;
        case QChar::Nbsp:
            c = QLatin1Char(' ');
            break;
        default:
            break;
        }
    }
    return text;
}

// Equal texts, cheaply when both share one buffer (the usual case: the state
// holds the very string the pane handed to saveText).
bool sameText(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    return a.constData() == b.constData() || a == b;
}
// The editor's font: the system font at 12 points.
QFont textFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(12);
    return font;
}

} // namespace

// The start's text laid out ahead of the pane (prepareStartText), on the GUI
// thread's side: while preparing, the pane that asked for it meanwhile; once
// ready and until a pane takes it, the document and the text it holds.
struct TextPane::StartDocument {
    bool preparing = false;
    bool closed = false; // a pane has shown the start's text
    QPointer<TextPane> waiting;
    QString text;
    QTextDocument* document = nullptr;
};

TextPane::StartDocument& TextPane::startDocument() {
    static StartDocument start;
    return start;
}

TextPane::TextPane(std::shared_ptr<AppModel> model, QWidget* pane)
    : QObject(pane)
    , appModel_(std::move(model))
    , pane_(pane) {
    view_ = new FocusDetectTextView;
    view_->setObjectName(QStringLiteral("textView"));
    view_->setAccessibleName(tr("Text"));
    view_->setAccessibleDescription(tr("The text of the current title; edits are saved"));
    // 8-point inset, the system font, a rounded frame.
    view_->document()->setDocumentMargin(8);
    view_->setFont(textFont());
    view_->setFrameShape(QFrame::NoFrame);
    // Tab leaves the text for the list (and Shift+Tab comes back) instead of
    // typing a tab into the text.
    view_->setTabChangesFocus(true);
    view_->setStyleSheet(QStringLiteral(
        "FocusDetectTextView { border: 1px solid palette(mid); border-radius: 10px; }"));

    view_->setDelegate(this);
    view_->setBeforeEdit([this] { return ungroupEditedLines(); });
    // Saved from the change itself: reading the whole text back on every
    // keystroke cost more than the rest of the keystroke in a book.
    connect(view_->document(), &QTextDocument::contentsChange, this, &TextPane::textDidChange);
}

void TextPane::show(const QString& text, quint64 revision, bool stored) {
    // A title that is not stored cannot keep a text: say how to begin instead
    // of taking typing that would go nowhere.
    stored_ = stored;
    // Nothing said before the store is read (the window's first frame).
    view_->setPlaceholderText(
        stored_ || !appModel_->hasLoaded()
            ? QString()
            : tr("Add a title in the list on the left, select it, then paste or type its "
                 "text here."));
    // Replaced only when it differs, so that typing keeps the cursor, the
    // selection and the undo history.
    if (revision != shownRevision_) {
        shownRevision_ = revision;
        showText(text);
    }
    view_->setReadOnly(!stored_ || !building_.isNull());
}

void TextPane::clearMark() {
    view_->setExtraSelections({});
}

void TextPane::markWord(const QString& text, quint64 revision, qint64 start, qint64 length) {
    if (!building_.isNull() || revision != shownRevision_) {
        clearMark();
        return;
    }
    QTextDocument* document = view_->document();
    findCrlfs(text, revision);
    const qint64 from = documentPosition(start);
    const qint64 to = documentPosition(start + length);
    if (to >= document->characterCount())
        return;
    QTextCursor word(document);
    word.setPosition(int(from));
    word.setPosition(int(to), QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection mark;
    mark.cursor = word;
    mark.format.setBackground(pane_->palette().color(QPalette::Active, QPalette::Highlight));
    mark.format.setForeground(pane_->palette().color(QPalette::Active, QPalette::HighlightedText));
    view_->setExtraSelections({mark});
    if (view_->hasFocus())
        return;
    // The caret goes to the word, and the word to the middle of the pane
    // when it was out of sight.
    const bool inSight = view_->viewport()->rect().contains(view_->cursorRect(word));
    QTextCursor caret(document);
    caret.setPosition(int(from));
    view_->setTextCursor(caret);
    if (!inSight)
        view_->centerCursor();
}

void TextPane::findCrlfs(const QString& text, quint64 revision) {
    if (crlfsOf_ == revision)
        return;
    crlfsOf_ = revision;
    crlfs_.clear();
    for (qsizetype at = text.indexOf(QLatin1Char('\r')); at >= 0;
         at = text.indexOf(QLatin1Char('\r'), at + 1)) {
        if (at + 1 < text.size() && text[at + 1] == QLatin1Char('\n'))
            crlfs_.push_back(at);
    }
}

int TextPane::documentPlace(qint64 textPosition) {
    findCrlfs(appModel_->currentText(), appModel_->currentTextRevision());
    return int(documentPosition(textPosition));
}

qint64 TextPane::textPlace(int documentPosition) {
    findCrlfs(appModel_->currentText(), appModel_->currentTextRevision());
    // Each pair before the place of the text is one unit of the document:
    // the k-th pair stands at crlfs_[k] in the text, at crlfs_[k] - k in the
    // document.
    std::size_t before = 0, after = crlfs_.size();
    while (before < after) {
        const std::size_t k = (before + after) / 2;
        if (crlfs_[k] - qint64(k) < documentPosition)
            before = k + 1;
        else
            after = k;
    }
    return documentPosition + qint64(before);
}

qint64 TextPane::documentPosition(qint64 position) const {
    // Each pair before the place is one unit shorter in the document.
    const auto pairs = std::lower_bound(crlfs_.cbegin(), crlfs_.cend(), position) - crlfs_.cbegin();
    return position - qint64(pairs);
}

void TextPane::showText(const QString& text) {
    if (shownLength_ >= largeText)
        returnFreedPagesSoon(); // once the document is gone or emptied
    shownLength_ = text.size();
    StartDocument& start = startDocument();
    if (start.waiting == this) // another text now: not the start's
        start.waiting = nullptr;
    const bool large = text.size() >= largeText;
    if (appModel_->hasLoaded() && takeStartDocument(text, large))
        return;
    if (!large) {
        building_ = QString();
        applyingState_ = true;
        view_->setPlainText(text);
        applyingState_ = false;
        Q_EMIT currentTextShown();
        return;
    }
    buildDocument(text);
}

bool TextPane::takeStartDocument(const QString& text, bool large) {
    // The first text shown after the load is the start's: what is prepared
    // after that is for nobody.
    StartDocument& start = startDocument();
    if (start.closed)
        return false;
    start.closed = true;
    QTextDocument* document = std::exchange(start.document, nullptr);
    const QString prepared = std::exchange(start.text, QString());
    if (!large || (!start.preparing && !document)) {
        delete document;
        return false;
    }
    waitForDocument(text);
    if (start.preparing)
        start.waiting = this;
    else
        takeDocument(document, prepared);
    return true;
}

void TextPane::takeDocument(QTextDocument* document, const QString& laidOut) {
    if (document && sameText(laidOut, building_) && document->defaultFont() == view_->font()) {
        installDocument(document);
        return;
    }
    delete document;
    buildDocument(building_);
}

void TextPane::waitForDocument(const QString& text) {
    building_ = text;
    view_->setReadOnly(true);
    applyingState_ = true;
    view_->setPlainText(QString());
    applyingState_ = false;
}

void TextPane::prepareStartText(std::function<QString()> read) {
    StartDocument& start = startDocument();
    if (start.preparing)
        return;
    delete std::exchange(start.document, nullptr);
    start.text = QString();
    start.closed = false;
    start.preparing = true;
    std::thread([read = std::move(read), font = textFont()] {
        const QString text = read();
        // A quit in the first moments leaves nobody to hand it to.
        if (!QCoreApplication::instance())
            return;
        QTextDocument* document = text.size() < largeText ? nullptr : buildBookDocument(text, font);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [text, document] { startTextPrepared(text, document); },
            Qt::QueuedConnection);
    }).detach();
}

void TextPane::startTextPrepared(const QString& text, QTextDocument* document) {
    StartDocument& start = startDocument();
    start.preparing = false;
    const QPointer<TextPane> pane = std::exchange(start.waiting, nullptr);
    if (!pane) {
        if (start.closed) {
            delete document;
            return;
        }
        // Kept for the pane that is still to show it.
        start.text = text;
        start.document = document;
        return;
    }
    pane->takeDocument(document, text);
}

void TextPane::buildDocument(const QString& text) {
    // A book's document takes longer to build than a frame: it is built on a
    // thread of its own while the window goes on drawing, and shown when it
    // is ready, if it is still the text to show. The pane takes no typing
    // meanwhile.
    waitForDocument(text);
    QPointer<TextPane> self(this);
    const QFont font = view_->font();

    std::thread([self, text, font] {
        QTextDocument* document = buildBookDocument(text, font);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, document, text] {
                if (!self || !sameText(self->building_, text)) {
                    delete document;
                    return;
                }
                self->installDocument(document);
            },
            Qt::QueuedConnection);
    }).detach();
}

void TextPane::installDocument(QTextDocument* document) {

    building_ = QString();
    // The editor deletes a document it made itself; one installed here before
    // goes here.
    QTextDocument* const previous = view_->document();
    const bool ours = previous && previous->parent() == view_;
    document->setParent(view_);
    view_->setDocument(document);
    connect(document, &QTextDocument::contentsChange, this, &TextPane::textDidChange);
    if (ours)
        previous->deleteLater();
    view_->setReadOnly(!stored_);
    Q_EMIT documentInstalled();
    Q_EMIT currentTextShown();
}

bool TextPane::ungroupEditedLines() {
    if (shownLength_ < largeText)
        return false;
    const QTextCursor caret = view_->textCursor();
    return ungroupLines(view_->document(), caret.selectionStart(), caret.selectionEnd());
}

void TextPane::textDidChange(int position, int removed, int added) {
    if (applyingState_ || view_->isReadOnly())
        return;
    QTextDocument* document = view_->document();
    const qint64 length = document->characterCount() - 1; // less the last block's end
    if (position < 0 || position + removed > shownLength_ ||
        shownLength_ - removed + added != length) {
        // Not a change of the text shown (the document counts its final
        // block end in some changes): take the whole text.
        const QString whole = view_->toPlainText();
        shownLength_ = whole.size();
        appModel_->saveText(whole);
        shownRevision_ = appModel_->currentTextRevision();
        return;
    }
    QTextCursor cursor(document);
    cursor.setPosition(position);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    // Nothing here reads the model's text back: that would put the key in
    // it before the frame that shows the key (TextAndSplit.h).
    const quint64 revision =
        appModel_->editText(position, removed, plainText(cursor.selectedText()));
    if (revision == 0) { // refused: the pane follows what the model holds
        shownLength_ = appModel_->currentText().size();
        shownRevision_ = appModel_->currentTextRevision();
        return;
    }
    shownLength_ += added - removed;
    shownRevision_ = revision;
}
