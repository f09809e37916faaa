#pragma once

#include "importing/DictClient.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// Where glosses come from: the DICT server (host and port) and, per
// language, its database, chosen from those the server lists (SHOW DB).
// What the server says, or why it says nothing, is shown beside them.
class GlossServerEditor : public QWidget {
    Q_OBJECT
public:
    explicit GlossServerEditor(QWidget* parent = nullptr);

    QLineEdit* hostEdit() const { return hostEdit_; }
    QSpinBox* portBox() const { return portBox_; }
    QComboBox* languageBox() const { return languageBox_; }
    QComboBox* databaseBox() const { return databaseBox_; }
    QLabel* serverState() const { return serverState_; }

    // Asks the server for its databases again.
    void listDatabases();

private:
    void serverEdited();
    void showDatabases();
    void databaseChosen();

    QLineEdit* hostEdit_;
    QSpinBox* portBox_;
    QComboBox* languageBox_;
    QComboBox* databaseBox_;
    QLabel* serverState_;
    DictClient client_;
    QList<DictClient::Database> databases_;
    bool showing_ = false; // the boxes are being filled, not chosen in
};
