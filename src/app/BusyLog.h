#pragma once

class QObject;

// For measuring how long the window cannot answer: with PRAMEL_BUSY_LOG
// naming a file, a 1 ms timer on the GUI thread appends a line
// "END_MS LENGTH_MS" for every stretch of more than 8 ms between two of its
// ticks (the thread busy with something else: no key, no paint meanwhile).
// END_MS is on the system's monotonic clock, as other programs read it.
// Without the variable, nothing runs.
void startBusyLogFromEnvironment(QObject* parent);
