#pragma once
// main() for the tests that start the embedded browser: it runs as root and without a GPU here,
// which the browser must know before Qt starts.
#include <QApplication>
#include <QtTest>

#define CAD_BROWSER_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");                                                         \
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");                                 \
        QApplication app(argc, argv);                                                                        \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
