#pragma once

#include <QChar>
#include <QStringView>

// Where a comma separates fields. The reader splits a line only at a comma
// that is a grapheme cluster of its own (a comma fused with a combining mark
// after it is text), so the writer quotes a field that would fuse with the
// comma written next to it.
namespace csv {

// Whether the comma at data[at] is a grapheme cluster of its own, so that the
// reader splits there.
bool commaStandsAlone(const QChar* data, qsizetype size, qsizetype at);

// Whether a comma written right before or after this field (not empty) would
// fuse with the field's first or last character into one cluster.
bool fusesWithComma(QStringView field);

} // namespace csv
