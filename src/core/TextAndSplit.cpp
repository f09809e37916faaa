#include "core/TextAndSplit.h"

#include "core/SplitFilter.h"
#include "core/StartUpLoad.h"
#include "core/StateEdits.h"
#include "core/TriageHistory.h"
#include "core/UseCases.h"
#include "persistence/StoreUnitOfWork.h"
#include "text/SplitTextUseCase.h"

#include <QCoreApplication>
#include <QTimer>

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
}

TextAndSplit::TextAndSplit(Observable<AppState>& state, const UseCases& useCases, StartUpLoad& load,
                           TriageHistory& history)
    : ModelRoom(state, useCases)
    , load_(load)
    , history_(history)
    , self_(std::make_shared<TextAndSplit*>(this)) {}

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
    // Stored once the key is drawn: a keystroke's save took as long as the
    // rest of the keystroke.
    const QUuid titleId = state().currentTitle.id;
    const TextChange change{position, removed, qint64(added.size())};
    if (typed_ && typed_->titleId != titleId)
        saveTypedText();
    if (typed_) {
        typed_->change = followedBy(typed_->change, change);
        return;
    }
    typed_ = Typed{titleId, change};
    std::weak_ptr<TextAndSplit*> weak = self_;
    const auto save = [weak] {
        if (auto self = weak.lock())
            (*self)->saveTypedText();
    };
    StoreUnitOfWork::holdBack(save);
    QTimer::singleShot(0, QCoreApplication::instance(), save);
}

void TextAndSplit::saveTypedText() {
    if (!typed_)
        return;
    const Typed typed = *std::exchange(typed_, std::nullopt);
    const auto& texts = state().languageStateList;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        if (it.key().id == typed.titleId) {
            useCases().commands.saveTextCommandHandler.handle(
                SaveTextCommand{it->boxText, typed.titleId, typed.change});
            return;
        }
    }
    // The title is gone, and its text with it.
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
