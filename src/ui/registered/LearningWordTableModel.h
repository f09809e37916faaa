#pragma once

#include "domain/LearningWord.h"

#include <QAbstractTableModel>
#include <QUuid>

// The learning words as a table: the word, its level, the meaning the
// learner wrote (edited in place), the sentence it was met in (elided in
// the cell, whole in its tooltip) and when it was learned.
class LearningWordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // A learning date as the Date column shows it: the day, short.
    static QString shortDate(const QDateTime& time);
    enum Column { wordColumn, levelColumn, meaningColumn, sentenceColumn, dateColumn, columns };

    explicit LearningWordTableModel(QObject* parent = nullptr);

    // Shows words. The same words in the same order (a new level or meaning)
    // change their rows in place, so that a view keeps its selection, its
    // scroll position and an editor it has open; other words reset the
    // views. Returns whether they were reset.
    bool setWords(const QList<LearningWord>& words);
    const QList<LearningWord>& words() const { return words_; }
    // The row that shows the word with the id, or -1.
    int rowOf(const QUuid& id) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The meaning column takes a new meaning (trimmed), shows it at once and
    // hands it on as meaningEdited.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

Q_SIGNALS:
    void meaningEdited(const QUuid& id, const QString& meaning);

private:
    QList<LearningWord> words_;
};
