#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUuid>

// One studied text, as shown in the title list. Equality and hashing cover
// both the id and the name: a renamed title is a different key.
struct Title {
    QUuid id;
    QString title;

    friend bool operator==(const Title& a, const Title& b);
    friend bool operator!=(const Title& a, const Title& b) { return !(a == b); }
};

size_t qHash(const Title& t, size_t seed = 0);

// The text form of an id used everywhere text meets ids: upper-case, no braces.
QString uuidText(const QUuid& id);
