#include "ui/triage/CustomTableView.h"

#include "ui/triage/CustomTableViewDelegate.h"

#include "base/StatusLine.h"
#include "ui/common/AccessibleItemView.h"
#include "ui/common/Media.h"

#include <QFile>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QUrl>

// The name of the sound players among the table's children.
static const QString soundPlayerName = QStringLiteral("soundPlayer");

// The resources live in a static library: nothing would pull them in.
static void initResources() {
    Q_INIT_RESOURCE(pramel);
}

CustomTableView::CustomTableView(QWidget* parent)
    : UniformRowView(parent) {
    AccessibleItemView::enableFor(this);
    initResources();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    // Fixed, uniform rows: a book's list of a million rows and more costs
    // nothing per row to show or to reset.
    setRowHeight(30);
}

CustomTableView::~CustomTableView() {
    // A player still sounding stops, and says so, when the children go, after
    // this table's own members: its signals must not reach it any more.
    for (QObject* player : findChildren<QObject*>(soundPlayerName, Qt::FindDirectChildrenOnly))
        player->disconnect(this);
}

qint64 CustomTableView::selectedRow() const {
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CustomTableView::selectOnlyRow(qint64 row, bool anew) {
    if (!model() || !selectionModel())
        return;
    const QModelIndex index = model()->index(int(row), 0);
    if (!index.isValid())
        return;
    const QScopedValueRollback byCode(selectingByCode_, true);
    if (anew && selectionModel()->currentIndex() == index)
        selectionModel()->clearCurrentIndex();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void CustomTableView::selectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    UniformRowView::selectionChanged(selected, deselected);
    // A row the user picked is the selected row from now on: the next update
    // from the state must not take it back.
    if (selectingByCode_)
        return;
    const qint64 row = selectedRow();
    if (row >= 0)
        if (delegate_)
            delegate_->selectionMoved(row);
}

// The selected row is drawn differently with and without the keyboard focus
// (SplitWordCell): the whole list repaints when the focus comes or goes.
void CustomTableView::focusInEvent(QFocusEvent* event) {
    UniformRowView::focusInEvent(event);
    viewport()->update();
}

void CustomTableView::focusOutEvent(QFocusEvent* event) {
    UniformRowView::focusOutEvent(event);
    viewport()->update();
}

void CustomTableView::keyPressEvent(QKeyEvent* event) {
    printStatus(QString::number(event->nativeScanCode()));
    const int key = event->key();
    if (key == Qt::Key_Return && (event->modifiers() & Qt::ControlModifier)) {
        printStatus(QStringLiteral("Command + Enter pressed"));
        if (delegate_)
            delegate_->commandReturnKeyPressed(selectedRow());
        return;
    }
    if (key == Qt::Key_Return) {
        if (delegate_)
            delegate_->returnKeyPressed(selectedRow());
        return;
    }
    // Unwanted has its own key: every Return without Ctrl means known.
    if (key == Qt::Key_U && (event->modifiers() & Qt::ControlModifier)) {
        if (delegate_)
            delegate_->unwantedKeyPressed(selectedRow());
        return;
    }
    if (key == Qt::Key_I && (event->modifiers() & Qt::ControlModifier)) {
        if (delegate_)
            delegate_->learnKeyPressed(selectedRow());
        return;
    }
    if (key == Qt::Key_Down) {
        moveSelectionDown();
        return;
    }
    if (key == Qt::Key_Up) {
        moveSelectionUp();
        return;
    }
    UniformRowView::keyPressEvent(event);
}

void CustomTableView::moveSelectionUp() {
    const qint64 r = selectedRow();
    if (r < 1)
        return;
    selectOnlyRow(r - 1);
    if (delegate_)
        delegate_->selectionMoved(r - 1);
    playSound(QStringLiteral("sound"));
}

void CustomTableView::moveSelectionDown() {
    const qint64 r = selectedRow();
    const qint64 n = model() ? model()->rowCount() : 0;
    if (r >= n - 1)
        return;
    selectOnlyRow(r + 1);
    if (delegate_)
        delegate_->selectionMoved(r + 1);
    playSound(QStringLiteral("sound"));
}

void CustomTableView::playSound(const QString& name) {
    const QString path = QStringLiteral(":/%1.wav").arg(name);
    if (!QFile::exists(path)) {
        printStatus(QStringLiteral("Sound file not found"));
        return;
    }
    // A new player for every sound. One player restarted press after press
    // falls silent after a few presses on PulseAudio; a fresh one is heard
    // every time, and costs little, as the decoded sound is cached. The new
    // sound cuts off the one before.
    QString missing;
    media::Module* media = mediaModule(&missing);
    if (!media) {
        printStatus(QStringLiteral("Error initializing audio player: ") + missing);
        Q_EMIT soundFailed();
        return;
    }
    // Stopping retires a player: walk a copy of the list.
    const QList<QObject*> previous = audioPlayers_;
    for (QObject* player : previous)
        media->stopSound(player);
    while (audioPlayers_.size() >= maxPlayers)
        delete audioPlayers_.takeFirst();

    QObject* player = media->newSound(
        QUrl(QStringLiteral("qrc") + path), this,
        [this, path](QObject* failed) {
            printStatus(QStringLiteral("Error initializing audio player: ") +
                        tr("cannot decode or play %1").arg(path));
            Q_EMIT soundFailed();
            retire(failed);
        },
        [this](QObject* ended) { retire(ended); });
    player->setObjectName(soundPlayerName);
    audioPlayers_.append(player);
    media->playSound(player); // starts as soon as the sound is loaded
    Q_EMIT soundRequested();
}

void CustomTableView::retire(QObject* player) {
    // Called from the player's own signals: it goes on the next turn.
    if (audioPlayers_.removeOne(player))
        player->deleteLater();
}
