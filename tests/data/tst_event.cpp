// Events: handlers in order, and subscriptions that end with their owner whichever side goes first.
#include "data/Event.h"

#include <QtTest>

using namespace cad;

class EventTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void endedSubscriptionIsNoLongerCalled()
    {
        Event<int> event;
        QList<QString> seen;
        event.add([&](int v) { seen << QStringLiteral("always:%1").arg(v); });
        {
            Subscription scoped = event.subscribe([&](int v) { seen << QStringLiteral("scoped:%1").arg(v); });
            event(1);
        }
        event(2);
        Subscription moved = event.subscribe([&](int v) { seen << QStringLiteral("moved:%1").arg(v); });
        Subscription owner = std::move(moved);
        moved.reset(); // an emptied subscription ends nothing
        event(3);
        owner = event.subscribe([&](int v) { seen << QStringLiteral("replaced:%1").arg(v); });
        event(4);
        QCOMPARE(seen, (QList<QString>{"always:1", "scoped:1", "always:2", "always:3", "moved:3", "always:4",
                                       "replaced:4"}));
    }

    void handlerEndedDuringFiringIsSkipped()
    {
        Event<> event;
        int later = 0;
        auto second = std::make_unique<Subscription>();
        Subscription first = event.subscribe([&] { second.reset(); });
        *second = event.subscribe([&] { ++later; });
        event();
        QCOMPARE(later, 0);
        event();
        QCOMPARE(later, 0);
    }

    void subscriptionMayOutliveItsEvent()
    {
        int calls = 0;
        Subscription kept;
        {
            Event<> event;
            kept = event.subscribe([&] { ++calls; });
            event();
        }
        kept.reset();
        QCOMPARE(calls, 1);
    }
};

QTEST_GUILESS_MAIN(EventTest)
#include "tst_event.moc"
