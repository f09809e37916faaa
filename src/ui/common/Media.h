#pragma once

#include "media/MediaModule.h"

// The media module (sound and speech), loaded on the first call from beside
// the program: lib/pramel under the program's folder or its parent (the
// build tree, its tests and an installed /usr/bin/pramel alike). Null when
// it cannot be loaded, with why set. Thread-safe.
media::Module* mediaModule(QString* why = nullptr);
