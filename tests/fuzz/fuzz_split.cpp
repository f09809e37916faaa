// Feeds arbitrary text to the tokenizer and checks what any split must hold:
// words are not empty, hold no separator, have no white space at either end,
// and stand in the text in the order given; the same for a text in a
// language whose words ICU finds with dictionaries.
#include "FuzzInput.h"
#include "text/SplitTextUseCase.h"

#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_split: %s\n", what);
        std::abort();
    }
}

void checkWords(const QString& text, const QStringList& words) {
    qsizetype from = 0;
    for (const QString& word : words) {
        check(!word.isEmpty(), "empty word");
        for (char32_t cp : word.toUcs4())
            check(!SplitTextUseCase::Tokenizer::isSeparator(cp), "separator inside a word");
        check(!SplitTextUseCase::Tokenizer::isWhiteSpaceOrNewline(word.toUcs4().constFirst()) &&
                  !SplitTextUseCase::Tokenizer::isWhiteSpaceOrNewline(word.toUcs4().constLast()),
              "white space at a word's end");
        const qsizetype at = text.indexOf(word, from);
        check(at >= 0, "word not in the text, in order");
        from = at + word.size();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fuzzText(data, size);
    checkWords(text, SplitTextUseCase::split(text));
    checkWords(text, SplitTextUseCase::split(text, QStringLiteral("ja")));
    checkWords(text, SplitTextUseCase::split(text, QStringLiteral("th")));
    return 0;
}
