#include "ui/triage/TextMarks.h"

#include "ui/triage/FocusDetectTextView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <array>

namespace {

QColor mixed(const QColor& base, const QColor& tint, qreal share) {
    return QColor::fromRgbF(float(base.redF() + (tint.redF() - base.redF()) * share),
                            float(base.greenF() + (tint.greenF() - base.greenF()) * share),
                            float(base.blueF() + (tint.blueF() - base.blueF()) * share));
}

bool isDark(const QColor& base) {
    return base.lightnessF() < 0.5;
}

// A wavy line from x1 to x2 about y, as a learning word's underline.
QPainterPath wave(qreal x1, qreal x2, qreal y, qreal height) {
    QPainterPath path(QPointF(x1, y));
    const qreal half = height * 1.5;
    bool up = true;
    for (qreal x = x1; x < x2; x += half) {
        const qreal end = qMin(x + half, x2);
        path.quadTo(QPointF((x + end) / 2, up ? y - height : y + height), QPointF(end, y));
        up = !up;
    }
    return path;
}

} // namespace

TextMarks::TextMarks(std::shared_ptr<AppModel> model, FocusDetectTextView* view)
    : model_(std::move(model))
    , view_(view) {
    view_->setUnderlay([this](QPainter& painter, const QTextBlock& block, const QPointF& topLeft) {
        paintBlock(painter, block, topLeft);
    });
}

TextMarks::~TextMarks() {
    view_->setUnderlay({});
}

void TextMarks::setEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    view_->viewport()->update();
}

void TextMarks::refresh() {
    const AppState& state = model_->state();
    language_ = state.languageOf(state.currentTitle.id);
    if (marks_.update(state) && enabled_)
        view_->viewport()->update();
}

QTextCharFormat TextMarks::formatOf(const WordMark& mark) const {
    QTextCharFormat format;
    const QPalette palette = view_->palette();
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const bool dark = isDark(base);
    // Amber reads on light and on dark backgrounds alike.
    const QColor amber = dark ? QColor(0xf0, 0xb0, 0x30) : QColor(0xd0, 0x85, 0x00);
    switch (mark.kind) {
    case WordMark::Kind::plain:
        break;
    case WordMark::Kind::fresh:
        format.setBackground(mixed(base, highlight, dark ? 0.32 : 0.16));
        format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        format.setUnderlineColor(highlight);
        break;
    case WordMark::Kind::learning: {
        // Level 1, just begun, the strongest; 5, nearly known, the faintest.
        static constexpr std::array<qreal, 5> strength{0.50, 0.40, 0.30, 0.21, 0.13};
        const int level = qBound(LearningWord::minLevel, mark.level, LearningWord::maxLevel);
        format.setBackground(mixed(base, amber, strength[level - 1] * (dark ? 0.8 : 1.0)));
        format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        format.setUnderlineColor(amber);
        break;
    }
    case WordMark::Kind::unwanted:
        format.setUnderlineStyle(QTextCharFormat::DotLine);
        format.setUnderlineColor(palette.color(QPalette::Active, QPalette::PlaceholderText));
        break;
    case WordMark::Kind::setAside:
        format.setUnderlineStyle(QTextCharFormat::DashUnderline);
        format.setUnderlineColor(highlight);
        break;
    }
    return format;
}

void TextMarks::forEachWord(const QTextBlock& block,
                            const std::function<void(const SplitTextUseCase::Span&)>& found) {
    const QString text = block.text();
    const QString& language = language_;
    if (!SplitTextUseCase::usesDictionary(language)) {
        SplitTextUseCase::forEachWord(text, found);
        return;
    }
    if (!segmenter_ || segmenterLanguage_ != language) {
        segmenter_ = std::make_unique<SplitTextUseCase::DictionarySegmenter>(language);
        segmenterLanguage_ = language;
    }
    QList<SplitTextUseCase::Span> words;
    SplitTextUseCase::forEachWord(text, [&](const SplitTextUseCase::Span& token) {
        words.clear();
        segmenter_->segment(text, token, words);
        for (const SplitTextUseCase::Span& word : std::as_const(words))
            found(word);
    });
}

std::optional<TextMarks::Found> TextMarks::wordAt(int position) {
    const QTextBlock block = view_->document()->findBlock(position);
    if (!block.isValid())
        return std::nullopt;
    const qsizetype inBlock = position - block.position();
    std::optional<Found> word;
    forEachWord(block, [&](const SplitTextUseCase::Span& span) {
        if (!word && span.start <= inBlock && inBlock <= span.start + span.length)
            word = Found{block, span, block.text().mid(span.start, span.length)};
    });
    return word;
}

WordMark TextMarks::markOf(const QString& word) {
    refresh();
    return marks_.markOf(word);
}

WordMark TextMarks::markAt(int position) {
    const std::optional<Found> word = wordAt(position);
    return word ? markOf(word->word) : WordMark();
}

void TextMarks::paintBlock(QPainter& painter, const QTextBlock& block, const QPointF& topLeft) {
    if (!enabled_)
        return;
    QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return;
    // The marks as of the last refresh: reading the model's state here would
    // put a key held back into its text before the frame that shows it.
    const QString text = block.text();
    const QPointF origin = topLeft + layout->position();
    const QFontMetricsF metrics(view_->font());
    const qreal thickness = qMax<qreal>(1.0, metrics.lineWidth());
    forEachWord(block, [&](const SplitTextUseCase::Span& span) {
        const WordMark mark = marks_.markOf(text.mid(span.start, span.length));
        if (mark.kind == WordMark::Kind::plain)
            return;
        const QTextCharFormat format = formatOf(mark);
        const QTextLine line = layout->lineForTextPosition(int(span.start));
        if (!line.isValid())
            return;
        const int end =
            int(qMin<qsizetype>(span.start + span.length, line.textStart() + line.textLength()));
        // A pixel apart at each end: words written without spaces between
        // them (Japanese, Chinese, Thai) keep their marks apart.
        const qreal x1 = origin.x() + line.cursorToX(int(span.start)) + 1;
        const qreal x2 = origin.x() + line.cursorToX(end) - 1;
        if (x2 <= x1)
            return;
        const qreal top = origin.y() + line.y();
        if (format.hasProperty(QTextFormat::BackgroundBrush))
            painter.fillRect(QRectF(x1, top, x2 - x1, line.height()), format.background());
        // Below the baseline, where the descenders end: the letters stay whole.
        const qreal y = top + line.ascent() + qMax(thickness * 1.5, line.descent() * 0.6);
        QPen pen(format.underlineColor(), thickness);
        switch (format.underlineStyle()) {
        case QTextCharFormat::WaveUnderline:
            pen.setWidthF(thickness * 1.2);
            painter.setPen(pen);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.drawPath(wave(x1, x2, y, thickness * 1.5));
            painter.setRenderHint(QPainter::Antialiasing, false);
            return;
        case QTextCharFormat::DotLine:
            pen.setStyle(Qt::DotLine);
            break;
        case QTextCharFormat::DashUnderline:
            pen.setStyle(Qt::DashLine);
            break;
        default:
            break;
        }
        painter.setPen(pen);
        painter.drawLine(QPointF(x1, y), QPointF(x2, y));
    });
}
