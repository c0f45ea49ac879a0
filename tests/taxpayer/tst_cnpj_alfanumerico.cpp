// CNPJs whose root and order number hold capitals: the official example, every single-character
// change of it, and random documents against a computation written here from the published rule.
#include "core/DigitsOnly.h"
#include "taxpayer/CadValidador.h"

#include <QRandomGenerator>
#include <QTest>

using namespace cad;

namespace {

const QString kExemplo = QStringLiteral("12ABC34501DE35");
const QString kFormato = QStringLiteral("CNPJ deve ter 14 dígitos. (Apenas números)");
const QString kInvalido = QStringLiteral("CNPJ inválido.");
const QString kAlfabeto = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");

// Each position counts its character code minus 48 ('A' is 17); weights run 2..9 from the right.
QChar publishedDigit(const QString& base)
{
    int sum = 0;
    for (qsizetype i = 0; i < base.size(); ++i) {
        const qsizetype fromRight = base.size() - 1 - i;
        sum += (base.at(i).unicode() - 48) * int(2 + fromRight % 8);
    }
    const int r = sum % 11;
    return QChar(u'0' + (r < 2 ? 0 : 11 - r));
}

QString withPublishedDigits(QString base)
{
    base += publishedDigit(base);
    return base + publishedDigit(base);
}

QString punctuated(const QString& cnpj)
{
    return cnpj.left(2) + u'.' + cnpj.mid(2, 3) + u'.' + cnpj.mid(5, 3) + u'/' + cnpj.mid(8, 4) + u'-' +
           cnpj.right(2);
}

QString check(const QString& documento)
{
    return DocumentCheckMessage(docCNPJ, documento, {});
}

} // namespace

class TestCnpjAlfanumerico : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void officialExample_data()
    {
        QTest::addColumn<QString>("documento");
        QTest::newRow("punctuated") << QStringLiteral("12.ABC.345/01DE-35");
        QTest::newRow("bare") << kExemplo;
        QTest::newRow("lower case") << QStringLiteral("12.abc.345/01de-35");
        QTest::newRow("mixed case, bare") << QStringLiteral("12aBc34501dE35");
        QTest::newRow("other marks and outer blanks") << QStringLiteral("  12-ABC/345.01DE/35 ");
    }
    void officialExample()
    {
        QFETCH(QString, documento);
        QCOMPARE(publishedDigit(kExemplo.left(12)), QChar(u'3')); // the rule as written here
        TCadValidador v;
        v.setTipoDocto(docCNPJ);
        v.setDocumento(documento);
        QVERIFY2(v.Validar(), qPrintable(v.MsgErro()));
        QCOMPARE(v.DigitoCalculado(), QStringLiteral("35"));
        QCOMPARE(check(documento), QString());
    }

    // Module 11 cannot see a value moved by a multiple of 11 (0 and F, 1 and G and R, ...): exactly
    // those changes of the first twelve places still validate; any other change, and any letter in
    // the check digits, is refused.
    void everySingleCharacterChange()
    {
        int accepted = 0;
        for (qsizetype pos = 0; pos < kExemplo.size(); ++pos) {
            for (const QChar c : kAlfabeto) {
                if (c == kExemplo.at(pos)) continue;
                QString changed = kExemplo;
                changed[pos] = c;
                const bool checkPlace = pos >= 12;
                const bool alias = !checkPlace && (c.unicode() - kExemplo.at(pos).unicode()) % 11 == 0;
                const QString expected =
                    alias ? QString() : (checkPlace && c.isLetter() ? kFormato : kInvalido);
                QCOMPARE(check(punctuated(changed)), expected);
                QCOMPARE(check(changed.toLower()), expected);
                accepted += alias;
            }
        }
        QCOMPARE(accepted, 27);
    }

    void randomDocuments()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator rng(seed);
        for (int i = 0; i < 3000; ++i) {
            QString base;
            for (int k = 0; k < 12; ++k)
                base += kAlfabeto.at(rng.bounded(kAlfabeto.size()));
            const QString valid = withPublishedDigits(base);
            QVERIFY2(check(punctuated(valid)).isEmpty(),
                     qPrintable(valid + " seed " + QString::number(seed)));

            // A wrong second check digit is always seen.
            QString broken = valid;
            broken[13] = QChar(u'0' + (valid.at(13).unicode() - u'0' + 1 + rng.bounded(9)) % 10);
            QCOMPARE(check(broken.toLower()), kInvalido);
        }
    }

    void lettersAndDigits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("hasLetter");
        QTest::addColumn<QString>("key");
        QTest::newRow("alphanumeric cnpj") << "12.abc.345/01De-35"
                                           << "12ABC34501DE35" << true << "12ABC34501DE35";
        QTest::newRow("numeric cnpj") << "11.222.333/0001-81"
                                      << "11222333000181" << false << "11222333000181";
        QTest::newRow("no document") << "ISENTO"
                                     << "ISENTO" << true << "";
        QTest::newRow("letters, not fourteen places") << "12ABC34501D35"
                                                      << "12ABC34501D35" << true << "123450135";
        QTest::newRow("accents and other scripts dropped")
            << QStringLiteral("Nº 1ª é-2 ٣ ß") << "N12" << true << "12";
        QTest::newRow("nothing kept") << " ./- "
                                      << "" << false << "";
    }
    void lettersAndDigits()
    {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(bool, hasLetter);
        QFETCH(QString, key);
        QCOMPARE(LettersAndDigits(text), kept);
        QCOMPARE(HasLetterAZ(text), hasLetter);
        QCOMPARE(DocumentKey(text), key);
        if (!hasLetter) QCOMPARE(key, DigitsOnly(text));
    }
};

QTEST_MAIN(TestCnpjAlfanumerico)
#include "tst_cnpj_alfanumerico.moc"
