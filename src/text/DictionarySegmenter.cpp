#include "text/SplitTextUseCase.h"

#include "base/Utf16.h"
#include "text/JapaneseMorphemes.h"

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

bool holdsLetterOrNumber(const QString& text, SplitTextUseCase::Span span) {
    const QChar* data = text.constData();
    const qsizetype end = span.start + span.length;
    for (qsizetype p = span.start; p < end;) {
        const Utf16::CodePoint cp = Utf16::codePointAt(data, p, end);
        if (QChar::isLetterOrNumber(cp.value))
            return true;
        p += cp.length;
    }
    return false;
}

// The language part of a code: "zh" of "zh_TW" or "zh-Hant".
QStringView languagePart(const QString& language) {
    qsizetype end = 0;
    while (end < language.size() && language[end] != u'_' && language[end] != u'-')
        ++end;
    return QStringView(language).left(end);
}

} // namespace

bool SplitTextUseCase::usesDictionary(const QString& language) {
    // "zh", or "zh_TW" / "zh-Hant": the language part decides.
    const QStringView code = languagePart(language);
    for (const char* dictionary : {"ja", "zh", "th", "km", "lo", "my"}) {
        if (code == QLatin1String(dictionary))
            return true;
    }
    return false;
}

struct SplitTextUseCase::DictionarySegmenter::Engines {
    // Japanese: MeCab where it is installed, ICU otherwise.
    std::unique_ptr<JapaneseMorphemes> mecab;
    std::unique_ptr<icu::BreakIterator> words;
    UText run = UTEXT_INITIALIZER;
    ~Engines() { utext_close(&run); }
};

SplitTextUseCase::DictionarySegmenter::DictionarySegmenter(const QString& language)
    : engines_(std::make_unique<Engines>()) {
    if (languagePart(language) == u"ja") {
        engines_->mecab = std::make_unique<JapaneseMorphemes>();
        if (engines_->mecab->isAvailable())
            return;
        engines_->mecab.reset();
    }
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray name = language.toLatin1();
    engines_->words.reset(
        icu::BreakIterator::createWordInstance(icu::Locale(name.constData()), status));
    // Without ICU's data every run stays whole, as the tokenizer found it.
    if (U_FAILURE(status))
        engines_->words.reset();
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
    if (engines_->mecab) {
        // Symbols are no words, as with ICU, nor is a sign MeCab reads as an
        // unknown noun (♪).
        for (const JapaneseMorphemes::Morpheme& morpheme :
             engines_->mecab->parse(QStringView(text).mid(run.start, run.length))) {
            const Span word{run.start + morpheme.start, morpheme.length};
            if (!morpheme.isSymbol && holdsLetterOrNumber(text, word))
                words.append(word);
        }
        return;
    }
    if (!engines_->words || run.length > std::numeric_limits<int32_t>::max()) {
        words.append(run);
        return;
    }
    UErrorCode status = U_ZERO_ERROR;
    // The run is read where it stands in the text, without a copy; offsets
    // are UTF-16 units from its start.
    utext_openUChars(&engines_->run, reinterpret_cast<const UChar*>(text.constData() + run.start),
                     int64_t(run.length), &status);
    icu::BreakIterator& iterator = *engines_->words;
    iterator.setText(&engines_->run, status);
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
