#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The fuzz input as text. The first byte picks the reading: odd as raw UTF-16
// (reaches lone surrogates and any code unit), even as UTF-8.
inline QString fuzzText(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return QString();
    const bool utf16 = data[0] & 1;
    ++data;
    --size;
    if (utf16)
        return QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The fuzz input cut into pieces: each piece but the last is a length byte
// and that many bytes (fewer at the input's end); the last is what is left.
class FuzzPieces {
public:
    FuzzPieces(const std::uint8_t* data, std::size_t size)
        : data_(data)
        , size_(size) {}

    bool atEnd() const { return size_ == 0; }
    QByteArray next() {
        if (size_ == 0)
            return QByteArray();
        const std::size_t length = std::min<std::size_t>(data_[0], size_ - 1);
        return take(1, length);
    }
    QByteArray rest() { return take(0, size_); }

private:
    QByteArray take(std::size_t skip, std::size_t length) {
        QByteArray piece(reinterpret_cast<const char*>(data_ + skip), qsizetype(length));
        data_ += skip + length;
        size_ -= skip + length;
        return piece;
    }

    const std::uint8_t* data_;
    std::size_t size_;
};

// A property every input must keep; a broken one is a finding.
inline void fuzzCheck(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

// Status lines would flood the fuzzer's own report on standard error.
inline void silenceStandardOutput() {
    (void)std::freopen("/dev/null", "w", stdout);
}
