#include "ui/window/WordCommands.h"

#include "base/StatusLine.h"
#include "core/LookUpAddress.h"
#include "ui/common/Alert.h"
#include "ui/common/LookUp.h"
#include "ui/common/Speaker.h"

#include <QAction>
#include <QDesktopServices>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

WordCommands::WordCommands(std::shared_ptr<AppModel> model, QMainWindow* window, QMenu* wordsMenu,
                           QAction* lookUp, QAction* speak, std::function<QString()> selectedWord)
    : QObject(window)
    , appModel_(std::move(model))
    , window_(window)
    , lookUp_(lookUp)
    , speak_(speak)
    , selectedWord_(std::move(selectedWord)) {
    speaker_ = new Speaker(this);
    wordsMenu->setToolTipsVisible(true);
    connect(speaker_, &Speaker::availabilityChanged, this, [this] {
        // An engine that turned out missing on the way to a word: say why.
        if (speakAsked_ && !speaker_->isAvailable())
            window_->statusBar()->showMessage(speaker_->unavailableReason(), 10000);
        speakAsked_ = false;
        updateSpeakAction();
    });
    connect(speak_, &QAction::triggered, this, &WordCommands::speakSelectedWord);
    connect(lookUp_, &QAction::triggered, this, [this] { lookUpSelectedWord(); });
    lookUpIn_ = new QMenu(tr("Look Up In"), window_);
    lookUpIn_->setObjectName(QStringLiteral("lookUpInMenu"));
    wordsMenu->addSeparator();
    wordsMenu->addAction(lookUp_);
    wordsMenu->addMenu(lookUpIn_);
    wordsMenu->addAction(speak_);
    connect(wordsMenu, &QMenu::aboutToShow, this, &WordCommands::selectedWordChanged);
    connect(lookUpIn_, &QMenu::aboutToShow, this, &WordCommands::fillLookUpInMenu);
    fillLookUpInMenu(); // its keys work before it is first opened
    // The engine starts when the menu that offers it opens, or on the key.
    connect(wordsMenu, &QMenu::aboutToShow, speaker_, &Speaker::prepare);
    updateSpeakAction();
    // Another title, or another language, may have other dictionaries.
    subs_ = appModel_->subscribe([this](const AppState& state) {
        const QString language = state.languageOf(state.currentTitle.id);
        if (language != lookUpLanguage_) {
            lookUpLanguage_ = language;
            fillLookUpInMenu();
        }
    });
}

QString WordCommands::currentLanguage() const {
    const AppState& state = appModel_->state();
    return state.languageOf(state.currentTitle.id);
}

void WordCommands::fillLookUpInMenu() {
    for (QAction* action : lookUpIn_->actions()) {
        window_->removeAction(action);
        delete action;
    }
    const QStringList addresses = LookUp::addresses(currentLanguage());
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        const QString address = addresses[i];
        QAction* action = lookUpIn_->addAction(LookUp::nameOf(address));
        action->setToolTip(address);
        // Ctrl+Alt+1 to 9: no other command of the window uses Alt.
        if (i < 9) {
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key(Qt::Key_1 + i)));
            window_->addAction(action); // the key works while the menu is closed
        }
        connect(action, &QAction::triggered, this,
                [this, address] { lookUpSelectedWord(address); });
    }
}

void WordCommands::lookUpSelectedWord(const QString& address) {
    const QString word = selectedWord_();
    if (word.isEmpty())
        return;
    // The addresses come from the settings file, which anything may have
    // written: one that is not a web address with {word} in it is skipped,
    // and Look Up goes on to the next one.
    const QStringList candidates =
        address.isEmpty() ? LookUp::addresses(currentLanguage()) : QStringList{address};
    QUrl url;
    for (const QString& candidate : candidates) {
        url = LookUpAddress::urlFor(candidate, word);
        if (!url.isEmpty())
            break;
        printStatus(QStringLiteral("Skipped the look-up address ") + candidate +
                    QStringLiteral(": ") + LookUpAddress::problemInEnglish(candidate));
        window_->statusBar()->showMessage(
            tr("The look-up address %1 was skipped: %2")
                .arg(candidate, LookUpAddress::problemWith(candidate)),
            10000);
    }
    if (url.isEmpty())
        return;
    printStatus(QStringLiteral("Looking up ") + url.toString(QUrl::FullyEncoded));
    if (QDesktopServices::openUrl(url))
        return;
    auto* alert =
        new Alert(window_, tr("The browser could not be started"),
                  tr("Pramel could not open %1.").arg(url.toString()), Alert::Style::critical);
    alert->removeSecondButton();
    alert->beginSheetModal({});
}

void WordCommands::selectedWordChanged() {
    const bool selected = !selectedWord_().isEmpty();
    const QString none = tr("Select a word in either list first");
    lookUp_->setEnabled(selected);
    lookUp_->setToolTip(selected ? tr("Open the selected word in a dictionary in the browser "
                                      "(Ctrl+L)")
                                 : none);
    lookUpIn_->setEnabled(selected);
    updateSpeakAction();
}

void WordCommands::updateSpeakAction() {
    const bool selected = !selectedWord_().isEmpty();
    speak_->setEnabled(speaker_->isAvailable() && selected);
    speak_->setToolTip(!speaker_->isAvailable() ? speaker_->unavailableReason()
                       : selected               ? tr("Speak the selected word (Ctrl+T)")
                                                : tr("Select a word in either list first"));
}

void WordCommands::speakSelectedWord() {
    const QString word = selectedWord_();
    if (word.isEmpty())
        return;
    if (!speaker_->isAvailable()) {
        window_->statusBar()->showMessage(speaker_->unavailableReason(), 10000);
        return;
    }
    printStatus(QStringLiteral("Speaking ") + word);
    window_->statusBar()->showMessage(tr("Speaking “%1”").arg(word), 5000);
    speakAsked_ = true;
    // In a voice of the title's language when it has one.
    const QString language = currentLanguage();
    speaker_->speak(word, language.isEmpty() ? QLocale() : QLocale(language));
}
