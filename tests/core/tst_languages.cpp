#include "ModelTestSupport.h"
#include "core/AppModel.h"
#include "core/UserSettings.h"
#include "core/ViewModelFactory.h"

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
        ViewModelFactory::waitForBackgroundSaves();
        model_.reset();
        store_.reset();
    }

    // Words are registered in a first title; a second title's text is then
    // split, in the window's way (on a thread of its own) and the plain way.
    void splitLeavesOutTheLanguagesWords_data() {
        QTest::addColumn<QString>("firstLanguage");
        QTest::addColumn<QStringList>("known");    // registered in the first title
        QTest::addColumn<QStringList>("unwanted"); // the same
        QTest::addColumn<QString>("secondLanguage");
        QTest::addColumn<QStringList>("expected"); // the second title's split list
        const QString text = QStringLiteral("Der Hund der Katze 42 bellt");
        const QStringList all{"Der", "Hund", "der", "Katze", "bellt"};
        QTest::newRow("same language: known compared folded")
            << "de" << QStringList{"hund", "DER"} << QStringList{} << "de"
            << QStringList{"Katze", "bellt"};
        QTest::newRow("same language: unwanted compared exactly")
            << "de" << QStringList{} << QStringList{"der"} << "de"
            << QStringList{"Der", "Hund", "Katze", "bellt"};
        QTest::newRow("another language shares nothing")
            << "nl" << QStringList{"hund"} << QStringList{"der"} << "de" << all;
        QTest::newRow("no language: each title its own words")
            << "" << QStringList{"hund"} << QStringList{"der"} << "" << all;
        QTest::newRow("a title without language takes nothing of a language")
            << "de" << QStringList{"hund"} << QStringList{} << "" << all;
        QTest::newRow("a title of a language takes nothing of titles without")
            << "" << QStringList{"hund"} << QStringList{} << "de" << all;
    }
    void splitLeavesOutTheLanguagesWords() {
        QFETCH(QString, firstLanguage);
        QFETCH(QStringList, known);
        QFETCH(QStringList, unwanted);
        QFETCH(QString, secondLanguage);
        QFETCH(QStringList, expected);
        addTitle("First", firstLanguage, (known + unwanted).join(' '));
        for (const QString& w : known)
            registerWord(w, Kind::known);
        for (const QString& w : unwanted)
            registerWord(w, Kind::unwanted);

        const Title second = addTitle("Second", secondLanguage, "Der Hund der Katze 42 bellt");
        QCOMPARE(splitListOf(second.id), expected);
        model_->setCurrentTitle(second);
        splitInBackground();
        QCOMPARE(splitListOf(second.id), expected);
        QCOMPARE(languageStateOf(restartedModel()->state(), second.id).splittedWords, expected);
    }

    // In a language with a dictionary, a word known or being learned in one
    // title leaves the forms of its family out of another title's split,
    // unless the learner counts forms apart; unwanted words stay exact.
    void splitLeavesOutTheFormsOfKnownWords_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("registered"); // in the first title
        QTest::addColumn<QString>("how");        // known, unwanted, learning, known apart
        QTest::addColumn<QString>("text");       // the second title's
        QTest::addColumn<QStringList>("expected");
        const QString hunde = QStringLiteral("Hunde Hundes Hunden Katze");
        QTest::newRow("German known") << "de"
                                      << "Hund"
                                      << "known" << hunde << QStringList{"Katze"};
        QTest::newRow("German learning") << "de"
                                         << "Hund"
                                         << "learning" << hunde << QStringList{"Katze"};
        QTest::newRow("German unwanted stays exact")
            << "de"
            << "Hund"
            << "unwanted" << hunde << QStringList{"Hunde", "Hundes", "Hunden", "Katze"};
        QTest::newRow("German forms counted apart")
            << "de"
            << "Hund"
            << "known apart" << hunde << QStringList{"Hunde", "Hundes", "Hunden", "Katze"};
        QTest::newRow("Russian known")
            << "ru" << QStringLiteral("собака") << "known" << QStringLiteral("собаки собаку кошка")
            << QStringList{QStringLiteral("кошка")};
        QTest::newRow("no dictionary: exact as before")
            << "xx"
            << "Hund"
            << "known" << hunde << QStringList{"Hunde", "Hundes", "Hunden", "Katze"};
    }
    void splitLeavesOutTheFormsOfKnownWords() {
        QFETCH(QString, language);
        QFETCH(QString, registered);
        QFETCH(QString, how);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        if (how == u"known apart")
            model_->setCountsForms(language, false);
        addTitle("First", language, registered);
        if (how == u"learning")
            model_->learnWord(registered, 0, registered);
        else
            registerWord(registered, how == u"unwanted" ? Kind::unwanted : Kind::known);
        const Title second = addTitle("Second", language, text);
        QCOMPARE(splitListOf(second.id), expected);
        model_->setCurrentTitle(second);
        splitInBackground();
        QCOMPARE(splitListOf(second.id), expected);
    }

    // Where forms count as one, a word known or learned from the split list
    // takes the rows of its family's other forms with it at once, as the
    // next split would; undo brings them back, redo takes them again, and
    // the store keeps them gone across a restart.
    void triageTakesTheFormsOfAWord_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("expected");
        const QStringList exact{"Hund", "Katze", "Hundes"};
        QTest::newRow("known") << "de"
                               << "known" << QStringList{"Katze"};
        QTest::newRow("learning") << "de"
                                  << "learning" << QStringList{"Katze"};
        QTest::newRow("unwanted stays exact") << "de"
                                              << "unwanted" << exact;
        QTest::newRow("forms counted apart") << "de"
                                             << "known apart" << exact;
        QTest::newRow("no dictionary") << "xx"
                                       << "known" << exact;
    }
    void triageTakesTheFormsOfAWord() {
        QFETCH(QString, language);
        QFETCH(QString, how);
        QFETCH(QStringList, expected);
        if (how == u"known apart")
            model_->setCountsForms(language, false);
        const QStringList all{"Hund", "Katze", "Hunde", "Hundes"};
        const Title title = addTitle("Book", language, all.join(' '));
        QCOMPARE(splitListOf(title.id), all);
        if (how == u"learning")
            model_->learnWord("Hunde", 2, "Hunde");
        else
            registerWord("Hunde", how == u"unwanted" ? Kind::unwanted : Kind::known);
        QCOMPARE(splitListOf(title.id), expected);
        QVERIFY(model_->state().lastSelectedRow < expected.size());
        model_->undo();
        QCOMPARE(splitListOf(title.id), all);
        QCOMPARE(model_->state().lastSelectedRow, 2);
        QCOMPARE(languageStateOf(restartedModel()->state(), title.id).splittedWords, all);
        model_->redo();
        QCOMPARE(splitListOf(title.id), expected);
        QCOMPARE(languageStateOf(restartedModel()->state(), title.id).splittedWords, expected);
    }

    // A split at once after the start, before the other titles are read,
    // still leaves out their words.
    void splitAtStartSeesTheWholeLanguage() {
        const Title first = addTitle("First", "de", "Hund");
        const Title second = addTitle("Second", "de", "Hund Katze Maus");
        model_->setCurrentTitle(first);
        registerWord("Hund", Kind::known);
        model_->moveTitle(1, 0);
        auto quick = ViewModelFactory::shared().makeAppModel();
        quick->loadForStartUp();
        QCOMPARE(quick->state().currentTitle.id, second.id);
        quick->splitWords();
        QCOMPARE(languageStateOf(quick->state(), second.id).splittedWords,
                 (QStringList{"Katze", "Maus"}));
    }

    // A registration belongs to the title it was made in: the other titles
    // of the language, and the CSV file, see it there.
    void registrationStaysInItsTitle() {
        const Title first = addTitle("First", "de", "Hund");
        const Title second = addTitle("Second", "de", "Hund Katze");
        registerWord("Katze", Kind::known);
        QCOMPARE(wordTexts(model_->state().knownWords()), QStringList{"Katze"});
        QVERIFY(model_->state().listOfTitleAndWordList[0].wordList.isEmpty());
        const QList<QStringList> rows = model_->exportCSV();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1].mid(0, 4), (QStringList{"Second", uuidText(second.id), "Katze", "known"}));
        // The first title, split again, leaves it out.
        model_->setCurrentTitle(first);
        model_->saveText("Hund Katze");
        model_->splitWords();
        QCOMPARE(splitListOf(first.id), QStringList{"Hund"});
        QCOMPARE(wordTexts(model_->state().languageWords(Kind::known)), QStringList{"Katze"});
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

    // New titles start with the chosen language, a copy keeps its title's,
    // a deleted title takes its language along, restored titles have none.
    void titlesGainAndLoseLanguages() {
        model_->setNewTitleLanguage("ja");
        model_->addTitle("A");
        const Title a = model_->state().listOfTitleAndWordList.last().title;
        QCOMPARE(model_->state().languageOf(a.id), "ja");
        model_->duplicateTitle(0);
        const Title copy = model_->state().listOfTitleAndWordList.at(1).title;
        QCOMPARE(model_->state().languageOf(copy.id), "ja");
        // An opened book is a new title too.
        model_->addTitleWithText("Book", "本を読む");
        const Title book = model_->state().listOfTitleAndWordList.last().title;
        QCOMPARE(model_->state().languageOf(book.id), "ja");
        // A book in a language of its own (declared, or recognised in it).
        model_->addTitleWithText("Buch", "Ein Buch", "de");
        const Title german = model_->state().listOfTitleAndWordList.last().title;
        QCOMPARE(model_->state().languageOf(german.id), "de");
        model_->setNewTitleLanguage(QString());
        model_->addTitle("B");
        QCOMPARE(model_->state().languageOf(model_->state().titles().last().id), QString());
        const Title restored{QUuid::createUuid(), "Restored"};
        model_->restore(
            {{restored,
              {{"w", QUuid::createUuid(), Kind::known, QDateTime::currentDateTimeUtc()}}}});
        QCOMPARE(model_->state().languageOf(restored.id), QString());
        model_->deleteTitle(a.id);
        QVERIFY(!model_->state().titleLanguages.contains(a.id));
        const QHash<QUuid, QString> expected{{copy.id, "ja"}, {book.id, "ja"}, {german.id, "de"}};
        QCOMPARE(model_->state().titleLanguages, expected);
        QCOMPARE(restartedModel()->state().titleLanguages, expected);
    }

    // A Japanese title is cut into words; each row still knows where its
    // word stood in the text.
    void japaneseTitleIsCutIntoWords() {
        addTitle("猫", "ja", "猫が好きです");
        registerWord(QStringLiteral("好き"), Kind::known);
        const QString text = QStringLiteral("東京の天気は晴れです。2024年、猫が好きです");
        const Title title = addTitle("東京", "ja", text);
        const SplitList list = splitListOf(title.id);
        QCOMPARE(list, (QStringList{"東京", "の", "天気", "は", "晴れ", "です", "年", "猫", "が",
                                    "です"}));
        for (qsizetype row = 0; row < list.size(); ++row)
            QCOMPARE(text.mid(list.startAt(row), list.at(row).size()), list.at(row));
    }

    void wordOfAnotherTitleCanBeDeleted() {
        addTitle("First", "de", "Hund");
        registerWord("Hund", Kind::known);
        const QUuid id = model_->state().knownWords().first().id;
        addTitle("Second", "de", "Katze");
        model_->deleteWordOfAnyTitle(id);
        QVERIFY(model_->state().listOfTitleAndWordList[0].wordList.isEmpty());
        QVERIFY(restartedModel()->state().listOfTitleAndWordList[0].wordList.isEmpty());
        model_->splitWords();
        QCOMPARE(splitListOf(model_->state().currentTitle.id), QStringList{"Katze"});
    }

    // The preferences' choices outlive the run, and a model takes them.
    void userSettingsAreKept() {
        QCOMPARE(UserSettings::knownWordsSortType(), SortType::alphabet);
        QCOMPARE(UserSettings::newTitleLanguage(), "en");
        UserSettings::setKnownWordsSortType(SortType::date);
        UserSettings::setNewTitleLanguage("th");
        auto next = restartedModel();
        UserSettings::applyTo(*next);
        QCOMPARE(next->state().knownWordsSortType, SortType::date);
        QCOMPARE(next->newTitleLanguage(), "th");
        // No language is a choice of its own, not the default.
        UserSettings::setNewTitleLanguage(QString());
        QCOMPARE(UserSettings::newTitleLanguage(), QString());
        UserSettings::setKnownWordsSortType(SortType::alphabet);
        QCOMPARE(UserSettings::knownWordsSortType(), SortType::alphabet);
    }

    // A learning word leaves the next split of its title and of the titles
    // of its language, folded; dropped, it is back at the next split; its
    // title deleted, it is gone from memory and store.
    void learningWordsAreLeftOutOfSplits() {
        const Title first = addTitle("Erstes", "de", "Der Hund bellt");
        model_->learnWord("Hund", splitListOf(first.id).indexOf("Hund"), "Der Hund bellt");
        QCOMPARE(splitListOf(first.id).toStringList(), (QStringList{"Der", "bellt"}));
        const Title other = addTitle("Zweites", "de", "HUND und Katze");
        QCOMPARE(splitListOf(other.id).toStringList(), (QStringList{"und", "Katze"}));
        const Title english = addTitle("Third", "en", "Hund");
        QCOMPARE(splitListOf(english.id).toStringList(), QStringList{"Hund"});

        const QUuid id = model_->state().learningWords.first().id;
        model_->setLearningLevel(id, 9);
        QCOMPARE(model_->state().learningWords.first().level, LearningWord::maxLevel);
        model_->setCurrentTitle(other);
        model_->dropLearningWord(id);
        model_->splitWords();
        QCOMPARE(splitListOf(other.id).toStringList(), (QStringList{"HUND", "und", "Katze"}));

        model_->setCurrentTitle(first);
        model_->learnWord("bellt", 1, QString());
        model_->deleteTitle(first.id);
        QVERIFY(model_->state().learningWords.isEmpty());
        auto restarted = ViewModelFactory::storeBackedModel();
        restarted->load();
        QVERIFY(restarted->state().learningWords.isEmpty());
    }

    // The words due for review: of the current title's language, or of
    // every language; new ones in the order learned. An answer is kept at
    // once and sets the level from the card; taking it back brings the word
    // back as it was, in memory and in the store.
    void learningWordsAreReviewed() {
        const Title first = addTitle("Erstes", "de", "Der Hund bellt laut");
        model_->learnWord("Hund", 1, "Der Hund bellt laut");
        model_->learnWord("bellt", 1, "Der Hund bellt laut");
        const Title english = addTitle("Third", "en", "a dog");
        model_->learnWord("dog", 1, "a dog");
        model_->setCurrentTitle(first);
        const QList<LearningWord> words = model_->state().learningWords;
        QCOMPARE(model_->dueLearningWords(false), (QList<QUuid>{words[0].id, words[1].id}));
        QCOMPARE(model_->dueLearningWords(true).size(), 3);

        const auto answer = model_->answerReview(words[0].id, ReviewSchedule::Grade::easy);
        QVERIFY(answer);
        QCOMPARE(model_->dueLearningWords(false), QList<QUuid>{words[1].id});
        const ReviewSchedule::Card card = model_->state().reviewCards.value(words[0].id);
        QVERIFY(card.due > QDateTime::currentDateTimeUtc());
        QCOMPARE(model_->state().learningWord(words[0].id)->level, ReviewSchedule::level(card));
        {
            auto restarted = restartedModel();
            QCOMPARE(restarted->dueLearningWords(true).size(), 2);
            QCOMPARE(restarted->state().reviewCards.value(words[0].id).due, card.due);
        }
        model_->takeBackReview(*answer);
        QCOMPARE(model_->dueLearningWords(false), (QList<QUuid>{words[0].id, words[1].id}));
        QCOMPARE(model_->state().learningWord(words[0].id)->level, LearningWord::minLevel);
        QCOMPARE(restartedModel()->dueLearningWords(true).size(), 3);
        // A word learned no longer is answered nothing.
        model_->dropLearningWord(words[1].id);
        QVERIFY(!model_->answerReview(words[1].id, ReviewSchedule::Grade::good));
        Q_UNUSED(english);
    }
};

QTEST_GUILESS_MAIN(LanguagesTest)
#include "tst_languages.moc"
