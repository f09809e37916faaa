#include "core/TextWordCounts.h"

#include "domain/TextCompare.h"
#include "text/SplitTextUseCase.h"

#include <QStringView>

#include <algorithm>

TextWordCounts TextWordCounts::count(const QString& text, const QString& language, bool forms,
                                     const QStringList& registered) {
    // Counted as the words stand, then folded once per distinct word: a
    // book has 800,000 words but 30,000 distinct ones.
    QHash<QStringView, qint64> exact;
    SplitTextUseCase::forEachWord(text, language, [&](SplitTextUseCase::Span span) {
        ++exact[QStringView(text).mid(span.start, span.length)];
    });
    TextWordCounts counts;
    for (auto it = exact.cbegin(); it != exact.cend(); ++it) {
        const QString word = it.key().toString();
        if (text::isDigitsOnly(word))
            continue;
        Word& folded = counts.byFolded[text::folded(word)];
        folded.count += it.value();
        // Forms that differ only in their encoding (NFD, NFC) are one.
        const QString nfc = text::nfc(word);
        auto form = std::find_if(folded.forms.begin(), folded.forms.end(),
                                 [&](const Form& f) { return f.nfc == nfc; });
        if (form == folded.forms.end())
            folded.forms.append({nfc, it.value()});
        else
            form->count += it.value();
        counts.total += it.value();
    }
    const WordFamilies families(forms ? language : QString());
    if (families.hasFamilies()) {
        counts.families = families;
        for (auto it = counts.byFolded.cbegin(); it != counts.byFolded.cend(); ++it)
            counts.foldedByHead[text::folded(families.head(it->forms.first().nfc))].append(
                it.key());
        for (const QString& word : registered)
            families.head(word);
    }
    return counts;
}
