#include "ui/registered/RegisteredWordViewController.h"

#include "base/StatusLine.h"
#include "core/ViewModelFactory.h"
#include "ui/common/AccessibleItemView.h"
#include "ui/common/LanguageChoices.h"
#include "ui/registered/RegisteredWordCell.h"
#include "ui/registered/RegisteredWordList.h"
#include "ui/registered/RegisteredWordTableModel.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QShortcut>
#include <QStyle>
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
    , unwantedList_(std::make_unique<RegisteredWordList>()) {
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

    viewDidLoad();
}

RegisteredWordViewController::~RegisteredWordViewController() = default;

void RegisteredWordViewController::makeSegmentedControl() {
    // Two segments side by side, one of them checked.
    segmentedControl_ = new QWidget;
    segmentedControl_->setObjectName(QStringLiteral("segmentedControl"));
    segmentedControl_->setFixedWidth(200);
    auto* segmentsLayout = new QHBoxLayout(segmentedControl_);
    segmentsLayout->setContentsMargins(0, 0, 0, 0);
    segmentsLayout->setSpacing(0);
    segments_ = new QButtonGroup(this);
    segments_->setExclusive(true);
    QToolButton* known = makeSegment(tr("Known"), QStringLiteral("knownSegment"));
    QToolButton* unwanted = makeSegment(tr("Unwanted"), QStringLiteral("unwantedSegment"));
    segments_->addButton(known, 0);
    segments_->addButton(unwanted, 1);
    segmentsLayout->addWidget(known);
    segmentsLayout->addWidget(unwanted);
    known->setChecked(true);
    known->setAccessibleDescription(tr("Shows the known words"));
    unwanted->setAccessibleDescription(tr("Shows the unwanted words"));
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
    const QString sample =
        RegisteredWordTableModel::dateText(QDateTime(QDate(2028, 12, 28), QTime(23, 58, 58)));
    header->resizeSection(1, qMax(knownWordTableView_->fontMetrics().horizontalAdvance(sample),
                                  header->sectionSizeHint(1)) +
                                 16);
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
    wholeLanguage_->setVisible(!language.isEmpty());
    const bool whole = showsWholeLanguage();
    using Kind = AppState::Word::Kind;
    knownList_->setWords(whole ? state.languageWords(Kind::known) : state.knownWords(),
                         state.knownWordsSortType, language);
    unwantedList_->setWords(whole ? state.languageWords(Kind::unwanted) : state.unwantedWords(),
                            SortType::alphabet, language);
    showMatches();
}

void RegisteredWordViewController::showMatches() {
    const QString query = searchField_->text().trimmed();
    const bool ignoreAccents = ignoreAccents_->isChecked();
    knownModel_->setWords(knownList_->matching(query, ignoreAccents));
    unwantedModel_->setWords(unwantedList_->matching(query, ignoreAccents));
    updateCount();
}

void RegisteredWordViewController::updateCount() {
    const bool known = selectedSegment() != 1;
    const qsizetype shown = (known ? knownModel_ : unwantedModel_)->words().size();
    const qsizetype total = (known ? knownList_ : unwantedList_)->words().size();
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
