// Feeds arbitrary bytes to what reads the store's values back, as a damaged
// store file could hold them: ids, dates and kinds (StoreCodec), and the
// packed words of a batch on its way (WordBatchStore). A batch that unpacks
// packs back to one that unpacks the same; nothing may crash or allocate
// beyond the input's measure.
#include "FuzzInput.h"
#include "persistence/StoreCodec.h"
#include "persistence/WordBatchStore.h"

#include <QtEndian>

namespace {

bool same(const QList<AppState::Word>& a, const QList<AppState::Word>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].wordText != b[i].wordText || a[i].id != b[i].id || a[i].kind != b[i].kind ||
            a[i].timestamp != b[i].timestamp)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    const QUuid id = StoreCodec::idFromValue(bytes);
    fuzzCheck(id.isNull() || StoreCodec::idValue(id) == bytes, "an id changed");
    StoreCodec::kindFromValue(bytes);
    if (size >= 8) {
        const qint64 msecs = qFromLittleEndian<qint64>(data);
        const QDateTime date = StoreCodec::dateFromValue(msecs);
        fuzzCheck(!date.isValid() || StoreCodec::dateValue(date) == msecs, "a date changed");
    }

    if (const auto words = WordBatchStore::unpack(bytes)) {
        fuzzCheck(words->size() <= bytes.size() / 29, "more words than the bytes hold");
        const auto again = WordBatchStore::unpack(WordBatchStore::pack(*words));
        fuzzCheck(again && same(*again, *words), "a batch changed");
    }
    return 0;
}
