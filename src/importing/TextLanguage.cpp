#include "importing/TextLanguage.h"

#include "base/StatusLine.h"

#include <QByteArray>
#include <QLibrary>
#include <QLocale>
#include <QMutex>

#include <textcat.h>

namespace importing {

namespace {

// libexttextcat's language models (Debian's libexttextcat-data), and the
// list that names them.
constexpr const char* modelFolder = PRAMEL_TEXTCAT_DATA "/";
constexpr const char* modelList = PRAMEL_TEXTCAT_DATA "/fpdb.conf";

// The classifier compares the character n-grams of a sample with those of
// each language: a few thousand characters tell a language as surely as a
// whole book, at a fraction of the time.
constexpr qsizetype sampleLength = 4000;

// libexttextcat's functions, from its library loaded with the classifier:
// a start that opens no text loads none. All null without the library.
struct TextcatLibrary {
    decltype(&special_textcat_Init) init = nullptr;
    decltype(&textcat_Done) done = nullptr;
    decltype(&textcat_GetClassifyFullOutput) output = nullptr;
    decltype(&textcat_ClassifyFull) classify = nullptr;
    decltype(&textcat_ReleaseClassifyFullOutput) release = nullptr;

    TextcatLibrary() {
        // The soname the program was built against; kept loaded.
        QLibrary file(QStringLiteral(PRAMEL_EXTTEXTCAT_NAME), PRAMEL_EXTTEXTCAT_SOVERSION);
        if (!file.load())
            return;
        init = reinterpret_cast<decltype(init)>(file.resolve("special_textcat_Init"));
        done = reinterpret_cast<decltype(done)>(file.resolve("textcat_Done"));
        output = reinterpret_cast<decltype(output)>(file.resolve("textcat_GetClassifyFullOutput"));
        classify = reinterpret_cast<decltype(classify)>(file.resolve("textcat_ClassifyFull"));
        release =
            reinterpret_cast<decltype(release)>(file.resolve("textcat_ReleaseClassifyFullOutput"));
        if (!init || !done || !output || !classify || !release)
            init = nullptr;
    }
};

// libexttextcat's classifier, loaded once (its models take a few
// milliseconds to read); a classification uses the handle's own buffers,
// so one at a time.
class Classifier {
public:
    Classifier()
        : handle_(textcat_.init ? textcat_.init(modelList, modelFolder) : nullptr) {
        if (!textcat_.init)
            printStatus(QStringLiteral("libexttextcat cannot be loaded: the language of a text "
                                       "is not told"));
        else if (!handle_)
            printStatus(QStringLiteral("The language models of libexttextcat cannot be read: ") +
                        QString::fromLocal8Bit(modelList));
    }
    ~Classifier() {
        if (handle_)
            textcat_.done(handle_);
    }
    Classifier(const Classifier&) = delete;
    Classifier& operator=(const Classifier&) = delete;

    // The one language that fits (its name in the model list, such as
    // "de--utf8"), or nothing.
    QByteArray classify(const QByteArray& utf8) {
        const QMutexLocker lock(&mutex_);
        if (!handle_)
            return {};
        candidate_t* candidates = textcat_.output(handle_);
        const int count =
            textcat_.classify(handle_, utf8.constData(), size_t(utf8.size()), candidates);
        // "SHORT" and "UNKNOWN" come as counts below one; several
        // candidates mean the text fits them all about as well.
        QByteArray name;
        if (count == 1)
            name = candidates[0].name;
        textcat_.release(handle_, candidates);
        return name;
    }

private:
    const TextcatLibrary textcat_;
    void* handle_;
    QMutex mutex_;
};

Classifier& classifier() {
    static Classifier instance;
    return instance;
}

// The sample the language is told from: from the middle of the text, where
// a book's front matter (a licence, a publisher's note in another
// language) is far behind, cut at spaces.
QString sampleOf(const QString& text) {
    if (text.size() <= sampleLength)
        return text;
    qsizetype begin = (text.size() - sampleLength) / 2;
    qsizetype end = begin + sampleLength;
    while (begin < end && !text[begin].isSpace())
        ++begin;
    while (end > begin && !text[end - 1].isSpace())
        --end;
    return begin < end ? text.mid(begin, end - begin) : text.mid(begin, sampleLength);
}

} // namespace

QString languageCode(QStringView tag) {
    tag = tag.trimmed();
    for (qsizetype i = 0; i < tag.size(); ++i) {
        if (tag[i] == QLatin1Char('-') || tag[i] == QLatin1Char('_')) {
            tag = tag.left(i);
            break;
        }
    }
    if (tag.size() < 2 || tag.size() > 3)
        return {};
    const QString primary = tag.toString().toLower();
    const QLocale::Language language = QLocale::codeToLanguage(primary);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return {};
    return QLocale::languageToCode(language);
}

QString identifyLanguage(const QString& text) {
    const QByteArray name = classifier().classify(sampleOf(text).toUtf8());
    // The model list names a language by its tag, a region and the
    // encoding: "de--utf8", "zh-CN-utf8".
    const qsizetype dash = name.indexOf('-');
    return languageCode(QString::fromLatin1(dash < 0 ? name : name.left(dash)));
}

} // namespace importing
