#include "ui/common/Media.h"

#include "base/Modules.h"

media::Module* mediaModule(QString* why) {
    return loadedModule<media::Module>(QStringLiteral("libpramel-media.so"), "pramelMediaModule",
                                       why);
}
