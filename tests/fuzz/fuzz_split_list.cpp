// Feeds arbitrary bytes to the unpacking of a stored split list, as a damaged
// store file could hold them: the row count, the distinct words, the word of
// each row and where each stood (pieces, see FuzzPieces). Each value that
// unpacks packs back to one that unpacks the same; a list that unpacks has
// the rows its count says, each a word of the list. Nothing may crash or
// allocate beyond the input's measure.
#include "FuzzInput.h"
#include "persistence/SplitListStore.h"

#include <QtEndian>

using namespace SplitListStore;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzPieces pieces(data, size);
    QByteArray countBytes = pieces.next();
    countBytes.resize(8, '\0');
    const qint64 count = qFromLittleEndian<qint64>(countBytes.constData());
    const QByteArray words = pieces.next();
    const QByteArray sequence = pieces.next();
    const QByteArray starts = pieces.rest();

    QStringList distinct, again;
    if (unpackWords(words, distinct))
        fuzzCheck(unpackWords(packWords(distinct), again) && again == distinct, "words changed");
    std::vector<quint32> wordOf, wordOfAgain;
    if (unpackNumbers(sequence, wordOf))
        fuzzCheck(unpackNumbers(packNumbers(wordOf), wordOfAgain) && wordOfAgain == wordOf,
                  "rows changed");
    std::vector<qint32> startOf, startOfAgain;
    if (unpackStarts(starts, startOf))
        fuzzCheck(unpackStarts(packStarts(startOf), startOfAgain) && startOfAgain == startOf,
                  "starts changed");

    const QStringList removed = distinct.mid(0, 1);
    if (const auto list = unpackList(count, words, sequence, starts, removed)) {
        fuzzCheck(list->size() <= count, "more rows than stored");
        for (qsizetype row = 0; row < list->size(); ++row) {
            fuzzCheck(distinct.contains(list->at(row)), "a row's word not in the list");
            fuzzCheck(list->startAt(row) >= -1, "a row stood before the text");
        }
    }
    return 0;
}
