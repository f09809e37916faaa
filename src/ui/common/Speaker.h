#pragma once

#include <QLocale>
#include <QObject>
#include <QString>

class QThread;
class SpeechWorker;

// Speaks a word with Qt TextToSpeech: speech-dispatcher (espeak-ng's many
// languages) when it answers, else flite. An engine can take seconds to
// start (speech-dispatcher is spawned on first use), so it starts on the
// first need (prepare() or speak()) and speaks on a thread of its own; a
// word asked for meanwhile is spoken once it is up. When no engine answers
// the speaker is unavailable and says why. PRAMEL_SPEECH_ENGINE names the
// engine to use ("none" for none).
class Speaker : public QObject {
    Q_OBJECT
public:
    explicit Speaker(QObject* parent = nullptr);
    ~Speaker() override;

    // Whether a word may be asked for: true until an engine has failed.
    bool isAvailable() const { return state_ != State::unavailable; }
    bool isReady() const { return state_ == State::ready; }
    // Starts looking for an engine, if that has not begun.
    void prepare();
    // Why the speaker cannot speak (for a tooltip); empty when it can.
    QString unavailableReason() const { return reason_; }
    QString engineName() const { return engine_; }

    // Speaks the text in a voice of the language when the engine has one,
    // else in its default voice. Does nothing while unavailable.
    void speak(const QString& text, const QLocale& language = QLocale());

Q_SIGNALS:
    void availabilityChanged();
    // The engine has finished (or failed at) speaking the last text.
    void spoken(bool ok);

private:
    void engineAnswered(bool ok, const QString& engine, const QString& reason);

    QThread* thread_ = nullptr;
    SpeechWorker* worker_ = nullptr;
    enum class State { unknown, starting, ready, unavailable };
    State state_ = State::unknown;
    QString reason_;
    QString engine_;
};
