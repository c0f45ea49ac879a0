// Runs every HTTP test class in one process; "-platform NAME" from the test runner is not Qt Test's.
#include <QCoreApplication>
#include <QTest>

#include <memory>
#include <vector>

std::unique_ptr<QObject> makeTextRoutinesTest();
std::unique_ptr<QObject> makeHttpExchangeTest();
std::unique_ptr<QObject> makeHttpFailureTest();
std::unique_ptr<QObject> makeHttpTlsTest();
std::unique_ptr<QObject> makeRealServerTest();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        if (QByteArray(argv[i]) == "-platform" && i + 1 < argc)
            ++i;
        else
            args << QString::fromLocal8Bit(argv[i]);
    }
    int failed = 0;
    for (const auto& make : {makeTextRoutinesTest, makeHttpExchangeTest, makeHttpFailureTest, makeHttpTlsTest,
                             makeRealServerTest}) {
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), args);
    }
    return failed;
}
