#include "core/TextAndSplit.h"

#include "core/SplitFilter.h"
#include "core/StartUpLoad.h"
#include "core/StateEdits.h"
#include "core/TriageHistory.h"
#include "core/UseCases.h"
#include "text/SplitTextUseCase.h"

#include <QCoreApplication>

#include <optional>

namespace {

// The words of text that a split keeps (SplitFilter.h), found as the
// title's language has them. Each distinct word is judged once, however
// often it stands in the text.
SplitList splitKeeping(const QString& text, const QString& language, const SplitFilter& filter) {
    SplitList::Builder builder([&](const QString& word) { return filter.keeps(word); });
    SplitTextUseCase::forEachWord(text, language, [&](SplitTextUseCase::Span span) {
        builder.add(QStringView(text).mid(span.start, span.length), span.start);
    });
    return builder.finish();
}

} // namespace

TextAndSplit::TextAndSplit(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
                           TriageHistory& history)
    : ModelRoom(state, useCases)
    , load_(load)
    , history_(history)
    , self_(std::make_shared<TextAndSplit*>(this)) {}

void TextAndSplit::saveText(QString text) {
    history_.clear(state().currentTitle.id);
    modify([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it != s.languageStateList.end()) {
            it->boxText = text;
            it->revision = newTextRevision();
        } else {
            s.languageStateList.insert(s.currentTitle, LanguageState{text, {}, 0});
        }
    });
    useCases().commands.saveTextCommandHandler.handle(
        SaveTextCommand{text, state().currentTitle.id});
}

void TextAndSplit::editText(qint64 position, qint64 removed, QString added) {
    const qint64 length = currentText().size();
    if (position < 0 || removed < 0 || position + removed > length)
        return;
    history_.clear(state().currentTitle.id);
    // Changed where it stands: the state is the text's one holder, so a
    // keystroke moves the units after it instead of copying a book.
    modifyInPlace([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it == s.languageStateList.end())
            it = s.languageStateList.insert(s.currentTitle, LanguageState{});
        it->boxText.replace(position, removed, added);
        it->revision = newTextRevision();
    });
    useCases().commands.saveTextCommandHandler.handle(
        SaveTextCommand{currentText(), state().currentTitle.id,
                        TextChange{position, removed, qint64(added.size())}});
}

quint64 TextAndSplit::currentTextRevision() const {
    const AppState& s = state();
    auto it = s.languageStateList.constFind(s.currentTitle);
    return it == s.languageStateList.constEnd() ? 0 : it->revision;
}

QString TextAndSplit::currentText() const {
    const AppState& s = state();
    auto it = s.languageStateList.constFind(s.currentTitle);
    return it == s.languageStateList.constEnd() ? QString() : it->boxText;
}

void TextAndSplit::splitWords() {
    load_.finishLoading();
    history_.clear(state().currentTitle.id);
    const AppState s = state();
    QString boxText;
    std::optional<quint64> revision;
    auto it = s.languageStateList.constFind(s.currentTitle);
    if (it != s.languageStateList.constEnd()) {
        boxText = it->boxText;
        revision = it->revision;
    } else {
        // No text-pane state for this title: split what the store holds for it.
        const auto stored = useCases().queries.loadLanguageStateQueryHandler.handle();
        for (auto st = stored.constBegin(); st != stored.constEnd(); ++st) {
            if (st.key().id == s.currentTitle.id) {
                boxText = st->boxText;
                break;
            }
        }
    }

    const SplitList filtered =
        splitKeeping(boxText, s.languageOf(s.currentTitle.id), SplitFilter(s, s.currentTitle.id));
    modify([&](AppState& st) {
        LanguageState entry{boxText, filtered, 0};
        if (revision)
            entry.revision = *revision; // the same text, shown already
        st.languageStateList.insert(st.currentTitle, entry);
    });
    useCases().commands.saveSplitWordCommandHandler.handle(
        SaveSplitWordCommand{filtered, state().currentTitle.id});
}

void TextAndSplit::splitWordsInBackground(std::function<void()> done) {
    load_.finishLoading();
    if (isSplitting())
        return;
    const AppState s = state();
    const Title title = s.currentTitle;
    auto it = s.languageStateList.constFind(title);
    if (it == s.languageStateList.constEnd() || s.indexOfTitle(title.id) < 0) {
        // Nothing in memory to cut (or no stored title): the plain split.
        splitWords();
        if (done)
            done();
        return;
    }
    const QString text = it->boxText;
    QObject* const loop = QCoreApplication::instance();
    std::weak_ptr<TextAndSplit*> weak = self_;
    auto result = std::make_shared<SplitList>();
    const SaveSplitWordCommandHandler saveSplit = useCases().commands.saveSplitWordCommandHandler;
    splitting_ = std::async(std::launch::async, [=] {
        // The registered words of the title's language are gathered here too:
        // s is a copy, and its lists are shared, not copied.
        *result = splitKeeping(text, s.languageOf(title.id), SplitFilter(s, title.id));
        // Stored before it is shown: a list on screen survives a kill.
        saveSplit.handle(SaveSplitWordCommand{*result, title.id});
        QMetaObject::invokeMethod(
            loop,
            [weak, result, title, done] {
                auto self = weak.lock();
                if (!self)
                    return;
                TextAndSplit& room = **self;
                room.splitting_.get();
                room.history_.clear(title.id);
                room.modify([&](AppState& st) {
                    auto entry = findById(st.languageStateList, title.id);
                    if (entry == st.languageStateList.end())
                        return;
                    entry->splittedWords = *result;
                    entry->scrollPosition = 0;
                });
                if (done)
                    done();
            },
            Qt::QueuedConnection);
    });
}

void TextAndSplit::waitForSplit() {
    if (splitting_.valid())
        splitting_.wait();
}
