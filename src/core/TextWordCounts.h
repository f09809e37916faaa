#pragma once

#include "text/WordFamilies.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// How often each word stands in a text, counted as a split of the title
// cuts it: in the title's language (a Japanese text is cut with MeCab's
// dictionary), words of digits only left out. Each folded word is counted
// with the forms it is written in (NFC), since an unwanted word is matched
// by its form. The share of a text that a learner knows is read from it
// (TextWordTally).
struct TextWordCounts {
    struct Form {
        QString nfc;
        qint64 count = 0;
    };
    struct Word {
        qint64 count = 0; // every form
        QList<Form> forms;
    };
    QHash<QString, Word> byFolded;
    qint64 total = 0;
    // With the forms of a word counted as one: the folded words of the text
    // by their folded head, and the families they were grouped by.
    QHash<QString, QStringList> foldedByHead;
    WordFamilies families{QString()};

    // language: the title's ISO 639 code; empty for none. forms: whether the
    // forms of a word count as one; registered, words whose heads are worked
    // out here too, for the tally to find at once.
    static TextWordCounts count(const QString& text, const QString& language = QString(),
                                bool forms = false, const QStringList& registered = {});
};
