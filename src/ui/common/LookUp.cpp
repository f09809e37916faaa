#include "ui/common/LookUp.h"

#include "core/UserSettings.h"

namespace LookUp {

namespace {

const QString placeholder = QStringLiteral("{word}");

QString key(const QString& language) {
    return QStringLiteral("lookUp/") +
           (language.isEmpty() ? QStringLiteral("none") : language.toLower());
}

} // namespace

QStringList defaultAddresses(const QString& language) {
    const QString english = QStringLiteral("https://en.wiktionary.org/wiki/{word}");
    if (language.isEmpty() || language.compare(QStringLiteral("en"), Qt::CaseInsensitive) == 0)
        return {english};
    return {QStringLiteral("https://%1.wiktionary.org/wiki/{word}").arg(language.toLower()),
            english};
}

QStringList addresses(const QString& language) {
    const QStringList stored = UserSettings::value(key(language)).toStringList();
    return stored.isEmpty() ? defaultAddresses(language) : stored;
}

void setAddresses(const QString& language, const QStringList& list) {
    UserSettings::setValue(key(language), list.isEmpty() ? QVariant() : QVariant(list));
}

QString nameOf(const QString& address) {
    const QString host =
        QUrl(QString(address.trimmed()).replace(placeholder, QStringLiteral("word"))).host();
    return host.startsWith(QStringLiteral("www.")) ? host.mid(4) : host;
}

} // namespace LookUp
