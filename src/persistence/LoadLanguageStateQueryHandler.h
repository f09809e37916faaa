#pragma once

#include "domain/AppState.h"

#include <QSet>

#include <optional>

// The text and pending split words of every stored title, keyed by its Title.
class LoadLanguageStateQueryHandler {
public:
    QHash<Title, LanguageState> handle() const;
    // Only the titles with these ids (all when none).
    QHash<Title, LanguageState> handle(const std::optional<QSet<QUuid>>& only) const;
    // Only the titles with these ids, without their texts (boxText empty).
    QHash<Title, LanguageState> handleWithoutTexts(const QSet<QUuid>& only) const;

    // The text a start shows first: that of the title with the id preferred,
    // or of the first title when it is not stored.
    struct StartText {
        QUuid title; // null when nothing was read
        QString text;
    };
    // Reads it on a connection of its own, on any thread, ahead of the load;
    // nothing when there is no title or the text cannot be read whole (the
    // load then reads it and says why).
    static StartText startText(const QString& storePath, const QUuid& preferred);
    // The split list of that title, the same way, beside the text.
    struct StartSplitList {
        QUuid title; // null when nothing was read
        SplitList splitWords;
    };
    static StartSplitList startSplitList(const QString& storePath, const QUuid& preferred);

private:
    QHash<Title, LanguageState> load(const std::optional<QSet<QUuid>>& only, bool withTexts) const;
};
