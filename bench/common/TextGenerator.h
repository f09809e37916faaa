#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// A generated text of about `bytes` UTF-8 bytes: mixed scripts, punctuation
// and line breaks, deterministic for a given seed.
inline QString generateText(qsizetype bytes, quint32 seed = 42) {
    static const QStringList words = {"a",
                                      "I",
                                      "of",
                                      "to",
                                      "in",
                                      "it",
                                      "is",
                                      "he",
                                      "on",
                                      "at",
                                      "by",
                                      "we",
                                      "the",
                                      "house",
                                      "was",
                                      "quiet",
                                      "and",
                                      "Elizabeth",
                                      "walked",
                                      "slowly",
                                      "through",
                                      "garden",
                                      QString::fromUtf8("café"),
                                      QString::fromUtf8("naïve"),
                                      QString::fromUtf8("über"),
                                      QString::fromUtf8("straße"),
                                      QString::fromUtf8("человек"),
                                      QString::fromUtf8("время"),
                                      QString::fromUtf8("日本語"),
                                      QString::fromUtf8("勉強"),
                                      QString::fromUtf8("ελπίδα"),
                                      "don't",
                                      "well-known",
                                      "1999",
                                      "3rd",
                                      QString::fromUtf8("l’homme"),
                                      QString::fromUtf8("😀ok")};
    static const QStringList seps = {" ",
                                     " ",
                                     " ",
                                     " ",
                                     ", ",
                                     ". ",
                                     "; ",
                                     "\n",
                                     "\r\n",
                                     " — ",
                                     "! ",
                                     "? ",
                                     QString::fromUtf8(" «"),
                                     QString::fromUtf8("» ")};
    QRandomGenerator rng(seed);
    QString out;
    out.reserve(bytes);
    qsizetype utf8 = 0;
    while (utf8 < bytes) {
        const QString& w = words[rng.bounded(qsizetype(words.size()))];
        const QString& s = seps[rng.bounded(qsizetype(seps.size()))];
        out += w;
        out += s;
        utf8 += w.toUtf8().size() + s.toUtf8().size();
    }
    return out;
}
