#include "ui/common/Speaker.h"

#include <QTextToSpeech>
#include <QThread>
#include <QVoice>

// Lives on the speaker's thread: starts the engine there and speaks.
class SpeechWorker : public QObject {
    Q_OBJECT
public:
    void start(const QString& wanted) {
        QStringList engines = QTextToSpeech::availableEngines();
        if (!wanted.isEmpty())
            engines = engines.contains(wanted) ? QStringList{wanted} : QStringList();
        else if (engines.removeAll(QStringLiteral("speechd")))
            engines.prepend(QStringLiteral("speechd")); // the one with many languages
        QString reason = tr("No speech engine is installed (speech-dispatcher with "
                            "espeak-ng, or flite).");
        for (const QString& engine : std::as_const(engines)) {
            auto* tts = new QTextToSpeech(engine, this);
            if (tts->state() == QTextToSpeech::Ready && !tts->availableVoices().isEmpty()) {
                tts_ = tts;
                connect(tts_, &QTextToSpeech::stateChanged, this, &SpeechWorker::stateChanged);
                Q_EMIT answered(true, engine, QString());
                return;
            }
            reason =
                tts->errorString().isEmpty()
                    ? tr("The speech engine %1 has no voice.").arg(engine)
                    : tr("The speech engine %1 cannot speak: %2").arg(engine, tts->errorString());
            delete tts;
        }
        Q_EMIT answered(false, QString(), reason);
    }

    void say(const QString& text, const QLocale& language) {
        if (!tts_)
            return;
        // A voice of the language, else the engine's default.
        if (tts_->availableLocales().contains(language)) {
            tts_->setLocale(language);
        } else {
            for (const QLocale& locale : tts_->availableLocales()) {
                if (locale.language() == language.language()) {
                    tts_->setLocale(locale);
                    break;
                }
            }
        }
        speaking_ = true;
        tts_->say(text);
    }

Q_SIGNALS:
    void answered(bool ok, const QString& engine, const QString& reason);
    void spoken(bool ok);

private:
    void stateChanged(QTextToSpeech::State state) {
        if (!speaking_ || state == QTextToSpeech::Speaking)
            return;
        speaking_ = false;
        Q_EMIT spoken(state != QTextToSpeech::Error);
    }

    QTextToSpeech* tts_ = nullptr;
    bool speaking_ = false;
};

Speaker::Speaker(QObject* parent)
    : QObject(parent)
    , thread_(new QThread(this))
    , worker_(new SpeechWorker) {
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &SpeechWorker::answered, this, &Speaker::engineAnswered);
    connect(worker_, &SpeechWorker::spoken, this, &Speaker::spoken);
    thread_->setObjectName(QStringLiteral("Speech"));
}

Speaker::~Speaker() {
    if (thread_->isRunning()) {
        thread_->quit(); // the worker goes with the thread's end
        thread_->wait();
    } else {
        delete worker_; // never started
    }
}

void Speaker::prepare() {
    if (state_ != State::unknown)
        return;
    state_ = State::starting;
    const QString wanted = qEnvironmentVariable("PRAMEL_SPEECH_ENGINE");
    if (wanted == QStringLiteral("none")) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                engineAnswered(false, QString(),
                               tr("No speech engine is installed (speech-dispatcher with "
                                  "espeak-ng, or flite)."));
            },
            Qt::QueuedConnection);
        return;
    }
    thread_->start();
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, wanted] { worker->start(wanted); }, Qt::QueuedConnection);
}

void Speaker::speak(const QString& text, const QLocale& language) {
    if (text.isEmpty())
        return;
    prepare();
    if (state_ == State::unavailable || !thread_->isRunning())
        return;
    // Queued behind the engine's start: spoken once it is up.
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, text, language] { worker->say(text, language); },
        Qt::QueuedConnection);
}

void Speaker::engineAnswered(bool ok, const QString& engine, const QString& reason) {
    state_ = ok ? State::ready : State::unavailable;
    engine_ = engine;
    reason_ = reason;
    Q_EMIT availabilityChanged();
}

#include "Speaker.moc"
