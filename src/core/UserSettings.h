#pragma once

#include "domain/AppState.h"

#include <QString>
#include <QVariant>

class AppModel;

// The choices of the preferences window that outlive a run: how the known
// words are sorted and the language new titles start with. Kept with
// QSettings in the user's configuration folder (~/.config/Pramel/Pramel.conf),
// not in the store: they are the user's, not the titles'.
namespace UserSettings {

// Any other setting kept in the same file (~/.config/Pramel/Pramel.conf);
// an invalid value removes the key.
QVariant value(const QString& key);
void setValue(const QString& key, const QVariant& value);

// alphabet until the user chooses.
SortType knownWordsSortType();
void setKnownWordsSortType(SortType sortType);

// An ISO 639 code; "en" (English, the first language offered) until the user
// chooses, empty when the user chose none.
QString newTitleLanguage();
void setNewTitleLanguage(const QString& language);

// The languages whose forms of a word are counted apart; none until the
// user chooses (every language with a dictionary counts them as one).
QStringList formsApart();
void setCountsForms(const QString& language, bool on);

// Whether a start reopens the title and the row selected at the last quit;
// off until the user chooses: a start opens the first title at row 0.
bool reopensLastPlace();
void setReopensLastPlace(bool on);
// The title and the row selected at a quit, for the next start.
void keepLastPlace(const QUuid& titleId, qint64 row);

// Gives the model the choices kept from earlier runs.
void applyTo(AppModel& model);

} // namespace UserSettings
