#pragma once

#include <QString>

// Where the file dialogs open (a text to open, a CSV file to restore, the
// CSV and Anki exports): in the folder of the last file chosen in any of
// them, kept in the user's settings across runs; else, or when that folder
// is gone, in Documents; else in the home folder.
namespace DialogFolder {

QString start();

// Remembers the folder of a file chosen in a file dialog.
void remember(const QString& chosenFile);

} // namespace DialogFolder
