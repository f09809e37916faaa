#pragma once

#include "domain/LearningWord.h"

#include <QList>

// The learning words in their own table, beside the registered words: a
// title's go with it, and a backup holds them as it holds every table.
namespace LearningWordStore {

// Every learning word of every stored title, in the order they were learned.
QList<LearningWord> fetchAll();

// Keeps the word (a new one, or new level and meaning for one kept already)
// and, with splitWord, marks the word gone from its title's stored split
// list, in one transaction. A word of a title that is not stored is left
// out.
void keep(const LearningWord& word, const QString& splitWord = QString());

// Removes the word with its review card (ReviewStore.h) and, with
// splitWord, brings the word back into its title's stored split list, in one
// transaction.
void forget(const QUuid& id, const QUuid& titleId, const QString& splitWord = QString());

} // namespace LearningWordStore
