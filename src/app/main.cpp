#include "WindowController.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pramel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pramel"));
    QApplication::setDesktopFileName(QStringLiteral("pramel"));

    WindowController window;
    window.show();
    return app.exec();
}
