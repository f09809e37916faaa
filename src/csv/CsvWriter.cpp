#include "csv/CsvWriter.h"

#include "csv/CsvCommas.h"

#include <QDir>
#include <QSaveFile>

#include <algorithm>
#include <vector>

namespace csv {

namespace {

bool needsQuotes(QStringView field) {
    if (field.isEmpty())
        return true;
    for (QChar c : field) {
        const char16_t u = c.unicode();
        if (u <= u',' && (u == u',' || u == u'"' || u == u'\r' || u == u'\n'))
            return true;
    }
    return fusesWithComma(field);
}

// Writes the field at out, quoted when quotedSize >= 0; returns the end.
QChar* writeField(QChar* out, const QString& field, qsizetype quotedSize) {
    if (quotedSize < 0)
        return std::copy_n(field.constData(), field.size(), out);
    *out++ = u'"';
    for (QChar c : field) {
        *out++ = c;
        if (c == u'"')
            *out++ = u'"';
    }
    *out++ = u'"';
    return out;
}

} // namespace

QString buildText(const CsvRows& rows) {
    // Measure first, then write in place: appending field by field costs
    // more than the copying itself on a large export.
    std::vector<qsizetype> quotedSizes; // per field: -1 when written as it stands
    qsizetype size = 0;
    for (const QStringList& row : rows) {
        size += std::max<qsizetype>(row.size(), 1); // the commas and the LF
        for (const QString& field : row) {
            if (needsQuotes(field)) {
                quotedSizes.push_back(field.size() + 2 + field.count(u'"'));
                size += quotedSizes.back();
            } else {
                quotedSizes.push_back(-1);
                size += field.size();
            }
        }
    }
    QString text(size, Qt::Uninitialized);
    QChar* out = text.data();
    auto quoted = quotedSizes.cbegin();
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                *out++ = u',';
            out = writeField(out, row[i], *quoted++);
        }
        *out++ = u'\n';
    }
    Q_ASSERT(out == text.constData() + size);
    return text;
}

bool writeFile(const QString& path, const QString& text, QString* error) {
    QSaveFile file(path);
    auto fail = [&](const QString& reason) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray utf8 = text.toUtf8();
    if (file.write(utf8) != utf8.size())
        return fail(file.errorString());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace csv
