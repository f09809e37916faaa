#pragma once

#include "domain/AppState.h"

#include <QAbstractTableModel>

// The registered words of one kind as a table: the word, and for the known
// list the "Date" column, when it was registered, in the user's locale.
class RegisteredWordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RegisteredWordTableModel(AppState::Word::Kind kind, QObject* parent = nullptr);

    AppState::Word::Kind kind() const { return kind_; }
    // Shows words; resets the views only when they differ from those shown.
    bool setWords(const QList<AppState::Word>& words);
    const QList<AppState::Word>& words() const { return words_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // A registration time as the Date column shows it.
    static QString dateText(const QDateTime& time);

private:
    AppState::Word::Kind kind_;
    QList<AppState::Word> words_;
};
