#pragma once

#include <QString>

class QTableView;

namespace WordTable {

// A list of the registered pane: rows selected whole, one at a time, read
// only, of a fixed height, one Tab stop; named for tests and assistive
// technology.
QTableView* make(const QString& objectName, const QString& accessibleName,
                 const QString& accessibleDescription);

} // namespace WordTable
