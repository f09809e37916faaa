#pragma once

#include <QHash>
#include <QString>
#include <QUuid>

// The language of every stored title that has one, by the title's id.
class FetchTitleLanguagesQueryHandler {
public:
    QHash<QUuid, QString> handle() const;
};
