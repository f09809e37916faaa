#include "domain/Title.h"

#include "domain/TextCompare.h"

bool operator==(const Title& a, const Title& b) {
    return a.id == b.id && text::equal(a.title, b.title);
}

size_t qHash(const Title& t, size_t seed) {
    QtPrivate::QHashCombine hash;
    seed = hash(seed, t.id);
    seed = hash(seed, text::nfc(t.title));
    return seed;
}

QString uuidText(const QUuid& id) {
    return id.toString(QUuid::WithoutBraces).toUpper();
}
