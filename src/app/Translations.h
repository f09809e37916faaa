#pragma once

#include <QLocale>

class QCoreApplication;

// Shows the program in the user's language: Qt's own texts (the buttons of
// its dialogs, from the system's Qt translations) and Pramel's, built into
// the program. English needs only the plural forms ("1 word", "2 words").
// Lines printed on standard output stay in English whatever the language.
// Languages are named in the language of the translation found (English
// without one): "Russisch" in German.
// Returns whether Pramel's own translation for the locale was found.
bool installTranslations(QCoreApplication& app, const QLocale& locale = QLocale());
