#include "TextChunks.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace TextChunks {

namespace {

constexpr qsizetype minLength = 2048;
constexpr qsizetype maxLength = 32768;
// About one boundary in 8,192 positions past the minimum.
constexpr quint64 boundaryMask = (quint64(1) << 13) - 1;

constexpr std::array<quint64, 256> makeGear() {
    std::array<quint64, 256> gear{};
    quint64 x = 0x9E3779B97F4A7C15ull; // splitmix64: fixed, so cuts never change
    for (auto& g : gear) {
        x += 0x9E3779B97F4A7C15ull;
        quint64 z = x;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        g = z ^ (z >> 31);
    }
    return gear;
}
constexpr std::array<quint64, 256> gear = makeGear();

// Four UTF-16 units at a time; a multiply-xorshift mix per word.
quint64 pieceHash(const char16_t* data, qsizetype length) {
    quint64 h = 0xcbf29ce484222325ull ^ quint64(length);
    qsizetype i = 0;
    for (; i + 4 <= length; i += 4) {
        quint64 w;
        std::memcpy(&w, data + i, sizeof w);
        h = (h ^ w) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    for (; i < length; ++i) {
        h = (h ^ data[i]) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    return h ^ (h >> 32);
}

} // namespace

QList<Piece> cut(QStringView text) {
    QList<Piece> pieces;
    const qsizetype n = text.size();
    if (n == 0)
        return pieces;
    pieces.reserve(n / 2048 + 1);
    const char16_t* data = text.utf16();
    quint64 rolling = 0;
    qsizetype start = 0;
    // The rolling value depends on the last 64 units only (each step shifts
    // one bit out), so a piece's first units before that window are skipped.
    constexpr qsizetype window = 64;
    for (qsizetype i = minLength - window; i < n; ++i) {
        const char16_t u = data[i];
        rolling = (rolling << 1) + gear[(u ^ (u >> 8)) & 0xff];
        const qsizetype length = i + 1 - start;
        if (length < minLength)
            continue;
        if ((rolling & boundaryMask) != 0 && length < maxLength)
            continue;
        // Keep a surrogate pair together: cut after its second half.
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(data[i + 1]))
            continue;
        pieces.append({start, length, pieceHash(data + start, length)});
        start = i + 1;
        rolling = 0;
        i = std::max(i, start + minLength - window - 1);
    }
    if (start < n)
        pieces.append({start, n - start, pieceHash(data + start, n - start)});
    return pieces;
}

} // namespace TextChunks
