#pragma once

#include "domain/SplitList.h"

#include <QAbstractTableModel>

// The split list as a one-column table. The list is held as the state holds
// it (its rows shared, not copied), so showing a new state costs no copy.
class SplitWordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SplitWordTableModel(QObject* parent = nullptr);

    // Shows words; resets the views only when the list differs from the one
    // shown. Returns whether it did.
    bool setWords(const SplitList& words);
    const SplitList& words() const { return words_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    SplitList words_;
};
