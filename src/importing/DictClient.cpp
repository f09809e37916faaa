#include "importing/DictClient.h"

#include "base/Modules.h"
#include "net/NetModule.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>

namespace {

// The network module, loaded on the first question.
net::Module* netModule(QString* why = nullptr) {
    return loadedModule<net::Module>(QStringLiteral("libpramel-net.so"), "pramelNetModule", why);
}

// The lines of an answer, without their line ends (CR LF, or LF alone).
QList<QByteArray> dictLines(const QByteArray& received) {
    QList<QByteArray> lines = received.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, not a line
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// The status of a status line ("250 ok": 250), or 0 when it is none.
int dictStatus(const QByteArray& line) {
    if (line.size() < 3 ||
        !std::all_of(line.begin(), line.begin() + 3, [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    if (line.size() > 3 && line[3] != ' ')
        return 0;
    return line.left(3).toInt();
}

// The first word of a line, in double quotes or not ("151 "Hund" fd-deu-eng
// ...": Hund after the status).
QString dictFirstArgument(const QByteArray& line, qsizetype from) {
    while (from < line.size() && line[from] == ' ')
        ++from;
    if (from < line.size() && line[from] == '"') {
        QByteArray word;
        for (qsizetype i = from + 1; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size())
                ++i;
            word += line[i];
        }
        return QString::fromUtf8(word);
    }
    const qsizetype end = line.indexOf(' ', from);
    return QString::fromUtf8(line.mid(from, end < 0 ? -1 : end - from));
}

// The lines of a text block up to its lone ".", dots doubled at line starts
// undone; at is moved past the ".". False when the block is cut short.
bool dictTextBlock(const QList<QByteArray>& lines, qsizetype& at, QString& text) {
    QStringList out;
    for (; at < lines.size(); ++at) {
        const QByteArray& line = lines[at];
        if (line == ".") {
            ++at;
            text = out.join(u'\n');
            return true;
        }
        out << QString::fromUtf8(line.startsWith("..") ? line.mid(1) : line);
    }
    return false;
}

// A sense line as a gloss shows it: without its number, its grammar tags
// (<n>), its labels ([zool.], [Am.]) and doubled spaces.
QString dictCleanSense(QString line) {
    static const QRegularExpression number(QStringLiteral("^\\s*\\d+\\.\\s*"));
    static const QRegularExpression tags(QStringLiteral("<[^>]*>|\\[[^\\]]*\\]"));
    line.remove(number);
    line.remove(tags);
    line = line.simplified();
    line.replace(QStringLiteral(" ,"), QStringLiteral(","));
    line.replace(QStringLiteral(" ;"), QStringLiteral(";"));
    while (line.endsWith(u',') || line.endsWith(u';'))
        line.chop(1);
    return line.trimmed();
}

// The first `most` alternatives of a sense ("dog, dawg, hound"), split at the
// commas outside parentheses.
QString dictFirstAlternatives(const QString& sense, int most) {
    int depth = 0;
    int alternatives = 1;
    for (qsizetype i = 0; i < sense.size(); ++i) {
        const QChar c = sense[i];
        if (c == u'(')
            ++depth;
        else if (c == u')')
            depth = std::max(0, depth - 1);
        else if (c == u',' && depth == 0 && ++alternatives > most)
            return sense.left(i);
    }
    return sense;
}

struct DictEntry {
    bool exact = false;
    QStringList senses;
};

DictEntry dictEntryOf(const QString& text, const QString& word) {
    DictEntry entry;
    const QStringList lines = text.split(u'\n');
    bool headSeen = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (!headSeen) {
            // "Hund /hˈʊnt/ <masc, n, sg>": the headword before its
            // pronunciation and tags.
            headSeen = true;
            static const QRegularExpression headEnd(QStringLiteral("\\s+[/<\\[(]|,\\s"));
            const auto match = headEnd.match(line);
            const QString head = match.hasMatch() ? line.left(match.capturedStart()) : line;
            entry.exact = head == word;
            continue;
        }
        // Notes, examples and references are not senses.
        if (line.startsWith(u'"') || line.startsWith(u'{') ||
            line.startsWith(QLatin1String("Synonym")) ||
            line.startsWith(QLatin1String("Antonym")) || line.startsWith(QLatin1String("see:")) ||
            line.startsWith(QLatin1String("Note:")))
            continue;
        const QString sense = dictCleanSense(line);
        // A grammar note alone: "(transitive verb)".
        if (sense.isEmpty() || (sense.startsWith(u'(') && sense.endsWith(u')')))
            continue;
        entry.senses << sense;
    }
    return entry;
}

} // namespace

DictClient::DictClient(QObject* parent)
    : QObject(parent)
    , timeout_(new QTimer(this)) {
    timeout_->setSingleShot(true);
    timeout_->setInterval(defaultTimeoutMs);
    connect(timeout_, &QTimer::timeout, this, [this] {
        cancel();
        Q_EMIT failed(tr("The dictionary server did not answer in time"));
    });
}

DictClient::~DictClient() {
    cancel();
}

void DictClient::setTimeout(int ms) {
    timeout_->setInterval(ms);
}

void DictClient::setServer(const QString& host, quint16 port) {
    host_ = host.trimmed().isEmpty() ? QStringLiteral("localhost") : host.trimmed();
    port_ = port == 0 ? defaultPort : port;
}

QByteArray DictClient::quoted(const QString& word) {
    QByteArray out("\"");
    for (const char c : word.toUtf8()) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            continue;
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

void DictClient::define(const QString& word, const QString& database) {
    word_ = word;
    database_ = database;
    ask(Asking::define, "DEFINE " + quoted(database) + ' ' + quoted(word) + "\r\n");
}

void DictClient::listDatabases() {
    ask(Asking::databases, "SHOW DB\r\n");
}

void DictClient::cancel() {
    timeout_->stop();
    asking_ = Asking::nothing;
    if (socket_) {
        socket_->disconnect(this);
        netModule()->abort(socket_);
        socket_->deleteLater();
        socket_ = nullptr;
    }
    received_.clear();
}

void DictClient::ask(Asking what, const QByteArray& commands) {
    cancel();
    QString missing;
    net::Module* net = netModule(&missing);
    if (!net) {
        // Told as a server's failure would be: later, not from within the
        // question.
        QMetaObject::invokeMethod(
            this, [this, missing] { Q_EMIT failed(missing); }, Qt::QueuedConnection);
        return;
    }
    asking_ = what;
    net::Events events;
    events.connected = [this, commands] {
        socket_->write("CLIENT Pramel\r\n" + commands + "QUIT\r\n");
    };
    events.readable = [this] {
        received_ += socket_->readAll();
        bool complete = false;
        if (asking_ == Asking::define)
            parseDefine(received_, &complete);
        else
            parseDatabases(received_, nullptr, &complete);
        if (complete)
            finish();
    };
    events.closed = [this] { finish(); };
    events.failed = [this](const QString& why, bool byPeer) {
        if (byPeer && !received_.isEmpty())
            return; // the goodbye: closed() reads the answer
        cancel();
        Q_EMIT failed(why);
    };
    timeout_->start();
    socket_ = net->connectTo(host_, port_, this, std::move(events));
}

void DictClient::finish() {
    if (asking_ == Asking::nothing)
        return;
    const Asking asked = asking_;
    const QByteArray received = received_;
    const QString word = word_, database = database_;
    cancel();
    if (asked == Asking::define) {
        bool complete = false;
        const Definitions definitions = parseDefine(received, &complete);
        if (!complete && definitions.error.isEmpty())
            Q_EMIT failed(tr("The dictionary server's answer was cut short"));
        else if (!definitions.error.isEmpty())
            Q_EMIT failed(definitions.error);
        else
            Q_EMIT defined(word, database, definitions);
    } else {
        QString error;
        bool complete = false;
        const QList<Database> databases = parseDatabases(received, &error, &complete);
        if (!error.isEmpty())
            Q_EMIT failed(error);
        else if (!complete)
            Q_EMIT failed(tr("The dictionary server's answer was cut short"));
        else
            Q_EMIT databasesListed(databases);
    }
}

DictClient::Definitions DictClient::parseDefine(const QByteArray& received, bool* complete) {
    Definitions out;
    bool done = false;
    bool defining = false; // after 150, before its 250
    const QList<QByteArray> lines = dictLines(received);
    for (qsizetype at = 0; at < lines.size() && !done;) {
        const QByteArray& line = lines[at++];
        const int status = dictStatus(line);
        switch (status) {
        case 220: // the banner
            break;
        case 150:
            defining = true;
            break;
        case 151: {
            QString text;
            const QString headword = dictFirstArgument(line, 3);
            if (!dictTextBlock(lines, at, text))
                break; // cut short: not complete
            out.texts << text;
            out.headwords << headword;
            break;
        }
        case 250: // CLIENT's ok, or the end of the definitions
            done = defining;
            break;
        case 552: // no match
            done = true;
            break;
        case 550:
            out.badDatabase = true;
            done = true;
            break;
        default:
            if (status >= 400) {
                out.error = QString::fromUtf8(line);
                done = true;
            } else if (status == 0 || status >= 300) {
                out.error = QStringLiteral("unexpected answer: %1").arg(QString::fromUtf8(line));
                done = true;
            }
        }
    }
    if (complete)
        *complete = done;
    return out;
}

QList<DictClient::Database> DictClient::parseDatabases(const QByteArray& received, QString* error,
                                                       bool* complete) {
    QList<Database> out;
    bool done = false;
    const QList<QByteArray> lines = dictLines(received);
    for (qsizetype at = 0; at < lines.size() && !done;) {
        const QByteArray& line = lines[at++];
        const int status = dictStatus(line);
        if (status == 110) {
            QString text;
            if (!dictTextBlock(lines, at, text))
                break;
            for (const QString& row : text.split(u'\n', Qt::SkipEmptyParts)) {
                const qsizetype space = row.indexOf(u' ');
                QString description = space < 0 ? QString() : row.mid(space + 1).trimmed();
                if (description.startsWith(u'"') && description.endsWith(u'"') &&
                    description.size() >= 2)
                    description = description.mid(1, description.size() - 2);
                out.append({space < 0 ? row : row.left(space), description});
            }
            done = true;
        } else if (status == 554) { // no databases
            done = true;
        } else if (status >= 400 || status == 0) {
            if (error)
                *error = QString::fromUtf8(line);
            done = true;
        }
    }
    if (complete)
        *complete = done;
    return out;
}

QStringList DictClient::sensesOf(const Definitions& definitions, const QString& word, int most) {
    std::vector<DictEntry> entries;
    for (const QString& text : definitions.texts) {
        DictEntry entry = dictEntryOf(text, word);
        if (!entry.senses.isEmpty())
            entries.push_back(std::move(entry));
    }
    std::stable_sort(entries.begin(), entries.end(), [](const DictEntry& a, const DictEntry& b) {
        if (a.exact != b.exact)
            return a.exact;
        // Shorter first, but the dictionary's order among senses of about
        // one length ("barks" before "bays").
        constexpr qsizetype step = 12;
        return a.senses.first().size() / step < b.senses.first().size() / step;
    });
    QStringList senses;
    for (const DictEntry& entry : entries) {
        for (const QString& sense : entry.senses) {
            if (senses.size() >= most)
                return senses;
            const QString shown = dictFirstAlternatives(sense, 3);
            if (!senses.contains(shown, Qt::CaseInsensitive))
                senses << shown;
        }
    }
    return senses;
}
