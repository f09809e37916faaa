#pragma once

#include "text/WordFamilies.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>

#include <mutex>

// One language's dictionary: its heads, worked out one word at a time and
// remembered.
class WordFamilies::Dictionary {
public:
    explicit Dictionary(QString name)
        : name_(std::move(name)) {}
    virtual ~Dictionary() = default;
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    const QString& name() const { return name_; }

    void load() {
        const QMutexLocker lock(&mutex_);
        loadOnce();
    }

    QString head(const QString& word) {
        const QMutexLocker lock(&mutex_);
        loadOnce();
        return rememberedHead(word);
    }

    QStringList heads(const QStringList& words) {
        const QMutexLocker lock(&mutex_);
        loadOnce();
        QStringList found;
        found.reserve(words.size());
        for (const QString& word : words)
            found.append(word.isEmpty() ? word : rememberedHead(word));
        return found;
    }

    // head() when it can answer at once; word when it cannot.
    QString headIfLoaded(const QString& word) {
        const std::unique_lock lock(mutex_, std::try_to_lock);
        if (!lock.owns_lock() || !tried_)
            return word;
        return rememberedHead(word);
    }

    bool isLoaded() {
        const QMutexLocker lock(&mutex_);
        return tried_;
    }

protected:
    // Reads the dictionary; false when it cannot be read.
    virtual bool open() = 0;
    // The head of word, once open() succeeded.
    virtual QString findHead(const QString& word) = 0;

private:
    // The head of word, worked out once; the mutex is held, the load tried.
    QString rememberedHead(const QString& word) {
        const auto known = heads_.constFind(word);
        if (known != heads_.cend())
            return *known;
        QString found = loaded_ ? findHead(word) : word;
        // A word its own head is remembered as such, without a second copy.
        if (found == word)
            found = word;
        heads_.insert(word, found);
        return found;
    }

    void loadOnce() {
        if (!tried_)
            loaded_ = open();
        tried_ = true;
    }

    const QString name_;
    QMutex mutex_;
    bool tried_ = false;
    bool loaded_ = false;
    QHash<QString, QString> heads_;
};
