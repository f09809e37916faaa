#include "ui/registered/WordTable.h"

#include "ui/common/AccessibleItemView.h"
#include "ui/registered/PlainTextCell.h"

#include <QHeaderView>
#include <QTableView>

namespace {
constexpr int wordRowHeight = 25;
} // namespace

QTableView* WordTable::make(const QString& objectName, const QString& accessibleName,
                            const QString& accessibleDescription) {
    auto* table = new QTableView;
    AccessibleItemView::enableFor(table);
    table->setObjectName(objectName);
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
    table->verticalHeader()->setDefaultSectionSize(wordRowHeight);
    table->horizontalHeader()->setHighlightSections(false);
    table->setItemDelegate(new PlainTextCell(table));
    table->setAccessibleName(accessibleName);
    table->setAccessibleDescription(accessibleDescription);
    return table;
}
