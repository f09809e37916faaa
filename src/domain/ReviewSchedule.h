#pragma once

#include <QDateTime>
#include <QUuid>

// When a learning word comes up for review again, and how well it is held:
// FSRS-6 (the Free Spaced Repetition Scheduler, version 6) with its published
// default parameters (those of py-fsrs 6, ts-fsrs 5 and fsrs-rs:
// w = 0.212, 1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001, 1.8722,
// 0.1666, 0.796, 1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425,
// 0.0912, 0.0658, 0.1542), a desired retention of 0.9 and intervals of at
// most 36500 days.
//
// It is FSRS's long-term scheduler (ts-fsrs with enable_short_term off): no
// same-day learning steps, every answer puts the word off by whole days, at
// least one. A word is reviewed once a day at most, which is how a learner
// works through a list of words; a second answer on the same calendar day
// leaves the stability as it was (after Again it may only fall). Days are
// counted as calendar days of the local time zone, so a word answered late in
// the evening is a day old the next morning. The four answers' intervals are
// kept in order (Again before Hard before Good before Easy), as ts-fsrs's
// long-term scheduler keeps them, so a harder answer never brings a word back
// later than an easier one would.
//
// The formulas follow FSRS-6 as py-fsrs 6 and ts-fsrs 5 have them:
// retrievability R(t, S) = (1 + f·t/S)^-w20 with f = 0.9^(-1/w20) - 1, so
// that R(S, S) = 0.9; the first answer G sets S = w[G-1] and
// D = w4 - e^(w5·(G-1)) + 1; a later one moves D by -w6·(G-3), damped by
// (10-D)/9 and drawn back toward the first Easy difficulty by w7, and sets S
// after a recall to S·(1 + e^w8·(11-D)·S^-w9·(e^(w10·(1-R)) - 1)·w15 (Hard)
// ·w16 (Easy)), after a lapse to min(S, w11·D^-w12·((S+1)^w13 - 1)
// ·e^(w14·(1-R))).
namespace ReviewSchedule {

// The learner's answer, numbered as FSRS numbers it.
enum class Grade { again = 1, hard = 2, good = 3, easy = 4 };

constexpr double desiredRetention = 0.9;
constexpr int maximumIntervalDays = 36500;

// How a learning word is held. Without a review yet it is new; every answer
// makes it a card in review (FSRS's states New and Review, numbered as the
// reference libraries number them; the long-term scheduler has no learning
// or relearning steps).
struct Card {
    enum class State { newCard = 0, review = 2 };

    QUuid learningWordId;
    double stability = 0;  // days until retrievability falls to 0.9
    double difficulty = 0; // 1 (easy) to 10 (hard)
    QDateTime lastReview;  // invalid while new
    QDateTime due;         // invalid while new
    int reps = 0;          // answers given
    int lapses = 0;        // Again answered after the first review
    State state = State::newCard;
};

// The card after the learner answered grade at the time at (not before its
// last review).
Card review(const Card& card, Grade grade, const QDateTime& at);

// The probability that the learner recalls the word at the time at: 0 for a
// new card, 1 on the day of its last review.
double retrievability(const Card& card, const QDateTime& at);

// The interval in whole days after which a word of this stability is
// recalled with the desired retention: at least 1, at most the maximum.
int intervalDays(double stability);

// The learning word's level (LearningWord::level) from the card: 1 for a
// word just begun, up to 5 for one nearly known.
int level(const Card& card);

} // namespace ReviewSchedule
