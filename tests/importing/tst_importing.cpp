#include "RealTexts.h"
#include "importing/BookFile.h"
#include "importing/DictClient.h"
#include "importing/EpubReader.h"
#include "importing/SubtitleReader.h"
#include "importing/TextDecoder.h"

#include "EpubTestSupport.h"
#include "LocalDictServer.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <unicode/ucnv.h>

namespace {

// Real text: the openings of Kafka's "Die Verwandlung", Tolstoy's "Anna
// Karenina", Proust's "Du côté de chez Swann" and Sōseki's "Wagahai wa
// neko de aru".
const QString kafka = QStringLiteral(
    "Als Gregor Samsa eines Morgens aus unruhigen Träumen erwachte, fand er sich in seinem Bett "
    "zu einem ungeheueren Ungeziefer verwandelt. Er lag auf seinem panzerartig harten Rücken und "
    "sah, wenn er den Kopf ein wenig hob, seinen gewölbten, braunen, von bogenförmigen "
    "Versteifungen geteilten Bauch, auf dessen Höhe sich die Bettdecke, zum gänzlichen "
    "Niedergleiten bereit, kaum noch erhalten konnte.\n"
    "»Was ist mit mir geschehen?« dachte er. Es war kein Traum.");
const QString tolstoy = QStringLiteral(
    "Все счастливые семьи похожи друг на друга, каждая несчастливая семья несчастлива "
    "по-своему.\nВсе смешалось в доме Облонских. Жена узнала, что муж был в связи с бывшею в их "
    "доме француженкою-гувернанткой, и объявила мужу, что не может жить с ним в одном доме. "
    "Положение это продолжалось уже третий день и мучительно чувствовалось и самими супругами, "
    "и всеми членами семьи, и домочадцами.");
const QString proust = QStringLiteral(
    "Longtemps, je me suis couché de bonne heure. Parfois, à peine ma bougie éteinte, mes yeux "
    "se fermaient si vite que je n’avais pas le temps de me dire : « Je m’endors. » Et, une "
    "demi-heure après, la pensée qu’il était temps de chercher le sommeil m’éveillait ; je "
    "voulais poser le volume que je croyais avoir encore dans les mains et souffler ma lumière.");
const QString soseki = QStringLiteral(
    "吾輩は猫である。名前はまだ無い。\nどこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした"
    "所でニャーニャー泣いていた事だけは記憶している。吾輩はここで始めて人間というものを見た。"
    "しかもあとで聞くとそれは書生という人間中で一番獰悪な種族であったそうだ。");

// The text in a legacy encoding, as ICU writes it.
QByteArray encoded(const QString& text, const char* encoding) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(encoding, &status);
    QByteArray bytes(text.size() * 4 + 16, Qt::Uninitialized);
    const int32_t length = ucnv_fromUChars(converter, bytes.data(), int32_t(bytes.size()),
                                           reinterpret_cast<const UChar*>(text.utf16()),
                                           int32_t(text.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status))
        qFatal("cannot write the text as %s", encoding);
    bytes.truncate(length);
    return bytes;
}

QByteArray withMark(const QString& text, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The manifest lists the chapters out of order; the spine gives the
// reading order, and leaves the notes out of it.
const QByteArray package = R"(<?xml version="1.0" encoding="UTF-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="id">
  <metadata xmlns:dc="http://purl.org/dc/elements/1.1/">
    <dc:identifier id="id">urn:uuid:1b4e28ba-2fa1-11d2-883f-0016d3cca427</dc:identifier>
    <dc:title>Die Verwandlung</dc:title>
    <dc:language>de</dc:language>
  </metadata>
  <manifest>
    <item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>
    <item id="two" href="Text/Kapitel%202.xhtml" media-type="application/xhtml+xml"/>
    <item id="one" href="Text/kapitel1.xhtml#start" media-type="application/xhtml+xml"/>
    <item id="notes" href="notes.xhtml" media-type="application/xhtml+xml"/>
    <item id="css" href="style.css" media-type="text/css"/>
    <item id="cover" href="cover.png" media-type="image/png"/>
  </manifest>
  <spine>
    <itemref idref="cover"/>
    <itemref idref="one"/>
    <itemref idref="two"/>
    <itemref idref="notes" linear="no"/>
  </spine>
</package>)";

// Named references without a DTD, markup inside paragraphs, a title and a
// style sheet in the head.
const QByteArray chapterOne = R"(<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops">
<head><title>Kapitel I</title><style>p { text-indent: 1em; }</style></head>
<body>
  <h1 id="start">I</h1>
  <p>Als Gregor Samsa eines Morgens aus <em>unruhigen</em>
     Tr&auml;umen erwachte, fand er sich in seinem Bett zu einem
     ungeheueren&nbsp;Ungeziefer verwandelt.</p>
  <p>&raquo;Was ist mit mir geschehen?&laquo; dachte er&#8201;&mdash; es war kein Traum.<br/>Sein Zimmer lag ruhig.</p>
</body>
</html>)";

// The DOCTYPE of XHTML 1.1 with its external DTD, and ruby.
const QByteArray chapterTwo = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.1//EN" "http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd">
<html xmlns="http://www.w3.org/1999/xhtml">
<head><title>Kapitel II</title></head>
<body>
  <h2>II</h2>
  <p>Erst in der Abenddämmerung erwachte Gregor aus seinem schweren ohnmachtsähnlichen Schlaf&hellip;</p>
  <p><ruby>吾輩<rt>わがはい</rt></ruby>は<ruby>猫<rt>ねこ</rt></ruby>である。</p>
  <script>var left = "out";</script>
</body>
</html>)";

const QByteArray notes = R"(<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml"><body><p>Anmerkung</p></body></html>)";

using Entries = QList<std::pair<QString, QByteArray>>;

Entries bookEntries() {
    return {{"mimetype", "application/epub+zip"},
            {"META-INF/container.xml", epubContainer},
            {"OEBPS/content.opf", package},
            {"OEBPS/nav.xhtml", notes},
            {"OEBPS/Text/kapitel1.xhtml", chapterOne},
            {"OEBPS/Text/Kapitel 2.xhtml", chapterTwo},
            {"OEBPS/notes.xhtml", notes},
            {"OEBPS/style.css", "p { margin: 0; }"},
            {"OEBPS/cover.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)}};
}

// Each block a paragraph of its own (a heading too), a <br/> a line break.
const QString bookText = QStringLiteral(
    "I\n"
    "\n"
    "Als Gregor Samsa eines Morgens aus unruhigen Träumen erwachte, fand er sich in seinem Bett "
    "zu einem ungeheueren\u00A0Ungeziefer verwandelt.\n"
    "\n"
    "»Was ist mit mir geschehen?« dachte er\u2009— es war kein Traum.\n"
    "Sein Zimmer lag ruhig.\n"
    "\n"
    "II\n"
    "\n"
    "Erst in der Abenddämmerung erwachte Gregor aus seinem schweren ohnmachtsähnlichen "
    "Schlaf…\n"
    "\n"
    "吾輩は猫である。");

// Cues of the Kafka text, as a film of it might carry them.
const QString subRip =
    QStringLiteral("1\r\n"
                   "00:00:01,000 --> 00:00:04,200\r\n"
                   "<i>Als Gregor Samsa eines Morgens</i>\r\n"
                   "aus unruhigen Träumen erwachte,\r\n"
                   "\r\n"
                   "2\r\n"
                   "00:00:04,400 --> 00:00:08,000\r\n"
                   "{\\an8}<font color=\"#ffff00\">fand er sich in seinem Bett</font>\r\n"
                   "zu einem ungeheueren Ungeziefer verwandelt.\r\n"
                   "\r\n"
                   "3\r\n"
                   "00:00:09,000 --> 00:00:11,500\r\n"
                   "- »Was ist mit mir geschehen?«\r\n"
                   "- Es war kein Traum.\r\n");
// A cue that ends in the middle of a sentence runs on into the next; one
// that ends a sentence is a paragraph of its own.
const QString subRipText = QStringLiteral("Als Gregor Samsa eines Morgens\n"
                                          "aus unruhigen Träumen erwachte,\n"
                                          "fand er sich in seinem Bett\n"
                                          "zu einem ungeheueren Ungeziefer verwandelt.\n"
                                          "\n"
                                          "- »Was ist mit mir geschehen?«\n"
                                          "- Es war kein Traum.");

// Hand-written German subtitles: a turn of dialogue per line, each opened
// by a dash.
const QString coffee = QStringLiteral("1\n"
                                      "00:00:01,000 --> 00:00:03,000\n"
                                      "Ich mache mir einen Kaffee.\n"
                                      "\n"
                                      "2\n"
                                      "00:00:03,500 --> 00:00:05,500\n"
                                      "- Möchtest du auch einen?\n"
                                      "- Ja, gerne.\n"
                                      "\n"
                                      "3\n"
                                      "00:00:06,000 --> 00:00:08,000\n"
                                      "- Mit Milch?\n"
                                      "- Nein, schwarz, wie immer…\n"
                                      "\n"
                                      "4\n"
                                      "00:00:08,500 --> 00:00:11,000\n"
                                      "Dann setz dich doch schon mal,\n"
                                      "\n"
                                      "5\n"
                                      "00:00:11,000 --> 00:00:13,000\n"
                                      "ich bringe ihn dir gleich.\n");
const QString coffeeText = QStringLiteral("Ich mache mir einen Kaffee.\n"
                                          "\n"
                                          "- Möchtest du auch einen?\n"
                                          "- Ja, gerne.\n"
                                          "\n"
                                          "- Mit Milch?\n"
                                          "- Nein, schwarz, wie immer…\n"
                                          "\n"
                                          "Dann setz dich doch schon mal,\n"
                                          "ich bringe ihn dir gleich.");

const QString webVtt =
    QStringLiteral("WEBVTT - Die Verwandlung\n"
                   "Kind: captions\n"
                   "\n"
                   "STYLE\n"
                   "::cue { color: yellow; }\n"
                   "\n"
                   "NOTE Die Zeiten sind geschätzt\n"
                   "und nicht geprüft.\n"
                   "\n"
                   "anfang\n"
                   "00:01.000 --> 00:04.200 line:0 position:20%\n"
                   "<v Erzähler>Als Gregor Samsa eines Morgens</v>\n"
                   "aus <c.yellow>unruhigen</c> Träumen erwachte,\n"
                   "\n"
                   "00:00:04.400 --> 00:00:08.000\n"
                   "fand er sich <00:00:05.000>in seinem Bett &amp; Zimmer\n"
                   "\n"
                   "00:00:09.000 --> 00:00:11.500\n"
                   "<ruby>猫<rt>ねこ</rt></ruby>&lt;Ungeziefer&gt;&nbsp;verwandelt.\n");
const QString webVttText = QStringLiteral("Als Gregor Samsa eines Morgens\n"
                                          "aus unruhigen Träumen erwachte,\n"
                                          "fand er sich in seinem Bett & Zimmer\n"
                                          "猫<Ungeziefer>\u00A0verwandelt.");

// The German fortune "Pavlov's Vögel": its heading and its paragraph, as
// hand-wrapped as fortunes-de has it.
std::pair<QString, QString> pavlov() {
    const QString all = QString::fromUtf8(fortuneFile(QStringLiteral("de/anekdoten")));
    const qsizetype begin = all.indexOf(QStringLiteral("Pavlov's Vögel"));
    const qsizetype end = all.indexOf(QStringLiteral("\n%"), begin);
    const QStringList parts = all.mid(begin, end - begin).split(QStringLiteral("\n\n"));
    if (begin < 0 || parts.size() != 2)
        qFatal("the fortune \"Pavlov's Vögel\" is not in fortunes-de as it was");
    return {parts[0], parts[1]};
}

// The fortune as a book of one chapter, a heading and a paragraph, as EPUB
// makers write one, declaring its language as language (nothing when
// empty).
QByteArray pavlovBook(const QByteArray& language) {
    const auto [heading, paragraph] = pavlov();
    return oneChapterBook(language, "<h2 class=\"title\">" + heading.toUtf8() +
                                        "</h2>\n<p class=\"first\">" + paragraph.toUtf8() + "</p>");
}

} // namespace

class ImportingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textInEveryCommonEncoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8 without a mark") << kafka.toUtf8() << kafka;
        QTest::newRow("UTF-8 with a mark") << withMark(tolstoy, QStringConverter::Utf8) << tolstoy;
        QTest::newRow("UTF-16LE with a mark")
            << withMark(tolstoy, QStringConverter::Utf16LE) << tolstoy;
        QTest::newRow("UTF-16BE with a mark")
            << withMark(soseki, QStringConverter::Utf16BE) << soseki;
        QTest::newRow("UTF-32LE with a mark")
            << withMark(kafka, QStringConverter::Utf32LE) << kafka;
        QTest::newRow("ISO-8859-1 German") << encoded(kafka, "ISO-8859-1") << kafka;
        QTest::newRow("windows-1252 French, curly quotes")
            << encoded(proust, "windows-1252") << proust;
        QTest::newRow("windows-1251 Russian") << encoded(tolstoy, "windows-1251") << tolstoy;
        QTest::newRow("KOI8-R Russian") << encoded(tolstoy, "KOI8-R") << tolstoy;
        QTest::newRow("Shift_JIS Japanese") << encoded(soseki, "Shift_JIS") << soseki;
        QTest::newRow("EUC-JP Japanese") << encoded(soseki, "EUC-JP") << soseki;
        QTest::newRow("CR LF and lone CR become LF")
            << QByteArray("Erster Absatz.\r\nZweiter Absatz.\rDritter.")
            << QStringLiteral("Erster Absatz.\nZweiter Absatz.\nDritter.");
        QTest::newRow("an empty file is an empty text") << QByteArray() << QString();
        QTest::newRow("UTF-16LE without a mark")
            << withMark(kafka, QStringConverter::Utf16LE).mid(2) << kafka;
        QTest::newRow("UTF-16BE without a mark")
            << withMark(proust, QStringConverter::Utf16BE).mid(2) << proust;
        QTest::newRow("UTF-32BE without a mark")
            << withMark(kafka, QStringConverter::Utf32BE).mid(4) << kafka;
    }
    void textInEveryCommonEncoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const ImportedText read = importing::decodeText(bytes);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.text, text);
    }

    void bytesThatAreNoText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why"); // part of the message; empty: any
        const QString binary = QStringLiteral("looks like a binary file");
        QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0\0\0\x01\0\x08\x06\0\0\0", 29);
        QTest::newRow("an image") << png << binary;
        QByteArray noNul;
        for (int i = 0; i < 400; ++i)
            noNul.append(char(1 + (i * 37) % 255));
        QTest::newRow("binary bytes without NUL") << noNul << QString();
        QTest::newRow("UTF-16 cut in the middle of a character")
            << withMark(tolstoy, QStringConverter::Utf16LE).chopped(1) << "not valid UTF-16LE";
        QTest::newRow("UTF-8 marked, then invalid") << QByteArray("\xEF\xBB\xBF"
                                                                  "Tr\xE4ume")
                                                    << "not valid UTF-8";
        QTest::newRow("NULs between words")
            << QByteArray("Hello\0 world\0 ", 14).repeated(100) << binary;
        QByteArray random(2 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
        QTest::newRow("random bytes") << random << binary;
    }
    void bytesThatAreNoText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        const ImportedText read = importing::decodeText(bytes);
        QVERIFY(!read.ok());
        QVERIFY(read.text.isEmpty());
        QVERIFY2(read.error.contains(why), qPrintable(read.error));
    }

    void epubChaptersInReadingOrder() {
        QTemporaryDir dir;
        const QString path = writeEpub(dir, "Die Verwandlung.epub", bookEntries());
        const ImportedText read = importing::readEpub(path);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.text, bookText);
        // The same through the file's name.
        QCOMPARE(importing::readBookFile(path).text, bookText);
    }

    void brokenEpubIsTold_data() {
        QTest::addColumn<Entries>("entries");
        const Entries book = bookEntries();
        auto without = [&](const QString& name) {
            Entries entries = book;
            entries.removeIf([&](const auto& e) { return e.first == name; });
            return entries;
        };
        auto replaced = [&](Entries entries, const QString& name, const QByteArray& bytes) {
            for (auto& e : entries) {
                if (e.first == name)
                    e.second = bytes;
            }
            return entries;
        };
        QTest::newRow("no container") << without("META-INF/container.xml");
        QTest::newRow("no package document") << without("OEBPS/content.opf");
        QTest::newRow("a chapter missing") << without("OEBPS/Text/Kapitel 2.xhtml");
        QTest::newRow("a chapter not well-formed") << replaced(
            book, "OEBPS/Text/kapitel1.xhtml", "<html><body><p>Als Gregor</body></html>");
        QTest::newRow("a package document that is no XML")
            << replaced(book, "OEBPS/content.opf", "<package><manifest>");
        QTest::newRow("a container naming no package document")
            << replaced(book, "META-INF/container.xml", "<container><rootfiles/></container>");
        QTest::newRow("chapters without text")
            << replaced(replaced(book, "OEBPS/Text/Kapitel 2.xhtml", "<html><body/></html>"),
                        "OEBPS/Text/kapitel1.xhtml", "<html><body> <p/> </body></html>");
    }
    void brokenEpubIsTold() {
        QFETCH(Entries, entries);
        QTemporaryDir dir;
        const ImportedText read = importing::readEpub(writeEpub(dir, "broken.epub", entries));
        QVERIFY(!read.ok());
        QVERIFY(read.text.isEmpty());
    }

    void fileThatIsNoEpubIsTold_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << kafka.toUtf8();
        QTest::newRow("empty") << QByteArray();
        QTemporaryDir dir;
        QFile book(writeEpub(dir, "book.epub", bookEntries()));
        QVERIFY(book.open(QIODevice::ReadOnly));
        QTest::newRow("a book cut in half") << book.readAll().left(book.size() / 2);
    }
    void fileThatIsNoEpubIsTold() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const ImportedText read = importing::readEpub(writeFile(dir, "book.epub", bytes));
        QVERIFY(!read.ok());
        QVERIFY(read.text.isEmpty());
    }

    void subtitlesGiveTheCueTextOnly_data() {
        QTest::addColumn<QString>("subtitles");
        QTest::addColumn<QString>("text");
        QTest::newRow("SubRip") << subRip << subRipText;
        QTest::newRow("WebVTT") << webVtt << webVttText;
        QTest::newRow("SubRip without blank lines between cues")
            << QStringLiteral("1\n00:00:01,000 --> 00:00:02,000\nErster Satz.\n2\n"
                              "00:00:02,500 --> 00:00:03,000\nZweiter Satz.\n")
            << QStringLiteral("Erster Satz.\n\nZweiter Satz.");
        QTest::newRow("German SubRip with dialogue dashes") << coffee << coffeeText;
        QTest::newRow("no cue") << QStringLiteral("WEBVTT\n\nNOTE nichts\n") << QString();
    }
    void subtitlesGiveTheCueTextOnly() {
        QFETCH(QString, subtitles);
        QFETCH(QString, text);
        QCOMPARE(importing::subtitleText(subtitles), text);
    }

    // A file opened as a title: read by its ending, in its encoding.
    void bookFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("text in windows-1251")
            << "Анна Каренина.txt" << encoded(tolstoy, "windows-1251") << tolstoy;
        QTest::newRow("text without an ending") << "README" << soseki.toUtf8() << soseki;
        const QString longWords =
            QString("Donaudampfschifffahrtsgesellschaft ").repeated(300) + QString(10000, u'ß');
        QTest::newRow("long words, and no word too long")
            << "lang.txt" << longWords.toUtf8() << longWords;
        QTest::newRow("SubRip in windows-1252")
            << "Die Verwandlung.SRT" << encoded(subRip, "windows-1252") << subRipText;
        QTest::newRow("WebVTT in UTF-8")
            << "Die Verwandlung.de.vtt" << webVtt.toUtf8() << webVttText;
        // The heading stands apart, so that it does not run into the first
        // sentence of the paragraph.
        const auto [heading, paragraph] = pavlov();
        QTest::newRow("EPUB, a heading and its paragraph")
            << "Anekdoten.epub" << pavlovBook("de") << heading + "\n\n" + paragraph.simplified();
    }
    void bookFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const ImportedText read = importing::readBookFile(writeFile(dir, name, bytes));
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.text, text);
    }

    // The language of a file opened as a title: the one an EPUB declares,
    // else the one recognised in the text, when one alone fits.
    void languageOfBookFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("language"); // empty: none
        QTest::addColumn<ImportedText::LanguageSource>("source");
        using Source = ImportedText::LanguageSource;
        QTest::newRow("German fortunes")
            << "anekdoten.txt" << fortuneFile("de/anekdoten") << "de" << Source::identified;
        QTest::newRow("Russian fortunes in KOI8-R")
            << "citates.txt" << encoded(QString::fromUtf8(fortuneFile("ru/citates")), "KOI8-R")
            << "ru" << Source::identified;
        QTest::newRow("the King James Bible")
            << "Genesis.txt" << genesis() << "en" << Source::identified;
        QTest::newRow("German subtitles")
            << "Kaffee.srt" << (coffee + subRip).toUtf8() << "de" << Source::identified;
        QTest::newRow("an EPUB declaring German")
            << "Anekdoten.epub" << pavlovBook("de") << "de" << Source::declared;
        QTest::newRow("an EPUB declaring Austrian German")
            << "Anekdoten.epub" << pavlovBook("de-AT") << "de" << Source::declared;
        QTest::newRow("an EPUB declaring German in ISO 639-2")
            << "Anekdoten.epub" << pavlovBook("ger") << "de" << Source::declared;
        QTest::newRow("an EPUB declaring Russian is taken at its word")
            << "Anekdoten.epub" << pavlovBook("ru") << "ru" << Source::declared;
        QTest::newRow("an EPUB declaring no language")
            << "Anekdoten.epub" << pavlovBook("") << "de" << Source::identified;
        QTest::newRow("an EPUB declaring an undetermined language")
            << "Anekdoten.epub" << pavlovBook("und") << "de" << Source::identified;
        QTest::newRow("too short to tell")
            << "kurz.vtt" << QByteArray("WEBVTT\n\n00:01.000 --> 00:02.000\nJa.\n") << QString()
            << Source::none;
        QTest::newRow("no words") << "Zahlen.txt" << QByteArray("1 2 3\n4 5 6\n") << QString()
                                  << Source::none;
    }
    void languageOfBookFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, language);
        QFETCH(ImportedText::LanguageSource, source);
        QTemporaryDir dir;
        const ImportedText read = importing::readBookFile(writeFile(dir, name, bytes));
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.language, language);
        QCOMPARE(read.languageSource, source);
    }

    void filesThatCannotBeTitles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: not written
        QTest::addColumn<QString>("why");      // part of the message
        QTest::newRow("missing") << "nowhere.txt" << QByteArray() << "does not exist";
        QTest::newRow("a folder") << "." << QByteArray() << "folder";
        QTest::newRow("an image named as text")
            << "bild.txt" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "binary";
        QTest::newRow("subtitles without a cue")
            << "leer.srt" << QByteArray("1\nkein Zeitstempel\n") << "no subtitles";
        QTest::newRow("one word of 20,000 letters") << "wort.txt"
                                                    << "Ein " + QByteArray(20000, 'a') + " Wort."
                                                    << "word longer than";
        QTest::newRow("subtitles with one endless word")
            << "lang.srt"
            << "1\n00:00:01,000 --> 00:00:02,000\n" + QByteArray(10001, 'x') + "\n"
            << "word longer than";
    }
    void filesThatCannotBeTitles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        QTemporaryDir dir;
        const QString path = bytes.isNull() ? dir.filePath(name) : writeFile(dir, name, bytes);
        const ImportedText read = importing::readBookFile(path);
        QVERIFY(!read.ok());
        QVERIFY2(read.error.contains(why), qPrintable(read.error));
    }

    // Answers of a DICT server, as dictd with FreeDict's German-English
    // dictionary writes them (a banner, CLIENT's ok, the definitions and
    // the goodbye), and the senses a gloss line takes from them.
    void dictAnswersRead_data() {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QStringList>("senses");
        QTest::addColumn<bool>("badDatabase");
        QTest::addColumn<bool>("error");
        const QByteArray banner = "220 vm dictd 1.13.0/rf <auth.mime> <1.2@vm>\r\n250 ok\r\n";
        const QByteArray hund =
            "150 3 definitions retrieved\r\n"
            "151 \"hund\" fd-deu-eng \"German - English\"\r\n"
            "Hund /h\xcb\x88\xca\x8ant/ <masc, n, sg>\r\n"
            "mine car <n>, mine hutch <n>, mine tub <n>, tub <n>, mine truck <n>\r\n"
            "   Synonyms: {F\xc3\xb6rderwagen}, {Grubenwagen}\r\n\r\n"
            " see: {Hunde}\r\n.\r\n"
            "151 \"hund\" fd-deu-eng \"German - English\"\r\n"
            "Hund /h\xcb\x88\xca\x8ant/ <masc, n, sg>\r\n"
            " [zool.] dog <n>, dawg <n>\r\n"
            "         Note: used to represent American speech\r\n"
            "      \"einen Hund abrichten\"  - train a dog\r\n.\r\n"
            "151 \"hund\" fd-deu-eng \"German - English\"\r\n"
            "Hund /h\xcb\x88\xca\x8ant/ <masc, n, sg>\r\ncanine <n>, K-9 <n> [Am.]\r\n.\r\n"
            "250 ok [d/m/c = 3/0/19]\r\n";
        QTest::newRow("three senses, the likeliest first")
            << banner + hund + "221 bye\r\n"
            << "Hund" << true
            << QStringList{"dog, dawg", "canine, K-9", "mine car, mine hutch, mine tub"} << false
            << false;
        QTest::newRow("complete before the goodbye")
            << banner + hund << "Hund" << true
            << QStringList{"dog, dawg", "canine, K-9", "mine car, mine hutch, mine tub"} << false
            << false;
        QTest::newRow("cut short")
            << banner + hund.left(300) << "Hund" << false << QStringList() << false << false;
        QTest::newRow("no match") << banner + "552 no match\r\n221 bye\r\n"
                                  << "Hundx" << true << QStringList() << false << false;
        QTest::newRow("no such database")
            << banner + "550 invalid database, use SHOW DB for list\r\n"
            << "Hund" << true << QStringList() << true << false;
        QTest::newRow("refused") << QByteArray("530 access denied\r\n") << "Hund" << true
                                 << QStringList() << false << true;
        QTest::newRow("no DICT server") << QByteArray("HTTP/1.1 400 Bad Request\r\n") << "Hund"
                                        << true << QStringList() << false << true;
        QTest::newRow("numbered senses, grammar notes left out, line feeds alone")
            << QByteArray(
                   "220 x\n250 ok\n150 1 definitions retrieved\n"
                   "151 \"\xe8\xaa\xad\xe3\x81\xbf\xe8\xbe\xbc\xe3\x82\x80\" fd-jpn-eng \"J\"\n"
                   "\xe8\xaa\xad\xe3\x81\xbf\xe8\xbe\xbc\xe3\x82\x80 /x/, \xe3\x82\x88\xe3\x81\xbf "
                   "/y/\n"
                   "1. (Godan verb with `mu' ending)\n (transitive verb)\n"
                   "to read thoroughly, to read repeatedly\n"
                   "2. to express (e.g. emotion in poetry)\n"
                   "3. to read (extra meaning) into (something)\n"
                   "4.  [computer terminology] to fetch (e.g. CPU inst.), to read, to load, to x\n"
                   ".\n250 ok\n")
            << QStringLiteral("読み込む") << true
            << QStringList{"to read thoroughly, to read repeatedly",
                           "to express (e.g. emotion in poetry)",
                           "to read (extra meaning) into (something)"}
            << false << false;
        QTest::newRow("a line starting with a dot")
            << banner + "150 1\r\n151 \"x\" db \"d\"\r\nx\r\n..5 calibre\r\n.\r\n250 ok\r\n"
            << "x" << true << QStringList{".5 calibre"} << false << false;
    }
    void dictAnswersRead() {
        QFETCH(QByteArray, received);
        QFETCH(QString, word);
        QFETCH(bool, complete);
        QFETCH(QStringList, senses);
        QFETCH(bool, badDatabase);
        QFETCH(bool, error);
        bool done = false;
        const DictClient::Definitions read = DictClient::parseDefine(received, &done);
        QCOMPARE(done, complete);
        QCOMPARE(read.badDatabase, badDatabase);
        QCOMPARE(!read.error.isEmpty(), error);
        if (complete)
            QCOMPARE(DictClient::sensesOf(read, word, 3), senses);
        // Every cut of an answer reads without a crash, and a cut one is
        // never taken for a whole one with fewer definitions.
        for (qsizetype cut = 0; cut < received.size(); ++cut) {
            bool cutDone = false;
            const auto part = DictClient::parseDefine(received.left(cut), &cutDone);
            if (cutDone && part.error.isEmpty())
                QCOMPARE(part.texts.size(), read.texts.size());
        }
    }

    void dictWordsQuoted() {
        QCOMPARE(DictClient::quoted(QStringLiteral("Hund")), QByteArray("\"Hund\""));
        // A word is one argument on one line, whatever it holds.
        QCOMPARE(DictClient::quoted(QStringLiteral("a\"b\\c\r\nQUIT")),
                 QByteArray("\"a\\\"b\\\\cQUIT\""));
        bool complete = false;
        QCOMPARE(
            DictClient::parseDatabases("220 x\r\n250 ok\r\n110 2 databases present\r\n"
                                       "fd-deu-eng \"German - English\"\r\nwn \"WordNet\"\r\n"
                                       ".\r\n250 ok\r\n",
                                       nullptr, &complete),
            (QList<DictClient::Database>{{"fd-deu-eng", "German - English"}, {"wn", "WordNet"}}));
        QVERIFY(complete);
    }

    // A real dictd on the German-English dictionary, on a port of its own;
    // then servers that answer nothing, and none at all: each question is
    // answered, with glosses or a failure, within its time.
    void dictServerAnswers() {
        if (!LocalDictServer::installed())
            QSKIP("dictd and dict-freedict-deu-eng are not installed (scripts/setup.sh)");
        LocalDictServer server;
        QVERIFY(server.start());
        const quint16 port = server.port;

        DictClient client;
        client.setServer(QStringLiteral("127.0.0.1"), port);
        QSignalSpy defined(&client, &DictClient::defined);
        QSignalSpy failed(&client, &DictClient::failed);
        client.define(QStringLiteral("Hund"), QStringLiteral("fd-deu-eng"));
        QTRY_COMPARE(defined.size(), 1);
        const auto hund = defined.first().at(2).value<DictClient::Definitions>();
        QVERIFY(DictClient::sensesOf(hund, QStringLiteral("Hund"), 3).first().startsWith("dog"));
        // A question asked over another: only the last is answered.
        client.define(QStringLiteral("Katze"), QStringLiteral("fd-deu-eng"));
        client.define(QStringLiteral("Hunde"), QStringLiteral("fd-deu-eng"));
        QTRY_COMPARE(defined.size(), 2);
        QCOMPARE(defined.last().at(0).toString(), QStringLiteral("Hunde"));
        QTest::qWait(100);
        QCOMPARE(defined.size(), 2);
        client.define(QStringLiteral("Hund"), QStringLiteral("fd-xxx-eng"));
        QTRY_COMPARE(defined.size(), 3);
        QVERIFY(defined.last().at(2).value<DictClient::Definitions>().badDatabase);
        QSignalSpy listed(&client, &DictClient::databasesListed);
        client.listDatabases();
        QTRY_COMPARE(listed.size(), 1);
        QCOMPARE(listed.first().first().value<QList<DictClient::Database>>().first().name,
                 QStringLiteral("fd-deu-eng"));
        QCOMPARE(failed.size(), 0);
        server.process.terminate();
        server.process.waitForFinished();

        // A server that takes the question and says nothing.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        client.setServer(QStringLiteral("127.0.0.1"), silent.serverPort());
        client.setTimeout(300);
        client.define(QStringLiteral("Hund"), QStringLiteral("fd-deu-eng"));
        QTRY_COMPARE(failed.size(), 1);
        // None at all.
        client.setServer(QStringLiteral("127.0.0.1"), port);
        client.define(QStringLiteral("Hund"), QStringLiteral("fd-deu-eng"));
        QTRY_COMPARE(failed.size(), 2);
        QCOMPARE(defined.size(), 3);
    }

    void titleNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("book") << "/home/anna/Bücher/Der Process.epub"
                              << "Der Process";
        QTest::newRow("language before the ending") << "/tmp/Film.de.srt"
                                                    << "Film.de";
        QTest::newRow("no ending") << "notes"
                                   << "notes";
        QTest::newRow("only an ending") << "/tmp/.txt"
                                        << ".txt";
    }
    void titleNames() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(importing::titleNameFor(path), name);
    }
};

QTEST_GUILESS_MAIN(ImportingTest)
#include "tst_importing.moc"
