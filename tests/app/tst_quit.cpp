// Every way out of the program (SIGTERM, SIGHUP, closing the window, Ctrl+Q)
// goes through one door, which waits for the word batches still queued and
// says so while it waits.

#include "ModelTestSupport.h"
#include "app/AppDelegate.h"
#include "ui/common/SaveProgress.h"
#include "ui/titles/WindowController.h"

#include <QAction>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

TitleAndWordList bookWithWords(int count) {
    TitleAndWordList book{{QUuid::createUuid(), QStringLiteral("Buddenbrooks")}, {}};
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < count; ++i)
        book.wordList.append({QStringLiteral("Wort%1").arg(i), QUuid::createUuid(),
                              AppState::Word::Kind::known, now});
    return book;
}

} // namespace

class QuitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<WindowController> window_;
    int quits_ = 0;

    // A copy of a large title is on its way to the store.
    void startCopying(int words) {
        model_->restore({bookWithWords(words)});
        QTRY_COMPARE_WITH_TIMEOUT(model_->backgroundSaves().batchesLeft, 0, 60000);
        model_->duplicateTitle(0);
        QVERIFY(model_->backgroundSaves().wordsLeft > 0);
    }
    // The progress window, once it shows "Saving … words…".
    SaveProgress* savingProgress() {
        SaveProgress* found = nullptr;
        (void)QTest::qWaitFor([&] {
            found = window_->findChild<SaveProgress*>(QStringLiteral("saveProgress"));
            return found && found->isVisible() && found->labelText().startsWith("Saving ");
        });
        return found;
    }
    void checkCopyStored(int words) {
        QTRY_COMPARE_WITH_TIMEOUT(quits_, 1, 60000);
        const auto next = restartedModel();
        QCOMPARE(next->state().listOfTitleAndWordList.size(), 2);
        QCOMPARE(next->state().listOfTitleAndWordList[1].wordList.size(), words);
    }

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        model_ = ViewModelFactory::storeBackedModel();
        delegate_ = std::make_unique<AppDelegate>(model_);
        window_ = std::make_unique<WindowController>(model_);
        delegate_->attach(window_.get());
        quits_ = 0;
        delegate_->setQuitFunction([this] { ++quits_; });
        delegate_->applicationDidFinishLaunching();
        window_->show();
    }
    void cleanup() {
        ViewModelFactory::waitForBackgroundSaves();
        window_.reset();
        delegate_.reset();
        model_.reset();
        store_.reset();
    }

    void signalsQuitOnceTheBatchesAreStored_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGINT") << SIGINT;
    }
    void signalsQuitOnceTheBatchesAreStored() {
        QFETCH(int, signalNumber);
        constexpr int words = 40000;
        startCopying(words);
        ::kill(::getpid(), signalNumber);
        QVERIFY(savingProgress());
        QCOMPARE(quits_, 0);
        checkCopyStored(words);
        QVERIFY(delegate_->isQuitting());
    }

    void closingTheWindowWaitsForTheBatches() {
        constexpr int words = 40000;
        startCopying(words);
        window_->close();
        QVERIFY(window_->isVisible()); // the window stays while the words are saved
        QVERIFY(savingProgress());
        checkCopyStored(words);
    }

    void quitWithNothingPendingIsImmediate() {
        window_->quitAction()->trigger();
        QTRY_COMPARE(quits_, 1);
        QVERIFY(!window_->findChild<SaveProgress*>());
        window_->close(); // a second request changes nothing
        QTest::qWait(50);
        QCOMPARE(quits_, 1);
    }
};

QTEST_MAIN(QuitTest)
#include "tst_quit.moc"
