#include "domain/TimeOrderedIds.h"

#include <QDateTime>
#include <QRandomGenerator>

QUuid TimeOrderedIds::next() {
    if (!random) {
        // One seed from the system source per generator: asking it for every
        // id would cost more than a whole restore's parse.
        std::seed_seq seed{
            QRandomGenerator::system()->generate(), QRandomGenerator::system()->generate(),
            QRandomGenerator::system()->generate(), QRandomGenerator::system()->generate()};
        random.emplace(seed);
        millis = quint64(QDateTime::currentMSecsSinceEpoch()) & 0xFFFFFFFFFFFFull;
        high = (*random)() & 0x3FF; // headroom above: the count never wraps
        low = (*random)() & 0x3FFFFFFFFFFFFFFFull;
    } else if (++low > 0x3FFFFFFFFFFFFFFFull) {
        low = 0;
        ++high;
    }
    uchar bytes[16];
    for (int i = 0; i < 6; ++i)
        bytes[i] = uchar(millis >> (40 - 8 * i));
    bytes[6] = uchar(0x70 | ((high >> 8) & 0x0F));
    bytes[7] = uchar(high);
    bytes[8] = uchar(0x80 | ((low >> 56) & 0x3F));
    for (int i = 9; i < 16; ++i)
        bytes[i] = uchar(low >> (8 * (15 - i)));
    return QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char*>(bytes), 16));
}
