#pragma once

#include "core/ModelRoom.h"

#include <QSet>

class WordBatchProgress;
class StartUpLoad;
class TriageHistory;

// The titles: added, renamed, deleted, duplicated, moved, made current, and
// their languages.
class TitleList : public ModelRoom {
public:
    TitleList(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
              TriageHistory& history, WordBatchProgress& saves, QSet<QUuid>& unsortedLists);
    TitleList(const TitleList&) = delete;
    TitleList& operator=(const TitleList&) = delete;

    void addTitle(QString name);
    // language: empty for the one new titles start with.
    void addTitleWithText(QString name, QString text, QString language);
    void changeTitle(Title title, QString newName);
    void deleteTitle(QUuid id);
    void duplicateTitle(qint64 index);
    void moveTitle(qint64 from, qint64 to);
    void setCurrentTitle(Title title);

    void setTitleLanguage(QUuid titleId, QString language);
    // The language titles added from now on start with; empty: none.
    void setNewTitleLanguage(QString language) { newTitleLanguage_ = std::move(language); }
    const QString& newTitleLanguage() const { return newTitleLanguage_; }

private:
    StartUpLoad& load_;
    TriageHistory& history_;
    WordBatchProgress& saves_;
    QSet<QUuid>& unsortedLists_;
    QString newTitleLanguage_;
};
