#include "WindowController.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenuBar>

WindowController::WindowController(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Pramel"));
    resize(1100, 700);
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* quit = file->addAction(tr("&Quit"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, qApp, &QApplication::quit);
}
