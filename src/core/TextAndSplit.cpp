#include "core/TextAndSplit.h"

#include "base/FreedPages.h"
#include "core/SplitFamilies.h"
#include "core/SplitFilter.h"
#include "core/StartUpLoad.h"
#include "core/StateEdits.h"
#include "core/TriageHistory.h"
#include "core/UseCases.h"
#include "persistence/StoreUnitOfWork.h"
#include "text/SplitTextUseCase.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <optional>

namespace {

// The words of text that a split keeps (SplitFilter.h), found as the
// title's language has them. Each distinct word is judged once, however
// often it stands in the text.
SplitList splitKeeping(const QString& text, const QString& language, const SplitFilter& filter) {
    SplitList::Builder builder([&](const QString& word) { return filter.keeps(word); });
    // Room made once for about as many words as such a text holds (a word
    // and its separator take five or six characters in most languages): a
    // book's list no longer grows by copies, each twice the last.
    builder.reserve(text.size() / 4);
    SplitTextUseCase::forEachWord(text, language, [&](SplitTextUseCase::Span span) {
        builder.add(QStringView(text).mid(span.start, span.length), span.start);
    });
    return builder.finish();
}

// One change that does what first, then second (in the text first made),
// did: from the first place either touched to the last, in the text before
// and in the text after both.
TextChange followedBy(const TextChange& first, const TextChange& second) {
    const qint64 start = std::min(first.position, second.position);
    // The end of the span, in the text between the two changes: never
    // before either's end there.
    const qint64 between = std::max(first.position + first.added, second.position + second.removed);
    const qint64 endBefore = between - first.added + first.removed;
    const qint64 endAfter = between - second.removed + second.added;
    return TextChange{start, endBefore - start, endAfter - start};
}

} // namespace

TextAndSplit::~TextAndSplit() {
    saveTypedText();
    setHeldBack({});
}

TextAndSplit::TextAndSplit(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
                           TriageHistory& history)
    : ModelRoom(state, useCases)
    , load_(load)
    , history_(history)
    , self_(std::make_shared<TextAndSplit*>(this)) {
    setHeldBack([this] { applyTyped(); });
}

void TextAndSplit::saveText(QString text) {
    saveTypedText();
    history_.clear(state().currentTitle.id);
    modify([&](AppState& s) {
        auto it = s.languageStateList.find(s.currentTitle);
        if (it != s.languageStateList.end()) {
            it->boxText = text;
            it->revision = newTextRevision();
            it->origin = it->revision;
        } else {
            s.languageStateList.insert(s.currentTitle, LanguageState{text, {}, 0});
        }
    });
    useCases().commands.saveTextCommandHandler.handle(
        SaveTextCommand{text, state().currentTitle.id});
}

quint64 TextAndSplit::editText(qint64 position, qint64 removed, QString added) {
    // Read as stored: reading the state would put the keys held back in it.
    const AppState& stored = storedState();
    const QUuid titleId = stored.currentTitle.id;
    if (held_ && held_->titleId != titleId)
        applyTyped();
    qint64 length = 0;
    if (held_) {
        length = held_->length;
    } else {
        const auto entry = stored.languageStateList.constFind(stored.currentTitle);
        length = entry == stored.languageStateList.constEnd() ? 0 : entry->boxText.size();
    }
    if (position < 0 || removed < 0 || position + removed > length)
        return 0;
    history_.clear(titleId);
    // The key is put in the text once it is drawn: moving the units after it
    // in a book cost more than the rest of the keystroke.
    if (!held_)
        held_ = Held{titleId, {}, length, 0};
    held_->length += qint64(added.size()) - removed;
    held_->revision = newTextRevision();
    const TextChange change{position, removed, qint64(added.size())};
    held_->edits.push_back(Edit{change, std::move(added)});
    // The store has it after that, as one change with the keys typed since.
    if (typed_ && typed_->titleId != titleId)
        saveTypedText();
    if (typed_) {
        typed_->change = followedBy(typed_->change, change);
        return held_->revision;
    }
    typed_ = Typed{titleId, change};
    std::weak_ptr<TextAndSplit*> weak = self_;
    const auto save = [weak] {
        if (auto self = weak.lock())
            (*self)->saveTypedText();
    };
    StoreUnitOfWork::holdBack(save);
    // Not a call queued at once, which would come before the frame that
    // shows the key (the window posts it after this), and late enough for
    // the window system to have taken the frame: it is sent once the event
    // loop waits.
    QTimer::singleShot(typedSaveDelayMs, Qt::PreciseTimer, QCoreApplication::instance(), save);
    return held_->revision;
}

void TextAndSplit::applyTyped() {
    if (!held_ || QThread::currentThread() != QCoreApplication::instance()->thread())
        return;
    // Taken first: the write below reads the state, which comes back here.
    const Held held = *std::exchange(held_, std::nullopt);
    modifyInPlace([&](AppState& s) {
        auto it = findById(s.languageStateList, held.titleId);
        if (it == s.languageStateList.end()) {
            if (s.currentTitle.id != held.titleId)
                return; // the title is gone
            it = s.languageStateList.insert(s.currentTitle, LanguageState{});
        }
        // Changed where it stands: the state is the text's one holder, and
        // QString::replace with a length that changes would build a new one.
        for (const Edit& edit : held.edits) {
            if (edit.change.removed > 0)
                it->boxText.remove(edit.change.position, edit.change.removed);
            if (!edit.added.isEmpty())
                it->boxText.insert(edit.change.position, edit.added);
        }
        it->revision = held.revision;
    });
}

void TextAndSplit::saveTypedText() {
    applyTyped();
    if (!typed_)
        return;
    const Typed typed = *std::exchange(typed_, std::nullopt);
    const auto& texts = state().languageStateList;
    const auto entry = findById(texts, typed.titleId);
    if (entry == texts.cend())
        return; // the title is gone, and its text with it
    useCases().commands.saveTextCommandHandler.handle(
        SaveTextCommand{entry->boxText, typed.titleId, typed.change});
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
    std::optional<LanguageState> before;
    auto it = s.languageStateList.constFind(s.currentTitle);
    if (it != s.languageStateList.constEnd()) {
        boxText = it->boxText;
        before = *it;
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
        if (before) { // the same text, shown already
            entry.revision = before->revision;
            entry.origin = before->origin;
        }
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
        // Its families numbered here, not at the first Return.
        const QString language = s.languageOf(title.id);
        if (s.countsForms(language))
            SplitFamilies::of(*result, language, true);
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
                // The list replaced is gone: its pieces lay in the heap of
                // the thread that split it.
                returnFreedPagesSoon();
            },
            Qt::QueuedConnection);
    });
}

void TextAndSplit::waitForSplit() {
    if (splitting_.valid())
        splitting_.wait();
}
