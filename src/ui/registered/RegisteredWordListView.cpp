#include "ui/registered/RegisteredWordListView.h"

#include "ui/registered/RegisteredWordCell.h"
#include "ui/registered/RegisteredWordTableModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QShortcut>
#include <QTableView>

#include <algorithm>

namespace {
// The width of a Date column: a date and time of this locale (measured once:
// a list of thousands is not measured row by row), or its title.
int dateColumnWidth(QTableView* table, int column) {
    const QString sample =
        RegisteredWordTableModel::dateText(QDateTime(QDate(2028, 12, 28), QTime(23, 58, 58)));
    return qMax(table->fontMetrics().horizontalAdvance(sample),
                table->horizontalHeader()->sectionSizeHint(column)) +
           16;
}
} // namespace

RegisteredWordListView::RegisteredWordListView(AppState::Word::Kind kind, QTableView* table,
                                               QObject* parent)
    : QObject(parent)
    , table_(table) {
    model_ = new RegisteredWordTableModel(kind, parent);
    table_->setModel(model_);
    setUpColumns(kind);
    cell_ = new RegisteredWordCell(table_);
    table_->setItemDelegateForColumn(0, cell_);
    // The button deletes the word its row shows.
    connect(cell_, &RegisteredWordCell::deleteBtnTap, this,
            [this](const QModelIndex& index) { deleteWordShownAt(index.row()); });
    setUpDeleteKeys();
}

void RegisteredWordListView::setUpColumns(AppState::Word::Kind kind) {
    if (kind != AppState::Word::Kind::known) {
        table_->horizontalHeader()->setStretchLastSection(true);
        return;
    }
    // The Date column is as wide as a date and time of this locale (measured
    // once: a list of thousands is not measured row by row); the words get
    // the rest.
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    dateWidth_ = dateColumnWidth(table_, 1);
    fitDateColumn();
    table_->viewport()->installEventFilter(this);
}

void RegisteredWordListView::fitDateColumn() {
    // In the default window the pane is some 230 pixels wide: a whole date
    // and time left the word column room for its Delete button alone, and
    // every word read "…". The date is cut instead (its tooltip holds it).
    const int share = table_->viewport()->width() * 2 / 5;
    table_->horizontalHeader()->resizeSection(1, share > 0 ? qMin(dateWidth_, qMax(share, 40))
                                                           : dateWidth_);
}

bool RegisteredWordListView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == table_->viewport() && dateWidth_ > 0)
        fitDateColumn();
    return QObject::eventFilter(watched, event);
}

void RegisteredWordListView::setUpDeleteKeys() {
    // Delete (or Backspace) on the selected word does what its row's button
    // does; Edit ▸ Undo brings the word back. Shortcuts rather than actions:
    // the known list's context menu shows its actions, and holds "Edit" alone.
    for (const auto key : {Qt::Key_Delete, Qt::Key_Backspace}) {
        auto* remove =
            new QShortcut(QKeySequence(key), table_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(remove, &QShortcut::activated, this, [this] {
            const QModelIndexList rows = table_->selectionModel()->selectedRows();
            if (!rows.isEmpty())
                deleteWordShownAt(rows.first().row());
        });
    }
}

void RegisteredWordListView::setWords(const QList<AppState::Word>& words, SortType sortType,
                                      const QString& language) {
    list_.setWords(words, sortType, language);
}

void RegisteredWordListView::showMatches(const QString& query, bool ignoreAccents) {
    if (model_->setWords(list_.matching(query, ignoreAccents)))
        selectAfterDeletion();
}

qsizetype RegisteredWordListView::shownCount() const {
    return model_->words().size();
}

void RegisteredWordListView::deleteWordShownAt(int row) {
    if (row < 0 || row >= model_->rowCount())
        return;
    deletedId_ = model_->words().at(row).id;
    deletedRow_ = row;
    Q_EMIT deleteRequested(deletedId_);
}

void RegisteredWordListView::selectAfterDeletion() {
    if (deletedRow_ < 0)
        return;
    const QList<AppState::Word>& shown = model_->words();
    const bool gone = std::none_of(shown.cbegin(), shown.cend(),
                                   [&](const AppState::Word& w) { return w.id == deletedId_; });
    const int row = qMin(deletedRow_, int(shown.size()) - 1);
    // Whatever the list shows now, the deletion has been answered.
    deletedRow_ = -1;
    deletedId_ = QUuid();
    if (!gone || row < 0)
        return;
    table_->selectionModel()->setCurrentIndex(
        model_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->scrollTo(model_->index(row, 0));
}
