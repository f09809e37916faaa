#include "ui/triage/SplittedWordViewController.h"

#include "base/StatusLine.h"
#include "core/SplitFamilies.h"
#include "core/ViewModelFactory.h"
#include "text/SentenceAround.h"
#include "ui/common/GlossLine.h"
#include "ui/common/RowCommands.h"
#include "ui/triage/CommandKeyFilter.h"
#include "ui/triage/CustomTableView.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplitWordCell.h"
#include "ui/triage/SplitWordTableModel.h"
#include "ui/triage/TextMarks.h"
#include "ui/triage/TextPane.h"
#include "ui/triage/TextTriage.h"

#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

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
    textTriage_ = new TextTriage(
        appModel_, textPane_, textMarks_.get(), tableModel_,
        [this](qint64 row, TriageAction action) { triageListRow(row, action); }, this);
    subs_ = appModel_->subscribe([this](const AppState&) { update_.schedule(); });
}

void SplittedWordViewController::makeTextPane() {
    textPane_ = new TextPane(appModel_, this);
    textView_ = textPane_->view();
    textMarks_ = std::make_unique<TextMarks>(appModel_, textView_);
    connect(textPane_, &TextPane::documentInstalled, this,
            &SplittedWordViewController::highlightSelectedWord);
    connect(textPane_, &TextPane::currentTextShown, this,
            &SplittedWordViewController::currentTextShown);
}

void SplittedWordViewController::makeSplitList() {
    tableView_ = new CustomTableView;
    tableView_->setObjectName(QStringLiteral("tableView"));
    tableView_->setAccessibleName(tr("Split words"));
    tableView_->setAccessibleDescription(tr("The words of the text still to work through"));
    tableModel_ = new SplitWordTableModel(this);
    tableModel_->setTextSource([model = appModel_.get()] { return model->currentText(); });
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

    // The gloss of the selected word, beside the button; a form the
    // dictionary lacks is looked up by its family's head, where forms count.
    const Glosses::Head head = Glosses::familyHeads(appModel_);
    glossLine_ = new GlossLine(head, this);
    meanings_ = new Glosses(head, this);
    connect(meanings_, &Glosses::answered, this, &SplittedWordViewController::fillMeaning);
}

void SplittedWordViewController::showGloss() {
    const AppState& state = appModel_->state();
    glossLine_->showGlossOf(shownWord_, state.languageOf(state.currentTitle.id));
}

void SplittedWordViewController::learnMeaningOf(const QString& word) {
    const AppState& state = appModel_->state();
    if (state.learningWords.isEmpty() || state.learningWords.last().wordText != word)
        return;
    const QString language = state.languageOf(state.currentTitle.id);
    const QUuid id = state.learningWords.last().id;
    if (const auto known = meanings_->known(word, language)) {
        if (!known->senses.isEmpty())
            appModel_->setLearningMeaning(id, known->senses.first());
        return;
    }
    // Asked one at a time: a word learned while another's gloss is on its
    // way waits for it.
    meaningsWanted_.append({id, word, language});
    if (meaningsWanted_.size() == 1)
        meanings_->ask(word, language);
}

void SplittedWordViewController::fillMeaning(const Glosses::Gloss& gloss) {
    if (meaningsWanted_.isEmpty())
        return;
    const MeaningWanted wanted = meaningsWanted_.takeFirst();
    // The learner's own meaning, written meanwhile, stays.
    const LearningWord* learning = appModel_->state().learningWord(wanted.id);
    if (learning && learning->meaning.isEmpty() && gloss.word == wanted.word &&
        !gloss.senses.isEmpty())
        appModel_->setLearningMeaning(wanted.id, gloss.senses.first());
    if (!meaningsWanted_.isEmpty())
        meanings_->ask(meaningsWanted_.first().word, meaningsWanted_.first().language);
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
    buttons->addWidget(glossLine_, 1);
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
    tableView_->setDelegate(this);
    connect(cell_, &SplitWordCell::learnBtnTap, this,
            [this](const QModelIndex& index) { triage(index.row(), TriageAction::learn); });
}

void SplittedWordViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!appeared_) {
        appeared_ = true;
        tableView_->setFocus(Qt::OtherFocusReason);
    }
}

void SplittedWordViewController::showFamiliesOf(const QString& language) {
    const AppState& state = appModel_->state();
    const QString counted = state.countsForms(language) ? language : QString();
    if (tableModel_->setFamilies(counted))
        tableView_->viewport()->update();
    if (numbering_ || !tableModel_->familiesPending())
        return;
    // The dictionary is read and the split's families numbered off the
    // window's thread; the rows name and group them once that is done (and
    // the next split's are numbered in turn, if one came meanwhile).
    numbering_ = true;
    auto* numbering = new QFutureWatcher<void>(this);
    connect(numbering, &QFutureWatcher<void>::finished, this, [this, numbering] {
        numbering->deleteLater();
        numbering_ = false;
        tableView_->viewport()->update();
        if (tableModel_->familiesNumbered())
            selectOnShownRow();
        updateFromState();
    });
    const SplitList words = tableModel_->words();
    numbering->setFuture(
        QtConcurrent::run([counted, words] { SplitFamilies::of(words, counted, true); }));
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
    showFamiliesOf(state.languageOf(state.currentTitle.id));
    const quint64 revision = hasEntry ? entry->revision : 0;
    tableModel_->setTextRevision(revision);
    textPane_->show(hasEntry ? entry->boxText : QString(), revision,
                    state.indexOfTitle(state.currentTitle.id) >= 0);
    textMarks_->refresh();

    // In one row per word the selected row of the list is shown on the row
    // of the first word at or after it (the word that followed a triaged one).
    const qint64 listRow = state.lastSelectedRow;
    qint64 row = tableModel_->tableRow(listRow);
    if (row < 0 && listRow >= 0)
        row = tableModel_->rowCount() - 1;
    if (row < 0 || row >= tableModel_->rowCount()) {
        tableView_->clearSelection();
    } else if (listChanged || listRow != shownRow_ || tableView_->selectedRow() != row) {
        tableView_->selectOnlyRow(row, listChanged);
        highlightSelectedWord();
    }
    shownRow_ = listRow;
    const QString word = selectedWord();
    const QString language = state.languageOf(state.currentTitle.id);
    if (word != shownWord_ || language != glossLanguage_) {
        const bool changed = word != shownWord_;
        shownWord_ = word;
        glossLanguage_ = language;
        showGloss();
        if (changed)
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
    tableModel_->setOneRowPerWord(on);
    selectOnShownRow();
    update_.schedule();
    update_.flush();
}

void SplittedWordViewController::selectOnShownRow() {
    // The selected word stays selected: on its first row (its family's),
    // which one row per word shows.
    const qint64 selected = appModel_->state().lastSelectedRow;
    const qint64 shown = tableModel_->shownListRow(selected);
    if (shown >= 0 && shown != selected)
        appModel_->setLastSelectedRow(shown);
    shownRow_ = -2; // select again, on the new rows
}

void SplittedWordViewController::highlightSelectedWord() {
    const qint64 row = tableModel_->listRow(tableView_->selectedRow());
    const auto found = tableModel_->sentence(row);
    if (!found) {
        textPane_->clearMark();
        return;
    }
    textPane_->markWord(tableModel_->text(), tableModel_->textRevision(),
                        tableModel_->words().startAt(row), found->word.size());
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
    triageListRow(tableModel_->listRow(tableRow), action);
}

void SplittedWordViewController::setMarkWordsInText(bool on) {
    textMarks_->setEnabled(on);
}

void SplittedWordViewController::triageListRow(qint64 row, TriageAction action) {
    if (appModel_->isSplitting())
        return;
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
        learnMeaningOf(word);
        break;
    }
}

void SplittedWordViewController::returnKeyPressed(qint64 row) {
    triage(row, TriageAction::registerKnown);
}

void SplittedWordViewController::commandReturnKeyPressed(qint64 row) {
    triage(row, TriageAction::removeTemporarily);
}

void SplittedWordViewController::unwantedKeyPressed(qint64 row) {
    triage(row, TriageAction::registerUnwanted);
}

void SplittedWordViewController::learnKeyPressed(qint64 row) {
    triage(row, TriageAction::learn);
}

void SplittedWordViewController::selectionMoved(qint64 row) {
    appModel_->setLastSelectedRow(tableModel_->listRow(row));
}

void SplittedWordViewController::onCutTap() {
    Q_EMIT exportRequested();
}

bool SplittedWordViewController::showsCurrentText() const {
    return !textPane_->isBuilding();
}
