#pragma once

#include "core/Observable.h"
#include "domain/AppState.h"

#include <utility>

struct UseCases;

// What each part of the model is handed by AppModel: the published state,
// read and written as the model writes it, and the handlers of the store.
class ModelRoom {
public:
    ModelRoom(Observable<AppState>& state, const UseCases& useCases)
        : state_(state)
        , useCases_(useCases) {}

    const AppState& state() const { return state_.value(); }
    // The state as stored, without the typing held back (Observable::peek).
    const AppState& storedState() const { return state_.peek(); }
    void setHeldBack(std::function<void()> work) { state_.setHeldBack(std::move(work)); }
    // One write of the state, one publication.
    template <class F> void modify(F&& change) { state_.modify(std::forward<F>(change)); }
    // A write made where the state stands (Observable::modifyInPlace).
    template <class F> void modifyInPlace(F&& change) {
        state_.modifyInPlace(std::forward<F>(change));
    }
    const UseCases& useCases() const { return useCases_; }

private:
    Observable<AppState>& state_;
    const UseCases& useCases_;
};
