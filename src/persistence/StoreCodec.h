#pragma once

#include "domain/AppState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QUuid>

// How values are written into the store's columns and read back.
//   ids:   16-byte blobs, RFC 4122 byte order;
//   dates: milliseconds since 1970-01-01 UTC;
//   kinds: "known" or "unwanted"; only an exact "known" reads back as known.
namespace StoreCodec {

QByteArray idValue(const QUuid& id);
QUuid idFromValue(QByteArrayView value);

qint64 dateValue(const QDateTime& time);
QDateTime dateFromValue(qint64 msecs);

QByteArray kindValue(AppState::Word::Kind kind);
AppState::Word::Kind kindFromValue(QByteArrayView value);

} // namespace StoreCodec
