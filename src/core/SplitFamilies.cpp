#include "core/SplitFamilies.h"

#include "domain/TextCompare.h"
#include "text/WordFamilies.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <deque>

namespace {

// The numberings worked out last, newest first. Each keeps a shared copy of
// its split's words, so their address cannot be another split's while it is
// kept.
struct Numberings {
    static constexpr std::size_t kept = 4;
    QMutex mutex;
    std::deque<std::shared_ptr<const SplitFamilies>> list;
};

Numberings& numberings() {
    static Numberings kept;
    return kept;
}

bool sameSplit(const QStringList& a, const QStringList& b) {
    return a.constData() == b.constData() && a.size() == b.size();
}

} // namespace

std::shared_ptr<const SplitFamilies> SplitFamilies::of(const SplitList& list,
                                                       const QString& language, bool wait) {
    const WordFamilies families(language);
    if (!families.hasFamilies())
        return nullptr;
    const QStringList& split = list.distinctWords();
    Numberings& kept = numberings();
    {
        const QMutexLocker lock(&kept.mutex);
        for (const auto& numbering : kept.list) {
            if (numbering->language_ == language && sameSplit(numbering->split_, split))
                return numbering;
        }
    }
    if (!wait)
        return nullptr;

    auto numbering = std::make_shared<SplitFamilies>();
    numbering->split_ = split;
    numbering->language_ = language;
    numbering->words_ = list.wordsOfGroups();
    const QStringList heads = families.heads(numbering->words_);
    numbering->familyOf_.assign(heads.size(), 0);
    QHash<QString, quint32> familyOfHead;
    familyOfHead.reserve(heads.size());
    for (qsizetype g = 0; g < heads.size(); ++g) {
        auto found = familyOfHead.constFind(text::folded(heads[g]));
        if (found == familyOfHead.cend())
            found = familyOfHead.insert(text::folded(heads[g]), quint32(familyOfHead.size()));
        else
            numbering->grouped_ = true;
        numbering->familyOf_[g] = *found;
    }
    numbering->familyCount_ = quint32(familyOfHead.size());

    const QMutexLocker lock(&kept.mutex);
    kept.list.push_front(numbering);
    if (kept.list.size() > Numberings::kept)
        kept.list.pop_back();
    return numbering;
}

bool SplitFamilies::isPending(const SplitList& list, const QString& language) {
    return WordFamilies(language).hasFamilies() && !of(list, language, false);
}

QStringList SplitFamilies::otherFormsIn(const SplitList& list, const QString& word) const {
    QStringList forms;
    const qsizetype group = list.groupOf(word);
    if (!grouped_ || group < 0 || group >= qsizetype(familyOf_.size()))
        return forms;
    const quint32 family = familyOf_[group];
    for (qsizetype g = 0; g < qsizetype(familyOf_.size()); ++g) {
        if (g == group || familyOf_[g] != family)
            continue;
        const QString folded = text::folded(words_[g]);
        if (list.presenceOfFolded(folded) == SplitList::Presence::inList)
            forms.append(folded);
    }
    return forms;
}
