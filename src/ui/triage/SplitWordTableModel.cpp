#include "ui/triage/SplitWordTableModel.h"

SplitWordTableModel::SplitWordTableModel(QObject* parent)
    : QAbstractTableModel(parent) {}

bool SplitWordTableModel::setWords(const SplitList& words) {
    // Most publications leave the list alone and hand back the same list;
    // comparing two copies of one split costs nothing.
    if (words == words_) {
        words_ = words;
        return false;
    }
    beginResetModel();
    words_ = words;
    endResetModel();
    return true;
}

int SplitWordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(words_.size());
}

int SplitWordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant SplitWordTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
        return words_.at(index.row());
    if (role == Qt::AccessibleDescriptionRole)
        return tr("Return: known; Ctrl+U: unwanted; Ctrl+Return: set aside until the next split");
    return {};
}

Qt::ItemFlags SplitWordTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
