#pragma once

#include "importing/DictClient.h"

#include <memory>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>

class AppModel;

// Told when a setting of the glosses changed: the lines ask again.
class GlossSettingsNotifier : public QObject {
    Q_OBJECT
Q_SIGNALS:
    void changed();
};

// The meanings of words, as a gloss line shows them: asked of the DICT
// server of the settings (localhost:2628 unless the learner chose another),
// in the database chosen for the title's language (by default the FreeDict
// dictionary from the language into English, fd-deu-eng for German). Where
// the word has no entry and its language counts the forms of a word as one,
// its family's head is looked up (Hunde: Hund).
//
// Every question is answered, never with a dialog: senses, or a quiet hint
// (which packages to install, a server that does not answer). What is
// answered is remembered for the run; a changed setting forgets it.
class Glosses : public QObject {
    Q_OBJECT
public:
    struct Gloss {
        QString word;
        QString language;
        QString lookedUp;   // the word or its head, as found
        QStringList senses; // the first few, likeliest first
        QString hint;       // when there are none: why, for the learner
    };

    // The family head of a word in a language, for words the dictionary
    // lacks; empty: no second look-up.
    using Head = std::function<QString(const QString& word, const QString& language)>;
    explicit Glosses(Head head, QObject* parent = nullptr);
    // The head where model's state counts the language's forms as one, as
    // the dictionary answers without waiting.
    static Head familyHeads(const std::shared_ptr<AppModel>& model);

    // Asks for word's gloss; answered() follows (at once when it is known).
    // A new question drops the one before it. An empty language answers
    // nothing: a title without a language has no dictionary.
    void ask(const QString& word, const QString& language);
    // The gloss of word when it was answered already.
    std::optional<Gloss> known(const QString& word, const QString& language) const;

    // The settings, kept with the user's other choices.
    static QString host();
    static quint16 port();
    static void setServer(const QString& host, quint16 port);
    // The database of a language: the learner's choice, else the FreeDict
    // one into English ("fd-deu-eng"); "" to ask none.
    static QString database(const QString& language);
    static void setDatabase(const QString& language, const QString& database);
    static QString defaultDatabase(const QString& language);
    // The Debian package with a language's FreeDict dictionary into English.
    static QString packageOf(const QString& language);
    // Forgets every gloss answered (after a setting changed).
    static void forgetAll();
    static GlossSettingsNotifier& settings();

    // How many senses a gloss line shows.
    static constexpr int senses = 3;

Q_SIGNALS:
    void answered(const Glosses::Gloss& gloss);

private:
    void lookUp(const QString& word);
    void answer(QStringList senses, const QString& lookedUp, const QString& hint);

    Head head_;
    DictClient client_;
    QString word_;
    QString language_;
    QString database_;
    bool askingHead_ = false;
};
