#pragma once

#include "domain/AppState.h"

#include <QStringList>

#include <map>

// What a title shows, comparable across models and restarts: its name, its
// registered words ("text|kind|second|id", sorted), its text and split list,
// and its learning words ("text|level|meaning|sentence|second|id", sorted).
struct TitleSnapshot {
    QString name;
    QStringList words;
    QString boxText;
    QStringList splittedWords;
    QStringList learning;

    friend bool operator==(const TitleSnapshot&, const TitleSnapshot&) = default;
};

inline QStringList wordKeys(const QList<AppState::Word>& words) {
    QStringList out;
    for (const auto& w : words)
        out << QStringLiteral("%1|%2|%3|%4")
                   .arg(w.wordText, kindText(w.kind))
                   .arg(w.timestamp.toSecsSinceEpoch())
                   .arg(uuidText(w.id));
    out.sort();
    return out;
}

inline std::map<QUuid, TitleSnapshot> snapshotTitles(const AppState& s) {
    std::map<QUuid, TitleSnapshot> out;
    for (const auto& e : s.listOfTitleAndWordList) {
        TitleSnapshot snap{e.title.title, wordKeys(e.wordList), {}, {}, {}};
        for (const LearningWord& w : s.learningWords) {
            if (w.titleId == e.title.id)
                snap.learning << QStringLiteral("%1|%2|%3|%4|%5|%6")
                                     .arg(w.wordText)
                                     .arg(w.level)
                                     .arg(w.meaning, w.sentence)
                                     .arg(w.timestamp.toSecsSinceEpoch())
                                     .arg(uuidText(w.id));
        }
        snap.learning.sort();
        auto it = s.languageStateList.constFind(e.title);
        if (it != s.languageStateList.constEnd()) {
            snap.boxText = it->boxText;
            snap.splittedWords = it->splittedWords.toStringList();
        }
        out.emplace(e.title.id, snap);
    }
    return out;
}
