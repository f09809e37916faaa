#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QIODevice;
class QTimer;

// Glosses from a DICT server (RFC 2229: dictd with the FreeDict
// dictionaries, on this machine as a rule). Each question is one short
// connection: the commands are sent at once and the answer read to the
// server's goodbye. A new question drops the one before it, whose answer
// never comes: only the word selected last matters. The connection is made
// through the network module (net/NetModule.h), loaded on the first question.
class DictClient : public QObject {
    Q_OBJECT
public:
    struct Database {
        QString name;
        QString description;
        friend bool operator==(const Database&, const Database&) = default;
    };
    // What the server answered a DEFINE: the definitions' texts (none: no
    // match), or an error.
    struct Definitions {
        QStringList texts;
        QStringList headwords; // the word each text defines, as the server wrote it
        bool badDatabase = false;
        QString error; // empty when the server answered as the protocol says
    };

    static constexpr quint16 defaultPort = 2628;
    // The longest a question waits for its whole answer, unless set.
    static constexpr int defaultTimeoutMs = 3000;

    explicit DictClient(QObject* parent = nullptr);
    ~DictClient() override;

    void setServer(const QString& host, quint16 port);
    void setTimeout(int ms);
    QString host() const { return host_; }
    quint16 port() const { return port_; }

    void define(const QString& word, const QString& database);
    void listDatabases();
    // Drops the question asked, if any.
    void cancel();

    // The protocol's texts, apart from the connection.
    // A word as a command's argument: in double quotes, its quotes and
    // backslashes escaped, control characters dropped (a word is one line).
    static QByteArray quoted(const QString& word);
    // The answer to DEFINE and to SHOW DB, from everything the server sent
    // (its banner first); complete: the answer was read to its end.
    static Definitions parseDefine(const QByteArray& received, bool* complete = nullptr);
    static QList<Database> parseDatabases(const QByteArray& received, QString* error = nullptr,
                                          bool* complete = nullptr);
    // The senses a gloss line shows, first the likeliest: of the
    // definitions of word (those whose headword is the word as written,
    // first; then those with the shorter first sense, by steps of a dozen
    // characters), their sense lines in order, without grammar tags, labels, notes, examples and
    // references. At most `most` senses, each cut to its first three alternatives.
    static QStringList sensesOf(const Definitions& definitions, const QString& word, int most);

Q_SIGNALS:
    void defined(const QString& word, const QString& database,
                 const DictClient::Definitions& definitions);
    void databasesListed(const QList<DictClient::Database>& databases);
    // No server at the address, no answer in time, or one the protocol does
    // not allow.
    void failed(const QString& reason);

private:
    enum class Asking { nothing, define, databases };
    void ask(Asking what, const QByteArray& commands);
    void finish();

    QString host_ = QStringLiteral("localhost");
    quint16 port_ = defaultPort;
    QIODevice* socket_ = nullptr;
    QTimer* timeout_ = nullptr;
    Asking asking_ = Asking::nothing;
    QString word_;
    QString database_;
    QByteArray received_;
};
