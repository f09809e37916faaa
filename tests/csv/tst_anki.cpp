#include "csv/AnkiNotes.h"

#include <QtTest>

// The file is read back the way Anki's importer reads it: the leading "#"
// lines are headers, a later "#" line is a comment, a line is one record,
// fields are split at tabs, and a field that starts with a double quote would
// be a quoted one. Field HTML is decoded into plain text, the program's own
// markup shown as « » (bold) and ⟦ ⟧ (cloze 1) and <br> as LF; anything else
// Anki would take for markup is reported.

namespace {

struct Read {
    QStringList header;
    QList<QStringList> rows; // front, back (decoded), tags (as written)
    QStringList problems;
};

QString decodeField(const QString& html, QStringList& problems) {
    QString out;
    bool inCloze = false;
    const qsizetype n = html.size();
    auto at = [&](qsizetype i, QStringView s) { return QStringView(html).mid(i).startsWith(s); };
    for (qsizetype i = 0; i < n;) {
        const QChar c = html[i];
        if (at(i, u"<b>")) {
            out += u'«';
            i += 3;
        } else if (at(i, u"</b>")) {
            out += u'»';
            i += 4;
        } else if (at(i, u"<br>")) {
            out += u'\n';
            i += 4;
        } else if (at(i, u"{{c1::") && !inCloze) {
            out += u'⟦';
            inCloze = true;
            i += 6;
        } else if (at(i, u"}}") && inCloze) {
            out += u'⟧';
            inCloze = false;
            i += 2;
        } else if (c == u'&') {
            const qsizetype end = html.indexOf(u';', i);
            const QString name = html.mid(i + 1, end - i - 1);
            static const QHash<QString, QChar> named{
                {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}};
            bool number = false;
            const uint code = name.startsWith(u'#') ? name.mid(1).toUInt(&number) : 0;
            if (end < 0 || (!named.contains(name) && !number)) {
                problems << "bare & in " + html;
                return out;
            }
            out += number ? QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1)
                          : QString(named[name]);
            i = end + 1;
        } else if (c == u'<' || c == u'>' || c == u'{' || c == u'}' || c == u'"' || c == u'\t' ||
                   c == u'\r' || (inCloze && at(i, u"::"))) {
            problems << QStringLiteral("raw %1 at %2 in %3").arg(c).arg(i).arg(html);
            return out;
        } else {
            out += c;
            ++i;
        }
    }
    if (inCloze)
        problems << "open cloze in " + html;
    return out;
}

// Anki splits the tags column at any whitespace.
QStringList splitTags(const QString& field) {
    QStringList tags;
    QString tag;
    for (QChar c : field + u' ') {
        if (!c.isSpace()) {
            tag += c;
        } else if (!tag.isEmpty()) {
            tags << tag;
            tag.clear();
        }
    }
    return tags;
}

Read readFile(const QString& file) {
    Read read;
    if (!file.endsWith(u'\n'))
        read.problems << "no LF at the end";
    QStringList lines = file.split(u'\n');
    lines.removeLast();
    bool inHeader = true;
    for (const QString& line : lines) {
        if (line.startsWith(u'#')) {
            if (inHeader)
                read.header << line;
            continue;
        }
        inHeader = false;
        const QStringList fields = line.split(u'\t');
        if (fields.size() != 3) {
            read.problems << QStringLiteral("%1 fields in %2").arg(fields.size()).arg(line);
            continue;
        }
        for (const QString& field : fields) {
            if (field.startsWith(u'"'))
                read.problems << "quoted field in " + line;
        }
        read.rows << QStringList{decodeField(fields[0], read.problems),
                                 decodeField(fields[1], read.problems), fields[2]};
    }
    return read;
}

anki::Note note(const QString& word, const QString& sentence = {}, const QString& meaning = {},
                const QString& title = QStringLiteral("Book"), int level = 1) {
    return {word, sentence, meaning, title, level};
}

} // namespace

class AnkiTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileShape_data() {
        QTest::addColumn<anki::Front>("front");
        QTest::addColumn<QStringList>("header");
        QTest::newRow("bold") << anki::Front::bold
                              << QStringList{"#separator:tab", "#html:true", "#notetype:Basic",
                                             "#columns:Front\tBack\tTags", "#tags column:3"};
        QTest::newRow("cloze") << anki::Front::cloze
                               << QStringList{"#separator:tab", "#html:true", "#notetype:Cloze",
                                              "#columns:Text\tBack Extra\tTags", "#tags column:3"};
    }
    // Headers first, then every note in order, one line each.
    void fileShape() {
        QFETCH(anki::Front, front);
        QFETCH(QStringList, header);

        const Read empty = readFile(anki::notesFile({}, front));
        QCOMPARE(empty.problems, QStringList());
        QCOMPARE(empty.header, header);
        QVERIFY(empty.rows.isEmpty());

        const QList<anki::Note> notes{note("one", "", "first\nline"), note("two", "#2 of two"),
                                      note("three", "", "", "", 5)};
        const Read read = readFile(anki::notesFile(notes, front));
        QCOMPARE(read.problems, QStringList());
        QCOMPARE(read.header, header);
        QCOMPARE(read.rows.size(), notes.size());
        const bool bold = front == anki::Front::bold;
        QCOMPARE(read.rows[0][0], bold ? "«one»" : "⟦one⟧");
        QCOMPARE(read.rows[1][0], bold ? "#2 of «two»" : "#2 of ⟦two⟧");
        QCOMPARE(read.rows[2][0], bold ? "«three»" : "⟦three⟧");
        QCOMPARE(splitTags(read.rows[2][2]),
                 QStringList({"Pramel::Title::Untitled", "Pramel::Level::5"}));
    }

    void fields_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("meaning");
        QTest::addColumn<QString>("boldFront");
        QTest::addColumn<QString>("boldBack");
        QTest::addColumn<QString>("clozeText");

        QTest::newRow("plain") << "cat"
                               << "The cat sat."
                               << "Katze"
                               << "The «cat» sat."
                               << "«cat»\nKatze"
                               << "The ⟦cat⟧ sat.";
        QTest::newRow("twice, other case, not inside other words")
            << "the"
            << "The dog saw the other dog."
            << ""
            << "«The» dog saw «the» other dog."
            << "«the»"
            << "⟦The⟧ dog saw ⟦the⟧ other dog.";
        QTest::newRow("only inside words, text without spaces") << "猫"
                                                                << "私は猫が好き。"
                                                                << "cat"
                                                                << "私は«猫»が好き。"
                                                                << "«猫»\ncat"
                                                                << "私は⟦猫⟧が好き。";
        QTest::newRow("absent from the sentence") << "mouse"
                                                  << "The cat sat."
                                                  << "Maus"
                                                  << "«mouse»"
                                                  << "«mouse»\nMaus"
                                                  << "⟦mouse⟧";
        QTest::newRow("no sentence, no meaning") << "cat"
                                                 << ""
                                                 << ""
                                                 << "«cat»"
                                                 << "«cat»"
                                                 << "⟦cat⟧";
        QTest::newRow("sentence starting with #") << "fan"
                                                  << "#1 fan"
                                                  << ""
                                                  << "#1 «fan»"
                                                  << "«fan»"
                                                  << "#1 ⟦fan⟧";
        QTest::newRow("awkward sentence") << "cat"
                                          << "\"<cat>\" & {{c1::cat}}\tcat 😀\r\nend\rCat\nx"
                                          << ""
                                          << "\"<«cat»>\" & {{c1::«cat»}}\t«cat» 😀\nend\n«Cat»\nx"
                                          << "«cat»"
                                          << "\"<⟦cat⟧>\" & {{c1::⟦cat⟧}}\t⟦cat⟧ 😀\nend\n⟦Cat⟧\nx";
        QTest::newRow("awkward meaning")
            << "cat"
            << ""
            << "\"cat\" &amp; <b>x</b>\r\n{{c1::x}}\tand::so\n\nend"
            << "«cat»"
            << "«cat»\n\"cat\" &amp; <b>x</b>\n{{c1::x}}\tand::so\n\nend"
            << "⟦cat⟧";
        QTest::newRow("awkward word") << "\"<R&D>\""
                                      << "Our \"<r&d>\" team"
                                      << ""
                                      << "Our «\"<r&d>\"» team"
                                      << "«\"<R&D>\"»"
                                      << "Our ⟦\"<r&d>\"⟧ team";
        QTest::newRow("colons in the cloze") << "std::map"
                                             << "Use std::map."
                                             << ""
                                             << "Use «std::map»."
                                             << "«std::map»"
                                             << "Use ⟦std::map⟧.";
        QTest::newRow("tab and line break in the word") << "a\tb\r\nc"
                                                        << ""
                                                        << ""
                                                        << "«a\tb\nc»"
                                                        << "«a\tb\nc»"
                                                        << "⟦a\tb\nc⟧";
        // Written in NFC, as Anki keeps it; a decomposed word still finds
        // its composed spelling.
        QTest::newRow("combining accents") << "cafe\u0301"
                                           << "Un CAFÉ, un cafe\u0301."
                                           << "n\u0303"
                                           << "Un «CAFÉ», un «café»."
                                           << "«café»\nñ"
                                           << "Un ⟦CAFÉ⟧, un ⟦café⟧.";
        QTest::newRow("emoji") << "😀"
                               << "so 😀😀 much 🙂"
                               << "😀"
                               << "so «😀»«😀» much 🙂"
                               << "«😀»\n😀"
                               << "so ⟦😀⟧⟦😀⟧ much 🙂";
    }
    // A dictionary form other than the word stands on the back of both.
    void dictionaryFormOnTheBack() {
        anki::Note hunde = note("Hunde", "Die Hunde bellen.", "dogs");
        hunde.dictionaryForm = QStringLiteral("Hund");
        const Read bold = readFile(anki::notesFile({hunde}, anki::Front::bold));
        QCOMPARE(bold.rows[0][1], QStringLiteral("«Hunde» · Hund\ndogs"));
        const Read cloze = readFile(anki::notesFile({hunde}, anki::Front::cloze));
        QCOMPARE(cloze.rows[0][1], QStringLiteral("Hund\ndogs"));
    }

    // Each note read back field by field, in both note types.
    void fields() {
        QFETCH(QString, word);
        QFETCH(QString, sentence);
        QFETCH(QString, meaning);
        QFETCH(QString, boldFront);
        QFETCH(QString, boldBack);
        QFETCH(QString, clozeText);

        const QList<anki::Note> notes{note(word, sentence, meaning)};
        const Read bold = readFile(anki::notesFile(notes, anki::Front::bold));
        QCOMPARE(bold.problems, QStringList());
        QCOMPARE(bold.rows.size(), 1);
        QCOMPARE(bold.rows[0][0], boldFront);
        QCOMPARE(bold.rows[0][1], boldBack);

        const Read cloze = readFile(anki::notesFile(notes, anki::Front::cloze));
        QCOMPARE(cloze.problems, QStringList());
        QCOMPARE(cloze.rows.size(), 1);
        QCOMPARE(cloze.rows[0][0], clozeText);
        // Back Extra is the meaning alone, in NFC.
        const QString back = meaning.normalized(QString::NormalizationForm_C);
        QCOMPARE(cloze.rows[0][1], QString(back).replace("\r\n", "\n").replace(u'\r', u'\n'));
        QCOMPARE(bold.rows[0][2], cloze.rows[0][2]);
    }

    void tags_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("tag");
        QTest::newRow("spaces") << "Harry Potter 1"
                                << "Harry_Potter_1";
        QTest::newRow("empty") << ""
                               << "Untitled";
        QTest::newRow("whitespace only") << " \t\r\n\u3000 "
                                         << "Untitled";
        QTest::newRow("quotes only") << "\"\""
                                     << "Untitled";
        QTest::newRow("whitespace runs, trimmed") << "  Der\tProzess\r\n\n(1925)  "
                                                  << "Der_Prozess_(1925)";
        QTest::newRow("other spaces") << "東京\u3000物語\u00a0\u2028x"
                                      << "東京_物語_x";
        QTest::newRow("quotes and control characters") << "\"Quoted\"\u0001 & <b>"
                                                       << "Quoted_&_<b>";
        QTest::newRow("colons stay one level") << "Vol. 1::Part 2:::3"
                                               << "Vol._1:Part_2:3";
        QTest::newRow("combining accents") << "Cafe\u0301 Noir"
                                           << "Café_Noir";
        QTest::newRow("emoji") << "😀 Fun"
                               << "😀_Fun";
    }
    // A title is one tag at one level of Anki's tag tree, next to the level's.
    void tags() {
        QFETCH(QString, title);
        QFETCH(QString, tag);
        QCOMPARE(anki::tagFor(title), "Pramel::Title::" + tag);

        const Read read =
            readFile(anki::notesFile({note("w", "", "", title, 3)}, anki::Front::bold));
        QCOMPARE(read.problems, QStringList());
        QCOMPARE(read.rows.size(), 1);
        QCOMPARE(splitTags(read.rows[0][2]),
                 QStringList({"Pramel::Title::" + tag, "Pramel::Level::3"}));
    }
};

QTEST_GUILESS_MAIN(AnkiTest)
#include "tst_anki.moc"
