#include "ui/titles/TitleTableView.h"

#include "base/StatusLine.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

TitleTableView::TitleTableView(QWidget* parent)
    : QTableView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    // Tab leaves the list for the next control instead of choosing the next title.
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(24);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.row() >= 1)
            Q_EMIT rowChosen(index.row());
    });
}

int TitleTableView::selectedRow() const {
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TitleTableView::selectRowOnly(int row) {
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
}

void TitleTableView::mousePressEvent(QMouseEvent* event) {
    // The right button selects only through the context menu below.
    // The caption row is not a choice: pressing it leaves the selection as it
    // was.
    if (event->button() == Qt::RightButton ||
        (model() && indexAt(event->position().toPoint()).row() == 0)) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TitleTableView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void TitleTableView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (!model())
        return;
    if (event->reason() == QContextMenuEvent::Mouse)
        popUpMenu(rowAt(event->pos().y()), event->pos());
    else
        popUpMenuOfSelectedRow();
}

void TitleTableView::popUpMenuOfSelectedRow() {
    const int row = selectedRow();
    if (row >= 1)
        popUpMenu(row, visualRect(model()->index(row, 0)).center());
}

void TitleTableView::popUpMenu(int row, const QPoint& pos) {
    if (row < 1)
        return;
    printStatus(QStringLiteral("Right-clicked on row: %1").arg(row));
    selectRowOnly(row);

    if (contextMenu_)
        contextMenu_->close();
    auto* menu = new QMenu(tr("Context Menu"), this);
    menu->setObjectName(QStringLiteral("Context Menu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's row counts the caption; the commands take the title index.
    const qint64 titleIndex = row - 1;
    menu->addAction(tr("Duplicate"), this,
                    [this, titleIndex] { Q_EMIT duplicateTapAction(titleIndex); });
    menu->addAction(tr("Delete"), this, [this, titleIndex] { Q_EMIT deleteTapAction(titleIndex); });
    menu->addAction(tr("Edit"), this, [this, titleIndex] { Q_EMIT editTapAction(titleIndex); });
    menu->addAction(tr("Language\u2026"), this,
                    [this, titleIndex] { Q_EMIT languageTapAction(titleIndex); });
    connect(menu, &QMenu::aboutToHide, this, &TitleTableView::contextMenuClosed);
    contextMenu_ = menu; // a guarded pointer: it clears itself when the menu goes
    menu->popup(viewport()->mapToGlobal(pos));
}

void TitleTableView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // The keys of a context menu. Where the window system turns the Menu key
    // into a context menu event itself, that event comes first and the key
    // then goes to the open menu; it is taken here where it does not.
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (model() && ((key == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
                    (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier))) {
        event->accept();
        if (!contextMenu_ || !contextMenu_->isVisible())
            popUpMenuOfSelectedRow();
        return;
    }
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && model() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        event->accept();
        const int last = model()->rowCount() - 1;
        if (last < 1)
            return;
        const int current = selectedRow();
        int next;
        if (current < 1)
            next = key == Qt::Key_Down ? 1 : last;
        else
            next = qBound(1, current + (key == Qt::Key_Down ? 1 : -1), last);
        if (next == current)
            return;
        selectRowOnly(next);
        scrollTo(model()->index(next, 0));
        Q_EMIT rowChosen(next);
        return;
    }
    // Home, End and the page keys choose the row they land on, like Up and Down.
    const int before = selectedRow();
    QTableView::keyPressEvent(event);
    const int after = selectedRow();
    if (after >= 1 && after != before)
        Q_EMIT rowChosen(after);
}

namespace {
// The local files a drag from outside carries; none for the list's own rows.
QStringList droppedFiles(const QDropEvent* event, const QObject* self) {
    if (event->source() == self || !event->mimeData() || !event->mimeData()->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}
} // namespace

void TitleTableView::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedFiles(event, this).isEmpty()) {
        QTableView::dragEnterEvent(event);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TitleTableView::dragMoveEvent(QDragMoveEvent* event) {
    if (droppedFiles(event, this).isEmpty()) {
        QTableView::dragMoveEvent(event);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TitleTableView::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedFiles(event, this);
    if (paths.isEmpty()) {
        QTableView::dropEvent(event);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    Q_EMIT filesDropped(paths);
}
