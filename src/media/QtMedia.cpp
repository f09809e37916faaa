// The media module: Qt TextToSpeech and QSoundEffect behind the interface
// the program loads (MediaModule.h).

#include "media/MediaModule.h"

#include <QSoundEffect>
#include <QTextToSpeech>
#include <QUrl>
#include <QVoice>

namespace {

class TextToSpeechVoice : public media::Voice {
public:
    explicit TextToSpeechVoice(const QString& engine)
        : tts_(engine) {
        QObject::connect(&tts_, &QTextToSpeech::stateChanged, &tts_,
                         [this](QTextToSpeech::State state) {
                             if (!speaking_ || state == QTextToSpeech::Speaking)
                                 return;
                             speaking_ = false;
                             if (spoken_)
                                 spoken_(state != QTextToSpeech::Error);
                         });
    }

    bool isReady() const override {
        return tts_.state() == QTextToSpeech::Ready && !tts_.availableVoices().isEmpty();
    }
    QString errorString() const override { return tts_.errorString(); }

    void say(const QString& text, const QLocale& language) override {
        const QList<QLocale> locales = tts_.availableLocales();
        if (locales.contains(language)) {
            tts_.setLocale(language);
        } else {
            for (const QLocale& locale : locales) {
                if (locale.language() == language.language()) {
                    tts_.setLocale(locale);
                    break;
                }
            }
        }
        speaking_ = true;
        tts_.say(text);
    }

    void onSpoken(std::function<void(bool ok)> spoken) override { spoken_ = std::move(spoken); }

private:
    QTextToSpeech tts_;
    bool speaking_ = false;
    std::function<void(bool)> spoken_;
};

class QtMedia : public media::Module {
public:
    QStringList speechEngines() const override { return QTextToSpeech::availableEngines(); }

    std::unique_ptr<media::Voice> openVoice(const QString& engine) override {
        return std::make_unique<TextToSpeechVoice>(engine);
    }

    QObject* newSound(const QUrl& source, QObject* owner, std::function<void(QObject*)> failed,
                      std::function<void(QObject*)> ended) override {
        auto* player = new QSoundEffect(owner);
        QObject::connect(player, &QSoundEffect::statusChanged, owner, [player, failed] {
            if (player->status() == QSoundEffect::Error)
                failed(player);
        });
        QObject::connect(player, &QSoundEffect::playingChanged, owner, [player, ended] {
            if (!player->isPlaying())
                ended(player);
        });
        player->setSource(source);
        return player;
    }

    void playSound(QObject* player) override {
        if (auto* effect = qobject_cast<QSoundEffect*>(player))
            effect->play();
    }

    void stopSound(QObject* player) override {
        if (auto* effect = qobject_cast<QSoundEffect*>(player))
            effect->stop();
    }
};

} // namespace

extern "C" Q_DECL_EXPORT media::Module* pramelMediaModule() {
    static QtMedia module;
    return &module;
}
