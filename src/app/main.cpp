#include "AppDelegate.h"
#include "FatalError.h"
#include "WindowController.h"

#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QThread>

namespace {
// Shows a store failure before the program ends. Only the GUI thread can show
// a dialog; elsewhere the line on standard error has to do.
void showFatalError(const QString& source, const QString& message) {
    if (!qApp || QThread::currentThread() != qApp->thread())
        return;
    const QString store = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                          QStringLiteral("/TestModel.sqlite");
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Pramel"),
                    QObject::tr("Pramel cannot go on and will quit."), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setInformativeText(
        QObject::tr("The store %1 could not be used:\n%2 (%3)").arg(store, message, source));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pramel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pramel"));
    QApplication::setDesktopFileName(QStringLiteral("pramel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pramel.svg")));
    setFatalErrorHook(showFatalError);

    AppDelegate delegate;
    WindowController window;
    delegate.attach(&window);
    window.show();
    delegate.applicationDidFinishLaunching();
    return app.exec();
}
