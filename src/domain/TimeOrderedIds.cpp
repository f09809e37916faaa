#include "domain/TimeOrderedIds.h"

#include <QDateTime>
#include <QRandomGenerator>

QUuid TimeOrderedIds::next() {
    if (!random_) {
        // One seed from the system source per generator: asking it for every
        // id would cost more than a whole restore's parse.
        std::seed_seq seed{
            QRandomGenerator::system()->generate(), QRandomGenerator::system()->generate(),
            QRandomGenerator::system()->generate(), QRandomGenerator::system()->generate()};
        random_.emplace(seed);
        millis_ = quint64(QDateTime::currentMSecsSinceEpoch()) & 0xFFFFFFFFFFFFull;
        high_ = (*random_)() & 0x3FF; // headroom above: the count never wraps
        low_ = (*random_)() & 0x3FFFFFFFFFFFFFFFull;
    } else if (++low_ > 0x3FFFFFFFFFFFFFFFull) {
        low_ = 0;
        ++high_;
    }
    uchar bytes[16];
    for (int i = 0; i < 6; ++i)
        bytes[i] = uchar(millis_ >> (40 - 8 * i));
    bytes[6] = uchar(0x70 | ((high_ >> 8) & 0x0F));
    bytes[7] = uchar(high_);
    bytes[8] = uchar(0x80 | ((low_ >> 56) & 0x3F));
    for (int i = 9; i < 16; ++i)
        bytes[i] = uchar(low_ >> (8 * (15 - i)));
    return QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char*>(bytes), 16));
}
