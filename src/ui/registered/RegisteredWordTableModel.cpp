#include "ui/registered/RegisteredWordTableModel.h"

#include <QLocale>

RegisteredWordTableModel::RegisteredWordTableModel(AppState::Word::Kind kind, QObject* parent)
    : QAbstractTableModel(parent)
    , kind_(kind) {}

namespace {
bool sameWords(const QList<AppState::Word>& a, const QList<AppState::Word>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].id != b[i].id || a[i].wordText != b[i].wordText)
            return false;
    }
    return true;
}
} // namespace

bool RegisteredWordTableModel::setWords(const QList<AppState::Word>& words) {
    if (sameWords(words, words_)) {
        words_ = words;
        return false;
    }
    beginResetModel();
    words_ = words;
    endResetModel();
    return true;
}

int RegisteredWordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(words_.size());
}

int RegisteredWordTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return kind_ == AppState::Word::Kind::known ? 2 : 1;
}

QVariant RegisteredWordTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const AppState::Word& word = words_.at(index.row());
    if (index.column() == 1) {
        // A screen reader hears the date as the screen shows it.
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return dateText(word.timestamp);
        if (role == Qt::ToolTipRole)
            return QLocale().toString(word.timestamp.toLocalTime(), QLocale::LongFormat);
        if (role == Qt::AccessibleDescriptionRole)
            return tr("Registered on");
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
        return word.wordText;
    if (role == Qt::AccessibleDescriptionRole)
        return kind_ == AppState::Word::Kind::known ? tr("Known word") : tr("Unwanted word");
    return {};
}

QVariant RegisteredWordTableModel::headerData(int section, Qt::Orientation orientation,
                                              int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (kind_ == AppState::Word::Kind::unwanted)
        return section == 0 ? tr("Unwanted") : QVariant();
    if (section == 0)
        return tr("Known");
    if (section == 1)
        return tr("Date");
    return {};
}

QString RegisteredWordTableModel::dateText(const QDateTime& time) {
    return QLocale().toString(time.toLocalTime(), QLocale::ShortFormat);
}

Qt::ItemFlags RegisteredWordTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
