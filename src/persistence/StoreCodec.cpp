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

QByteArray kindValue(AppStateWord::Kind kind) {
    return kind == AppStateWord::Kind::known ? QByteArrayLiteral("known")
                                             : QByteArrayLiteral("unwanted");
}

AppStateWord::Kind kindFromValue(QByteArrayView value) {
    return value == "known" ? AppStateWord::Kind::known : AppStateWord::Kind::unwanted;
}

} // namespace StoreCodec
