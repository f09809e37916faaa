#include "app/AppDelegate.h"
#include "app/BusyLog.h"
#include "app/SingleInstance.h"
#include "app/Translations.h"
#include "base/FatalError.h"
#include "base/StatusLine.h"
#include "core/UserSettings.h"
#include "core/ViewModelFactory.h"
#include "ui/titles/WindowController.h"
#include "ui/triage/TextPane.h"
#include "ui/window/WindowMemory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

QString dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// Shows a store failure before the program ends. Only the GUI thread can show
// a dialog; elsewhere the line on standard error has to do.
void showFatalError(const QString& source, const QString& message) {
    if (!qApp || QThread::currentThread() != qApp->thread())
        return;
    const QString store = dataFolder() + QStringLiteral("/TestModel.sqlite");
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Pramel"),
                    QObject::tr("Pramel cannot go on and will quit."), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setInformativeText(
        QObject::tr("The store %1 could not be used:\n%2 (%3)").arg(store, message, source));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QObject::tr("Work through the words of a text and keep the ones you know."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QObject::tr("Texts, EPUB books or subtitles to open as new titles."),
        QStringLiteral("[files...]"));
}

bool asksForTextOnly(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            return false;
        if (argument == "-h" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

// The allocator's defaults cost a book's session a fifth more memory at its
// peak: every thread that allocates gets an arena of its own that keeps what
// it freed, and after a large block is freed, blocks up to that size (a
// copy of the text, a split list) come from the heap and stay there instead
// of going back to the system.
void keepMemoryLow() {
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 2);
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}

// Ends a loop once the watched widget has painted, a moment later, when the
// window system has the frame: the loop's own flush comes only when it
// waits, and the panes built next keep it busy.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QEventLoop* loop)
        : QObject(loop)
        , loop_(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(1, Qt::PreciseTimer, loop_, [loop = loop_] {
                QGuiApplication::sync();
                loop->quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop* loop_;
    bool painted_ = false;
};

// Waits until the window's next frame is drawn and handed to the window
// system.
void drawFrame(QWidget& window) {
    window.update();
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit); // never painted: go on
    auto* painted = new FirstPaint(&loop);
    window.installEventFilter(painted);
    loop.exec();
    window.removeEventFilter(painted);
}

} // namespace

int main(int argc, char* argv[]) {
    keepMemoryLow();
    // --help and --version answer in the terminal, with or without a display.
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication terminal(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("pramel"));
        QCoreApplication::setApplicationVersion(QStringLiteral(PRAMEL_VERSION));
        QCommandLineParser parser;
        describeCommandLine(parser);
        parser.process(terminal); // prints and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    startBusyLogFromEnvironment(&app);
    QApplication::setApplicationName(QStringLiteral("Pramel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pramel"));
    installTranslations(app);
    QApplication::setDesktopFileName(QStringLiteral("pramel"));
    QApplication::setApplicationVersion(QStringLiteral(PRAMEL_VERSION));
    setFatalErrorHook(showFatalError);

    // Files named on the command line (a file manager's "Open With") become
    // titles.
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(app);
    QStringList files;
    for (const QString& file : parser.positionalArguments())
        files.append(QFileInfo(file).absoluteFilePath());

    // One Pramel per store: a second start shows the first one's window,
    // which opens the files given to it.
    SingleInstance instance(dataFolder());
    switch (instance.acquire()) {
    case SingleInstance::Claim::taken:
        break;
    case SingleInstance::Claim::heldByAnother:
        if (instance.activateRunning(files)) {
            printStatus(QStringLiteral("Pramel is already running"));
            return 0;
        }
        QMessageBox::information(nullptr, QStringLiteral("Pramel"),
                                 QObject::tr("Pramel is already running"));
        return 1;
    case SingleInstance::Claim::folderNotWritable:
        printStatus(QStringLiteral("The data folder ") + dataFolder() +
                    QStringLiteral(" cannot be written"));
        QMessageBox::critical(nullptr, QStringLiteral("Pramel"),
                              QObject::tr("Pramel cannot write to its data folder %1.")
                                  .arg(QDir::toNativeSeparators(dataFolder())));
        return 1;
    }

    const std::shared_ptr<AppModel> model = ViewModelFactory::shared().model();
    UserSettings::applyTo(*model);
    AppDelegate delegate(model);
    // The window's frame first, empty, at its place; then its panes, drawn
    // before the store is read (a book takes a while): never a black window.
    WindowController window(model, WindowController::Empty{});
    WindowMemory::place(&window);
    window.show();
    drawFrame(window);
    // The first text is read and laid out while the panes are built.
    TextPane::prepareStartText(model->readStartTextAhead());
    // The icon is drawn from its SVG at four sizes: after the first frame.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pramel.svg")));
    window.build();
    delegate.attach(&window);
    window.rememberLayout();
    QObject::connect(&instance, &SingleInstance::activationRequested, &delegate,
                     &AppDelegate::activateWindow);
    QObject::connect(&instance, &SingleInstance::openRequested, &delegate, &AppDelegate::openFiles);
    // Second starts are answered from here on; they wait until then.
    instance.listen();
    drawFrame(window);
    delegate.openFiles(files);
    delegate.applicationDidFinishLaunching();
    // A signal taken while a frame above was being drawn quit that frame's
    // loop, not the program's, which only starts now.
    if (delegate.hasLeft())
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
