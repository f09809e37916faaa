#include "ui/registered/RegisteredWordListView.h"

#include "ui/registered/RegisteredWordCell.h"
#include "ui/registered/RegisteredWordTableModel.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QShortcut>
#include <QTableView>

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
    header->resizeSection(1, dateColumnWidth(table_, 1));
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
    model_->setWords(list_.matching(query, ignoreAccents));
}

qsizetype RegisteredWordListView::shownCount() const {
    return model_->words().size();
}

void RegisteredWordListView::deleteWordShownAt(int row) {
    if (row < 0 || row >= model_->rowCount())
        return;
    Q_EMIT deleteRequested(model_->words().at(row).id);
}
