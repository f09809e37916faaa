// Feeds arbitrary text to the reading of subtitles (SubRip and WebVTT): what
// it keeps of the cues is never more than the file held.
#include "FuzzInput.h"
#include "importing/SubtitleReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString subtitles = fuzzText(data, size);
    fuzzCheck(importing::subtitleText(subtitles).size() <= subtitles.size(),
              "more text than the file held");
    return 0;
}
