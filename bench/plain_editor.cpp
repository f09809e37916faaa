// The floors scripts/bench-window.sh measures the real program against: a
// bare Qt Widgets program, started like the real one, that opens a text file
// in a QPlainTextEdit (plain_editor FILE), or shows an empty window
// (plain_editor). Prints "Window drawn" after its first frame, as the real
// program does, so the same tool times both.

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
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

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    if (argc < 2) {
        QWidget window;
        window.resize(1000, 700);
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
    editor.resize(1000, 700);
    editor.viewport()->installEventFilter(&firstPaint);
    editor.show();
    return QApplication::exec();
}
