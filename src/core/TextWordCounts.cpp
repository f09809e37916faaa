#include "core/TextWordCounts.h"

#include "domain/TextCompare.h"
#include "text/SplitTextUseCase.h"

#include <QStringView>

TextWordCounts TextWordCounts::count(const QString& text) {
    // Counted as the words stand, then folded once per distinct word: a
    // book has 800,000 words but 30,000 distinct ones.
    QHash<QStringView, qint64> exact;
    SplitTextUseCase::forEachWord(text, [&](SplitTextUseCase::Span span) {
        ++exact[QStringView(text).mid(span.start, span.length)];
    });
    TextWordCounts counts;
    for (auto it = exact.cbegin(); it != exact.cend(); ++it) {
        const QString word = it.key().toString();
        if (text::isDigitsOnly(word))
            continue;
        counts.byFolded[text::folded(word)] += it.value();
        counts.total += it.value();
    }
    return counts;
}
