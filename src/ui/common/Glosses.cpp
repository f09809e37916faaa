#include "ui/common/Glosses.h"

#include "core/AppModel.h"
#include "core/UserSettings.h"
#include "text/WordFamilies.h"

#include <QHash>
#include <QLocale>

namespace {

const QString glossHostKey = QStringLiteral("glosses/host");
const QString glossPortKey = QStringLiteral("glosses/port");

QString glossDatabaseKey(const QString& language) {
    return QStringLiteral("glosses/database/") + language.toLower();
}

// The answers of this run, by server, database and word.
QHash<QString, Glosses::Gloss>& glossesKnown() {
    static QHash<QString, Glosses::Gloss> known;
    return known;
}

QString glossKey(const QString& database, const QString& word) {
    return Glosses::host() + u':' + QString::number(Glosses::port()) + u'/' + database + u'/' +
           word;
}

// ISO 639-2 (T) of a language code, as FreeDict names its dictionaries:
// "deu" for "de" and "de_AT".
QString glossThreeLetters(const QString& language) {
    const QString code = language.section(u'_', 0, 0).section(u'-', 0, 0).toLower();
    if (code.size() == 3)
        return code;
    const QLocale::Language found = QLocale::codeToLanguage(code, QLocale::ISO639Part1);
    if (found == QLocale::AnyLanguage)
        return {};
    return QLocale::languageToCode(found, QLocale::ISO639Part2T);
}

} // namespace

Glosses::Head Glosses::familyHeads(const std::shared_ptr<AppModel>& model) {
    return [weak = std::weak_ptr<AppModel>(model)](const QString& word, const QString& language) {
        const auto alive = weak.lock();
        if (!alive || !alive->state().countsForms(language))
            return QString();
        return WordFamilies(language).headIfLoaded(word);
    };
}

Glosses::Glosses(Head head, QObject* parent)
    : QObject(parent)
    , head_(std::move(head)) {
    connect(&client_, &DictClient::defined, this,
            [this](const QString& word, const QString& database,
                   const DictClient::Definitions& definitions) {
                if (definitions.badDatabase) {
                    answer({}, {},
                           tr("No %1 dictionary on the server: install %2")
                               .arg(database, packageOf(language_)));
                    return;
                }
                const QStringList senses = DictClient::sensesOf(definitions, word, Glosses::senses);
                if (!senses.isEmpty()) {
                    answer(senses, word, QString());
                    return;
                }
                // A form the dictionary lacks: its family's head, once.
                const QString head = head_ ? head_(word_, language_) : QString();
                if (!askingHead_ && !head.isEmpty() && head != word_) {
                    askingHead_ = true;
                    lookUp(head);
                    return;
                }
                answer({}, {}, tr("No gloss for “%1”").arg(word_));
            });
    connect(&client_, &DictClient::failed, this, [this](const QString& reason) {
        Gloss gloss;
        gloss.word = word_;
        gloss.language = language_;
        gloss.hint = tr("No dictionary server at %1:%2 (%3): install dictd and %4")
                         .arg(host())
                         .arg(port())
                         .arg(reason, packageOf(language_));
        // Not remembered: the server may be started in a moment.
        Q_EMIT answered(gloss);
    });
}

void Glosses::ask(const QString& word, const QString& language) {
    client_.cancel();
    word_ = word;
    language_ = language;
    database_ = database(language);
    askingHead_ = false;
    if (word.isEmpty() || language.isEmpty() || database_.isEmpty()) {
        Gloss gloss{word, language, {}, {}, {}};
        if (!word.isEmpty() && !language.isEmpty())
            gloss.hint = tr("No dictionary chosen for this language (Preferences)");
        Q_EMIT answered(gloss);
        return;
    }
    if (const auto found = known(word, language)) {
        Q_EMIT answered(*found);
        return;
    }
    lookUp(word);
}

std::optional<Glosses::Gloss> Glosses::known(const QString& word, const QString& language) const {
    const auto found = glossesKnown().constFind(glossKey(database(language), word));
    if (found == glossesKnown().cend())
        return std::nullopt;
    return *found;
}

void Glosses::lookUp(const QString& word) {
    client_.setServer(host(), port());
    client_.define(word, database_);
}

void Glosses::answer(QStringList senses, const QString& lookedUp, const QString& hint) {
    Gloss gloss{word_, language_, lookedUp, std::move(senses), hint};
    glossesKnown().insert(glossKey(database_, word_), gloss);
    Q_EMIT answered(gloss);
}

QString Glosses::host() {
    const QString stored = UserSettings::value(glossHostKey).toString().trimmed();
    return stored.isEmpty() ? QStringLiteral("localhost") : stored;
}

quint16 Glosses::port() {
    const int stored = UserSettings::value(glossPortKey).toInt();
    return stored > 0 && stored < 65536 ? quint16(stored) : DictClient::defaultPort;
}

void Glosses::setServer(const QString& host, quint16 port) {
    UserSettings::setValue(glossHostKey, host.trimmed().isEmpty() || host.trimmed() == u"localhost"
                                             ? QVariant()
                                             : QVariant(host.trimmed()));
    UserSettings::setValue(glossPortKey,
                           port == DictClient::defaultPort ? QVariant() : QVariant(int(port)));
    forgetAll();
    Q_EMIT settings().changed();
}

QString Glosses::database(const QString& language) {
    if (language.isEmpty())
        return {};
    const QVariant stored = UserSettings::value(glossDatabaseKey(language));
    return stored.isValid() ? stored.toString() : defaultDatabase(language);
}

void Glosses::setDatabase(const QString& language, const QString& database) {
    if (language.isEmpty())
        return;
    UserSettings::setValue(glossDatabaseKey(language),
                           database == defaultDatabase(language) ? QVariant() : QVariant(database));
    forgetAll();
    Q_EMIT settings().changed();
}

QString Glosses::defaultDatabase(const QString& language) {
    const QString three = glossThreeLetters(language);
    if (three.isEmpty())
        return {};
    // English is explained in English: WordNet.
    if (three == u"eng")
        return QStringLiteral("wn");
    return QStringLiteral("fd-%1-eng").arg(three);
}

QString Glosses::packageOf(const QString& language) {
    const QString three = glossThreeLetters(language);
    if (three.isEmpty())
        return QStringLiteral("dict-freedict-*");
    if (three == u"eng")
        return QStringLiteral("dict-wn");
    return QStringLiteral("dict-freedict-%1-eng").arg(three);
}

void Glosses::forgetAll() {
    glossesKnown().clear();
}

GlossSettingsNotifier& Glosses::settings() {
    static GlossSettingsNotifier notifier;
    return notifier;
}
