// The floors scripts/bench-window.sh measures the real program against: a
// bare Qt Widgets program, started like the real one, that opens a text file
// in a QPlainTextEdit (plain_editor FILE), or shows an empty window
// (plain_editor). Prints "Window drawn" after its first frame, as the real
// program does, so the same tool times both.

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

// Announces the first paint of the watched widget, once.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            QTimer::singleShot(0, this, [] {
                std::puts("Window drawn");
                std::fflush(stdout);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool done_ = false;
};

// The real program's first window: 96% of the screen's width and 92% of its
// height, at most 1600 by 1000, in its middle (WindowMemory::firstGeometry).
// The floors take the same pixels, so a frame costs them what it costs it.
// PRAMEL_FLOOR_SIZE=WxH asks for another size.
void place(QWidget* window) {
    const QStringList asked = qEnvironmentVariable("PRAMEL_FLOOR_SIZE").split(u'x');
    if (asked.size() == 2) {
        window->resize(asked[0].toInt(), asked[1].toInt());
        return;
    }
    const QRect available = window->screen()->availableGeometry();
    QRect geometry(0, 0, qMin(available.width() * 96 / 100, 1600),
                   qMin(available.height() * 92 / 100, 1000));
    geometry.moveCenter(available.center());
    window->setGeometry(geometry);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    if (argc < 2) {
        QWidget window;
        place(&window);
        window.installEventFilter(&firstPaint);
        window.show();
        return QApplication::exec();
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QPlainTextEdit editor;
    editor.setPlainText(QString::fromUtf8(file.readAll()));
    place(&editor);
    editor.viewport()->installEventFilter(&firstPaint);
    editor.show();
    return QApplication::exec();
}
