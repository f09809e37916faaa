#include "ui/common/AccessibleCellButton.h"

#include "ui/common/CellButtons.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QPersistentModelIndex>
#include <QPointer>

namespace AccessibleItemView {

QRect globalRect(const QAbstractItemView* view, const QRect& viewportRect) {
    if (!view->isVisible() || viewportRect.isEmpty())
        return {};
    return QRect(view->viewport()->mapToGlobal(viewportRect.topLeft()), viewportRect.size());
}

CellButtons* buttonsOf(const QAbstractItemView* view, const QModelIndex& index) {
    return dynamic_cast<CellButtons*>(view->itemDelegateForIndex(index));
}

QStyleOptionViewItem optionFor(const QAbstractItemView* view, const QModelIndex& index) {
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(index);
    option.font = view->font();
    option.fontMetrics = view->fontMetrics();
    option.widget = view;
    return option;
}

namespace {

// A button painted in a cell.
class ButtonInterface : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ButtonInterface(QAbstractItemView* view, const QModelIndex& index, int id, QAccessible::Id cell)
        : view_(view)
        , index_(index)
        , id_(id)
        , cell_(cell) {}

    bool isValid() const override { return view_ && index_.isValid() && button().id == id_; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::accessibleInterface(cell_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return button().name;
        if (t == QAccessible::Description)
            return button().description;
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        CellButtons* buttons = isValid() ? buttonsOf(view_, index_) : nullptr;
        if (!buttons)
            return {};
        return globalRect(view_, buttons->cellButtonRect(optionFor(view_, index_), index_, id_));
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible =
            !view_ || !view_->viewport()->rect().intersects(view_->visualRect(index_));
        state.offscreen = state.invisible;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name != pressAction() || !isValid())
            return;
        if (CellButtons* buttons = buttonsOf(view_, index_))
            buttons->pressCellButton(index_, id_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    CellButtons::Button button() const {
        CellButtons* buttons = view_ && index_.isValid() ? buttonsOf(view_, index_) : nullptr;
        if (!buttons)
            return {};
        for (const CellButtons::Button& b : buttons->cellButtons(index_)) {
            if (b.id == id_)
                return b;
        }
        return {};
    }

    QPointer<QAbstractItemView> view_;
    QPersistentModelIndex index_;
    int id_;
    QAccessible::Id cell_;
};

} // namespace

QAccessibleInterface* makeButtonInterface(QAbstractItemView* view, const QModelIndex& index, int id,
                                          QAccessible::Id cell) {
    return new ButtonInterface(view, index, id, cell);
}

} // namespace AccessibleItemView
