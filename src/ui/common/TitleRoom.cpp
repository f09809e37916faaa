#include "ui/common/TitleRoom.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QScreen>
#include <QWidget>

namespace TitleRoom {

namespace {

// Follows the window's title, keeping the minimum width the window had of
// its own beside the title's.
class Keeper : public QObject {
public:
    explicit Keeper(QWidget* window)
        : QObject(window)
        , window_(window)
        , ownMinimum_(window->minimumWidth()) {
        window->installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ &&
            (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::FontChange ||
             event->type() == QEvent::Show))
            apply();
        return false;
    }

private:
    void apply() { window_->setMinimumWidth(qMax(ownMinimum_, widthFor(window_))); }

    QWidget* window_;
    int ownMinimum_;
};

} // namespace

int widthFor(const QWidget* window) {
    QString title = window->windowTitle();
    // The name Qt adds to a title that does not hold it already.
    const QString application = QGuiApplication::applicationDisplayName();
    if (!application.isEmpty() && !title.contains(application))
        title += QStringLiteral(" \u2014 ") + application;
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    // A centred title keeps clear of the buttons on either side: up to three
    // a side (minimize, maximize, close; the menu and pin on the other), each
    // about two lines of text wide.
    const int buttons = 2 * 3 * 2 * metrics.height();
    const int width = metrics.horizontalAdvance(title) + buttons;
    const QScreen* screen = window->screen();
    return screen ? qMin(width, screen->availableGeometry().width() * 4 / 5) : width;
}

void keep(QWidget* window) {
    new Keeper(window);
}

} // namespace TitleRoom
