#include "ui/common/LookUp.h"

#include "core/UserSettings.h"

#include <QCoreApplication>

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

QString problemWith(const QString& address) {
    const QString trimmed = address.trimmed();
    if (!trimmed.contains(placeholder))
        return QCoreApplication::translate("LookUp", "The address has no {word} in it.");
    const QUrl url(QString(trimmed).replace(placeholder, QStringLiteral("word")), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QStringLiteral("https") && url.scheme() != QStringLiteral("http")))
        return QCoreApplication::translate("LookUp",
                                           "The address is not a web address (https://…).");
    return QString();
}

QUrl urlFor(const QString& address, const QString& word) {
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(word));
    return QUrl(QString(address.trimmed()).replace(placeholder, encoded), QUrl::TolerantMode);
}

QString nameOf(const QString& address) {
    const QString host =
        QUrl(QString(address.trimmed()).replace(placeholder, QStringLiteral("word"))).host();
    return host.startsWith(QStringLiteral("www.")) ? host.mid(4) : host;
}

} // namespace LookUp
