#include "ModelTestSupport.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "persistence/SaveWordsCommandHandler.h"

#include <QtTest>

using Kind = AppState::Word::Kind;

namespace {

LanguageState languageStateOf(const AppState& s, const QUuid& id) {
    for (auto it = s.languageStateList.constBegin(); it != s.languageStateList.constEnd(); ++it) {
        if (it.key().id == id)
            return it.value();
    }
    return {};
}

} // namespace

// Titles of one language share their registered words when split; a title
// without a language keeps to its own, as always.
class LanguagesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;

    // Adds a title of a language (empty: none), makes it current with text,
    // and splits it.
    Title addTitle(const QString& name, const QString& language, const QString& text) {
        model_->addTitle(name);
        const Title title = model_->state().listOfTitleAndWordList.last().title;
        model_->setTitleLanguage(title.id, language);
        model_->setCurrentTitle(title);
        model_->saveText(text);
        model_->splitWords();
        return title;
    }
    // Registers a word of the current title's split list.
    void registerWord(const QString& word, Kind kind) {
        const SplitList list = splitListOf(model_->state().currentTitle.id);
        const qsizetype row = list.indexOf(word);
        QVERIFY2(row >= 0, qPrintable(word));
        model_->registerWord(word, kind, row);
    }
    SplitList splitListOf(const QUuid& id) const {
        return languageStateOf(model_->state(), id).splittedWords;
    }
    void splitInBackground() {
        bool done = false;
        model_->splitWordsInBackground([&] { done = true; });
        QTRY_VERIFY(done);
    }

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        model_ = ViewModelFactory::storeBackedModel();
        model_->load();
    }
    void cleanup() {
        SaveWordsCommandHandler::waitForPendingSaves();
        model_.reset();
        store_.reset();
    }

    void languagesSurviveARestart() {
        const Title a = addTitle("A", "ja", "");
        const Title b = addTitle("B", "th", "");
        const Title c = addTitle("C", "", "");
        model_->setTitleLanguage(b.id, QString());
        model_->setTitleLanguage(c.id, "zh");
        const QHash<QUuid, QString> expected{{a.id, "ja"}, {c.id, "zh"}};
        QCOMPARE(model_->state().titleLanguages, expected);
        QCOMPARE(restartedModel()->state().titleLanguages, expected);
        // The window's start has them all with the first title.
        auto quick = ViewModelFactory::shared().makeAppModel();
        quick->loadForStartUp();
        QCOMPARE(quick->state().titleLanguages, expected);
        QTRY_VERIFY(!quick->isLoading());
        // An unknown title gets none.
        model_->setTitleLanguage(QUuid::createUuid(), "de");
        QCOMPARE(model_->state().titleLanguages, expected);
    }

    // A copy keeps its title's language, a deleted title takes its language
    // along, restored titles have none.
    void titlesGainAndLoseLanguages() {
        model_->addTitle("A");
        const Title a = model_->state().listOfTitleAndWordList.last().title;
        model_->setTitleLanguage(a.id, "ja");
        model_->duplicateTitle(0);
        const Title copy = model_->state().listOfTitleAndWordList.at(1).title;
        QCOMPARE(model_->state().languageOf(copy.id), "ja");
        model_->addTitle("B");
        QCOMPARE(model_->state().languageOf(model_->state().titles().last().id), QString());
        const Title restored{QUuid::createUuid(), "Restored"};
        model_->restore(
            {{restored,
              {{"w", QUuid::createUuid(), Kind::known, QDateTime::currentDateTimeUtc()}}}});
        QCOMPARE(model_->state().languageOf(restored.id), QString());
        model_->deleteTitle(a.id);
        QVERIFY(!model_->state().titleLanguages.contains(a.id));
        const QHash<QUuid, QString> expected{{copy.id, "ja"}};
        QCOMPARE(model_->state().titleLanguages, expected);
        QCOMPARE(restartedModel()->state().titleLanguages, expected);
    }
};

QTEST_GUILESS_MAIN(LanguagesTest)
#include "tst_languages.moc"
