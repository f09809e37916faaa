#include "text/SplitTextUseCase.h"

#include "base/Utf16.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/utext.h>

#include <limits>

namespace {

// What a run of a token is made of. A character common to several scripts
// (a long vowel mark, a combining mark, a symbol) is of no kind of its own:
// it goes with the run it stands in.
enum class RunKind { none, dictionary, other };

bool isWrittenWithoutSpaces(QChar::Script script) {
    switch (script) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Thai:
    case QChar::Script_Khmer:
    case QChar::Script_Lao:
    case QChar::Script_Myanmar:
        return true;
    default:
        return false;
    }
}

RunKind kindOf(char32_t cp) {
    if (cp < 0x80)
        return RunKind::other;
    const QChar::Script script = QChar::script(cp);
    if (isWrittenWithoutSpaces(script))
        return RunKind::dictionary;
    // Digits are a word of their own ("2024" in "2024年"), as ICU has them.
    if ((script == QChar::Script_Common || script == QChar::Script_Inherited) &&
        QChar::category(cp) != QChar::Number_DecimalDigit)
        return RunKind::none;
    return RunKind::other;
}

} // namespace

bool SplitTextUseCase::usesDictionary(const QString& language) {
    // "zh", or "zh_TW" / "zh-Hant": the language part decides.
    qsizetype end = 0;
    while (end < language.size() && language[end] != u'_' && language[end] != u'-')
        ++end;
    const QStringView code = QStringView(language).left(end);
    for (const char* dictionary : {"ja", "zh", "th", "km", "lo", "my"}) {
        if (code == QLatin1String(dictionary))
            return true;
    }
    return false;
}

struct SplitTextUseCase::DictionarySegmenter::Icu {
    std::unique_ptr<icu::BreakIterator> words;
    UText run = UTEXT_INITIALIZER;
    ~Icu() { utext_close(&run); }
};

SplitTextUseCase::DictionarySegmenter::DictionarySegmenter(const QString& language)
    : icu_(std::make_unique<Icu>()) {
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray name = language.toLatin1();
    icu_->words.reset(
        icu::BreakIterator::createWordInstance(icu::Locale(name.constData()), status));
    // Without ICU's data every run stays whole, as the tokenizer found it.
    if (U_FAILURE(status))
        icu_->words.reset();
}

SplitTextUseCase::DictionarySegmenter::~DictionarySegmenter() = default;

void SplitTextUseCase::DictionarySegmenter::segment(const QString& text, Span token,
                                                    QList<Span>& words) {
    const QChar* data = text.constData();
    const qsizetype end = token.start + token.length;
    qsizetype runStart = token.start;
    RunKind runKind = RunKind::none;
    auto finishRun = [&](qsizetype runEnd) {
        const Span run{runStart, runEnd - runStart};
        if (runKind == RunKind::dictionary)
            segmentRun(text, run, words);
        else
            words.append(run);
    };
    for (qsizetype p = token.start; p < end;) {
        const Utf16::CodePoint cp = Utf16::codePointAt(data, p, end);
        const RunKind kind = kindOf(cp.value);
        if (kind != RunKind::none && kind != runKind) {
            // Common characters at the token's start go with its first run.
            if (runKind != RunKind::none) {
                finishRun(p);
                runStart = p;
            }
            runKind = kind;
        }
        p += cp.length;
    }
    if (end > runStart)
        finishRun(end);
}

void SplitTextUseCase::DictionarySegmenter::segmentRun(const QString& text, Span run,
                                                       QList<Span>& words) {
    if (!icu_->words || run.length > std::numeric_limits<int32_t>::max()) {
        words.append(run);
        return;
    }
    UErrorCode status = U_ZERO_ERROR;
    // The run is read where it stands in the text, without a copy; offsets
    // are UTF-16 units from its start.
    utext_openUChars(&icu_->run, reinterpret_cast<const UChar*>(text.constData() + run.start),
                     int64_t(run.length), &status);
    icu::BreakIterator& iterator = *icu_->words;
    iterator.setText(&icu_->run, status);
    if (U_FAILURE(status)) {
        words.append(run);
        return;
    }
    int32_t from = iterator.first();
    for (int32_t to = iterator.next(); to != icu::BreakIterator::DONE;
         from = to, to = iterator.next()) {
        // Letters, kana, ideographs and numbers are words; the rest (a
        // symbol between two words) is not.
        if (iterator.getRuleStatus() >= UBRK_WORD_NONE_LIMIT)
            words.append({run.start + from, to - from});
    }
}
