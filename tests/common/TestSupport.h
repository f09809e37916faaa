#pragma once

#include "domain/AppState.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

// Points the application data folder (where the store lives) and the
// configuration folder (the user's settings) at a fresh temporary folder for
// the lifetime of this object.
class TemporaryStore {
public:
    TemporaryStore() {
        QCoreApplication::setApplicationName(QStringLiteral("Pramel"));
        qputenv("XDG_DATA_HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toUtf8());
    }
    QString dataDir() const {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    QTemporaryDir dir;
};

// The texts of a word list, in order.
inline QStringList wordTexts(const QList<AppState::Word>& words) {
    QStringList out;
    for (const auto& w : words)
        out << w.wordText;
    return out;
}

// The names of the titles of a state, in order.
inline QStringList titleNames(const AppState& state) {
    QStringList out;
    for (const Title& t : state.titles())
        out << t.title;
    return out;
}
