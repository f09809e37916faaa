#include "persistence/StoreCodec.h"

namespace StoreCodec {

QByteArray idValue(const QUuid& id) {
    return id.toRfc4122();
}

QUuid idFromValue(QByteArrayView value) {
    return value.size() == 16 ? QUuid::fromRfc4122(value) : QUuid();
}

qint64 dateValue(const QDateTime& time) {
    return time.toMSecsSinceEpoch();
}

QDateTime dateFromValue(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}

QByteArray kindValue(AppState::Word::Kind kind) {
    return kind == AppState::Word::Kind::known ? QByteArrayLiteral("known")
                                               : QByteArrayLiteral("unwanted");
}

AppState::Word::Kind kindFromValue(QByteArrayView value) {
    return value == "known" ? AppState::Word::Kind::known : AppState::Word::Kind::unwanted;
}

} // namespace StoreCodec
