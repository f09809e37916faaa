#include "importing/ZipLibrary.h"

#include <QLibrary>

#include <optional>

namespace importing {

namespace {

struct Loaded {
    std::optional<ZipLibrary> functions;
    QString why;
};

template <typename Function> bool resolve(QLibrary& library, const char* name, Function* into) {
    *into = reinterpret_cast<Function>(library.resolve(name));
    return *into != nullptr;
}

Loaded load() {
    // The version is the soname's, the one the program was built against.
    QLibrary library(QStringLiteral("zip"), PRAMEL_LIBZIP_SOVERSION);
    if (!library.load())
        return {std::nullopt, library.errorString()};
    ZipLibrary zip{};
    const bool all =
        resolve(library, "zip_open", &zip.open) && resolve(library, "zip_discard", &zip.discard) &&
        resolve(library, "zip_stat_init", &zip.statInit) &&
        resolve(library, "zip_stat", &zip.stat) && resolve(library, "zip_fopen", &zip.fopen) &&
        resolve(library, "zip_fread", &zip.fread) && resolve(library, "zip_fclose", &zip.fclose) &&
        resolve(library, "zip_strerror", &zip.strerror) &&
        resolve(library, "zip_file_strerror", &zip.fileStrerror) &&
        resolve(library, "zip_error_init_with_code", &zip.errorInitWithCode) &&
        resolve(library, "zip_error_strerror", &zip.errorStrerror) &&
        resolve(library, "zip_error_fini", &zip.errorFini);
    if (!all)
        return {std::nullopt, library.errorString()};
    // Kept loaded for the program's life: QLibrary's destructor leaves it.
    return {zip, QString()};
}

} // namespace

const ZipLibrary* ZipLibrary::get(QString* why) {
    static const Loaded loaded = load();
    if (!loaded.functions && why)
        *why = loaded.why;
    return loaded.functions ? &*loaded.functions : nullptr;
}

} // namespace importing
