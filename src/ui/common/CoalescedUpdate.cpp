#include "ui/common/CoalescedUpdate.h"

#include <QTimer>

void CoalescedUpdate::schedule() {
    if (pending_)
        return;
    pending_ = true;
    QTimer::singleShot(0, owner_, [this] { run(); });
}

void CoalescedUpdate::flush() {
    run();
}

void CoalescedUpdate::run() {
    if (!pending_)
        return; // already run by flush()
    pending_ = false;
    update_();
}
