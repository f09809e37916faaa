#include "ui/titles/TitleListModel.h"

#include "base/StatusLine.h"
#include "core/AppModel.h"
#include "ui/common/LanguageChoices.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

#include <algorithm>

const QString TitleListModel::mimeType = QStringLiteral("application/x-pramel-title-rows");

TitleListModel::TitleListModel(std::shared_ptr<AppModel> model, QObject* parent)
    : QAbstractTableModel(parent)
    , appModel_(std::move(model)) {}

void TitleListModel::reload(const QList<Title>& titles, const QHash<QUuid, QString>& languages) {
    beginResetModel();
    titles_ = titles;
    languages_ = languages;
    endResetModel();
}

std::optional<Title> TitleListModel::titleOnScreen(qint64 titleIndex) const {
    const QList<Title> titles = appModel_->state().titles();
    if (titleIndex < 0 || titleIndex >= titles.size() || titleIndex >= titles_.size())
        return std::nullopt;
    if (titles.at(titleIndex).id != titles_.at(titleIndex).id)
        return std::nullopt;
    return titles.at(titleIndex);
}

int TitleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(titles_.size()) + 1;
}

int TitleListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant TitleListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return row == 0 ? tr("Language") : titles_.at(row - 1).title;
    case Qt::ToolTipRole: {
        if (row == 0)
            return {};
        // The row may show only the language's code.
        const QString language = LanguageChoices::nameOf(languageCodeOf(row));
        return language.isEmpty() ? titles_.at(row - 1).title
                                  : tr("%1 (%2)").arg(titles_.at(row - 1).title, language);
    }
    case Qt::AccessibleTextRole:
        return row == 0 ? tr("Language") : titles_.at(row - 1).title;
    case Qt::AccessibleDescriptionRole: {
        if (row == 0)
            return tr("The caption of the title list");
        const QString language = LanguageChoices::nameOf(languageCodeOf(row));
        return language.isEmpty()
                   ? tr("A title; the menu key offers Duplicate, Delete, Edit and Language")
                   : tr("A title in %1; the menu key offers Duplicate, Delete, Edit and Language")
                         .arg(language);
    }
    case isCaptionRole:
        return row == 0;
    case languageRole:
        return LanguageChoices::nameOf(languageCodeOf(row));
    case languageCodeRole:
        return languageCodeOf(row);
    default:
        return {};
    }
}

Qt::ItemFlags TitleListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    // The caption is neither a choice nor something to drag; keeping it
    // disabled also makes the keyboard skip it.
    if (index.row() == 0)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QStringList TitleListModel::mimeTypes() const {
    return {mimeType};
}

QMimeData* TitleListModel::mimeData(const QModelIndexList& indexes) const {
    QList<int> rows;
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && !rows.contains(index.row()))
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << rows;
    auto* data = new QMimeData;
    data->setData(mimeType, bytes);
    return data;
}

Qt::DropActions TitleListModel::supportedDropActions() const {
    return Qt::MoveAction;
}
Qt::DropActions TitleListModel::supportedDragActions() const {
    return Qt::MoveAction;
}

QList<int> TitleListModel::decodeRows(const QMimeData* data) {
    if (!data || !data->hasFormat(mimeType))
        return {};
    QDataStream in(data->data(mimeType));
    QList<int> rows;
    in >> rows;
    if (in.status() != QDataStream::Ok)
        return {};
    return rows;
}

int TitleListModel::dropRow(int row, const QModelIndex& parent) const {
    if (row >= 0)
        return row;
    return parent.isValid() ? parent.row() : rowCount();
}

bool TitleListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                     const QModelIndex& parent) const {
    if (action != Qt::MoveAction || !data || !data->hasFormat(mimeType))
        return false;
    // Nothing may land above the caption row.
    return dropRow(row, parent) >= 1;
}

bool TitleListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                  const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    return acceptDrop(decodeRows(data), dropRow(row, parent));
}

bool TitleListModel::acceptDrop(const QList<int>& rows, int beforeRow) {
    if (rows.isEmpty())
        return false;
    // Only the first dragged row moves.
    const int from = *std::min_element(rows.begin(), rows.end()) - 1;
    const int to = beforeRow - 1;
    const qsizetype count = appModel_->state().listOfTitleAndWordList.size();
    // The caption row is no title, and nothing can land above it; rows from a
    // list that has changed since they were shown are not trusted either.
    if (from < 0 || to < 0 || to > count || !titleOnScreen(from))
        return false;

    const Title dragged = appModel_->state().listOfTitleAndWordList.at(from).title;
    printStatus(QStringLiteral("Dragged is %1 %2").arg(from).arg(dragged.title));
    printStatus(QStringLiteral("Row is %1").arg(to));
    appModel_->moveTitle(from, to);
    Q_EMIT titleMoved();
    return true;
}

QString TitleListModel::languageCodeOf(int row) const {
    if (row < 1 || row > titles_.size())
        return {};
    return languages_.value(titles_.at(row - 1).id);
}
