// Words ▸ Speak: disabled, saying why, when no engine answers; with an
// engine (flite, which needs no daemon) the selected word is spoken without
// the window waiting. With PRAMEL_CHECK_SPEECH set, speaks "Hund" with the
// system's engine and fails unless the engine reports it spoken
// (scripts/check-speech.sh records it).

#include "ModelTestSupport.h"
#include "UiTestSupport.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "ui/common/Speaker.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/WindowController.h"
#include "ui/triage/SplittedWordViewController.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTableView>
#include <QTextToSpeech>
#include <QtTest>

#include <memory>

class SpeechTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        model_ = ViewModelFactory::storeBackedModel();
        model_->load();
        startBook(*model_, QStringLiteral("Der Hund und die Katze"), {QStringLiteral("der")}, {});
        model_->splitWords();
        model_->setLastSelectedRow(1);
    }
    void cleanup() {
        window_.reset();
        model_.reset();
        store_.reset();
        qunsetenv("PRAMEL_SPEECH_ENGINE");
    }

    void withoutAnEngineSpeakIsDisabledAndSaysWhy() {
        qputenv("PRAMEL_SPEECH_ENGINE", "none");
        openWindow();
        QAction* speak = window_->speakAction();
        QVERIFY(speak->isEnabled()); // nothing is known before the first need
        speak->trigger();
        QTRY_VERIFY(!speak->isEnabled());
        QVERIFY2(speak->toolTip().contains("No speech engine"), qPrintable(speak->toolTip()));
    }

    void theSelectedWordIsTheFocusedListsRow() {
        qputenv("PRAMEL_SPEECH_ENGINE", "none");
        openWindow();
        QCOMPARE(window_->selectedWord(), QStringLiteral("und"));
        auto* registered = qobject_cast<RegisteredWordViewController*>(
            window_->splitViewController()->rightPane());
        QTableView* known = registered->knownWordTableView();
        known->setFocus();
        known->setCurrentIndex(known->model()->index(0, 0));
        QTRY_COMPARE(window_->selectedWord(), QStringLiteral("der"));
    }

    void thePanesTellWhenTheirWordChanges() {
        qputenv("PRAMEL_SPEECH_ENGINE", "none");
        openWindow();
        SplitViewController* split = window_->splitViewController();
        QSignalSpy middle(split->splittedWordViewController(),
                          &SplittedWordViewController::currentWordChanged);
        QSignalSpy right(split->registeredWordViewController(),
                         &RegisteredWordViewController::currentWordChanged);
        model_->setLastSelectedRow(2);
        QTRY_VERIFY(!middle.isEmpty() && middle.last().first().toString() == "die");
        QCOMPARE(split->splittedWordViewController()->selectedWord(), QStringLiteral("die"));
        QTableView* known = split->registeredWordViewController()->knownWordTableView();
        known->setFocus();
        known->setCurrentIndex(known->model()->index(0, 0));
        QTRY_VERIFY(!right.isEmpty() && right.last().first().toString() == "der");
        QCOMPARE(window_->selectedWord(), QStringLiteral("der"));
    }

    void anEngineSpeaksWithoutTheWindowWaiting() {
        if (!QTextToSpeech::availableEngines().contains("flite"))
            QSKIP("the flite engine is not installed");
        qputenv("PRAMEL_SPEECH_ENGINE", "flite");
        openWindow();
        QSignalSpy spoken(window_->speaker(), &Speaker::spoken);
        QElapsedTimer clock;
        clock.start();
        window_->speakAction()->trigger();
        QVERIFY(clock.elapsed() < 100);
        QTRY_VERIFY_WITH_TIMEOUT(window_->speaker()->isReady(), 10000);
        QVERIFY(window_->speakAction()->isEnabled());
        QCOMPARE(window_->speaker()->engineName(), QStringLiteral("flite"));
        // Without an audio device the engine reports a failure; either way
        // it answers.
        QTRY_VERIFY_WITH_TIMEOUT(spoken.count() >= 1, 20000);
    }

    void checkSpeechReachesTheDevice() {
        if (qEnvironmentVariableIsEmpty("PRAMEL_CHECK_SPEECH"))
            QSKIP("run by scripts/check-speech.sh");
        Speaker speaker;
        QSignalSpy spoken(&speaker, &Speaker::spoken);
        speaker.speak(QStringLiteral("Hund und Katze"), QLocale(QLocale::German));
        QTRY_VERIFY_WITH_TIMEOUT(spoken.count() >= 1, 30000);
        QVERIFY2(speaker.isReady(), qPrintable(speaker.unavailableReason()));
        qInfo("engine %s", qPrintable(speaker.engineName()));
        QCOMPARE(spoken.first().first().toBool(), true);
    }

private:
    void openWindow() {
        window_ = std::make_unique<WindowController>(model_);
        window_->show();
    }

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<WindowController> window_;
};

QTEST_MAIN(SpeechTest)
#include "tst_speech.moc"
