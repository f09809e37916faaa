#include "persistence/TextChunks.h"

#include <QCryptographicHash>
#include <QVarLengthArray>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace TextChunks {

namespace {

constexpr qsizetype minLength = 2048;
constexpr qsizetype maxLength = longestPiece;
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

} // namespace

QByteArray digest(QStringView piece) {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const char16_t* units = piece.utf16();
#else
    QVarLengthArray<char16_t, 4096> swapped(piece.size());
    qToLittleEndian<char16_t>(piece.utf16(), piece.size(), swapped.data());
    const char16_t* units = swapped.data();
#endif
    return QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char*>(units), piece.size() * 2),
        QCryptographicHash::Blake2b_256);
}

QList<Piece> cutFrom(QStringView text, qsizetype start,
                     const std::function<bool(qsizetype end)>& stop) {
    QList<Piece> pieces;
    const qsizetype n = text.size();
    if (start >= n)
        return pieces;
    const char16_t* data = text.utf16();
    quint64 rolling = 0;
    // The rolling value depends on the last 64 units only (each step shifts
    // one bit out), so a piece's first units before that window are skipped.
    constexpr qsizetype window = 64;
    for (qsizetype i = start + minLength - window; i < n; ++i) {
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
        pieces.append({start, length, digest(text.mid(start, length))});
        start = i + 1;
        if (stop && stop(start))
            return pieces;
        rolling = 0;
        i = std::max(i, start + minLength - window - 1);
    }
    if (start < n)
        pieces.append({start, n - start, digest(text.mid(start, n - start))});
    return pieces;
}

QList<Piece> cut(QStringView text) {
    return cutFrom(text, 0, {});
}

} // namespace TextChunks
