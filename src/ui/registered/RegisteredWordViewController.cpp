#include "ui/registered/RegisteredWordViewController.h"

#include "base/StatusLine.h"
#include "core/ViewModelFactory.h"
#include "ui/common/AccessibleItemView.h"
#include "ui/registered/RegisteredWordCell.h"
#include "ui/registered/RegisteredWordTableModel.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

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
    , appModel_(std::move(model)) {
    makeSegmentedControl();
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
    // The Date column stays empty: it takes no more room than its title, and
    // the words get the rest.
    knownWordTableView_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    knownWordTableView_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
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
                      table->horizontalHeader()->sectionSizeHint(1) + 2 * table->frameWidth() +
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

void RegisteredWordViewController::updateFromState() {
    const AppState& state = appModel_->state();
    knownModel_->setWords(state.knownWords());
    unwantedModel_->setWords(state.unwantedWords());
}

void RegisteredWordViewController::segmentedControlChanged(int segment) {
    printStatus(QStringLiteral("Segment ") + QString::number(segment) +
                QStringLiteral(" selected"));
    // The list follows the selected segment, so that clicking the segment
    // already selected leaves the list as it is.
    knownWordTableView_->setVisible(segment == 0);
    unwantedWordTableView_->setVisible(segment == 1);
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
    appModel_->deleteWord(model->words().at(row).id);
}
