#include "text/SplitTextUseCase.h"
#include "text/WordFamilies.h"

#include <QtTest>

#include <hunspell.hxx>

namespace {

// An entry of a Hunspell dictionary and the forms its affixes make.
struct Family {
    QString lemma;
    QStringList forms;
};

bool sameHead(const QString& language, const QString& a, const QString& b) {
    return WordFamilies::head(language, a).toCaseFolded() ==
           WordFamilies::head(language, b).toCaseFolded();
}

// The suffixes and prefixes of a dictionary whose flags are two characters
// long (FLAG long), which unmunch cannot read: flag → rules.
struct Affix {
    bool prefix = false;
    QString strip;
    QString add;
    QRegularExpression condition;
};
QMultiHash<QString, Affix> longFlagAffixes(const QString& aff) {
    QMultiHash<QString, Affix> affixes;
    QFile file(aff);
    if (!file.open(QIODevice::ReadOnly))
        return affixes;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QStringList fields =
            QString::fromUtf8(line).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        if (fields.size() < 5 || (fields[0] != u"SFX" && fields[0] != u"PFX"))
            continue;
        Affix affix;
        affix.prefix = fields[0] == u"PFX";
        affix.strip = fields[2] == u"0" ? QString() : fields[2];
        affix.add = fields[3].section(u'/', 0, 0);
        if (affix.add == u"0")
            affix.add.clear();
        affix.condition = QRegularExpression(affix.prefix ? u'^' + fields[4] : fields[4] + u'$');
        affixes.insert(fields[1], affix);
    }
    return affixes;
}

// The forms the affixes of flags make of word (its own, without the
// continuation classes).
QStringList applyLongFlags(const QString& word, const QString& flags,
                           const QMultiHash<QString, Affix>& affixes) {
    QStringList forms;
    for (qsizetype i = 0; i + 1 < flags.size(); i += 2) {
        for (auto it = affixes.constFind(flags.mid(i, 2));
             it != affixes.cend() && it.key() == flags.mid(i, 2); ++it) {
            const Affix& affix = *it;
            if (!affix.condition.match(word).hasMatch())
                continue;
            if (affix.prefix && word.startsWith(affix.strip))
                forms << affix.add + word.mid(affix.strip.size());
            else if (!affix.prefix && word.endsWith(affix.strip))
                forms << word.chopped(affix.strip.size()) + affix.add;
        }
    }
    return forms;
}

// Some 200 entries with affixes, spread over the whole .dic, and the forms
// the dictionary's own affix rules make of them: unmunch's (hunspell-tools),
// or, for a dictionary with two-character flags, which unmunch misreads,
// its suffixes and prefixes applied once. A form is kept when the
// dictionary takes it as a word on its own and the tokenizer reads it as
// one word (unmunch also writes compound parts, "-analysis", and clitics
// the dictionary does not take).
QList<Family> expandedFamilies(const QString& dictionary) {
    const QString aff = QStringLiteral("/usr/share/hunspell/%1.aff").arg(dictionary);
    const QString dicPath = QStringLiteral("/usr/share/hunspell/%1.dic").arg(dictionary);
    QFile dic(dicPath);
    QFile affFile(aff);
    if (!dic.open(QIODevice::ReadOnly) || !affFile.open(QIODevice::ReadOnly))
        return {};
    const bool longFlags = affFile.readAll().contains("\nFLAG long");
    QStringList entries;
    const QList<QByteArray> lines = dic.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        // word/FLAGS, then morphological fields after white space
        const QString line = QString::fromUtf8(lines[i]).section(QRegularExpression("\\s"), 0, 0);
        if (line.contains(u'/') && !line.startsWith(u'/') && !line.contains(QStringLiteral("\\/")))
            entries << line;
    }
    constexpr qsizetype sampleSize = 200;
    const qsizetype step = std::max<qsizetype>(1, entries.size() / sampleSize);
    QList<Family> families;
    QStringList sampled;
    for (qsizetype i = 0; i < entries.size(); i += step) {
        sampled << entries[i];
        families.append({entries[i].section(u'/', 0, 0), {}});
    }
    QList<QStringList> forms(families.size());
    if (longFlags) {
        const QMultiHash<QString, Affix> affixes = longFlagAffixes(aff);
        for (qsizetype i = 0; i < sampled.size(); ++i)
            forms[i] = applyLongFlags(families[i].lemma, sampled[i].section(u'/', 1), affixes);
    } else {
        // Each entry follows a marker without affixes, which unmunch writes
        // as it is: the forms after a marker are its entry's.
        QTemporaryDir dir;
        QFile sample(dir.filePath(QStringLiteral("sample.dic")));
        if (!sample.open(QIODevice::WriteOnly))
            return {};
        QByteArray text = QByteArray::number(2 * sampled.size()) + '\n';
        for (qsizetype i = 0; i < sampled.size(); ++i)
            text += "zzzmarker" + QByteArray::number(i) + '\n' + sampled[i].toUtf8() + '\n';
        sample.write(text);
        sample.close();
        QProcess unmunch;
        unmunch.start(QStringLiteral("unmunch"), {sample.fileName(), aff});
        if (!unmunch.waitForFinished(20000))
            return {};
        qsizetype current = -1;
        for (const QByteArray& output : unmunch.readAllStandardOutput().split('\n')) {
            const QString form = QString::fromUtf8(output.trimmed());
            if (form.startsWith(QLatin1String("zzzmarker")))
                current = form.mid(9).toLongLong();
            else if (current >= 0 && current < forms.size())
                forms[current] << form;
        }
    }
    Hunspell hunspell(QFile::encodeName(aff).constData(), QFile::encodeName(dicPath).constData());
    for (qsizetype i = 0; i < families.size(); ++i) {
        for (const QString& form : std::as_const(forms[i])) {
            if (!form.isEmpty() && SplitTextUseCase::split(form) == QStringList{form} &&
                hunspell.spell(form.toStdString()))
                families[i].forms << form;
        }
        families[i].forms.removeDuplicates();
    }
    families.removeIf([](const Family& family) { return family.forms.isEmpty(); });
    return families;
}

} // namespace

class WordFamiliesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The forms Hunspell's dictionary makes of an entry share the entry's
    // head, and words of different entries seldom do.
    void formsShareTheirEntrysHead_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("dictionary");
        QTest::newRow("German") << "de"
                                << "de_DE";
        QTest::newRow("Russian") << "ru"
                                 << "ru_RU";
        QTest::newRow("Spanish") << "es"
                                 << "es_ES";
        QTest::newRow("French") << "fr"
                                << "fr_FR";
        QTest::newRow("Italian") << "it"
                                 << "it_IT";
        QTest::newRow("English") << "en"
                                 << "en_US";
    }
    void formsShareTheirEntrysHead() {
        QFETCH(QString, language);
        QFETCH(QString, dictionary);
        if (WordFamilies::dictionaryName(language).isEmpty())
            QSKIP("No Hunspell dictionary for the language: run scripts/setup.sh");
        QCOMPARE(WordFamilies::dictionaryName(language), dictionary);
        QElapsedTimer timer;
        timer.start();
        WordFamilies::preload(language);
        const qint64 loading = timer.elapsed();
        const QList<Family> families = expandedFamilies(dictionary);
        QVERIFY2(families.size() > 100, qPrintable(QString::number(families.size())));

        qsizetype forms = 0;
        qsizetype covered = 0;
        QStringList missed;
        for (const Family& family : families) {
            for (const QString& form : family.forms) {
                ++forms;
                if (sameHead(language, form, family.lemma))
                    ++covered;
                else if (missed.size() < 10)
                    missed << form + QStringLiteral("→") + WordFamilies::head(language, form) +
                                  QStringLiteral(" (") + family.lemma + u')';
            }
        }
        // Each form against the form at its place in the entry half the
        // sample away.
        qsizetype pairs = 0;
        qsizetype shared = 0;
        QStringList sharing;
        for (qsizetype i = 0; i < families.size(); ++i) {
            const Family& other = families[(i + families.size() / 2) % families.size()];
            if (other.lemma.toCaseFolded() == families[i].lemma.toCaseFolded())
                continue;
            for (qsizetype f = 0; f < families[i].forms.size(); ++f) {
                ++pairs;
                const QString& a = families[i].forms[f];
                const QString& b = other.forms[f % other.forms.size()];
                if (sameHead(language, a, b)) {
                    ++shared;
                    sharing << a + u'/' + b;
                }
            }
        }
        const double coveredShare = 100.0 * double(covered) / double(forms);
        const double falseShare = 100.0 * double(shared) / double(pairs);
        qInfo("%s: %lld entries, %lld forms, %.1f%% with their entry's head; %lld pairs, %.2f%% "
              "sharing one; loaded in %lld ms",
              qPrintable(dictionary), qlonglong(families.size()), qlonglong(forms), coveredShare,
              qlonglong(pairs), falseShare, qlonglong(loading));
        QVERIFY2(coveredShare >= 90.0, qPrintable(missed.join(u' ')));
        QVERIFY2(falseShare < 2.0, qPrintable(sharing.join(u' ')));
    }

    // A Japanese title's words are MeCab's morphemes (mecab over the
    // sentence) but its symbols, each with its dictionary form as head.
    void japaneseWordsAreMecabsMorphemes_data() {
        QTest::addColumn<QString>("sentence");
        QTest::newRow("verb in the past") << "ファイルを読み込んだ。";
        QTest::newRow("compound noun") << "著作権は作者の死後も守られる。";
        QTest::newRow("polite past") << "昨日、友達と映画を見に行きました。";
        QTest::newRow("te form") << "私は毎朝コーヒーを飲んでから会社へ行きます。";
        QTest::newRow("clauses") << "雨が降っていたので、傘を持って出かけた。";
    }
    void japaneseWordsAreMecabsMorphemes() {
        QFETCH(QString, sentence);
        if (WordFamilies::dictionaryName(QStringLiteral("ja")).isEmpty())
            QSKIP("MeCab's ipadic is missing: run scripts/setup.sh");
        QProcess mecab;
        mecab.start(QStringLiteral("mecab"), {});
        QVERIFY2(mecab.waitForStarted(), "mecab is missing: run scripts/setup.sh");
        mecab.write(sentence.toUtf8() + '\n');
        mecab.closeWriteChannel();
        QVERIFY(mecab.waitForFinished());
        QStringList words;
        QStringList heads;
        for (const QString& line : QString::fromUtf8(mecab.readAllStandardOutput()).split(u'\n')) {
            // surface TAB part of speech,...,dictionary form,reading,pronunciation
            const QStringList fields = line.section(u'\t', 1).split(u',');
            if (!line.contains(u'\t') || fields.front() == QStringLiteral("記号"))
                continue;
            words << line.section(u'\t', 0, 0);
            heads << (fields.size() > 6 && fields[6] != u"*" ? fields[6] : words.back());
        }
        QCOMPARE(SplitTextUseCase::split(sentence, QStringLiteral("ja")), words);
        QStringList found;
        for (const QString& word : std::as_const(words))
            found << WordFamilies::head(QStringLiteral("ja"), word);
        QCOMPARE(found, heads);
    }

    // Without a dictionary every word is its own head, and so is a word
    // whose only stems are too short to be a family.
    void withoutDictionaryAWordIsItsOwnHead_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("word");
        QTest::newRow("no language") << ""
                                     << "Hunde";
        QTest::newRow("unknown language") << "xx"
                                          << "Hunde";
        QTest::newRow("Chinese") << "zh" << QStringLiteral("人们");
        QTest::newRow("unknown German word") << "de"
                                             << "Xqzrtl";
        QTest::newRow("empty word") << "de"
                                    << "";
        // Read by an affix rule as a stem of two letters or one plus an
        // ending ("da" + s, "i" + s, "hi" + s): no family of theirs.
        QTest::newRow("German article") << "de"
                                        << "das";
        QTest::newRow("English verb") << "en"
                                      << "is";
        QTest::newRow("English pronoun") << "en"
                                         << "his";
    }
    void withoutDictionaryAWordIsItsOwnHead() {
        QFETCH(QString, language);
        QFETCH(QString, word);
        QCOMPARE(WordFamilies::head(language, word), word);
        if (language != u"de" && language != u"en") {
            QVERIFY(!WordFamilies(language).hasFamilies());
            QCOMPARE(WordFamilies::dictionaryName(language), QString());
        }
    }
};

QTEST_GUILESS_MAIN(WordFamiliesTest)
#include "tst_word_families.moc"
