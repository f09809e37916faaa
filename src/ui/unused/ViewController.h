#pragma once

#include <QWidget>

// Unused: kept with the program's required set of view classes (see README.md here).
//
// A plain pane without behaviour of its own. The window does not place one.
class ViewController : public QWidget {
    Q_OBJECT
public:
    explicit ViewController(QWidget* parent = nullptr);
};
