#include "core/UserSettings.h"

#include "core/AppModel.h"

#include <QSettings>
#include <QStandardPaths>

namespace UserSettings {

namespace {

const QString sortKey = QStringLiteral("registered/knownWordsSortType");
const QString languageKey = QStringLiteral("titles/newTitleLanguage");
const QString reopenKey = QStringLiteral("titles/reopenLastPlace");
const QString lastTitleKey = QStringLiteral("titles/lastTitle");
const QString lastRowKey = QStringLiteral("titles/lastRow");
const QString formsApartKey = QStringLiteral("split/formsApart");

// The file is named in full, and its place read from the environment on
// every use: QSettings' own default place is fixed once per process.
QSettings open() {
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/Pramel/Pramel.conf"),
                     QSettings::IniFormat);
}

} // namespace

QVariant value(const QString& key) {
    return open().value(key);
}

void setValue(const QString& key, const QVariant& value) {
    if (value.isValid())
        open().setValue(key, value);
    else
        open().remove(key);
}

SortType knownWordsSortType() {
    return open().value(sortKey).toString() == QLatin1String("date") ? SortType::date
                                                                     : SortType::alphabet;
}

void setKnownWordsSortType(SortType sortType) {
    open().setValue(sortKey, sortType == SortType::date ? QStringLiteral("date")
                                                        : QStringLiteral("alphabet"));
}

QString newTitleLanguage() {
    return open().value(languageKey, QStringLiteral("en")).toString();
}

void setNewTitleLanguage(const QString& language) {
    open().setValue(languageKey, language);
}

QStringList formsApart() {
    return open().value(formsApartKey).toStringList();
}

void setCountsForms(const QString& language, bool on) {
    QStringList apart = formsApart();
    apart.removeAll(language);
    if (!on)
        apart.append(language);
    apart.sort();
    QSettings settings = open();
    if (apart.isEmpty())
        settings.remove(formsApartKey);
    else
        settings.setValue(formsApartKey, apart);
}

bool reopensLastPlace() {
    return open().value(reopenKey, false).toBool();
}

void setReopensLastPlace(bool on) {
    open().setValue(reopenKey, on);
}

void keepLastPlace(const QUuid& titleId, qint64 row) {
    QSettings settings = open();
    settings.setValue(lastTitleKey, titleId.toString(QUuid::WithoutBraces));
    settings.setValue(lastRowKey, row);
}

void applyTo(AppModel& model) {
    model.setKnownWordsSortType(knownWordsSortType());
    model.setNewTitleLanguage(newTitleLanguage());
    for (const QString& language : formsApart())
        model.setCountsForms(language, false);
    if (reopensLastPlace()) {
        const QSettings settings = open();
        model.startAt(QUuid::fromString(settings.value(lastTitleKey).toString()),
                      qMax<qint64>(0, settings.value(lastRowKey).toLongLong()));
    }
}

} // namespace UserSettings
