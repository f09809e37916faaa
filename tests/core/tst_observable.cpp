#include "core/Observable.h"

#include <QtTest>

#include <memory>

class ObservableTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void observableDeliversCurrentThenEveryWriteInOrder() {
        Observable<int> o(1);
        QList<int> seen;
        QList<int> storedDuringDelivery;
        auto sub = o.subscribe([&](const int& v) {
            seen << v;
            storedDuringDelivery << o.value();
        });
        o.set(2);
        o.modify([](int& v) { v += 10; });
        QCOMPARE(seen, QList<int>({1, 2, 12}));
        // Inside the callback the previous value is still the stored one.
        QCOMPARE(storedDuringDelivery, QList<int>({1, 1, 2}));
        QCOMPARE(o.value(), 12);
        // A change in place is delivered once too, and stored before it is.
        o.modifyInPlace([](int& v) { v += 100; });
        QCOMPARE(seen, QList<int>({1, 2, 12, 112}));
        QCOMPARE(storedDuringDelivery.last(), 112);
        sub.reset();
        o.set(3);
        QCOMPARE(seen.size(), 4);
        QCOMPARE(o.subscriberCount(), 0u);
    }

    void observableSurvivesUnsubscribeDuringDelivery() {
        Observable<int> o(0);
        Subscription second;
        int firstCalls = 0, secondCalls = 0;
        auto first = o.subscribe([&](const int& v) {
            ++firstCalls;
            if (v == 1)
                second.reset(); // drops the later subscriber mid-delivery
        });
        second = o.subscribe([&](const int&) { ++secondCalls; });
        o.set(1);
        QCOMPARE(firstCalls, 2);
        QCOMPARE(secondCalls, 1); // only its initial value
        {
            // A subscription that outlives its observable is harmless: ending
            // it later neither calls back nor touches the observable's memory
            // (the sanitizer build would see that).
            int calls = 0;
            auto o2 = std::make_unique<Observable<int>>(7);
            Subscription s = o2->subscribe([&](const int& v) {
                ++calls;
                QCOMPARE(v, 7);
            });
            QCOMPARE(calls, 1);
            QCOMPARE(o2->subscriberCount(), 1u);
            o2.reset();
            s.reset();
            QCOMPARE(calls, 1);
            s.reset(); // a second end is as harmless
            QCOMPARE(calls, 1);
        }
    }
};

QTEST_GUILESS_MAIN(ObservableTest)
#include "tst_observable.moc"
