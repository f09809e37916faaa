#include "core/StateEdits.h"

QHash<Title, LanguageState>::iterator findById(QHash<Title, LanguageState>& map, const QUuid& id) {
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it.key().id == id)
            return it;
    }
    return map.end();
}

QHash<Title, LanguageState>::const_iterator findById(const QHash<Title, LanguageState>& map,
                                                     const QUuid& id) {
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.key().id == id)
            return it;
    }
    return map.cend();
}

void followTitle(AppState& s, const Title& title) {
    if (!s.languageStateList.contains(title)) {
        LanguageState ls;
        auto it = findById(s.languageStateList, title.id);
        if (it != s.languageStateList.end()) {
            ls = it.value();
            s.languageStateList.erase(it);
        }
        s.languageStateList.insert(title, ls);
    }
    if (s.currentTitle.id == title.id)
        s.currentTitle = title;
}
