#pragma once

#include <QAbstractTableModel>
#include <QStringList>

// The split list as a one-column table. The list is held as the state holds
// it (implicitly shared), so showing a new state costs no copy.
class SplitWordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SplitWordTableModel(QObject* parent = nullptr);

    // Shows words; resets the views only when the list differs from the one
    // shown. Returns whether it did.
    bool setWords(const QStringList& words);
    const QStringList& words() const { return words_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QStringList words_;
};
