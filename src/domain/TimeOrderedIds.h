#pragma once

#include <QUuid>

#include <optional>
#include <random>

// Ids for many words made at once (the copy of a title, a restored file):
// UUIDs of version 7 (RFC 9562), which begin with the time in milliseconds
// and, within one generator, count up. Stored one after another they append
// to the store's id index; random ids would touch one page of it per word,
// which made storing a copy of a long book write gigabytes.
class TimeOrderedIds {
public:
    QUuid next();

private:
    quint64 millis_ = 0;
    quint64 high_ = 0; // 12 bits after the version
    quint64 low_ = 0;  // 62 bits after the variant
    std::optional<std::mt19937_64> random_;
};
