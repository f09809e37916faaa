#include "core/LookUpAddress.h"

#include <QCoreApplication>

namespace LookUpAddress {

namespace {

const QString placeholder = QStringLiteral("{word}");

bool isWebAddress(const QUrl& url) {
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QStringLiteral("https") || url.scheme() == QStringLiteral("http"));
}

const char* problem(const QString& address) {
    const QString trimmed = address.trimmed();
    if (!trimmed.contains(placeholder))
        return QT_TRANSLATE_NOOP("LookUp", "The address has no {word} in it.");
    if (!isWebAddress(
            QUrl(QString(trimmed).replace(placeholder, QStringLiteral("word")), QUrl::StrictMode)))
        return QT_TRANSLATE_NOOP("LookUp", "The address is not a web address (https://…).");
    return nullptr;
}

} // namespace

QString problemWith(const QString& address) {
    const char* text = problem(address);
    return text ? QCoreApplication::translate("LookUp", text) : QString();
}

QString problemInEnglish(const QString& address) {
    const char* text = problem(address);
    return text ? QString::fromUtf8(text) : QString();
}

QUrl urlFor(const QString& address, const QString& word) {
    if (problem(address))
        return QUrl();
    // Percent-encoded, the word cannot end the part of the address it
    // stands in, nor make it another kind of address.
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(word));
    return QUrl(QString(address.trimmed()).replace(placeholder, encoded), QUrl::TolerantMode);
}

} // namespace LookUpAddress
