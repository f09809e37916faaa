#include "ui/triage/SplitWordTableModel.h"

#include "domain/TextCompare.h"

#include <algorithm>

SplitWordTableModel::SplitWordTableModel(QObject* parent)
    : QAbstractTableModel(parent) {}

bool SplitWordTableModel::setWords(const SplitList& words) {
    // Most publications leave the list alone and hand back the same list;
    // comparing two copies of one split costs nothing.
    if (words == words_) {
        words_ = words;
        return false;
    }
    const qsizetype rowsBefore = rowCount();
    const qsizetype rowsAfter = oneRowPerWord_ ? words.foldedWordCount() : words.size();
    if (rowsBefore > manyRows && rowsAfter > 0) {
        // A reset makes Qt's header build an item for each row anew, and a
        // removal of rows here and there asks each row that stays whether it
        // is hidden: 5 ms each for a book's 1.5 million rows, in the frame
        // of a Return. Told instead that rows went from (or came to) the end
        // and that every row's data changed, it only drops or adds those.
        const int columns = columnCount();
        if (rowsAfter < rowsBefore) {
            beginRemoveRows(QModelIndex(), int(rowsAfter), int(rowsBefore - 1));
            words_ = words;
            countRows();
            endRemoveRows();
        } else if (rowsAfter > rowsBefore) {
            beginInsertRows(QModelIndex(), int(rowsBefore), int(rowsAfter - 1));
            words_ = words;
            countRows();
            endInsertRows();
        } else {
            words_ = words;
            countRows();
        }
        Q_EMIT dataChanged(index(0, 0), index(int(rowsAfter - 1), columns - 1));
        return true;
    }
    beginResetModel();
    words_ = words;
    countRows();
    endResetModel();
    return true;
}

void SplitWordTableModel::setOneRowPerWord(bool on) {
    if (on == oneRowPerWord_)
        return;
    beginResetModel();
    oneRowPerWord_ = on;
    countRows();
    endResetModel();
}

void SplitWordTableModel::countRows() {
    familyRows_.clear();
    tableRowOfFamily_.clear();
    if (!oneRowPerWord_) {
        firstRows_.clear();
        return;
    }
    rowFamilies_ =
        familiesLanguage_.isEmpty() ? nullptr : SplitFamilies::of(words_, familiesLanguage_, false);
    if (rowFamilies_) {
        if (rowFamilies_->groups()) {
            const auto rows = words_.firstRowsOfFamilies(rowFamilies_->familyOfGroup(),
                                                         rowFamilies_->familyCount());
            firstRows_.clear();
            firstRows_.reserve(rows.size());
            familyRows_.reserve(rows.size());
            tableRowOfFamily_.assign(rowFamilies_->familyCount(), -1);
            for (const SplitList::FamilyRow& row : rows) {
                tableRowOfFamily_[row.family] = qsizetype(firstRows_.size());
                firstRows_.push_back(row.row);
                familyRows_.push_back(row.rows);
            }
            return;
        }
    }
    firstRows_ = words_.firstRowsOfWords();
}

qsizetype SplitWordTableModel::shownListRow(qsizetype listRow) const {
    if (!oneRowPerWord_ || listRow < 0 || listRow >= words_.size())
        return listRow;
    if (familyRows_.empty())
        return words_.firstRowOfFolded(listRow);
    const qsizetype group = words_.groupOfRow(listRow);
    const auto& familyOf = rowFamilies_->familyOfGroup();
    if (group < 0 || group >= qsizetype(familyOf.size()))
        return listRow;
    const qsizetype row = tableRowOfFamily_[familyOf[group]];
    return row < 0 ? listRow : firstRows_[row];
}

qsizetype SplitWordTableModel::listRow(qsizetype tableRow) const {
    if (!oneRowPerWord_)
        return tableRow;
    if (tableRow < 0 || tableRow >= qsizetype(firstRows_.size()))
        return -1;
    return firstRows_[tableRow];
}

qsizetype SplitWordTableModel::tableRow(qsizetype listRow) const {
    if (!oneRowPerWord_ || listRow < 0)
        return listRow;
    const auto at = std::lower_bound(firstRows_.cbegin(), firstRows_.cend(), listRow);
    return at == firstRows_.cend() ? -1 : at - firstRows_.cbegin();
}

bool SplitWordTableModel::setFamilies(const QString& language) {
    if (language == familiesLanguage_)
        return false;
    if (oneRowPerWord_)
        beginResetModel();
    familiesLanguage_ = language;
    families_ = WordFamilies(language);
    if (oneRowPerWord_) {
        countRows();
        endResetModel();
    }
    return true;
}

bool SplitWordTableModel::familiesPending() const {
    return !familiesLanguage_.isEmpty() && SplitFamilies::isPending(words_, familiesLanguage_);
}

bool SplitWordTableModel::familiesNumbered() {
    if (!oneRowPerWord_ || familiesLanguage_.isEmpty() ||
        SplitFamilies::of(words_, familiesLanguage_, false) == rowFamilies_)
        return false;
    beginResetModel();
    countRows();
    endResetModel();
    return true;
}

void SplitWordTableModel::setTextSource(std::function<QString()> source) {
    textSource_ = std::move(source);
    sentences_.clear();
    Q_EMIT sentencesChanged();
}

void SplitWordTableModel::setTextRevision(quint64 revision) {
    if (revision == textRevision_)
        return;
    textRevision_ = revision;
    sentences_.clear();
    Q_EMIT sentencesChanged();
}

std::optional<SentenceAround> SplitWordTableModel::sentence(qsizetype row) const {
    if (row < 0 || row >= words_.size())
        return std::nullopt;
    const qint64 start = words_.startAt(row);
    if (start < 0)
        return std::nullopt;
    auto found = sentences_.constFind(start);
    if (found == sentences_.cend()) {
        if (sentences_.size() >= sentencesKept)
            sentences_.clear();
        found = sentences_.insert(start, SentenceAround::find(text(), start, words_.at(row)));
    }
    return *found;
}

int SplitWordTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return int(oneRowPerWord_ ? qsizetype(firstRows_.size()) : words_.size());
}

int SplitWordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant SplitWordTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const qsizetype row = listRow(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return words_.at(row);
    if (role == Qt::ToolTipRole) {
        const auto found = sentence(row);
        return found ? found->whole : words_.at(row);
    }
    if (role == familyHeadRole) {
        if (!families_.hasFamilies())
            return {};
        const QString word = words_.at(row);
        const QString head = families_.headIfLoaded(word);
        if (text::foldedEqual(head, word))
            return {};
        return head;
    }
    if (role == occurrencesRole) {
        if (!oneRowPerWord_)
            return qint64(0);
        if (!familyRows_.empty())
            return qint64(familyRows_[index.row()]);
        return qint64(words_.occurrencesOfFolded(row));
    }
    if (role == sentenceRole) {
        const auto found = sentence(row);
        if (!found)
            return {};
        return QStringList{found->before, found->word, found->after};
    }
    if (role == Qt::AccessibleDescriptionRole)
        return tr("Return: known; Ctrl+U: unwanted; Ctrl+Return: set aside until the next split");
    return {};
}

Qt::ItemFlags SplitWordTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
