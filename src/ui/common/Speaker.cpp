#include "ui/common/Speaker.h"

#include "ui/common/Media.h"

#include <QThread>

#include <memory>

// Lives on the speaker's thread: starts the engine there and speaks.
class SpeechWorker : public QObject {
    Q_OBJECT
public:
    void start(const QString& wanted) {
        QString missing;
        media::Module* media = mediaModule(&missing);
        if (!media) {
            Q_EMIT answered(false, QString(), tr("Speech cannot be loaded: %1").arg(missing));
            return;
        }
        QStringList engines = media->speechEngines();
        if (!wanted.isEmpty())
            engines = engines.contains(wanted) ? QStringList{wanted} : QStringList();
        else if (engines.removeAll(QStringLiteral("speechd")))
            engines.prepend(QStringLiteral("speechd")); // the one with many languages
        QString reason = tr("No speech engine is installed (speech-dispatcher with "
                            "espeak-ng, or flite).");
        for (const QString& engine : std::as_const(engines)) {
            std::unique_ptr<media::Voice> voice = media->openVoice(engine);
            if (voice->isReady()) {
                voice_ = std::move(voice);
                voice_->onSpoken([this](bool ok) { Q_EMIT spoken(ok); });
                Q_EMIT answered(true, engine, QString());
                return;
            }
            reason =
                voice->errorString().isEmpty()
                    ? tr("The speech engine %1 has no voice.").arg(engine)
                    : tr("The speech engine %1 cannot speak: %2").arg(engine, voice->errorString());
        }
        Q_EMIT answered(false, QString(), reason);
    }

    void say(const QString& text, const QLocale& language) {
        if (voice_)
            voice_->say(text, language);
    }

Q_SIGNALS:
    void answered(bool ok, const QString& engine, const QString& reason);
    void spoken(bool ok);

private:
    std::unique_ptr<media::Voice> voice_;
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
