#include "ui/registered/RegisteredWordViewController.h"

#include "base/StatusLine.h"
#include "core/ViewModelFactory.h"
#include "ui/common/AccessibleItemView.h"
#include "ui/common/LanguageChoices.h"
#include "ui/common/RowCommands.h"
#include "ui/registered/LearningWordList.h"
#include "ui/registered/LearningWordTableModel.h"
#include "ui/registered/RegisteredWordCell.h"
#include "ui/registered/RegisteredWordList.h"
#include "ui/registered/RegisteredWordTableModel.h"

#include <QAction>
#include <QActionGroup>
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
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {
constexpr int rowHeight = 25;

QTableView* makeTable(const QString& name) {
    auto* table = new QTableView;
    AccessibleItemView::enableFor(table);
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setShowGrid(false);
    table->setWordWrap(false);
    // One Tab leaves the list, rather than one per cell of every row.
    table->setTabKeyNavigation(false);
    table->setAlternatingRowColors(true);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    table->horizontalHeader()->setHighlightSections(false);
    return table;
}

// The width of a Date column: a date and time of this locale (measured once:
// a list of thousands is not measured row by row), or its title.
int dateColumnWidth(QTableView* table, int column) {
    const QString sample =
        RegisteredWordTableModel::dateText(QDateTime(QDate(2028, 12, 28), QTime(23, 58, 58)));
    return qMax(table->fontMetrics().horizontalAdvance(sample),
                table->horizontalHeader()->sectionSizeHint(column)) +
           16;
}

// The meaning column's editor, named for assistive technology.
class MeaningDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor) {
            editor->setObjectName(QStringLiteral("meaningEditor"));
            editor->setAccessibleName(RegisteredWordViewController::tr("Meaning"));
            editor->setAccessibleDescription(RegisteredWordViewController::tr(
                "The meaning of the word; Return keeps it, Escape leaves it as it was"));
        }
        return editor;
    }
};

QToolButton* makeSegment(const QString& text, const QString& name) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setText(text);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}
} // namespace

RegisteredWordViewController::RegisteredWordViewController(QWidget* parent)
    : RegisteredWordViewController(ViewModelFactory::shared().model(), parent) {}

RegisteredWordViewController::RegisteredWordViewController(std::shared_ptr<AppModel> model,
                                                           QWidget* parent)
    : QWidget(parent)
    , appModel_(std::move(model))
    , knownList_(std::make_unique<RegisteredWordList>())
    , unwantedList_(std::make_unique<RegisteredWordList>())
    , learningList_(std::make_unique<LearningWordList>()) {
    makeSegmentedControl();
    makeSearch();
    knownWordTableView_ = makeTable(QStringLiteral("knownWordTableView"));
    knownWordTableView_->setAccessibleName(tr("Known words"));
    knownWordTableView_->setAccessibleDescription(tr("The known words of the current title"));
    unwantedWordTableView_ = makeTable(QStringLiteral("unwantedWordTableView"));
    unwantedWordTableView_->setAccessibleName(tr("Unwanted words"));
    unwantedWordTableView_->setAccessibleDescription(tr("The unwanted words of the current title"));
    knownModel_ = new RegisteredWordTableModel(AppState::Word::Kind::known, this);
    unwantedModel_ = new RegisteredWordTableModel(AppState::Word::Kind::unwanted, this);
    learningWordTableView_ = makeTable(QStringLiteral("learningWordTableView"));
    learningWordTableView_->setAccessibleName(tr("Learning words"));
    learningWordTableView_->setAccessibleDescription(
        tr("The words you are learning, of the current title or of every title of its language; "
           "keys 1 to 5 set the level, F2 edits the meaning"));
    learningModel_ = new LearningWordTableModel(this);

    viewDidLoad();
}

RegisteredWordViewController::~RegisteredWordViewController() = default;

void RegisteredWordViewController::makeSegmentedControl() {
    // Three segments side by side, one of them checked.
    segmentedControl_ = new QWidget;
    segmentedControl_->setObjectName(QStringLiteral("segmentedControl"));
    auto* segmentsLayout = new QHBoxLayout(segmentedControl_);
    segmentsLayout->setContentsMargins(0, 0, 0, 0);
    segmentsLayout->setSpacing(0);
    segments_ = new QButtonGroup(this);
    segments_->setExclusive(true);
    QToolButton* known = makeSegment(tr("Known"), QStringLiteral("knownSegment"));
    QToolButton* unwanted = makeSegment(tr("Unwanted"), QStringLiteral("unwantedSegment"));
    QToolButton* learning = makeSegment(tr("Learning"), QStringLiteral("learningSegment"));
    segments_->addButton(known, 0);
    segments_->addButton(unwanted, 1);
    segments_->addButton(learning, 2);
    int segmentWidth = 100;
    for (QToolButton* button : {known, unwanted, learning}) {
        segmentsLayout->addWidget(button);
        segmentWidth = qMax(segmentWidth, button->sizeHint().width());
    }
    // Equal segments, each wide enough for the longest title.
    segmentedControl_->setFixedWidth(3 * segmentWidth);
    known->setChecked(true);
    known->setAccessibleDescription(tr("Shows the known words"));
    unwanted->setAccessibleDescription(tr("Shows the unwanted words"));
    learning->setAccessibleDescription(tr("Shows the words you are learning"));
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
    setUpLists();
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

void RegisteredWordViewController::setUpLists() {
    knownWordTableView_->setModel(knownModel_);
    unwantedWordTableView_->setModel(unwantedModel_);
    // The Date column is as wide as a date and time of this locale (measured
    // once: a list of thousands is not measured row by row); the words get
    // the rest.
    QHeaderView* header = knownWordTableView_->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    header->resizeSection(1, dateColumnWidth(knownWordTableView_, 1));
    unwantedWordTableView_->horizontalHeader()->setStretchLastSection(true);

    knownCell_ = new RegisteredWordCell(knownWordTableView_);
    unwantedCell_ = new RegisteredWordCell(unwantedWordTableView_);
    knownWordTableView_->setItemDelegateForColumn(0, knownCell_);
    unwantedWordTableView_->setItemDelegateForColumn(0, unwantedCell_);
    // Both buttons delete the word their row shows.
    connect(knownCell_, &RegisteredWordCell::deleteBtnTap, this,
            [this](const QModelIndex& index) { deleteWordShownAt(knownModel_, index.row()); });
    connect(unwantedCell_, &RegisteredWordCell::deleteBtnTap, this,
            [this](const QModelIndex& index) { deleteWordShownAt(unwantedModel_, index.row()); });
    setUpDeleteKeys();
    setUpLearningList();
}

void RegisteredWordViewController::setUpLearningList() {
    using Column = LearningWordTableModel::Column;
    QTableView* table = learningWordTableView_;
    table->setModel(learningModel_);
    // The meaning is edited in place: flags() lets only its column be edited.
    table->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    table->setItemDelegateForColumn(Column::meaningColumn, new MeaningDelegate(table));
    table->setTextElideMode(Qt::ElideRight);
    // Five columns do not fit a narrow pane: the sentence takes what is
    // left, down to its least, and the list scrolls sideways beyond that.
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QHeaderView* header = table->horizontalHeader();
    const QFontMetrics fm = table->fontMetrics();
    const auto letters = [&](int n) { return fm.horizontalAdvance(QString(n, QLatin1Char('n'))); };
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(Column::wordColumn, letters(9) + 16);
    header->setSectionResizeMode(Column::levelColumn, QHeaderView::Fixed);
    header->resizeSection(Column::levelColumn,
                          qMax(letters(2), header->sectionSizeHint(Column::levelColumn)) + 8);
    header->resizeSection(Column::meaningColumn, letters(10) + 16);
    header->setSectionResizeMode(Column::sentenceColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(Column::dateColumn, QHeaderView::Fixed);
    header->resizeSection(
        Column::dateColumn,
        qMax(letters(1) + table->fontMetrics().horizontalAdvance(LearningWordTableModel::shortDate(
                              QDateTime(QDate(2028, 12, 28), QTime(23, 58, 58)))),
             header->sectionSizeHint(Column::dateColumn)) +
            8);

    connect(learningModel_, &LearningWordTableModel::meaningEdited, this,
            [this](const QUuid& id, const QString& meaning) {
                appModel_->setLearningMeaning(id, meaning);
            });
    setUpLearningActions();
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RegisteredWordViewController::updateLearningActions);
    connect(learningModel_, &QAbstractItemModel::modelReset, this,
            &RegisteredWordViewController::updateLearningActions);
    connect(learningModel_, &QAbstractItemModel::dataChanged, this,
            &RegisteredWordViewController::updateLearningActions);
    updateLearningActions();
}

void RegisteredWordViewController::setUpLearningActions() {
    // Each command is a key of the focused list and an item of its menu.
    QTableView* table = learningWordTableView_;
    auto makeAction = [&](const QString& text, const QString& name,
                          const QList<QKeySequence>& keys) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        table->addAction(action);
        return action;
    };
    editMeaningAction_ = makeAction(tr("Edit Meaning"), QStringLiteral("editMeaningAction"),
                                    {QKeySequence(Qt::Key_F2)});
    // F2 edits the meaning whichever cell of the row is current.
    connect(editMeaningAction_, &QAction::triggered, this, [this] {
        const QModelIndexList rows = learningWordTableView_->selectionModel()->selectedRows();
        if (rows.isEmpty())
            return;
        const QModelIndex meaning =
            learningModel_->index(rows.first().row(), LearningWordTableModel::meaningColumn);
        learningWordTableView_->setCurrentIndex(meaning);
        learningWordTableView_->edit(meaning);
    });
    auto* levels = new QActionGroup(this);
    levels->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int level = LearningWord::minLevel; level <= LearningWord::maxLevel; ++level) {
        QAction* action =
            makeAction(tr("Level %1").arg(level), QStringLiteral("levelAction%1").arg(level),
                       {QKeySequence(Qt::Key_0 + level)});
        action->setCheckable(true);
        levels->addAction(action);
        connect(action, &QAction::triggered, this, [this, level] {
            const QUuid id = selectedLearningWord();
            if (!id.isNull())
                appModel_->setLearningLevel(id, level);
        });
        levelActions_.append(action);
    }
    // Ctrl+K, "known": no command of the window takes it.
    promoteAction_ = makeAction(tr("Promote to Known"), QStringLiteral("promoteAction"),
                                {QKeySequence(Qt::CTRL | Qt::Key_K)});
    connect(promoteAction_, &QAction::triggered, this, [this] {
        const QUuid id = selectedLearningWord();
        if (!id.isNull())
            appModel_->promoteLearningWord(id);
    });
    dropAction_ = makeAction(tr("Drop"), QStringLiteral("dropAction"),
                             {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)});
    dropAction_->setToolTip(tr("Stop learning the word: the next split shows it again"));
    connect(dropAction_, &QAction::triggered, this, [this] {
        const QUuid id = selectedLearningWord();
        if (!id.isNull())
            appModel_->dropLearningWord(id);
    });

    learningMenu_ = new QMenu(table);
    learningMenu_->setObjectName(QStringLiteral("learningMenu"));
    learningMenu_->addAction(editMeaningAction_);
    QMenu* levelMenu = learningMenu_->addMenu(tr("Level"));
    levelMenu->setObjectName(QStringLiteral("learningLevelMenu"));
    levelMenu->addActions(levelActions_);
    learningMenu_->addSeparator();
    learningMenu_->addAction(promoteAction_);
    learningMenu_->addAction(dropAction_);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        learningMenu_->popup(learningWordTableView_->viewport()->mapToGlobal(pos));
    });
}

QAction* RegisteredWordViewController::levelAction(int level) const {
    const int i = level - LearningWord::minLevel;
    return i >= 0 && i < levelActions_.size() ? levelActions_.at(i) : nullptr;
}

QUuid RegisteredWordViewController::selectedLearningWord() const {
    const QModelIndexList rows = learningWordTableView_->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= learningModel_->rowCount())
        return {};
    return learningModel_->words().at(rows.first().row()).id;
}

void RegisteredWordViewController::updateLearningActions() {
    const QUuid id = selectedLearningWord();
    const int row = id.isNull() ? -1 : learningModel_->rowOf(id);
    const int level = row < 0 ? 0 : learningModel_->words().at(row).level;
    for (QAction* action : {editMeaningAction_, promoteAction_, dropAction_})
        action->setEnabled(row >= 0);
    for (int i = 0; i < levelActions_.size(); ++i) {
        levelActions_[i]->setEnabled(row >= 0);
        levelActions_[i]->setChecked(LearningWord::minLevel + i == level);
    }
}

void RegisteredWordViewController::setUpDeleteKeys() {
    // Delete (or Backspace) on a list's selected word does what its row's
    // button does; Edit ▸ Undo brings the word back.
    const std::pair<QTableView*, RegisteredWordTableModel*> lists[] = {
        {knownWordTableView_, knownModel_}, {unwantedWordTableView_, unwantedModel_}};
    // Shortcuts rather than actions: the known list's context menu shows
    // its actions, and holds "Edit" alone.
    for (const auto& [table, model] : lists) {
        for (const auto key : {Qt::Key_Delete, Qt::Key_Backspace}) {
            auto* remove =
                new QShortcut(QKeySequence(key), table, nullptr, nullptr, Qt::WidgetShortcut);
            connect(remove, &QShortcut::activated, this, [this, table = table, model = model] {
                const QModelIndexList rows = table->selectionModel()->selectedRows();
                if (!rows.isEmpty())
                    deleteWordShownAt(model, rows.first().row());
            });
        }
    }
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
}

QSize RegisteredWordViewController::sizeHint() const {
    QSize hint = QWidget::sizeHint();
    const QTableView* table = knownWordTableView_;
    const QFontMetrics fm(table->font());
    // 'n' stands for an average letter of a word, a little on the wide side.
    const int word = fm.horizontalAdvance(QString(wordCharacters, QLatin1Char('n')));
    const int width = RegisteredWordCell::rowWidthFor(fm, word) +
                      table->horizontalHeader()->sectionSize(1) + 2 * table->frameWidth() +
                      table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    const QMargins margins = layout() ? layout()->contentsMargins() : QMargins();
    hint.setWidth(qMax(hint.width(), width + margins.left() + margins.right()));
    return hint;
}

QAbstractButton* RegisteredWordViewController::segment(int i) const {
    return segments_->button(i);
}

int RegisteredWordViewController::selectedSegment() const {
    return segments_->checkedId();
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
    showRegisteredMatches();
    if (takeLearningWords(state))
        showLearningMatches(true);
    updateCount();
}

bool RegisteredWordViewController::takeLearningWords(const AppState& state) {
    if (!learningChange_.in(state))
        return false;
    learningList_->setWords(state.languageLearningWords());
    return true;
}

void RegisteredWordViewController::showMatches() {
    showRegisteredMatches();
    showLearningMatches(false);
    updateCount();
}

void RegisteredWordViewController::showRegisteredMatches() {
    const QString query = searchField_->text().trimmed();
    const bool ignoreAccents = ignoreAccents_->isChecked();
    knownModel_->setWords(knownList_->matching(query, ignoreAccents));
    unwantedModel_->setWords(unwantedList_->matching(query, ignoreAccents));
}

void RegisteredWordViewController::showLearningMatches(bool keepRow) {
    QTableView* table = learningWordTableView_;
    const QModelIndexList selected = table->selectionModel()->selectedRows();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    const QUuid id = selectedLearningWord();
    const int column = qMax(0, table->selectionModel()->currentIndex().column());
    const bool reset = learningModel_->setWords(
        learningList_->matching(searchField_->text().trimmed(), ignoreAccents_->isChecked()));
    // Rows changed in place keep their selection; after a reset the word
    // selected is found again.
    if (!reset || row < 0)
        return;
    int next = learningModel_->rowOf(id);
    if (next < 0 && keepRow)
        next = qMin(row, learningModel_->rowCount() - 1);
    if (next < 0)
        return;
    const QModelIndex index = learningModel_->index(next, column);
    table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    table->scrollTo(index);
}

void RegisteredWordViewController::updateCount() {
    qsizetype shown = 0;
    qsizetype total = 0;
    switch (selectedSegment()) {
    case 1:
        shown = unwantedModel_->words().size();
        total = unwantedList_->words().size();
        break;
    case 2:
        shown = learningModel_->words().size();
        total = learningList_->words().size();
        break;
    default:
        shown = knownModel_->words().size();
        total = knownList_->words().size();
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

void RegisteredWordViewController::deleteWordShownAt(RegisteredWordTableModel* model, int row) {
    if (row < 0 || row >= model->rowCount())
        return;
    const QUuid id = model->words().at(row).id;
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
    learningMenu_->addSeparator();
    learningMenu_->addActions(commands);
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
