#pragma once

#include <QMainWindow>

// The main window: the title list, the text with its split words, and the
// registered words, side by side.
class WindowController : public QMainWindow {
    Q_OBJECT
public:
    explicit WindowController(QWidget* parent = nullptr);
};
