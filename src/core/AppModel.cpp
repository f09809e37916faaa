#include "core/AppModel.h"

#include "core/Archive.h"
#include "core/StartUpLoad.h"
#include "core/TextAndSplit.h"
#include "core/TitleList.h"
#include "core/Triage.h"
#include "core/TriageHistory.h"
#include "core/UseCases.h"
#include "core/WordBatchProgress.h"

AppModel::AppModel(AppState initial, UseCases useCases)
    : state_(std::move(initial))
    , useCases_(std::make_unique<const UseCases>(std::move(useCases)))
    , saves_(std::make_unique<WordBatchProgress>(state_, *useCases_))
    , startUp_(std::make_unique<StartUpLoad>(state_, *useCases_, *saves_))
    , triage_(std::make_unique<Triage>(state_, *useCases_, *startUp_, unsortedLists_))
    , history_(std::make_unique<TriageHistory>(state_, *useCases_, *triage_, historyLimit))
    , text_(std::make_unique<TextAndSplit>(state_, *useCases_, *startUp_, *history_))
    , titles_(std::make_unique<TitleList>(state_, *useCases_, *startUp_, *history_, *saves_,
                                          unsortedLists_))
    , archive_(std::make_unique<Archive>(state_, *useCases_, *startUp_, *text_, *history_, *saves_,
                                         unsortedLists_))
    , reviews_(std::make_unique<Reviews>(state_, *useCases_, *triage_)) {}

AppModel::~AppModel() = default;

// Start-up load.

void AppModel::load() {
    startUp_->load();
}

std::function<QString()> AppModel::readStartTextAhead() {
    return startUp_->readStartTextAhead();
}

void AppModel::startAt(QUuid titleId, qint64 row) {
    startUp_->startAt(titleId, row);
}

void AppModel::loadForStartUp(bool later) {
    startUp_->loadForStartUp(later);
}

void AppModel::continueLoading() {
    startUp_->continueLoading();
}

bool AppModel::isLoading() const {
    return startUp_->isLoading();
}

bool AppModel::hasLoaded() const {
    return startUp_->hasLoaded();
}

// Text and split.

void AppModel::saveText(QString text) {
    text_->saveText(std::move(text));
}

quint64 AppModel::editText(qint64 position, qint64 removed, QString added) {
    return text_->editText(position, removed, std::move(added));
}

void AppModel::saveTypedText() {
    text_->saveTypedText();
}

QString AppModel::currentText() const {
    return text_->currentText();
}

quint64 AppModel::currentTextRevision() const {
    return text_->currentTextRevision();
}

void AppModel::splitWords() {
    text_->splitWords();
}

void AppModel::splitWordsInBackground(std::function<void()> done) {
    text_->splitWordsInBackground(std::move(done));
}

bool AppModel::isSplitting() const {
    return text_->isSplitting();
}

// Triage, each step kept in the current title's history.

void AppModel::registerWord(QString word, AppState::Word::Kind kind, qint64 row) {
    const AppState::Word newWord{word, QUuid::createUuid(), kind, QDateTime::currentDateTimeUtc()};
    history_->record(triage_->registerWordStep(word, row, newWord));
}

void AppModel::removeTemporarily(QString word, qint64 row) {
    history_->record(triage_->removeTemporarilyStep(word, row));
}

void AppModel::markRemainingWordsKnown() {
    if (isSplitting() || remainingWordCount() == 0)
        return;
    history_->record(triage_->remainingKnownStep({}));
    saves_->refresh();
}

qsizetype AppModel::remainingWordCount() const {
    return state().currentSplitList().foldedWordCount();
}

void AppModel::deleteWord(QUuid id) {
    if (auto step = triage_->deleteWordStep(id))
        history_->record(std::move(*step));
}

void AppModel::deleteWordOfAnyTitle(QUuid id) {
    triage_->deleteWordOfAnyTitle(id);
}

void AppModel::learnWord(QString word, qint64 row, QString sentence) {
    const LearningWord learning{QUuid::createUuid(),
                                state().currentTitle.id,
                                word,
                                std::move(sentence),
                                LearningWord::minLevel,
                                QString(),
                                QDateTime::currentDateTimeUtc()};
    history_->record(triage_->learnWordStep(word, row, learning));
}

void AppModel::promoteLearningWord(QUuid id) {
    if (auto step = triage_->promoteLearningWord(id))
        history_->record(std::move(*step));
}

QList<QUuid> AppModel::dueLearningWords(bool everyLanguage) {
    reviews_->read();
    return reviews_->due(everyLanguage, QDateTime::currentDateTimeUtc());
}

std::optional<Reviews::Answer> AppModel::answerReview(QUuid id, ReviewSchedule::Grade grade) {
    return reviews_->answer(id, grade, QDateTime::currentDateTimeUtc());
}

void AppModel::takeBackReview(const Reviews::Answer& answer) {
    reviews_->takeBack(answer);
}

void AppModel::dropLearningWord(QUuid id) {
    triage_->dropLearningWord(id);
}

void AppModel::setLearningLevel(QUuid id, int level) {
    triage_->setLearningLevel(id, level);
}

void AppModel::setLearningMeaning(QUuid id, QString meaning) {
    triage_->setLearningMeaning(id, std::move(meaning));
}

// The undo history; a split running takes no step back or again.

std::optional<AppModel::TriageStep> AppModel::undoStep() const {
    return history_->undoStep();
}

std::optional<AppModel::TriageStep> AppModel::redoStep() const {
    return history_->redoStep();
}

void AppModel::undo() {
    if (isSplitting())
        return;
    history_->undo();
}

void AppModel::redo() {
    if (isSplitting())
        return;
    history_->redo();
}

// Titles.

void AppModel::setTitleLanguage(QUuid titleId, QString language) {
    titles_->setTitleLanguage(titleId, std::move(language));
}

void AppModel::setNewTitleLanguage(QString language) {
    titles_->setNewTitleLanguage(std::move(language));
}

const QString& AppModel::newTitleLanguage() const {
    return titles_->newTitleLanguage();
}

void AppModel::setKnownWordsSortType(SortType sortType) {
    if (state().knownWordsSortType == sortType)
        return;
    modifyAppState([&](AppState& s) { s.knownWordsSortType = sortType; });
}

void AppModel::setCountsForms(const QString& language, bool on) {
    if (language.isEmpty() || state().countsForms(language) == on)
        return;
    modifyAppState([&](AppState& s) {
        if (on)
            s.formsApart.remove(language);
        else
            s.formsApart.insert(language);
    });
}

void AppModel::addTitle(QString name) {
    titles_->addTitle(std::move(name));
}

void AppModel::addTitleWithText(QString name, QString text, QString language) {
    titles_->addTitleWithText(std::move(name), std::move(text), std::move(language));
}

void AppModel::changeTitle(Title title, QString newName) {
    titles_->changeTitle(std::move(title), std::move(newName));
}

void AppModel::deleteTitle(QUuid id) {
    titles_->deleteTitle(id);
}

void AppModel::duplicateTitle(qint64 index) {
    titles_->duplicateTitle(index);
}

void AppModel::moveTitle(qint64 from, qint64 to) {
    titles_->moveTitle(from, to);
}

void AppModel::setCurrentTitle(Title title) {
    titles_->setCurrentTitle(std::move(title));
}

void AppModel::setLastSelectedRow(qint64 row) {
    modifyAppState([&](AppState& s) { s.lastSelectedRow = row; });
}

// CSV export and restore, backups, the close of the store.

QList<QStringList> AppModel::exportCSV() {
    return archive_->exportCSV();
}

void AppModel::restore(QList<TitleAndWordList> incoming, QString source) {
    archive_->restore(std::move(incoming), std::move(source));
}

AppModel::RestorePreview AppModel::previewRestore(const QList<TitleAndWordList>& incoming) {
    return archive_->previewRestore(incoming);
}

QString AppModel::closeStore() {
    return archive_->closeStore();
}

BackupOutcome AppModel::backUpStore(const BackupReason& reason) const {
    return archive_->backUpStore(reason);
}

QList<BackupInfo> AppModel::backups() const {
    return archive_->backups();
}

QString AppModel::checkBackup(const QString& path, BackupInfo* info) const {
    return archive_->checkBackup(path, info);
}

QString AppModel::restoreBackup(const QString& path) {
    return archive_->restoreBackup(path);
}

// Background saves.

const AppModel::BackgroundSaves& AppModel::backgroundSaves() const {
    return saves_->value();
}

Subscription
AppModel::subscribeBackgroundSaves(std::function<void(const BackgroundSaves&)> callback) {
    return saves_->subscribe(std::move(callback));
}

void AppModel::refreshBackgroundSaves() {
    saves_->refresh();
}

void AppModel::waitForBackgroundSaves() {
    saves_->waitForAll();
}
