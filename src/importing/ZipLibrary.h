#pragma once

#include <QString>

#include <zip.h>

namespace importing {

// libzip, loaded on the first book opened rather than at every start: it
// brings OpenSSL's libcrypto along, a millisecond and a half before the
// window's first frame for a program that may never open an EPUB. The
// functions are those of zip.h; get() is null when the library cannot be
// loaded, with why set.
struct ZipLibrary {
    decltype(&zip_open) open;
    decltype(&zip_discard) discard;
    decltype(&zip_stat_init) statInit;
    decltype(&zip_stat) stat;
    decltype(&zip_fopen) fopen;
    decltype(&zip_fread) fread;
    decltype(&zip_fclose) fclose;
    decltype(&zip_strerror) strerror;
    decltype(&zip_file_strerror) fileStrerror;
    decltype(&zip_error_init_with_code) errorInitWithCode;
    decltype(&zip_error_strerror) errorStrerror;
    decltype(&zip_error_fini) errorFini;

    // Loaded once, by the first caller; thread-safe.
    static const ZipLibrary* get(QString* why);
};

} // namespace importing
