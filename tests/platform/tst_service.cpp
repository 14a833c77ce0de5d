#include "doubles/MemoryRegistry.h"
#include "doubles/MemoryTimeZone.h"
#include "platform/Registry.h"
#include "platform/SystemRegistry.h"
#include "platform/SystemTimeZone.h"
#include "platform/TimeZone.h"

#include <QtTest>

// Replacing the services: each has a slot of its own, a double installs itself for its lifetime
// and puts back what was there, and an empty slot answers the system's own implementation.
class tst_Service : public QObject {
    Q_OBJECT

private slots:
    void doublesNestAndRestore()
    {
        TimeZone &system = TimeZone::current();
        QVERIFY(dynamic_cast<SystemTimeZone *>(&system));
        {
            MemoryTimeZone outer(3600);
            QCOMPARE(&TimeZone::current(), &outer);
            {
                MemoryTimeZone inner(12600);
                QCOMPARE(
                    TimeZone::current().offsetFromUtc(QDateTime::currentDateTimeUtc()).value_or(0),
                    12600);
            }
            QCOMPARE(&TimeZone::current(), &outer);
        }
        QCOMPARE(&TimeZone::current(), &system);
    }

    void eachServiceHasItsOwnSlot()
    {
        MemoryTimeZone zone;
        QVERIFY(dynamic_cast<SystemRegistry *>(&Registry::current()));
        MemoryRegistry registry;
        QCOMPARE(&Registry::current(), &registry);
        QCOMPARE(&TimeZone::current(), &zone);
    }

    void nothingInstalledMeansTheSystem()
    {
        MemoryRegistry registry;
        Registry::setCurrent(nullptr);
        QVERIFY(dynamic_cast<SystemRegistry *>(&Registry::current()));
        Registry::setCurrent(&registry);
        QCOMPARE(&Registry::current(), &registry);
    }
};

QTEST_GUILESS_MAIN(tst_Service)
#include "tst_service.moc"
