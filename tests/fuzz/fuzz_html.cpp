// Feeds arbitrary bytes to the reading of an XHTML chapter: it either gives
// text or says why not, and never both.
#include "FuzzInput.h"
#include "importing/HtmlText.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QString text;
    QString error;
    const bool read = importing::htmlText(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), &text,
        &error);
    fuzzCheck(read == error.isEmpty(), "a document both read and failed, or neither");
    fuzzCheck(read || text.isEmpty(), "text from a document that failed");
    return 0;
}
