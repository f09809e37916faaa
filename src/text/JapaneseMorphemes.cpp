#include "text/JapaneseMorphemes.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QLibrary>

#include <mecab.h>

#include <cstring>

namespace {

// ipadic's feature string: part of speech, three subdivisions, conjugation
// type and form, then the dictionary form (基本形), reading, pronunciation.
constexpr int ipadicDictionaryFormField = 6;

struct MecabModel {
    std::unique_ptr<MeCab::Model> model;
    QString name;
};

bool isUtf8Ipadic(const MeCab::Model& model) {
    const MeCab::DictionaryInfo* info = model.dictionary_info();
    if (!info || !info->charset || !info->filename)
        return false;
    const QByteArray charset = QByteArray(info->charset).toLower();
    return (charset == "utf-8" || charset == "utf8") &&
           QByteArray(info->filename).contains("ipadic");
}

// MeCab's library is loaded here, not linked: it is needed only for
// Japanese. Its C entry point makes the same model as MeCab::createModel;
// the rest is called through the model's virtual functions.
using NewModel = mecab_model_t* (*)(const char*);

NewModel loadMecab() {
    // The version is the soname's, the one the program was built against.
    QLibrary library(QStringLiteral("mecab"), PRAMEL_MECAB_SOVERSION);
    if (!library.load())
        return nullptr;
    // Kept loaded for the program's life: QLibrary's destructor leaves it.
    return reinterpret_cast<NewModel>(library.resolve("mecab_model_new2"));
}

// The process's model, loaded on first use: Debian's UTF-8 ipadic where it
// is installed, else the dictionary mecabrc names if it is a UTF-8 ipadic.
// Without the library, as without a dictionary, there is none.
const MecabModel& mecabModel() {
    static const MecabModel loaded = [] {
        MecabModel found;
        const NewModel newModel = loadMecab();
        if (!newModel)
            return found;
        for (const char* arguments : {"-d /var/lib/mecab/dic/ipadic-utf8",
                                      "-r /dev/null -d /var/lib/mecab/dic/ipadic-utf8", ""}) {
            std::unique_ptr<MeCab::Model> model(
                reinterpret_cast<MeCab::Model*>(newModel(arguments)));
            if (model && isUtf8Ipadic(*model)) {
                found.model = std::move(model);
                found.name = QStringLiteral("ipadic");
                break;
            }
        }
        return found;
    }();
    return loaded;
}

} // namespace

struct JapaneseMorphemes::Lattice {
    std::unique_ptr<MeCab::Tagger> tagger;
    std::unique_ptr<MeCab::Lattice> lattice;
};

JapaneseMorphemes::JapaneseMorphemes() {
    const MecabModel& model = mecabModel();
    if (!model.model)
        return;
    auto lattice = std::make_unique<Lattice>();
    lattice->tagger.reset(model.model->createTagger());
    lattice->lattice.reset(model.model->createLattice());
    if (lattice->tagger && lattice->lattice)
        lattice_ = std::move(lattice);
}

JapaneseMorphemes::~JapaneseMorphemes() = default;

bool JapaneseMorphemes::dictionaryIsInstalled() {
    return mecabModel().model != nullptr;
}

QString JapaneseMorphemes::dictionaryName() {
    return mecabModel().name;
}

namespace {

QString dictionaryFormOf(const MeCab::Node& node, QStringView surface) {
    const QByteArrayList fields = QByteArray(node.feature).split(',');
    if (node.stat != MECAB_UNK_NODE && fields.size() > ipadicDictionaryFormField &&
        fields[ipadicDictionaryFormField] != "*")
        return QString::fromUtf8(fields[ipadicDictionaryFormField]);
    return surface.toString();
}

} // namespace

QString JapaneseMorphemes::dictionaryForm(QStringView word) {
    if (!lattice_ || word.isEmpty())
        return word.toString();
    const QByteArray utf8 = word.toUtf8();
    MeCab::Lattice& lattice = *lattice_->lattice;
    lattice.set_sentence(utf8.constData(), size_t(utf8.size()));
    // One token from the first byte to the last.
    lattice.set_boundary_constraint(0, MECAB_TOKEN_BOUNDARY);
    for (qsizetype byte = 1; byte < utf8.size(); ++byte)
        lattice.set_boundary_constraint(size_t(byte), MECAB_INSIDE_TOKEN);
    lattice.set_boundary_constraint(size_t(utf8.size()), MECAB_TOKEN_BOUNDARY);
    const bool parsed = lattice_->tagger->parse(&lattice);
    QString form = word.toString();
    if (parsed) {
        for (const MeCab::Node* node = lattice.bos_node(); node; node = node->next) {
            if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
                continue;
            if (node->length == size_t(utf8.size()))
                form = dictionaryFormOf(*node, word);
            break;
        }
    }
    lattice.clear();
    return form;
}

QList<JapaneseMorphemes::Morpheme> JapaneseMorphemes::parse(QStringView text) {
    QList<Morpheme> morphemes;
    if (!lattice_ || text.isEmpty())
        return morphemes;
    const QByteArray utf8 = text.toUtf8();
    MeCab::Lattice& lattice = *lattice_->lattice;
    lattice.set_sentence(utf8.constData(), size_t(utf8.size()));
    if (!lattice_->tagger->parse(&lattice))
        return morphemes;
    // MeCab counts in UTF-8 bytes; the text's places are UTF-16 units. The
    // morphemes come in order, so both are counted along once.
    qsizetype byte = 0;
    qsizetype unit = 0;
    auto advanceTo = [&](qsizetype toByte) {
        while (byte < toByte && byte < utf8.size()) {
            const auto lead = uchar(utf8[byte]);
            const int bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            byte += bytes;
            unit += bytes == 4 ? 2 : 1;
        }
    };
    for (const MeCab::Node* node = lattice.bos_node(); node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE || node->length == 0)
            continue;
        advanceTo(node->surface - utf8.constData());
        const qsizetype start = unit;
        advanceTo(node->surface - utf8.constData() + node->length);
        // The part of speech is the first field.
        const bool isSymbol = std::strncmp(node->feature, "記号,", std::strlen("記号,")) == 0;
        morphemes.append({start, unit - start,
                          dictionaryFormOf(*node, text.mid(start, unit - start)), isSymbol});
    }
    return morphemes;
}
