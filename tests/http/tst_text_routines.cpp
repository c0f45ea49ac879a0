// Text routines, code-page conversion, URL resolution and the error message layout.
#include "core/TextRoutines.h"
#include "http/HttpResponseText.h"
#include "http/HttpUrl.h"

#include <QTest>

#include <memory>

using namespace cad;

namespace {

// Bytes read as the single-byte code page, the way a response arrives in memory.
QString asCodePage(const QByteArray& bytes)
{
    return FromSingleByte(bytes);
}

} // namespace

class TestTextRoutines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stripTags_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bold label") << "<b>NOME</b> EMPRESARIAL"
                                    << "NOME EMPRESARIAL";
        QTest::newRow("lone less-than") << "a < b"
                                        << "a < b";
        QTest::newRow("tag from the last opener") << "x<a<b>c"
                                                  << "x<ac";
        QTest::newRow("line breaks stay") << "<td>\r\nA</td>\n<br>B"
                                          << "\r\nA\nB";
        QTest::newRow("greater-than alone") << "a > b"
                                            << "a > b";
        QTest::newRow("nested openers") << "<<b>>x"
                                        << "x";
    }
    void stripTags()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(StripTags(text), expected);
    }

    void decodeEntities_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("amp first") << "&amp;lt;"
                                   << "<";
        QTest::newRow("accents") << "S&Atilde;O JO&Atilde;O &ccedil;&eacute;&uuml;"
                                 << "SÃO JOÃO çéü";
        QTest::newRow("apostrophes and dash") << "&#39;a&apos;&#45;"
                                              << "'a'-";
        QTest::newRow("nbsp stays") << "a&nbsp;b"
                                    << "a&nbsp;b";
        QTest::newRow("case-sensitive") << "&AMP;&Amp;"
                                        << "&AMP;&Amp;";
        QTest::newRow("quote") << "&quot;x&quot; &gt; y"
                               << "\"x\" > y";
    }
    void decodeEntities()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(DecodeEntities(text), expected);
    }

    void collapseSpaces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("inner and outer blanks") << "  ACME   LTDA  "
                                                << "ACME LTDA";
        QTest::newRow("control characters at the ends") << "\t\r\nA  B\r\n"
                                                        << "A B";
        QTest::newRow("inner tab kept") << "A\t B"
                                        << "A\t B";
        QTest::newRow("blank only") << "   "
                                    << "";
    }
    void collapseSpaces()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(CollapseSpaces(text), expected);
    }

    void utf8ToSingleByte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("accented letters") << asCodePage("a\xC3\xA7\xC3\xA3o") << QStringLiteral("ação");
        QTest::newRow("euro sign is in the code page")
            << asCodePage("\xE2\x82\xAC 5") << QStringLiteral("€ 5");
        QTest::newRow("CJK becomes ?") << asCodePage("x\xE4\xB8\xAD") << QStringLiteral("x?");
        QTest::newRow("4-byte character is one ?") << asCodePage("\xF0\x9F\x98\x80!") << QStringLiteral("?!");
        QTest::newRow("code-page text unchanged") << QStringLiteral("ação") << QStringLiteral("ação");
        QTest::newRow("truncated sequence unchanged") << asCodePage("ab\xC3") << asCodePage("ab\xC3");
        QTest::newRow("overlong unchanged") << asCodePage("\xC0\x80") << asCodePage("\xC0\x80");
        QTest::newRow("surrogate unchanged") << asCodePage("\xED\xA0\x80") << asCodePage("\xED\xA0\x80");
        QTest::newRow("empty") << QString() << QString();
    }
    void utf8ToSingleByte()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(Utf8ToSingleByte(text), expected);
    }

    void codePageRoundTrip()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(ToSingleByte(FromSingleByte(all)), all);
        QCOMPARE(FromSingleByte("\x80\x9F"), QStringLiteral("€Ÿ"));
        QCOMPARE(ToSingleByte(QStringLiteral("Ω")), QByteArray("?"));
    }

    void resolveLocation_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("expected");
        const QString page = QStringLiteral("http://h:8080/x/y.asp");
        QTest::newRow("absolute") << page << "https://other/z"
                                  << "https://other/z";
        QTest::newRow("absolute, scheme in capitals") << page << "HTTP://other/z"
                                                      << "HTTP://other/z";
        QTest::newRow("protocol-relative") << page << "//other/z"
                                           << "//other/z";
        QTest::newRow("www") << page << "www.other.com/z"
                             << "www.other.com/z";
        QTest::newRow("slash in the query") << "http://h/x/y.asp?r=a/b"
                                            << "c.asp"
                                            << "http://h/x/c.asp";
        QTest::newRow("no path") << "http://h"
                                 << "c.asp"
                                 << "http://h/c.asp";
    }
    void resolveLocation()
    {
        QFETCH(QString, current);
        QFETCH(QString, location);
        QFETCH(QString, expected);
        QCOMPARE(::resolveLocation(current, location), expected);
    }

    void errorMessageWrapping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        const QString a80(80, QLatin1Char('a'));
        QTest::newRow("cut at 80") << a80 + "bbb" << QStringList{a80, "bbb"};
        QTest::newRow("exactly 80") << a80 << QStringList{a80};
        const QString endsInOpener = QString(79, QLatin1Char('a')) + "<";
        QTest::newRow("opener takes two more")
            << endsInOpener + "b>cd" << QStringList{endsInOpener + "b>", "cd"};
        const QString endsInCloser = QString(78, QLatin1Char('a')) + "</";
        QTest::newRow("closer takes two more")
            << endsInCloser + "td>" << QStringList{endsInCloser + "td", ">"};
        QTest::newRow("empty lines kept") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
        QStringList many;
        for (int i = 0; i < 25; ++i)
            many << QString::number(i);
        QTest::newRow("at most 20 lines") << many.join("\r\n") << many.mid(0, 20);
    }
    void errorMessageWrapping()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const QString message = httpErrorMessage(500, {}, 0, {}, QStringLiteral("u"), text);
        const QString body = message.mid(message.indexOf(QLatin1String("Resposta HTTP:\r\n")) + 16);
        QCOMPARE(body, expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
};

std::unique_ptr<QObject> makeTextRoutinesTest()
{
    return std::make_unique<TestTextRoutines>();
}

#include "tst_text_routines.moc"
