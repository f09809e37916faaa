#pragma once

#include "domain/AppState.h"

// One data line of a CSV file, as read.
struct Repair {
    QString titleString;
    QUuid titleId;
    QString wordString;
    AppState::Word::Kind kind = AppState::Word::Kind::known;
    QDateTime date;
};
