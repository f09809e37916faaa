#pragma once

#include "core/SplitFamilies.h"
#include "domain/SplitList.h"
#include "text/SentenceAround.h"
#include "text/WordFamilies.h"

#include <QAbstractTableModel>
#include <QHash>

#include <functional>
#include <optional>

#include <vector>

// The split list as a one-column table. The list is held as the state holds
// it (its rows shared, not copied), so showing a new state costs no copy.
// Each row also gives the sentence its word stands in, from the text the
// list was split from (sentenceRole).
class SplitWordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // {before, word, after} of the row's sentence, cut for the row; empty
    // when the text no longer holds the word where it stood.
    static constexpr int sentenceRole = Qt::UserRole + 1;
    // In one row per word: how many rows of the list the word (every case of
    // it, and every form of its family where forms count as one) stands on;
    // 0 otherwise.
    static constexpr int occurrencesRole = Qt::UserRole + 2;
    // The head of the word's family where it differs from the word ("Hund"
    // for "Hunde"), once the language's dictionary is loaded; none else.
    static constexpr int familyHeadRole = Qt::UserRole + 3;

    explicit SplitWordTableModel(QObject* parent = nullptr);

    // Shows words; resets the views only when the list differs from the one
    // shown. Returns whether it did.
    bool setWords(const SplitList& words);
    const SplitList& words() const { return words_; }
    // Where the sentences are read from: the title's text as it stands,
    // asked for when a sentence is wanted. No copy is kept here: the state's
    // text is changed where it stands on every keystroke, and a copy held
    // anywhere would make that keystroke copy a book.
    void setTextSource(std::function<QString()> source);
    // The text changed (LanguageState::revision): sentencesChanged(), not
    // dataChanged() over every row (for a book that alone cost a keystroke
    // more than its save).
    void setTextRevision(quint64 revision);
    QString text() const { return textSource_ ? textSource_() : QString(); }
    quint64 textRevision() const { return textRevision_; }

    // The sentence of a row of the list, if its text still holds it.
    std::optional<SentenceAround> sentence(qsizetype row) const;

    // The language whose families the rows name and, in one row per word,
    // group (empty: none). Returns whether it changed.
    bool setFamilies(const QString& language);
    // Whether the families of the rows' split are still to be numbered
    // (SplitFamilies::of, off the window's thread); and, once they are,
    // one row per word groups by family. Returns whether the rows changed.
    bool familiesPending() const;
    bool familiesNumbered();
    const QString& familiesLanguage() const { return familiesLanguage_; }

    // One row per word: each folded word once, on the row of its first
    // occurrence; where the forms of a word count as one, each family once,
    // on the row of its first form. Off, the table's rows are the list's rows.
    void setOneRowPerWord(bool on);
    bool oneRowPerWord() const { return oneRowPerWord_; }
    // The list's row that a row of the table shows, and the table's row
    // that shows a row of the list (in one row per word: the row of the
    // first word at or after it; -1 past the end).
    qsizetype listRow(qsizetype tableRow) const;
    qsizetype tableRow(qsizetype listRow) const;
    // The list's row that shows the word of a row of the list: the row
    // itself, or in one row per word the first row of its word or family.
    qsizetype shownListRow(qsizetype listRow) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // The rows' sentences are to be read again (the rows on screen redrawn).
    void sentencesChanged();

private:
    // A list this long is emptied before it shrinks (see setWords).
    static constexpr qsizetype manyRows = 100000;
    void countRows();

    SplitList words_;
    bool oneRowPerWord_ = false;
    std::vector<qsizetype> firstRows_; // in one row per word: the list rows shown
    // In one row per word by families: the rows each table row stands for,
    // and the table row of each family (-1: none).
    std::shared_ptr<const SplitFamilies> rowFamilies_;
    std::vector<qsizetype> familyRows_;
    std::vector<qsizetype> tableRowOfFamily_;
    std::function<QString()> textSource_;
    QString familiesLanguage_;
    WordFamilies families_{QString()};
    quint64 textRevision_ = 0;
    // Sentences found, by the place of their word: rows are painted again
    // and again, the text changes seldom. Emptied with a new text.
    mutable QHash<qint64, std::optional<SentenceAround>> sentences_;
    static constexpr qsizetype sentencesKept = 2048;
};
