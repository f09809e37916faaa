#pragma once

#include "core/AppModel.h"
#include "core/WordMarks.h"
#include "text/SplitTextUseCase.h"

#include <QTextBlock>
#include <QTextCharFormat>

#include <functional>
#include <memory>
#include <optional>

class FocusDetectTextView;
class QPainter;

// The words of the text pane marked by what the learner knows of them
// (core/WordMarks): new, learning by level, unwanted, set aside; known words
// stay plain. Each mark has a background tint and an underline style of its
// own, so that no mark is told by colour alone. Only the blocks a paint
// reaches are cut into words and marked: a book costs what a screen of it
// costs.
class TextMarks {
public:
    TextMarks(std::shared_ptr<AppModel> model, FocusDetectTextView* view);
    ~TextMarks();
    TextMarks(const TextMarks&) = delete;
    TextMarks& operator=(const TextMarks&) = delete;

    // View ▸ Mark Words in Text.
    void setEnabled(bool on);
    bool isEnabled() const { return enabled_; }
    // After a change of the state: redraws the text in sight when a mark may
    // have changed. Painting reads the marks as the last refresh left them.
    void refresh();

    // What a mark is drawn with: a background, and an underline style and
    // colour; an empty format for plain words.
    QTextCharFormat formatOf(const WordMark& mark) const;
    // A word of the document: its block, and where it stands in the block.
    struct Found {
        QTextBlock block;
        SplitTextUseCase::Span span;
        QString word;
        int position() const { return block.position() + int(span.start); }
    };
    // The word at (or just before) a place of the document, if one is there.
    std::optional<Found> wordAt(int position);
    // The mark of the word at a place of the document (plain where none is).
    WordMark markAt(int position);
    WordMark markOf(const QString& word);
    // Calls found for every word of block, in order.
    void forEachWord(const QTextBlock& block,
                     const std::function<void(const SplitTextUseCase::Span&)>& found);

private:
    void paintBlock(QPainter& painter, const QTextBlock& block, const QPointF& topLeft);

    std::shared_ptr<AppModel> model_;
    FocusDetectTextView* view_;
    WordMarks marks_;
    bool enabled_ = true;
    // Words of the languages written without spaces are cut with a
    // dictionary: one segmenter kept for the current title's language.
    QString language_; // the current title's
    QString segmenterLanguage_;
    std::unique_ptr<SplitTextUseCase::DictionarySegmenter> segmenter_;
};
