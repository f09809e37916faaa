#pragma once

#include "domain/ReviewSchedule.h"

#include <QList>

// The review schedules of the learning words (ReviewSchedule::Card) in their
// own table beside the learning words: a card per word reviewed at least
// once. A card goes with its word: forgetting the word, or deleting its
// title, removes it too.
namespace ReviewStore {

// The card of every learning word reviewed at least once.
QList<ReviewSchedule::Card> fetchAll();

// Keeps the card of a reviewed word, in place of the one it had, in one
// transaction. The card of a word that is not stored is left out.
void save(const ReviewSchedule::Card& card);

// Removes the word's card: the word is new to review again.
void remove(const QUuid& learningWordId);

} // namespace ReviewStore
