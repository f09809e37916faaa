#include "ui/registered/RegisteredWordViewController.h"

#include "base/StatusLine.h"
#include "core/ViewModelFactory.h"
#include "ui/common/GlossLine.h"
#include "ui/common/LanguageChoices.h"
#include "ui/common/RowCommands.h"
#include "ui/common/SegmentedControl.h"
#include "ui/registered/LearningPane.h"
#include "ui/registered/LearningWordTableModel.h"
#include "ui/registered/RegisteredWordCell.h"
#include "ui/registered/RegisteredWordListView.h"
#include "ui/registered/RegisteredWordTableModel.h"
#include "ui/registered/WordTable.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

RegisteredWordViewController::RegisteredWordViewController(QWidget* parent)
    : RegisteredWordViewController(ViewModelFactory::shared().model(), parent) {}

RegisteredWordViewController::RegisteredWordViewController(std::shared_ptr<AppModel> model,
                                                           QWidget* parent)
    : QWidget(parent)
    , appModel_(std::move(model)) {
    makeSegmentedControl();
    makeSearch();
    makeLists();
    viewDidLoad();
}

RegisteredWordViewController::~RegisteredWordViewController() = default;

void RegisteredWordViewController::makeLists() {
    using Kind = AppState::Word::Kind;
    knownList_ = new RegisteredWordListView(
        Kind::known,
        WordTable::make(QStringLiteral("knownWordTableView"), tr("Known words"),
                        tr("The known words of the current title")),
        this);
    unwantedList_ = new RegisteredWordListView(
        Kind::unwanted,
        WordTable::make(QStringLiteral("unwantedWordTableView"), tr("Unwanted words"),
                        tr("The unwanted words of the current title")),
        this);
    // Both lists' buttons and keys delete the word their row shows.
    for (RegisteredWordListView* list : {knownList_, unwantedList_}) {
        connect(list, &RegisteredWordListView::deleteRequested, this,
                &RegisteredWordViewController::deleteWord);
    }
    learningPane_ = new LearningPane(
        appModel_,
        WordTable::make(
            QStringLiteral("learningWordTableView"), tr("Learning words"),
            tr("The words you are learning, of the current title or of every title of its "
               "language; keys 1 to 5 set the level, F2 edits the meaning")),
        this);
    knownWordTableView_ = knownList_->table();
    unwantedWordTableView_ = unwantedList_->table();
    learningWordTableView_ = learningPane_->table();
}

void RegisteredWordViewController::makeSegmentedControl() {
    // Three segments side by side, one of them checked.
    segments_ = new QButtonGroup(this);
    segmentedControl_ = SegmentedControl::make(
        {{tr("Known"), QStringLiteral("knownSegment"), tr("Shows the known words")},
         {tr("Unwanted"), QStringLiteral("unwantedSegment"), tr("Shows the unwanted words")},
         {tr("Learning"), QStringLiteral("learningSegment"),
          tr("Shows the words you are learning")}},
        segments_);
}

void RegisteredWordViewController::makeSearch() {
    searchField_ = new QLineEdit;
    searchField_->setObjectName(QStringLiteral("registeredSearchField"));
    searchField_->setPlaceholderText(tr("Search"));
    searchField_->setClearButtonEnabled(true);
    searchField_->setAccessibleName(tr("Search words"));
    searchField_->setAccessibleDescription(
        tr("Shows only the registered words that hold what is typed (Ctrl+F)"));
    ignoreAccents_ = new QCheckBox(tr("Ignore accents"));
    ignoreAccents_->setObjectName(QStringLiteral("ignoreAccentsCheckbox"));
    ignoreAccents_->setAccessibleDescription(tr("The search finds e in é, è and ê"));
    countLabel_ = new QLabel;
    countLabel_->setObjectName(QStringLiteral("registeredCountLabel"));
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    countLabel_->setAccessibleDescription(tr("How many words the list shows"));
    wholeLanguage_ = new QCheckBox;
    wholeLanguage_->setObjectName(QStringLiteral("wholeLanguageCheckbox"));
    wholeLanguage_->setAccessibleDescription(
        tr("Shows the words registered in every title of this language"));
    wholeLanguage_->hide();
    connect(searchField_, &QLineEdit::textChanged, this,
            &RegisteredWordViewController::showMatches);
    connect(ignoreAccents_, &QCheckBox::toggled, this, &RegisteredWordViewController::showMatches);
    connect(wholeLanguage_, &QCheckBox::toggled, this,
            &RegisteredWordViewController::updateFromState);
    // Ctrl+F goes to the search; Escape there empties it.
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    connect(find, &QAction::triggered, this, [this] {
        searchField_->setFocus(Qt::ShortcutFocusReason);
        searchField_->selectAll();
    });
    addAction(find);
    auto* clear = new QAction(searchField_);
    clear->setShortcut(Qt::Key_Escape);
    clear->setShortcutContext(Qt::WidgetShortcut);
    connect(clear, &QAction::triggered, searchField_, &QLineEdit::clear);
    searchField_->addAction(clear);
}

void RegisteredWordViewController::viewDidLoad() {
    setUpEditAction();
    layOut();
    connect(knownWordTableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RegisteredWordViewController::tableViewSelectionDidChange);
    connect(unwantedWordTableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RegisteredWordViewController::tableViewSelectionDidChange);
    connect(segments_, &QButtonGroup::idClicked, this,
            &RegisteredWordViewController::segmentedControlChanged);
    unwantedWordTableView_->hide();
    learningWordTableView_->hide();
    for (QTableView* table :
         {knownWordTableView_, unwantedWordTableView_, learningWordTableView_}) {
        table->installEventFilter(this);
        connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this,
                &RegisteredWordViewController::tellCurrentWord);
    }

    subs_ = appModel_->subscribe([this](const AppState&) { update_.schedule(); });
}

QAction* RegisteredWordViewController::levelAction(int level) const {
    return learningPane_->levelAction(level);
}

void RegisteredWordViewController::setUpEditAction() {
    // "Edit" in the known list's context menu only keeps a check mark.
    editAction_ = new QAction(tr("Edit"), this);
    editAction_->setObjectName(QStringLiteral("editAction"));
    editAction_->setCheckable(true);
    connect(editAction_, &QAction::triggered, this,
            &RegisteredWordViewController::tableViewEditItemClicked);
    knownWordTableView_->setContextMenuPolicy(Qt::ActionsContextMenu);
    knownWordTableView_->addAction(editAction_);
    knownWordTableView_->horizontalHeader()->setContextMenuPolicy(Qt::ActionsContextMenu);
    knownWordTableView_->horizontalHeader()->addAction(editAction_);
}

void RegisteredWordViewController::layOut() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(segmentedControl_, 0, Qt::AlignHCenter);
    auto* search = new QVBoxLayout;
    search->setSpacing(4);
    search->addWidget(searchField_);
    auto* searchOptions = new QHBoxLayout;
    searchOptions->addWidget(ignoreAccents_);
    searchOptions->addStretch();
    searchOptions->addWidget(countLabel_);
    search->addLayout(searchOptions);
    search->addWidget(wholeLanguage_);
    layout->addLayout(search);
    layout->addWidget(knownWordTableView_, 1);
    layout->addWidget(unwantedWordTableView_, 1);
    layout->addWidget(learningWordTableView_, 1);
    layout->addWidget(learningPane_->glossLine());
}

QSize RegisteredWordViewController::sizeHint() const {
    QSize hint = QWidget::sizeHint();
    const QTableView* table = knownWordTableView_;
    const QFontMetrics fm(table->font());
    // 'n' stands for an average letter of a word, a little on the wide side.
    const int word = fm.horizontalAdvance(QString(wordCharacters, QLatin1Char('n')));
    const int width = RegisteredWordCell::rowWidthFor(fm, word) + knownList_->wholeDateWidth() +
                      2 * table->frameWidth() +
                      table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    const QMargins margins = layout() ? layout()->contentsMargins() : QMargins();
    hint.setWidth(qMax(hint.width(), width + margins.left() + margins.right()));
    return hint;
}

QAbstractButton* RegisteredWordViewController::segment(int i) const {
    return segments_->button(i);
}

int RegisteredWordViewController::selectedSegment() const {
    return qBound(0, segments_->checkedId(), 2);
}

bool RegisteredWordViewController::showsWholeLanguage() const {
    const AppState& state = appModel_->state();
    return wholeLanguage_->isChecked() && !state.languageOf(state.currentTitle.id).isEmpty();
}

void RegisteredWordViewController::updateFromState() {
    const AppState& state = appModel_->state();
    const QString language = state.languageOf(state.currentTitle.id);
    if (!language.isEmpty()) {
        wholeLanguage_->setText(
            tr("Words of every %1 title").arg(LanguageChoices::nameOf(language)));
    }
    // The learning list always holds the whole language: the box is not its.
    wholeLanguage_->setVisible(!language.isEmpty() && selectedSegment() != 2);
    const bool whole = showsWholeLanguage();
    using Kind = AppState::Word::Kind;
    knownList_->setWords(whole ? state.languageWords(Kind::known) : state.knownWords(),
                         state.knownWordsSortType, language);
    unwantedList_->setWords(whole ? state.languageWords(Kind::unwanted) : state.unwantedWords(),
                            SortType::alphabet, language);
    showMatchesOf(0, true);
    showMatchesOf(1, true);
    if (learningPane_->takeWords(state) || matchesStale_[2])
        showMatchesOf(2, true);
    updateCount();
}

void RegisteredWordViewController::showMatches() {
    matchesStale_.fill(true);
    showMatchesOf(selectedSegment(), false);
    updateCount();
}

void RegisteredWordViewController::showMatchesOf(int segment, bool keepLearningRow) {
    const QString query = searchField_->text().trimmed();
    const bool ignoreAccents = ignoreAccents_->isChecked();
    switch (segment) {
    case 1:
        unwantedList_->showMatches(query, ignoreAccents);
        break;
    case 2:
        learningPane_->showMatches(query, ignoreAccents, keepLearningRow);
        break;
    default:
        knownList_->showMatches(query, ignoreAccents);
        break;
    }
    matchesStale_[segment] = false;
}

void RegisteredWordViewController::updateCount() {
    qsizetype shown = 0;
    qsizetype total = 0;
    switch (selectedSegment()) {
    case 1:
        shown = unwantedList_->shownCount();
        total = unwantedList_->totalCount();
        break;
    case 2:
        shown = learningPane_->shownCount();
        total = learningPane_->totalCount();
        break;
    default:
        shown = knownList_->shownCount();
        total = knownList_->totalCount();
        break;
    }
    const QLocale locale;
    if (searchField_->text().trimmed().isEmpty()) {
        countLabel_->setText(tr("%Ln words", nullptr, int(qMin<qsizetype>(total, INT_MAX))));
    } else {
        countLabel_->setText(
            tr("%1 of %2").arg(locale.toString(qint64(shown)), locale.toString(qint64(total))));
    }
}

void RegisteredWordViewController::segmentedControlChanged(int segment) {
    printStatus(QStringLiteral("Segment ") + QString::number(segment) +
                QStringLiteral(" selected"));
    // The list follows the selected segment, so that clicking the segment
    // already selected leaves the list as it is.
    knownWordTableView_->setVisible(segment == 0);
    unwantedWordTableView_->setVisible(segment == 1);
    learningWordTableView_->setVisible(segment == 2);
    learningPane_->glossLine()->setVisible(segment == 2);
    if (matchesStale_[segment])
        showMatchesOf(segment, true);
    const AppState& state = appModel_->state();
    wholeLanguage_->setVisible(segment != 2 && !state.languageOf(state.currentTitle.id).isEmpty());
    updateCount();
}

void RegisteredWordViewController::tableViewEditItemClicked() {
    printStatus(editAction_->isChecked() ? QStringLiteral("Menu item is checked.")
                                         : QStringLiteral("Menu item is unchecked."));
}

void RegisteredWordViewController::tableViewSelectionDidChange() {
    const QModelIndexList rows = knownWordTableView_->selectionModel()->selectedRows();
    printStatus(QStringLiteral("Selected row: ") +
                QString::number(rows.isEmpty() ? -1 : rows.first().row()));
}

void RegisteredWordViewController::deleteWord(const QUuid& id) {
    // A word of another title of the language is deleted there; one of the
    // current title as always, so that Edit ▸ Undo brings it back.
    const AppState& state = appModel_->state();
    const QList<AppState::Word> own = state.knownWords() + state.unwantedWords();
    const bool isOwn =
        std::any_of(own.cbegin(), own.cend(), [&](const AppState::Word& w) { return w.id == id; });
    if (showsWholeLanguage() && !isOwn)
        appModel_->deleteWordOfAnyTitle(id);
    else
        appModel_->deleteWord(id);
}

QString RegisteredWordViewController::selectedWord() const {
    for (QTableView* table :
         {knownWordTableView_, unwantedWordTableView_, learningWordTableView_}) {
        if (!table->hasFocus())
            continue;
        const QModelIndex current = table->currentIndex();
        if (current.isValid())
            return current.siblingAtColumn(0).data(Qt::DisplayRole).toString();
    }
    return QString();
}

void RegisteredWordViewController::offerWordCommands(const QList<QAction*>& commands) {
    RowCommands::offerOn(knownWordTableView_, commands);
    RowCommands::offerOn(unwantedWordTableView_, commands);
    // The learning list has a menu of its own.
    learningPane_->menu()->addSeparator();
    learningPane_->menu()->addActions(commands);
}

bool RegisteredWordViewController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        tellCurrentWord();
    return QWidget::eventFilter(watched, event);
}

void RegisteredWordViewController::tellCurrentWord() {
    const QString word = selectedWord();
    if (word == toldWord_)
        return;
    toldWord_ = word;
    Q_EMIT currentWordChanged(word);
}

RegisteredWordTableModel* RegisteredWordViewController::knownModel() const {
    return knownList_->model();
}

RegisteredWordTableModel* RegisteredWordViewController::unwantedModel() const {
    return unwantedList_->model();
}

RegisteredWordCell* RegisteredWordViewController::knownCell() const {
    return knownList_->cell();
}

RegisteredWordCell* RegisteredWordViewController::unwantedCell() const {
    return unwantedList_->cell();
}

LearningWordTableModel* RegisteredWordViewController::learningModel() const {
    return learningPane_->model();
}

QMenu* RegisteredWordViewController::learningMenu() const {
    return learningPane_->menu();
}

QAction* RegisteredWordViewController::promoteAction() const {
    return learningPane_->promoteAction();
}

QAction* RegisteredWordViewController::dropAction() const {
    return learningPane_->dropAction();
}

QAction* RegisteredWordViewController::editMeaningAction() const {
    return learningPane_->editMeaningAction();
}
