#include "ui/registered/LearningWordTableModel.h"

#include "ui/registered/RegisteredWordTableModel.h"

#include <QLocale>

#include <utility>

LearningWordTableModel::LearningWordTableModel(QObject* parent)
    : QAbstractTableModel(parent) {}

namespace {
bool sameShown(const LearningWord& a, const LearningWord& b) {
    return a.level == b.level && a.wordText == b.wordText && a.meaning == b.meaning &&
           a.sentence == b.sentence && a.timestamp == b.timestamp;
}
} // namespace

bool LearningWordTableModel::setWords(const QList<LearningWord>& words) {
    bool sameRows = words.size() == words_.size();
    for (qsizetype i = 0; sameRows && i < words.size(); ++i)
        sameRows = words[i].id == words_[i].id;
    if (!sameRows) {
        beginResetModel();
        words_ = words;
        endResetModel();
        return true;
    }
    // A signal per changed row: a change across rows would not tell the
    // view which editor to leave alone.
    const QList<LearningWord> before = std::exchange(words_, words);
    for (qsizetype i = 0; i < words_.size(); ++i) {
        if (!sameShown(before[i], words_[i]))
            Q_EMIT dataChanged(index(int(i), 0), index(int(i), columns - 1));
    }
    return false;
}

int LearningWordTableModel::rowOf(const QUuid& id) const {
    for (qsizetype i = 0; i < words_.size(); ++i) {
        if (words_[i].id == id)
            return int(i);
    }
    return -1;
}

int LearningWordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(words_.size());
}

int LearningWordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant LearningWordTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LearningWord& word = words_.at(index.row());
    switch (index.column()) {
    case wordColumn:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
            return word.wordText;
        if (role == Qt::AccessibleDescriptionRole)
            return tr("Learning word");
        break;
    case levelColumn:
        if (role == Qt::DisplayRole)
            return QLocale().toString(word.level);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
            return tr("Level %1 of %2").arg(word.level).arg(LearningWord::maxLevel);
        if (role == Qt::AccessibleDescriptionRole)
            return tr("How well you know the word; keys 1 to 5 set it");
        break;
    case meaningColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return word.meaning;
        if (role == Qt::ToolTipRole)
            return word.meaning.isEmpty() ? tr("F2 or a double-click writes the meaning")
                                          : word.meaning;
        if (role == Qt::AccessibleTextRole)
            return word.meaning.isEmpty() ? tr("No meaning") : word.meaning;
        if (role == Qt::AccessibleDescriptionRole)
            return tr("Meaning; F2 edits it");
        break;
    case sentenceColumn:
        // One line in the cell, elided by the view; the whole sentence,
        // wrapped, in the tooltip (rich text wraps, plain text would not).
        if (role == Qt::DisplayRole)
            return word.sentence.simplified();
        if (role == Qt::ToolTipRole && !word.sentence.isEmpty())
            return QStringLiteral("<p>%1</p>").arg(word.sentence.toHtmlEscaped());
        if (role == Qt::AccessibleTextRole)
            return word.sentence.isEmpty() ? tr("No sentence") : word.sentence.simplified();
        if (role == Qt::AccessibleDescriptionRole)
            return tr("The sentence the word was learned from");
        break;
    case dateColumn:
        // The day alone, so that the sentence keeps room; the time in the tip.
        if (role == Qt::DisplayRole)
            return shortDate(word.timestamp);
        if (role == Qt::AccessibleTextRole)
            return RegisteredWordTableModel::dateText(word.timestamp);
        if (role == Qt::ToolTipRole)
            return QLocale().toString(word.timestamp.toLocalTime(), QLocale::LongFormat);
        if (role == Qt::AccessibleDescriptionRole)
            return tr("Learned on");
        break;
    default:
        break;
    }
    return {};
}

QVariant LearningWordTableModel::headerData(int section, Qt::Orientation orientation,
                                            int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case wordColumn:
        return tr("Word");
    case levelColumn:
        return tr("Level");
    case meaningColumn:
        return tr("Meaning");
    case sentenceColumn:
        return tr("Sentence");
    case dateColumn:
        return tr("Date");
    default:
        return {};
    }
}

Qt::ItemFlags LearningWordTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == meaningColumn ? flags | Qt::ItemIsEditable : flags;
}

bool LearningWordTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != meaningColumn ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    LearningWord& word = words_[index.row()];
    const QString meaning = value.toString().trimmed();
    if (meaning == word.meaning)
        return true;
    word.meaning = meaning;
    Q_EMIT dataChanged(index, index);
    Q_EMIT meaningEdited(word.id, meaning);
    return true;
}

QString LearningWordTableModel::shortDate(const QDateTime& time) {
    return QLocale().toString(time.toLocalTime().date(), QLocale::ShortFormat);
}
