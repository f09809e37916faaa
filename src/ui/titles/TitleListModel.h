#pragma once

#include "domain/Title.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

#include <memory>
#include <optional>

class AppModel;

// The rows of the title list: row 0 is the caption "Language", row r >= 1 is
// titles[r - 1]. It shows the list it was last reset with, so the rows stay
// put until the owner reloads them. Drags carry the dragged rows under an
// application-private type; a drop moves the first dragged title in the
// AppModel (which stores the new order) and tells the owner, which reloads.
class TitleListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // languageRole: the English name of the title's language, empty for none;
    // languageCodeRole: its ISO 639 code.
    enum Roles { isCaptionRole = Qt::UserRole + 1, languageRole, languageCodeRole };

    static const QString mimeType;

    explicit TitleListModel(std::shared_ptr<AppModel> model, QObject* parent = nullptr);

    // languages: the language code of each title that has one, by id.
    void reload(const QList<Title>& titles, const QHash<QUuid, QString>& languages = {});
    const QList<Title>& titles() const { return titles_; }

    // The title at titleIndex (row - 1) while the rows shown still match the
    // model's list there; nothing for a row of a list that has changed since.
    std::optional<Title> titleOnScreen(qint64 titleIndex) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    // Moves the first of the dragged rows (caption row counted) above beforeRow
    // (rowCount() for below the last row) and stores the new order; false
    // when the rows are not titles on screen or the place is above the caption.
    bool acceptDrop(const QList<int>& rows, int beforeRow);

    // The dragged rows of a payload, or an empty list when it is unreadable.
    static QList<int> decodeRows(const QMimeData* data);

Q_SIGNALS:
    // A drop moved a title; the rows shown are those from before it.
    void titleMoved();

private:
    // A drop "on" a row counts as a drop above it; on the empty area below
    // the rows, as a drop below the last row.
    int dropRow(int row, const QModelIndex& parent) const;
    // The language code of the title on a row; empty for none and the caption.
    QString languageCodeOf(int row) const;

    std::shared_ptr<AppModel> appModel_;
    QList<Title> titles_;
    QHash<QUuid, QString> languages_;
};
