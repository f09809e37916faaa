#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QObject;
class QUrl;

// Sound and speech live in a module of their own, libpramel-media.so, which
// the program loads the first time it plays a sound or looks for a speech
// engine: QtMultimedia and QtTextToSpeech, and PulseAudio and the codecs
// behind them, are then not loaded before the window's first frame. The
// program and the module share this interface alone, and neither links the
// other.
namespace media {

// One engine of Qt TextToSpeech, made and used on a single thread.
class Voice {
public:
    virtual ~Voice() = default;

    // Whether the engine is up and has a voice; errorString() tells why
    // not, when the engine said.
    virtual bool isReady() const = 0;
    virtual QString errorString() const = 0;
    // Speaks the text in a voice of the language, else in the engine's
    // default; spoken (see onSpoken) follows once it is done.
    virtual void say(const QString& text, const QLocale& language) = 0;
    // Called with whether the text said last was spoken.
    virtual void onSpoken(std::function<void(bool ok)> spoken) = 0;
};

class Module {
public:
    virtual ~Module() = default;

    // The speech engines installed, by name ("speechd", "flite").
    virtual QStringList speechEngines() const = 0;
    virtual std::unique_ptr<Voice> openVoice(const QString& engine) = 0;

    // A player of the sound at source, a child of owner; playSound() starts
    // it. failed is called when the sound cannot be decoded or played, ended
    // once it has stopped; both with the player, in owner's context, so that
    // disconnecting the player from owner silences them.
    virtual QObject* newSound(const QUrl& source, QObject* owner,
                              std::function<void(QObject* player)> failed,
                              std::function<void(QObject* player)> ended) = 0;
    virtual void playSound(QObject* player) = 0;
    virtual void stopSound(QObject* player) = 0;
};

} // namespace media

// The module's one entry point, resolved by name.
extern "C" media::Module* pramelMediaModule();
