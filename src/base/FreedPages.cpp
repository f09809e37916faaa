#include "base/FreedPages.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

// The many small pieces of a book's document or split list came from the
// heap (glibc's arena) of the thread that made them, and the next ones come
// from another thread's: they do not reuse them, and every book shown again
// kept the last one's 17 MB on top, every split a few more. A trim takes
// about 4 ms with a book twice in the store; it runs on the GUI thread, from
// its event loop.
void returnFreedPagesSoon() {
#ifdef __GLIBC__
    QCoreApplication* const application = QCoreApplication::instance();
    if (!application)
        return;
    // The timer goes with the application.
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(application);
        timer->setSingleShot(true);
        timer->setInterval(250);
        QObject::connect(timer, &QTimer::timeout, [] { malloc_trim(0); });
    }
    timer->start();
#endif
}
