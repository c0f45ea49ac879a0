// The route page's text: address texts, the script strings and the file as it is written.
#include "http/ServiceSettings.h"
#include "maps/MapaPage.h"

#include <QFile>
#include <QTemporaryDir>

#include <QtTest>

using namespace cad;
using namespace cad::mapa;

class MapaPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void composesAddress_data()
    {
        QTest::addColumn<QStringList>("parts"); // street, number, district, city, state
        QTest::addColumn<QString>("text");
        QTest::newRow("all five") << QStringList{"RUA A", "10", "CENTRO", "SAO PAULO", "SP"}
                                  << "RUA A,10,CENTRO,SAO PAULO,SP";
        QTest::newRow("city and state only") << QStringList{"", "", "", "SAO PAULO", "SP"} << "SAO PAULO,SP";
        QTest::newRow("gaps in the middle")
            << QStringList{"RUA A", "", "CENTRO", "", "SP"} << "RUA A,CENTRO,SP";
        QTest::newRow("nothing") << QStringList{"", "", "", "", ""} << "";
    }
    void composesAddress()
    {
        QFETCH(QStringList, parts);
        QFETCH(QString, text);
        QCOMPARE(composeAddress({parts[0], parts[1], parts[2], parts[3], parts[4]}), text);
    }

    void writesAddressesAsScriptStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("plain") << "RUA+A,SP"
                               << "\tvar end   = 'RUA+A,SP';\t";
        QTest::newRow("apostrophe") << "RUA+OLHO+D'ÁGUA,SP"
                                    << "\tvar end   = 'RUA+OLHO+D\\'ÁGUA,SP';\t";
        QTest::newRow("backslash") << "RUA+A\\B"
                                   << "\tvar end   = 'RUA+A\\\\B';\t";
        QTest::newRow("closing script tag")
            << "A</script><script>alert(1)</script>"
            << "\tvar end   = 'A\\x3C/script>\\x3Cscript>alert(1)\\x3C/script>';\t";
        QTest::newRow("line break") << "RUA+A\nSP"
                                    << "\tvar end   = 'RUA+A\\nSP';\t";
        QTest::newRow("a mark of the template") << "@START@"
                                                << "\tvar end   = '@START@';\t";
    }
    void writesAddressesAsScriptStrings()
    {
        QFETCH(QString, text);
        QFETCH(QString, line);
        const QStringList lines = pageLines(QStringLiteral("ORIGEM"), text, QStringLiteral("DRIVING"),
                                            MapHosts::fromApiHost(QStringLiteral("127.0.0.1:1")));
        QVERIFY(lines.contains(line));
        QVERIFY(lines.contains(QStringLiteral("\tvar start = 'ORIGEM';\t")));
        QCOMPARE(lines.filter(QStringLiteral("var end")).size(), 1);
    }

    void pageNamesModeHostsAndKey()
    {
        const QStringList lines =
            pageLines(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("WALKING"),
                      MapHosts::fromApiHost(QStringLiteral("127.0.0.1:8080")));
        QCOMPARE(lines.first(), QStringLiteral("<!DOCTYPE html>"));
        QVERIFY(lines.contains(QStringLiteral("\tvar selectedMode = 'WALKING';")));
        QVERIFY(lines.contains(QStringLiteral("<input type='hidden' id='inputTotal' value='' />")));
        const QStringList script =
            lines.filter(QStringLiteral("src=\"https://127.0.0.1:8080/maps/api/js?key="));
        QCOMPARE(script.size(), 1);
        const QString key = script.first().section(QStringLiteral("key="), 1).section(QLatin1Char('"'), 0, 0);
        QCOMPARE(key, QStringLiteral("SEM-CHAVE")); // no key configured: none is made up
        serviceSettings().mapsKey = QStringLiteral("CHAVE&DA LOJA");
        const QStringList keyed =
            pageLines(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("WALKING"),
                      MapHosts::fromApiHost(QStringLiteral("127.0.0.1:8080")))
                .filter(QStringLiteral("maps/api/js?key=CHAVE%26DA%20LOJA\""));
        serviceSettings().mapsKey.clear();
        QCOMPARE(keyed.size(), 1);
        QCOMPARE(
            lines
                .filter(QStringLiteral("https://127.0.0.1:8080/apis/maps/documentation/javascript/examples/"
                                       "default.css"))
                .size(),
            1);
    }

    void writesLatin1LinesEndedByCrLfReplacingTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Mapa.html"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(5000, 'x')); // longer than the new page: nothing of it may stay
        }
        writePage(path, {QStringLiteral("Distância"), QStringLiteral("ação"), QStringLiteral("€")});
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("Dist\xe2ncia\r\na\xe7\xe3o\r\n?\r\n"));
    }

    void aFileThatCannotBeWrittenStopsWithTheSystemsMessage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sem-pasta/Mapa.html"));
        try {
            writePage(path, {QStringLiteral("x")});
            QFAIL("the page was reported written");
        } catch (const std::runtime_error& e) {
            const QString message = QString::fromUtf8(e.what());
            QVERIFY2(message.startsWith(path + QStringLiteral(": ")) && message.size() > path.size() + 2,
                     qPrintable(message));
        }
    }
};

QTEST_GUILESS_MAIN(MapaPageTest)
#include "tst_mapapage.moc"
