#pragma once

#include <QString>

#include <cstdint>
#include <cstdio>

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

// Status lines would flood the fuzzer's own report on standard error.
inline void silenceStandardOutput() {
    (void)std::freopen("/dev/null", "w", stdout);
}
