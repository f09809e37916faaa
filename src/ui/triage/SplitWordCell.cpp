#include "ui/triage/SplitWordCell.h"

#include "ui/triage/SplitWordTableModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {
constexpr int margin = 6;
constexpr int spacing = 6;
constexpr int rowButtonPadding = 14; // the row's buttons as narrow as their words allow
constexpr int minWordButtonWidth = 64;
constexpr int maxWordButtonLetters = 26;

QString unwantedTitle() {
    return QCoreApplication::translate("SplitWordCell", "Unwanted");
}
QString removeTitle() {
    return QCoreApplication::translate("SplitWordCell", "Remove");
}
QString learnTitle() {
    return QCoreApplication::translate("SplitWordCell", "Learn");
}

QColor mix(const QColor& a, const QColor& b, qreal amountOfA) {
    const qreal k = 1 - amountOfA;
    return QColor::fromRgbF(a.redF() * amountOfA + b.redF() * k,
                            a.greenF() * amountOfA + b.greenF() * k,
                            a.blueF() * amountOfA + b.blueF() * k);
}

// A selected row of a list without the keyboard focus: still marked, but in a
// pale tint with the plain text colour, so that the full highlight shows where
// Return and the arrow keys go. Styles such as Fusion draw both alike.
void quietenSelection(QStyleOptionViewItem& opt) {
    if (!(opt.state & QStyle::State_Selected) || !opt.widget || opt.widget->hasFocus())
        return;
    const QColor tint = mix(opt.palette.color(QPalette::Active, QPalette::Highlight),
                            opt.palette.color(QPalette::Active, QPalette::Base), 0.3);
    const QColor text = opt.palette.color(QPalette::Active, QPalette::Text);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        opt.palette.setColor(group, QPalette::Highlight, tint);
        opt.palette.setColor(group, QPalette::HighlightedText, text);
    }
}
// The text cut to width at a space, whole words kept, an ellipsis where it
// was cut (at the start when fromStart); a text with no space that fits, or
// whose cut at a space would lose a long word, is elided as the style does.
QString elideAtSpaces(const QFontMetrics& fm, const QString& text, int width, bool fromStart) {
    const QString ellipsis(QChar(0x2026));
    QList<qsizetype> cuts; // the candidate places, ascending in what they keep
    if (fromStart) {
        for (qsizetype i = text.size() - 1; i >= 0; --i) {
            if (text[i] == QLatin1Char(' ') && i + 1 < text.size())
                cuts.append(i + 1); // keeps text.mid(i + 1)
        }
    } else {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == QLatin1Char(' ') && i > 0)
                cuts.append(i); // keeps text.left(i)
        }
    }
    auto shown = [&](qsizetype cut) {
        return fromStart ? ellipsis + text.mid(cut) : text.left(cut) + ellipsis;
    };
    // The most that fits: the kept part grows with the index.
    qsizetype lo = 0;
    qsizetype hi = cuts.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi) / 2;
        if (fm.horizontalAdvance(shown(cuts[mid])) <= width)
            lo = mid + 1;
        else
            hi = mid;
    }
    const QString plain = fm.elidedText(text, fromStart ? Qt::ElideLeft : Qt::ElideRight, width);
    // A long word at the cut would leave much of the room empty: then the
    // word is cut instead.
    constexpr qsizetype mostLost = 8;
    if (lo > 0 && shown(cuts[lo - 1]).size() + mostLost > plain.size())
        return shown(cuts[lo - 1]);
    return plain;
}

} // namespace

SplitWordCell::SplitWordCell(QAbstractItemView* view)
    : QStyledItemDelegate(view)
    , press_(view) {}

SplitWordCell::Layout SplitWordCell::layoutOf(const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const {
    const QFontMetrics& fm = option.fontMetrics;
    const QRect row = option.rect;
    const int height = qMax(fm.height() + 8, row.height() - 6);
    const int top = row.top() + (row.height() - height) / 2;
    Layout l;
    const int removeWidth = fm.horizontalAdvance(removeTitle()) + rowButtonPadding;
    const int unwantedWidth = fm.horizontalAdvance(unwantedTitle()) + rowButtonPadding;
    l.remove = QRect(row.right() - margin - removeWidth + 1, top, removeWidth, height);
    l.unwanted = QRect(l.remove.left() - spacing - unwantedWidth, top, unwantedWidth, height);
    const int learnWidth = fm.horizontalAdvance(learnTitle()) + rowButtonPadding;
    l.learn = QRect(l.unwanted.left() - spacing - learnWidth, top, learnWidth, height);

    const QString word = wordLabel(index);
    const int room = l.learn.left() - spacing - (row.left() + margin);
    // A very long word is cut in its button: it stands whole, in bold, in
    // the sentence beside it, which keeps its room.
    const int wanted = qBound(minWordButtonWidth, fm.horizontalAdvance(word) + rowButtonPadding,
                              fm.averageCharWidth() * maxWordButtonLetters);
    l.word = QRect(row.left() + margin, top, qMax(0, qMin(wanted, room)), height);

    // Between the word and the buttons: how often the word stands in the
    // list (one row per word), then its sentence.
    const QRect middle(QPoint(l.word.right() + 1 + spacing, row.top()),
                       QPoint(l.learn.left() - 1 - spacing, row.bottom()));
    l.sentence = middle;
    const qint64 occurrences = index.data(SplitWordTableModel::occurrencesRole).toLongLong();
    if (occurrences > 0) {
        // "×63,919" in a right-aligned column wide enough for six digits, so
        // that the sentences of the rows start one under the other.
        const int width =
            qMax(fm.horizontalAdvance(QStringLiteral("\u00d7") + QLocale().toString(occurrences)),
                 fm.horizontalAdvance(QStringLiteral("\u00d7000,000")));
        l.occurrences =
            QRect(middle.topLeft(), QSize(qMin(width, middle.width()), middle.height()));
        l.sentence.setLeft(l.occurrences.right() + 1 + spacing * 2);
    }
    return l;
}

QRect SplitWordCell::partRect(const QStyleOptionViewItem& option, const QModelIndex& index,
                              Part part) const {
    return layoutOf(option, index).button(part);
}

QRect SplitWordCell::Layout::button(Part part) const {
    switch (part) {
    case Part::wordButton:
        return word;
    case Part::learnButton:
        return learn;
    case Part::unwantedButton:
        return unwanted;
    case Part::removeButton:
        return remove;
    case Part::none:
        break;
    }
    return {};
}

SplitWordCell::Part SplitWordCell::partAt(const QStyleOptionViewItem& option,
                                          const QModelIndex& index, const QPoint& pos) const {
    const Layout layout = layoutOf(option, index);
    for (Part p : {Part::wordButton, Part::learnButton, Part::unwantedButton, Part::removeButton}) {
        if (layout.button(p).contains(pos))
            return p;
    }
    return Part::none;
}

void SplitWordCell::paintButton(QPainter* painter, const QStyleOptionViewItem& option,
                                const QRect& rect, const QString& text, bool pressed) const {
    if (rect.width() <= 0)
        return;
    QStyleOptionButton button;
    button.rect = rect;
    button.fontMetrics = option.fontMetrics;
    button.palette = option.palette;
    button.direction = option.direction;
    button.text = option.fontMetrics.elidedText(text, Qt::ElideRight, rect.width() - 12);
    button.state = QStyle::State_Enabled | (pressed ? QStyle::State_Sunken : QStyle::State_Raised);
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &button, painter, option.widget);
}

QString SplitWordCell::wordLabel(const QModelIndex& index) {
    const QString word = index.data().toString();
    const QString head = index.data(SplitWordTableModel::familyHeadRole).toString();
    return head.isEmpty() ? word : word + QStringLiteral(" \u00b7 ") + head;
}

void SplitWordCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QString word = wordLabel(index);
    opt.text.clear();
    quietenSelection(opt);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    // Row background and selection, without the text: the buttons carry it.
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    auto pressed = [&](Part p) { return press_.isPressed(index, int(p)); };
    const Layout layout = layoutOf(option, index);
    paintButton(painter, option, layout.word, word, pressed(Part::wordButton));
    const qint64 occurrences = index.data(SplitWordTableModel::occurrencesRole).toLongLong();
    if (occurrences > 0)
        paintOccurrences(painter, opt, layout.occurrences, occurrences);
    paintSentence(painter, opt, layout.sentence,
                  index.data(SplitWordTableModel::sentenceRole).toStringList());
    paintButton(painter, option, layout.learn, learnTitle(), pressed(Part::learnButton));
    paintButton(painter, option, layout.unwanted, unwantedTitle(), pressed(Part::unwantedButton));
    paintButton(painter, option, layout.remove, removeTitle(), pressed(Part::removeButton));
}

void SplitWordCell::paintOccurrences(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QRect& box, qint64 occurrences) const {
    const QString text = QStringLiteral("\u00d7") + QLocale().toString(occurrences);
    const bool selected = option.state & QStyle::State_Selected;
    QColor colour = option.palette.color(QPalette::Active,
                                         selected ? QPalette::HighlightedText : QPalette::Text);
    colour.setAlphaF(0.7);
    painter->save();
    painter->setPen(colour);
    painter->drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
    painter->restore();
}

SplitWordCell::ShownSentence SplitWordCell::shownSentence(const QFont& font, int width,
                                                          const QStringList& parts) {
    // The word in bold, as much of the sentence on either side as the row
    // has room for: a little more of what follows the word than of what
    // precedes it.
    if (parts.size() != 3 || width < 40)
        return {};
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics plainMetrics(font);
    const QFontMetrics boldMetrics(bold);
    const QString& before = parts[0];
    const QString& after = parts[2];
    int room = width;
    ShownSentence shown;
    shown.word = boldMetrics.elidedText(parts[1], Qt::ElideRight, room);
    room -= boldMetrics.horizontalAdvance(shown.word);
    const int beforeWidth = plainMetrics.horizontalAdvance(before);
    const int afterWidth = plainMetrics.horizontalAdvance(after);
    int beforeRoom = qMin(beforeWidth, room * 2 / 5);
    const int afterRoom = qMin(afterWidth, room - beforeRoom);
    beforeRoom = qMin(beforeWidth, room - afterRoom);
    shown.before =
        beforeWidth <= beforeRoom ? before : elideAtSpaces(plainMetrics, before, beforeRoom, true);
    shown.after =
        afterWidth <= afterRoom ? after : elideAtSpaces(plainMetrics, after, afterRoom, false);
    return shown;
}

QString SplitWordCell::sentenceShown(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    const ShownSentence shown =
        shownSentence(option.font, layoutOf(option, index).sentence.width(),
                      index.data(SplitWordTableModel::sentenceRole).toStringList());
    return shown.before + shown.word + shown.after;
}

void SplitWordCell::paintSentence(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QRect& rect, const QStringList& parts) const {
    const ShownSentence shown = shownSentence(option.font, rect.width(), parts);
    if (shown.word.isEmpty())
        return;
    QFont plain = option.font;
    QFont bold = plain;
    bold.setBold(true);
    const QFontMetrics plainMetrics(plain);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorRole role = selected ? QPalette::HighlightedText : QPalette::Text;
    QColor context = option.palette.color(QPalette::Active, role);
    context.setAlphaF(0.7);
    painter->save();
    painter->setClipRect(rect);
    int x = rect.left();
    const int baseline =
        rect.top() + (rect.height() + plainMetrics.ascent() - plainMetrics.descent()) / 2;
    painter->setFont(plain);
    painter->setPen(context);
    painter->drawText(x, baseline, shown.before);
    x += plainMetrics.horizontalAdvance(shown.before);
    painter->setFont(bold);
    painter->setPen(option.palette.color(QPalette::Active, role));
    painter->drawText(x, baseline, shown.word);
    x += QFontMetrics(bold).horizontalAdvance(shown.word);
    painter->setFont(plain);
    painter->setPen(context);
    painter->drawText(x, baseline, shown.after);
    painter->restore();
}

QSize SplitWordCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(300, option.fontMetrics.height() + 14);
}

bool SplitWordCell::editorEvent(QEvent* event, QAbstractItemModel*,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    const auto result = press_.handle(
        event, option, index, [&](const QPoint& pos) { return int(partAt(option, index, pos)); });
    // A click fires a button as assistive technology presses it.
    pressCellButton(index, result.fired);
    return result.handled;
}

bool SplitWordCell::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                              const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event && view && event->type() == QEvent::ToolTip && index.isValid()) {
        QString tip;
        switch (partAt(option, index, event->pos())) {
        case Part::wordButton:
            tip = QCoreApplication::translate("SplitWordCell", "Known (Return)");
            break;
        case Part::unwantedButton:
            tip = QCoreApplication::translate("SplitWordCell", "Unwanted (Ctrl+U)");
            break;
        case Part::removeButton:
            tip = QCoreApplication::translate("SplitWordCell",
                                              "Remove until the next split (Ctrl+Return)");
            break;
        case Part::learnButton:
            tip = QCoreApplication::translate(
                "SplitWordCell", "Learn: keep the word with its sentence to learn it (Ctrl+I)");
            break;
        case Part::none:
            break;
        }
        if (!tip.isEmpty()) {
            QToolTip::showText(event->globalPos(), tip, view->viewport(), option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

QList<CellButtons::Button> SplitWordCell::cellButtons(const QModelIndex& index) const {
    // "Unwanted, button, Hund": each button's name, then the word it acts on.
    const QString word = index.data(Qt::AccessibleTextRole).toString();
    return {{int(Part::wordButton), word,
             QCoreApplication::translate("SplitWordCell", "Known: registers the word as known")},
            {int(Part::learnButton), learnTitle(), word},
            {int(Part::unwantedButton), unwantedTitle(), word},
            {int(Part::removeButton), removeTitle(), word}};
}

QRect SplitWordCell::cellButtonRect(const QStyleOptionViewItem& option, const QModelIndex& index,
                                    int id) const {
    return partRect(option, index, Part(id));
}

void SplitWordCell::pressCellButton(const QModelIndex& index, int id) {
    switch (Part(id)) {
    case Part::wordButton:
        Q_EMIT wordButtonTap(index);
        break;
    case Part::unwantedButton:
        Q_EMIT unwantedBtnTap(index);
        break;
    case Part::removeButton:
        Q_EMIT removeBtnTap(index);
        break;
    case Part::learnButton:
        Q_EMIT learnBtnTap(index);
        break;
    case Part::none:
        break;
    }
}
