#pragma once

#include <QWidget>

// A plain pane without behaviour of its own; it stands in the window where a
// pane has not been given its controller.
class ViewController : public QWidget {
    Q_OBJECT
public:
    explicit ViewController(QWidget* parent = nullptr);
};
