#pragma once

#include <QString>
#include <QUuid>

struct SaveTitleLanguageCommand {
    QUuid titleId;
    // An ISO 639 code ("ja"); empty: the title has no language.
    QString language;
};

// Sets or clears the language of a stored title. A title that is not stored
// is left alone.
class SaveTitleLanguageCommandHandler {
public:
    void handle(const SaveTitleLanguageCommand& command) const;
};
