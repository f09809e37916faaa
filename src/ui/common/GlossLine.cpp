#include "ui/common/GlossLine.h"

#include <QEvent>

GlossLine::GlossLine(Glosses::Head head, QWidget* parent)
    : QLabel(parent)
    , glosses_(std::move(head)) {
    setObjectName(QStringLiteral("glossLine"));
    setAccessibleName(tr("Gloss"));
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    connect(&glosses_, &Glosses::answered, this, &GlossLine::show);
    connect(&Glosses::settings(), &GlossSettingsNotifier::changed, this,
            [this] { showGlossOf(word_, language_); });
}

void GlossLine::showGlossOf(const QString& word, const QString& language) {
    word_ = word;
    language_ = language;
    if (word.isEmpty()) {
        whole_.clear();
        elide();
        return;
    }
    glosses_.ask(word, language);
}

void GlossLine::show(const Glosses::Gloss& gloss) {
    hint_ = gloss.senses.isEmpty();
    if (!hint_) {
        const QString word = gloss.lookedUp == gloss.word
                                 ? gloss.word
                                 : QStringLiteral("%1 → %2").arg(gloss.word, gloss.lookedUp);
        whole_ = tr("%1: %2").arg(word, gloss.senses.join(QStringLiteral("; ")));
    } else {
        whole_ = gloss.hint;
    }
    // A hint is quiet: the colour of placeholder text.
    setForegroundRole(hint_ ? QPalette::PlaceholderText : QPalette::WindowText);
    elide();
}

void GlossLine::elide() {
    setText(fontMetrics().elidedText(whole_, Qt::ElideRight, std::max(0, contentsRect().width())));
    setToolTip(text() == whole_ ? QString() : whole_);
    setAccessibleDescription(whole_);
}

QSize GlossLine::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

void GlossLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void GlossLine::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        elide();
}
