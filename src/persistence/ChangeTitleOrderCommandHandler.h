#pragma once

#include "domain/Title.h"

#include <QList>

// Rewrites the stored order from the list shown on screen: each stored title
// takes the (last) position of its id in the list.
class ChangeTitleOrderCommandHandler {
public:
    void handle(const QList<Title>& titles) const;
};
