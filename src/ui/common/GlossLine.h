#pragma once

#include "ui/common/Glosses.h"

#include <QLabel>

// A line of text under a list: the gloss of the word selected in it
// ("Hunde → Hund: dog, dawg; canine, K-9"), or a quiet hint why there is
// none. Cut with "…" when the line is too narrow; the whole text is its
// tooltip.
class GlossLine : public QLabel {
    Q_OBJECT
public:
    explicit GlossLine(Glosses::Head head, QWidget* parent = nullptr);

    // Shows the gloss of word in language (nothing for an empty word).
    void showGlossOf(const QString& word, const QString& language);
    Glosses* glosses() { return &glosses_; }
    // What the line says, whole.
    QString wholeText() const { return whole_; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void show(const Glosses::Gloss& gloss);
    void elide();

    Glosses glosses_;
    QString word_;
    QString language_;
    QString whole_;
    bool hint_ = false;
};
