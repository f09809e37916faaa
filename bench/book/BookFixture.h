#pragma once

#include "../common/RealText.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "persistence/SaveWordsCommandHandler.h"
#include "persistence/WordBatches.h"
#include "text/SplitTextUseCase.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/WindowController.h"
#include "ui/triage/SplittedWordViewController.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QSet>

#include <algorithm>
#include <memory>

// What a learner with a long history holds: 100 titles of 2,000 registered
// words each, in five languages, the words taken from real text (the Bible,
// German, Russian, Spanish and Italian sentences); and the book itself, the
// King James Bible, as the current title.
namespace book {

inline QString languageText(int language) {
    switch (language % 5) {
    case 0:
        return realText::kingJamesBible();
    case 1:
        return realText::germanSentences();
    case 2:
        return realText::russianSentences();
    case 3:
        return realText::fortunes(QStringLiteral("es"), "fortunes-es");
    default:
        return realText::fortunes(QStringLiteral("it"), "fortunes-it");
    }
}

// The distinct words of a text, in the order they first stand in it (no
// verse numbers or references: nobody registers "Ge1").
inline QStringList distinctWords(const QString& text) {
    QStringList out;
    QSet<QString> seen;
    for (const QString& word : SplitTextUseCase::split(text)) {
        if (std::any_of(word.cbegin(), word.cend(), [](QChar c) { return c.isDigit(); }))
            continue;
        if (!seen.contains(word)) {
            seen.insert(word);
            out.append(word);
        }
    }
    return out;
}

// Adds the 100 titles with their words through the model, as restores would.
inline void addHistory(AppModel& model, int titles = 100, int wordsPerTitle = 2000) {
    QList<QStringList> vocabulary;
    for (int language = 0; language < 5; ++language)
        vocabulary.append(distinctWords(languageText(language)));
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    QList<TitleAndWordList> list;
    for (int t = 0; t < titles; ++t) {
        const QStringList& words = vocabulary[t % 5];
        TitleAndWordList entry{{QUuid::createUuid(), QStringLiteral("Text %1").arg(t)}, {}};
        for (int w = 0; w < wordsPerTitle; ++w) {
            entry.wordList.append(
                {words[(t / 5 * 300 + w) % words.size()], QUuid::createUuid(),
                 w % 4 ? AppState::Word::Kind::known : AppState::Word::Kind::unwanted,
                 start.addSecs(t * wordsPerTitle + w)});
        }
        list.append(entry);
    }
    model.restore(list);
    WordBatches::process().waitForPendingSaves();
}

// The book as the current, last title, its text typed in.
inline void addBook(AppModel& model, const QString& text) {
    model.addTitle(QStringLiteral("The Bible"));
    model.setCurrentTitle(model.state().listOfTitleAndWordList.last().title);
    model.saveText(text);
}

// The real main window, offscreen, on the model of the factory.
struct Window {
    std::unique_ptr<WindowController> window = std::make_unique<WindowController>();

    Window() {
        window->resize(1280, 800);
        window->show();
        settle();
    }
    SplittedWordViewController* triage() const {
        return qobject_cast<SplittedWordViewController*>(
            window->splitViewController()->middlePane());
    }
    // Runs the event loop until nothing is left to do: every queued update,
    // and the paint of what they marked for drawing (QEvent::UpdateRequest),
    // as the turn that draws the next frame does.
    void settle() const {
        do {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        } while (hasPendingEvents());
    }
    static bool hasPendingEvents() {
        return QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
    }
};

} // namespace book
