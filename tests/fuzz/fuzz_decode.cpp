// Feeds arbitrary bytes to the decoding of a text file: a text read has only
// "\n" line ends and looks like text; a text refused says why and names no
// encoding.
#include "FuzzInput.h"
#include "importing/TextDecoder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ImportedText read = importing::decodeText(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (read.ok()) {
        fuzzCheck(!read.text.contains(QLatin1Char('\r')), "a CR left in the text");
        fuzzCheck(importing::looksLikeText(read.text), "text that does not look like text");
        fuzzCheck(!read.encoding.isEmpty(), "text read in no encoding");
    } else {
        fuzzCheck(read.text.isEmpty(), "text from a file refused");
    }
    return 0;
}
