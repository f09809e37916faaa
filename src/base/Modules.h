#pragma once

#include <QString>

// The program's own modules, lib/pramel/lib<name>.so beside the program:
// under the program's folder or its parent (the build tree, its tests and an
// installed /usr/bin/pramel alike). Each is loaded the first time it is
// needed and kept for the program's life.
//
// The module's entry point of that name, or null with why set.
QFunctionPointer moduleEntry(const QString& fileName, const char* entry, QString* why);

// The object a module's entry point makes (M* entry()), loaded on the first
// call and the same ever after; null with why set when it cannot be.
// Thread-safe. Each M stands for one module.
template <class M> M* loadedModule(const QString& fileName, const char* entry, QString* why) {
    struct Loaded {
        M* module = nullptr;
        QString why;
    };
    static const Loaded loaded = [&] {
        Loaded found;
        using Entry = M* (*)();
        if (auto made = reinterpret_cast<Entry>(moduleEntry(fileName, entry, &found.why)))
            found.module = made();
        return found;
    }();
    if (!loaded.module && why)
        *why = loaded.why;
    return loaded.module;
}
