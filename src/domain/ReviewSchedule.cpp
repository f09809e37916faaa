#include "domain/ReviewSchedule.h"

#include "domain/LearningWord.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ReviewSchedule {

namespace {

// FSRS-6's default parameters w0 to w20 (see the header).
constexpr std::array<double, 21> fsrsWeights = {
    0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
    1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};

constexpr double fsrsMinStability = 0.001;
// As ts-fsrs caps it: a word held for a century needs no longer stability.
constexpr double fsrsMaxStability = 36500;
constexpr double fsrsMinDifficulty = 1;
constexpr double fsrsMaxDifficulty = 10;

double fsrsWeight(int index) {
    return fsrsWeights[std::size_t(index)];
}

double fsrsDecay() {
    return -fsrsWeight(20);
}

// Chosen so that the retrievability is 0.9 when the elapsed days equal the stability.
double fsrsFactor() {
    return std::pow(0.9, 1 / fsrsDecay()) - 1;
}

double forgettingCurve(double elapsedDays, double stability) {
    return std::pow(1 + fsrsFactor() * elapsedDays / stability, fsrsDecay());
}

int gradeValue(Grade grade) {
    return int(grade);
}

double clampedStability(double stability) {
    return std::clamp(stability, fsrsMinStability, fsrsMaxStability);
}

double initialDifficulty(Grade grade) {
    return fsrsWeight(4) - std::exp(fsrsWeight(5) * (gradeValue(grade) - 1)) + 1;
}

double nextDifficulty(double difficulty, Grade grade) {
    const double delta = -fsrsWeight(6) * (gradeValue(grade) - 3);
    const double damped = difficulty + delta * (10 - difficulty) / 9;
    const double reverted =
        fsrsWeight(7) * initialDifficulty(Grade::easy) + (1 - fsrsWeight(7)) * damped;
    return std::clamp(reverted, fsrsMinDifficulty, fsrsMaxDifficulty);
}

double recallStability(double difficulty, double stability, double retrievability, Grade grade) {
    const double hardPenalty = grade == Grade::hard ? fsrsWeight(15) : 1;
    const double easyBonus = grade == Grade::easy ? fsrsWeight(16) : 1;
    return stability *
           (1 + std::exp(fsrsWeight(8)) * (11 - difficulty) * std::pow(stability, -fsrsWeight(9)) *
                    (std::exp((1 - retrievability) * fsrsWeight(10)) - 1) * hardPenalty *
                    easyBonus);
}

// A lapse never raises the stability (the long-term scheduler's bound; the
// same-day steps of the short-term one would lower it further).
double lapseStability(double difficulty, double stability, double retrievability) {
    const double forgotten = fsrsWeight(11) * std::pow(difficulty, -fsrsWeight(12)) *
                             (std::pow(stability + 1, fsrsWeight(13)) - 1) *
                             std::exp((1 - retrievability) * fsrsWeight(14));
    return std::min(forgotten, stability);
}

struct Memory {
    double stability;
    double difficulty;
};

Memory memoryAfter(const Card& card, Grade grade, int elapsedDays) {
    if (card.state == Card::State::newCard) {
        return {clampedStability(fsrsWeight(gradeValue(grade) - 1)),
                std::clamp(initialDifficulty(grade), fsrsMinDifficulty, fsrsMaxDifficulty)};
    }
    const double r = forgettingCurve(elapsedDays, card.stability);
    const double stability = grade == Grade::again
                                 ? lapseStability(card.difficulty, card.stability, r)
                                 : recallStability(card.difficulty, card.stability, r, grade);
    return {clampedStability(stability), nextDifficulty(card.difficulty, grade)};
}

// Whole calendar days from the last review to at, in the local time zone.
int elapsedDaysSince(const Card& card, const QDateTime& at) {
    if (!card.lastReview.isValid())
        return 0;
    const auto days = card.lastReview.toLocalTime().date().daysTo(at.toLocalTime().date());
    return int(std::max<qint64>(days, 0));
}

} // namespace

Card review(const Card& card, Grade grade, const QDateTime& at) {
    const int elapsed = elapsedDaysSince(card, at);
    // Every answer's interval, to keep them in order.
    std::array<Memory, 4> memories{};
    std::array<int, 4> intervals{};
    for (int g = gradeValue(Grade::again); g <= gradeValue(Grade::easy); ++g) {
        memories[std::size_t(g - 1)] = memoryAfter(card, Grade(g), elapsed);
        intervals[std::size_t(g - 1)] = intervalDays(memories[std::size_t(g - 1)].stability);
    }
    intervals[0] = std::min(intervals[0], intervals[1]);
    for (std::size_t i = 1; i < intervals.size(); ++i)
        intervals[i] = std::max(intervals[i], intervals[i - 1] + 1);

    const auto chosen = std::size_t(gradeValue(grade) - 1);
    Card next = card;
    next.stability = memories[chosen].stability;
    next.difficulty = memories[chosen].difficulty;
    next.lastReview = at;
    next.due = at.addDays(std::min(intervals[chosen], maximumIntervalDays));
    next.reps = card.reps + 1;
    if (grade == Grade::again && card.state == Card::State::review)
        ++next.lapses;
    next.state = Card::State::review;
    return next;
}

double retrievability(const Card& card, const QDateTime& at) {
    if (card.state == Card::State::newCard)
        return 0;
    return forgettingCurve(elapsedDaysSince(card, at), card.stability);
}

int intervalDays(double stability) {
    const double days =
        stability / fsrsFactor() * (std::pow(desiredRetention, 1 / fsrsDecay()) - 1);
    return int(std::clamp(std::round(days), 1.0, double(maximumIntervalDays)));
}

int level(const Card& card) {
    // The least stability of levels 2 to 5, in days: a word held for under
    // three days has just begun (level 1, where every first answer but Easy
    // leaves it); for three days to a week it is coming (2); up to three
    // weeks it is settling (3); at three weeks (where Anki calls a card
    // mature) it is held (4); from three months on it is nearly known (5).
    constexpr std::array<double, 4> leastStability = {3, 7, 21, 90};
    static_assert(leastStability.size() ==
                  std::size_t(LearningWord::maxLevel - LearningWord::minLevel));
    if (card.state == Card::State::newCard)
        return LearningWord::minLevel;
    const auto above = std::count_if(leastStability.begin(), leastStability.end(),
                                     [&](double least) { return card.stability >= least; });
    return LearningWord::minLevel + int(above);
}

} // namespace ReviewSchedule
