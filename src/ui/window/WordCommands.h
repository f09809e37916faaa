#pragma once

#include "core/AppModel.h"

#include <QObject>

#include <functional>
#include <memory>

class QAbstractItemView;
class QAction;
class QMainWindow;
class QMenu;
class Speaker;

// Words ▸ Look Up, Look Up In and Speak, on the selected word. Look Up opens
// the word in the browser through the first dictionary address of the
// current title's language (LookUp.h); Look Up In offers every address of
// that language, Ctrl+Alt+1 to 9 for the first nine; Speak says the word in
// a voice of the title's language when it has one, and says so in the
// status bar (or why it cannot). The selected word comes from the window,
// which asks its panes. All three stay listed in the Words menu; without a
// selected word they are off, and their tool tips say why.
class WordCommands : public QObject {
    Q_OBJECT
public:
    // lookUp and speak: the window's actions, Look Up In goes before speak
    // in wordsMenu.
    WordCommands(std::shared_ptr<AppModel> model, QMainWindow* window, QMenu* wordsMenu,
                 QAction* lookUp, QAction* speak, std::function<QString()> selectedWord);

    Speaker* speaker() const { return speaker_; }
    QMenu* lookUpInMenu() const { return lookUpIn_; }

    void speakSelectedWord();
    // The window's selected word may be another one (or none).
    void selectedWordChanged();
    // Opens the selected word at address; the first of the title's language
    // by default.
    void lookUpSelectedWord(const QString& address = QString());
    // The ISO 639 code of the current title's language; empty for none.
    QString currentLanguage() const;

private:
    void updateSpeakAction();
    void fillLookUpInMenu();

    std::shared_ptr<AppModel> appModel_;
    QMainWindow* window_;
    QAction* lookUp_;
    QAction* speak_;
    std::function<QString()> selectedWord_;
    Speaker* speaker_ = nullptr;
    QMenu* lookUpIn_ = nullptr;
    QString lookUpLanguage_;  // the language lookUpIn_ was filled for
    bool speakAsked_ = false; // a word waits for the engine to start
    Subscription subs_;
};
