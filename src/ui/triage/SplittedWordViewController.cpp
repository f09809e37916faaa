#include "ui/triage/SplittedWordViewController.h"

#include "base/StatusLine.h"
#include "core/ViewModelFactory.h"
#include "text/SentenceAround.h"
#include "ui/common/RowCommands.h"
#include "ui/triage/CommandKeyFilter.h"
#include "ui/triage/CustomTableView.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplitWordCell.h"
#include "ui/triage/SplitWordTableModel.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextDocumentLayout>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <thread>

namespace {
// Equal texts, cheaply when both share one buffer (the usual case: the state
// holds the very string the pane handed to saveText).
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

bool sameText(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    return a.constData() == b.constData() || a == b;
}
} // namespace

SplittedWordViewController::SplittedWordViewController(QWidget* parent)
    : SplittedWordViewController(ViewModelFactory::shared().model(), parent) {}

SplittedWordViewController::SplittedWordViewController(std::shared_ptr<AppModel> model,
                                                       QWidget* parent)
    : QWidget(parent)
    , appModel_(std::move(model)) {
    viewDidLoad();
}

SplittedWordViewController::~SplittedWordViewController() = default;

void SplittedWordViewController::viewDidLoad() {
    CommandKeyFilter::installOnApplication();
    makeTextPane();
    makeSplitList();
    makeExportButton();
    layOut();
    connectTriage();
    connectTextPane();
    subs_ = appModel_->subscribe([this](const AppState&) { update_.schedule(); });
}

void SplittedWordViewController::makeTextPane() {
    textView_ = new FocusDetectTextView;
    textView_->setObjectName(QStringLiteral("textView"));
    textView_->setAccessibleName(tr("Text"));
    textView_->setAccessibleDescription(tr("The text of the current title; edits are saved"));
    // 8-point inset, the system font, a rounded frame.
    textView_->document()->setDocumentMargin(8);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(12);
    textView_->setFont(font);
    textView_->setFrameShape(QFrame::NoFrame);
    // Tab leaves the text for the list (and Shift+Tab comes back) instead of
    // typing a tab into the text.
    textView_->setTabChangesFocus(true);
    textView_->setStyleSheet(QStringLiteral(
        "FocusDetectTextView { border: 1px solid palette(mid); border-radius: 10px; }"));
}

void SplittedWordViewController::makeSplitList() {
    tableView_ = new CustomTableView;
    tableView_->setObjectName(QStringLiteral("tableView"));
    tableView_->setAccessibleName(tr("Split words"));
    tableView_->setAccessibleDescription(tr("The words of the text still to work through"));
    tableModel_ = new SplitWordTableModel(this);
    tableView_->setModel(tableModel_);
    // The rows show their sentences anew once typing pauses: redrawing the
    // list on every key would double a keystroke's cost in a book.
    auto* sentencesLater = new QTimer(this);
    sentencesLater->setSingleShot(true);
    sentencesLater->setInterval(300);
    connect(sentencesLater, &QTimer::timeout, tableView_->viewport(),
            qOverload<>(&QWidget::update));
    connect(tableModel_, &SplitWordTableModel::sentencesChanged, sentencesLater,
            qOverload<>(&QTimer::start));
    cell_ = new SplitWordCell(tableView_);
    tableView_->setItemDelegate(cell_);
}

void SplittedWordViewController::makeExportButton() {
    exportButton_ = new QPushButton(tr("Export CSV…"));
    exportButton_->setObjectName(QStringLiteral("exportButton"));
    exportButton_->setToolTip(tr("Save the registered words of every title as a CSV file"));
    connect(exportButton_, &QPushButton::clicked, this, &SplittedWordViewController::onCutTap);
}

void SplittedWordViewController::layOut() {
    // The text above the list, the export button below both.
    splitter_ = new QSplitter(Qt::Vertical);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(textView_);
    splitter_->addWidget(tableView_);
    splitter_->setStretchFactor(0, 2);
    splitter_->setStretchFactor(1, 3);
    splitter_->handle(1)->setAccessibleName(tr("Divider"));
    splitter_->handle(1)->setAccessibleDescription(tr("Drag to share the room of text and list"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(splitter_, 1);
    layout->addLayout(buttons);
    setTabOrder(textView_, tableView_);
    setTabOrder(tableView_, exportButton_);
}

void SplittedWordViewController::connectTriage() {
    // The row buttons and the keys triage through one function.
    connect(cell_, &SplitWordCell::wordButtonTap, this,
            [this](const QModelIndex& index) { triage(index.row(), TriageAction::registerKnown); });
    connect(cell_, &SplitWordCell::unwantedBtnTap, this, [this](const QModelIndex& index) {
        triage(index.row(), TriageAction::registerUnwanted);
    });
    connect(cell_, &SplitWordCell::removeBtnTap, this, [this](const QModelIndex& index) {
        triage(index.row(), TriageAction::removeTemporarily);
    });
    connect(tableView_, &CustomTableView::returnKeyPressed, this,
            &SplittedWordViewController::returnKeyPressed);
    connect(tableView_, &CustomTableView::commandReturnKeyPressed, this,
            &SplittedWordViewController::commandReturnKeyPressed);
    connect(tableView_, &CustomTableView::selectionMoved, this,
            &SplittedWordViewController::selectionMoved);
    connect(tableView_, &CustomTableView::unwantedKeyPressed, this,
            [this](qint64 row) { triage(row, TriageAction::registerUnwanted); });
    connect(cell_, &SplitWordCell::learnBtnTap, this,
            [this](const QModelIndex& index) { triage(index.row(), TriageAction::learn); });
    connect(tableView_, &CustomTableView::learnKeyPressed, this,
            [this](qint64 row) { triage(row, TriageAction::learn); });
}

void SplittedWordViewController::connectTextPane() {
    connect(textView_, &FocusDetectTextView::textViewDidGainFocus, this,
            &SplittedWordViewController::textViewDidGainFocus);
    connect(textView_, &FocusDetectTextView::textViewDidLoseFocus, this,
            &SplittedWordViewController::textViewDidLoseFocus);
    // Saved from the change itself: reading the whole text back on every
    // keystroke cost more than the rest of the keystroke in a book.
    connect(textView_->document(), &QTextDocument::contentsChange, this,
            &SplittedWordViewController::textDidChange);
}

void SplittedWordViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!appeared_) {
        appeared_ = true;
        tableView_->setFocus(Qt::OtherFocusReason);
    }
}

void SplittedWordViewController::focusSplitList() {
    update_.flush();
    if (tableModel_->rowCount() > 0)
        tableView_->setFocus(Qt::OtherFocusReason);
}

void SplittedWordViewController::updateFromState() {
    const AppState& state = appModel_->state();
    const auto entry = state.languageStateList.constFind(state.currentTitle);
    const bool hasEntry = entry != state.languageStateList.constEnd();

    const bool listChanged = tableModel_->setWords(hasEntry ? entry->splittedWords : SplitList());
    tableModel_->setText(hasEntry ? entry->boxText : QString());

    // A title that is not stored cannot keep a text: say how to begin instead
    // of taking typing that would go nowhere.
    stored_ = state.indexOfTitle(state.currentTitle.id) >= 0;
    textView_->setPlaceholderText(
        stored_ ? QString()
                : tr("Add a title in the list on the left, select it, then paste or type its "
                     "text here."));

    // Replaced only when it differs, so that typing keeps the cursor, the
    // selection and the undo history.
    const QString text = hasEntry ? entry->boxText : QString();
    if (!sameText(text, shownText_))
        showText(text);
    textView_->setReadOnly(!stored_ || !building_.isNull());

    // In one row per word the selected row of the list is shown on the row
    // of the first word at or after it (the word that followed a triaged one).
    const qint64 listRow = state.lastSelectedRow;
    qint64 row = tableModel_->tableRow(listRow);
    if (row < 0 && listRow >= 0)
        row = tableModel_->rowCount() - 1;
    if (row < 0 || row >= tableModel_->rowCount()) {
        tableView_->clearSelection();
    } else if (listChanged || listRow != shownRow_ || tableView_->selectedRow() != row) {
        tableView_->selectOnlyRow(row);
        highlightSelectedWord();
    }
    shownRow_ = listRow;
    const QString word = selectedWord();
    if (word != shownWord_) {
        shownWord_ = word;
        Q_EMIT currentWordChanged(word);
    }
}

QString SplittedWordViewController::selectedWord() const {
    return wordAt(appModel_->state().lastSelectedRow);
}

void SplittedWordViewController::offerWordCommands(const QList<QAction*>& commands) {
    RowCommands::offerOn(tableView_, commands);
}

void SplittedWordViewController::setOneRowPerWord(bool on) {
    update_.flush();
    // The selected word stays selected: on its first row, which one row
    // per word shows.
    const qint64 selected = appModel_->state().lastSelectedRow;
    const qint64 first = on ? tableModel_->words().firstRowOfFolded(selected) : -1;
    if (first >= 0 && first != selected)
        appModel_->setLastSelectedRow(first);
    tableModel_->setOneRowPerWord(on);
    shownRow_ = -2; // select again, on the new rows
    update_.schedule();
    update_.flush();
}

void SplittedWordViewController::highlightSelectedWord() {
    const qint64 row = tableModel_->listRow(tableView_->selectedRow());
    const auto found = tableModel_->sentence(row);
    if (!found || !building_.isNull() || !sameText(tableModel_->text(), shownText_)) {
        textView_->setExtraSelections({});
        return;
    }
    const qint64 start = tableModel_->words().startAt(row);
    QTextDocument* document = textView_->document();
    const qint64 from = documentPosition(start);
    const qint64 to = documentPosition(start + found->word.size());
    if (to >= document->characterCount())
        return;
    QTextCursor word(document);
    word.setPosition(int(from));
    word.setPosition(int(to), QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection mark;
    mark.cursor = word;
    mark.format.setBackground(palette().color(QPalette::Active, QPalette::Highlight));
    mark.format.setForeground(palette().color(QPalette::Active, QPalette::HighlightedText));
    textView_->setExtraSelections({mark});
    if (textView_->hasFocus())
        return;
    // The caret goes to the word, and the word to the middle of the pane
    // when it was out of sight.
    const bool inSight = textView_->viewport()->rect().contains(textView_->cursorRect(word));
    QTextCursor caret(document);
    caret.setPosition(int(from));
    textView_->setTextCursor(caret);
    if (!inSight)
        textView_->centerCursor();
}

qint64 SplittedWordViewController::documentPosition(qint64 position) {
    if (crlfsOf_ != shownText_.constData()) {
        crlfs_.clear();
        crlfsOf_ = shownText_.constData();
        for (qsizetype at = shownText_.indexOf(QLatin1Char('\r')); at >= 0;
             at = shownText_.indexOf(QLatin1Char('\r'), at + 1)) {
            if (at + 1 < shownText_.size() && shownText_[at + 1] == QLatin1Char('\n'))
                crlfs_.push_back(at);
        }
    }
    // Each pair before the place is one unit shorter in the document.
    const auto pairs = std::lower_bound(crlfs_.cbegin(), crlfs_.cend(), position) - crlfs_.cbegin();
    return position - qint64(pairs);
}

void SplittedWordViewController::showText(const QString& text) {
    shownText_ = text;
    if (text.size() < largeText) {
        building_ = QString();
        applyingState_ = true;
        textView_->setPlainText(text);
        applyingState_ = false;
        Q_EMIT currentTextShown();
        return;
    }
    // A book's document takes longer to build than a frame: it is built on a
    // thread of its own while the window goes on drawing, and shown when it
    // is ready, if it is still the text to show. The pane takes no typing
    // meanwhile.
    building_ = text;
    textView_->setReadOnly(true);
    applyingState_ = true;
    textView_->setPlainText(QString());
    applyingState_ = false;
    QPointer<SplittedWordViewController> self(this);
    QThread* const home = thread();
    const QFont font = textView_->font();
    std::thread([self, text, home, font] {
        auto* document = new QTextDocument;
        document->setDocumentLayout(new QPlainTextDocumentLayout(document));
        document->setDefaultFont(font);
        document->setDocumentMargin(8);
        document->setPlainText(text);
        document->moveToThread(home);
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

void SplittedWordViewController::installDocument(QTextDocument* document) {
    building_ = QString();
    // The editor deletes a document it made itself; one installed here before
    // goes here.
    QTextDocument* const previous = textView_->document();
    const bool ours = previous && previous->parent() == textView_;
    document->setParent(textView_);
    textView_->setDocument(document);
    connect(document, &QTextDocument::contentsChange, this,
            &SplittedWordViewController::textDidChange);
    if (ours)
        previous->deleteLater();
    textView_->setReadOnly(!stored_);
    highlightSelectedWord();
    Q_EMIT currentTextShown();
}

void SplittedWordViewController::textDidChange(int position, int removed, int added) {
    if (applyingState_ || textView_->isReadOnly())
        return;
    QTextDocument* document = textView_->document();
    const qint64 length = document->characterCount() - 1; // less the last block's end
    if (position < 0 || position + removed > shownText_.size() ||
        shownText_.size() - removed + added != length) {
        // Not a change of the text shown (the document counts its final
        // block end in some changes): take the whole text.
        shownText_ = textView_->toPlainText();
        appModel_->saveText(shownText_);
        return;
    }
    QTextCursor cursor(document);
    cursor.setPosition(position);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    appModel_->editText(position, removed, plainText(cursor.selectedText()));
    shownText_ = appModel_->currentText();
}

QString SplittedWordViewController::wordAt(qint64 row) const {
    const AppState& state = appModel_->state();
    const auto entry = state.languageStateList.constFind(state.currentTitle);
    if (entry == state.languageStateList.constEnd() || row < 0 ||
        row >= entry->splittedWords.size())
        return QString();
    return entry->splittedWords.at(row);
}

void SplittedWordViewController::setSplitting(bool splitting) {
    tableView_->setEnabled(!splitting);
    tableView_->setToolTip(splitting ? tr("Splitting the text\u2026") : QString());
}

QString SplittedWordViewController::sentenceOf(qint64 row) const {
    const std::optional<SentenceAround> sentence = tableModel_->sentence(row);
    return sentence ? sentence->whole : QString();
}

void SplittedWordViewController::triage(qint64 tableRow, TriageAction action) {
    if (appModel_->isSplitting())
        return;
    const qint64 row = tableModel_->listRow(tableRow);
    const QString word = wordAt(row);
    if (word.isNull())
        return;
    switch (action) {
    case TriageAction::registerKnown:
        appModel_->registerWord(word, AppState::Word::Kind::known, row);
        break;
    case TriageAction::registerUnwanted:
        appModel_->registerWord(word, AppState::Word::Kind::unwanted, row);
        break;
    case TriageAction::removeTemporarily:
        appModel_->removeTemporarily(word, row);
        break;
    case TriageAction::learn:
        appModel_->learnWord(word, row, sentenceOf(row));
        break;
    }
}

void SplittedWordViewController::returnKeyPressed(qint64 row) {
    triage(row, TriageAction::registerKnown);
}

void SplittedWordViewController::commandReturnKeyPressed(qint64 row) {
    triage(row, TriageAction::removeTemporarily);
}

void SplittedWordViewController::selectionMoved(qint64 row) {
    appModel_->setLastSelectedRow(tableModel_->listRow(row));
}

void SplittedWordViewController::onCutTap() {
    Q_EMIT exportRequested();
}
