#pragma once

#include "TestSupport.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"

#include <memory>

// A second model on the same store, as the next start would see it.
inline std::shared_ptr<AppModel> restartedModel() {
    ViewModelFactory::waitForBackgroundSaves();
    auto model = ViewModelFactory::storeBackedModel();
    model->load();
    return model;
}

// Adds a title "Book", makes it current with the text, and registers the
// known, then the unwanted words, each through a split of the text.
inline void startBook(AppModel& model, const QString& text, const QStringList& known,
                      const QStringList& unwanted) {
    model.addTitle(QStringLiteral("Book"));
    model.setCurrentTitle(model.state().listOfTitleAndWordList.last().title);
    model.saveText(text);
    for (const auto& w : known) {
        model.splitWords();
        model.registerWord(w, AppState::Word::Kind::known, 0);
    }
    for (const auto& w : unwanted) {
        model.splitWords();
        model.registerWord(w, AppState::Word::Kind::unwanted, 0);
    }
}
