// CPF/CNPJ validation: the reference vectors, then random documents in every punctuation.
#include "core/DigitsOnly.h"
#include "taxpayer/CadValidador.h"

#include <QRandomGenerator>
#include <QTest>

using namespace cad;

namespace {

const QString kTamanhoCPF = QStringLiteral("CPF deve ter 11 dígitos. (Apenas números)");
const QString kTamanhoCNPJ = QStringLiteral("CNPJ deve ter 14 dígitos. (Apenas números)");
const QString kCPFInvalido = QStringLiteral("CPF inválido.");
const QString kCPFRepetido = QStringLiteral("CPF inválido !");
const QString kCNPJInvalido = QStringLiteral("CNPJ inválido.");

// Textbook check digit, written independently of TCadCalcDigito: weights count down
// from the left and end at 2.
int textbookDigit(const QString& digits, int maxWeight)
{
    int sum = 0, weight = digits.size() + 1;
    for (const QChar c : digits) {
        int w = weight--;
        if (maxWeight == 9 && w > 9) // CNPJ weights wrap after 9
            w -= 8;
        sum += (c.unicode() - u'0') * w;
    }
    const int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
}

QString randomDigits(QRandomGenerator& rng, int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QChar(u'0' + rng.bounded(10));
    return s;
}

QString withCheckDigits(QString base, int maxWeight)
{
    base += QString::number(textbookDigit(base, maxWeight));
    base += QString::number(textbookDigit(base, maxWeight));
    return base;
}

// Sprinkles characters of "./-" and outer blanks through the digits.
QString punctuate(QRandomGenerator& rng, const QString& digits)
{
    static const QString marks = QStringLiteral("./-");
    QString out = QString(rng.bounded(3), u' ');
    for (const QChar c : digits) {
        while (rng.bounded(4) == 0)
            out += marks.at(rng.bounded(marks.size()));
        out += c;
    }
    if (rng.bounded(2)) out += marks.at(rng.bounded(marks.size()));
    return out + QString(rng.bounded(3), u' ');
}

bool allSame(const QString& s)
{
    return s.count(s.front()) == s.size();
}

} // namespace

class TestValidador : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void vectors_data();
    void vectors();
    void randomDocuments_data();
    void randomDocuments();
    void settingDocumento();
    void options();
    void calculatorWeights();
    void digitsOnly_data();
    void digitsOnly();
};

void TestValidador::vectors_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("documento");
    QTest::addColumn<QString>("message");

    const QString ok;
    QTest::newRow("cpf punctuated") << int(docCPF) << "111.444.777-35" << ok;
    QTest::newRow("cpf 123") << int(docCPF) << "123.456.789-09" << ok;
    QTest::newRow("cpf bare") << int(docCPF) << "11144477735" << ok;
    QTest::newRow("cpf outer blanks") << int(docCPF) << "  111.444.777-35 \t" << ok;
    QTest::newRow("cpf wrong digit") << int(docCPF) << "111.444.777-36" << kCPFInvalido;
    QTest::newRow("cpf repeated") << int(docCPF) << "111.111.111-11" << kCPFRepetido;
    QTest::newRow("cpf zeros") << int(docCPF) << "00000000000" << kCPFRepetido;
    QTest::newRow("cpf inner spaces") << int(docCPF) << "123 456 789 09" << kTamanhoCPF;
    QTest::newRow("cpf trailing letter") << int(docCPF) << "12345678909x" << kTamanhoCPF;
    QTest::newRow("cpf ten digits") << int(docCPF) << "1234567890" << kTamanhoCPF;
    QTest::newRow("cpf comma") << int(docCPF) << "123,456,789-09" << kTamanhoCPF;
    QTest::newRow("cpf empty") << int(docCPF) << ""
                               << "CPF não pode ser vazio.";
    QTest::newRow("cpf only marks") << int(docCPF) << "..-/"
                                    << "CPF não pode ser vazio.";
    QTest::newRow("cpf only blanks") << int(docCPF) << "   "
                                     << "CPF não pode ser vazio.";
    QTest::newRow("cnpj punctuated") << int(docCNPJ) << "11.222.333/0001-81" << ok;
    QTest::newRow("cnpj bare") << int(docCNPJ) << "11222333000181" << ok;
    QTest::newRow("cnpj wrong digit") << int(docCNPJ) << "11.222.333/0001-82" << kCNPJInvalido;
    QTest::newRow("cnpj zeros") << int(docCNPJ) << "00000000000000" << kCNPJInvalido;
    QTest::newRow("cnpj zeros punctuated") << int(docCNPJ) << "00.000.000/0000-00" << kCNPJInvalido;
    QTest::newRow("cnpj ones") << int(docCNPJ) << "11.111.111/1111-11" << kCNPJInvalido;
    QTest::newRow("cpf as cnpj") << int(docCNPJ) << "123.456.789-09" << kTamanhoCNPJ;
    QTest::newRow("cnpj twelve digits") << int(docCNPJ) << "112223330001" << kTamanhoCNPJ;
    QTest::newRow("cnpj only marks") << int(docCNPJ) << "/"
                                     << "CNPJ não pode ser vazio.";
    QTest::newRow("cnpj as cpf") << int(docCPF) << "11222333000181" << kTamanhoCPF;
}

void TestValidador::vectors()
{
    QFETCH(int, tipo);
    QFETCH(QString, documento);
    QFETCH(QString, message);

    TCadValidador v;
    v.setTipoDocto(TCadValTipoDocto(tipo));
    v.setDocumento(documento);
    QCOMPARE(v.Validar(), message.isEmpty());
    QCOMPARE(v.MsgErro(), message);
    QCOMPARE(DocumentCheckMessage(TCadValTipoDocto(tipo), documento, QString()), message);
}

void TestValidador::randomDocuments_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("length");
    QTest::newRow("cpf") << int(docCPF) << 11;
    QTest::newRow("cnpj") << int(docCNPJ) << 14;
}

void TestValidador::randomDocuments()
{
    QFETCH(int, tipo);
    QFETCH(int, length);
    const int maxWeight = tipo == docCPF ? 11 : 9;
    const QString wrongDigit = tipo == docCPF ? kCPFInvalido : kCNPJInvalido;
    const QString wrongLength = tipo == docCPF ? kTamanhoCPF : kTamanhoCNPJ;
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator rng(seed);

    for (int i = 0; i < 2000; ++i) {
        const QString valid = withCheckDigits(randomDigits(rng, length - 2), maxWeight);
        if (allSame(valid)) continue;
        const QString typed = punctuate(rng, valid);
        const auto check = [&](const QString& doc) {
            return DocumentCheckMessage(TCadValTipoDocto(tipo), doc, {});
        };
        QVERIFY2(check(typed).isEmpty(), qPrintable(typed + " seed " + QString::number(seed)));

        // Any change to one check digit must be caught.
        QString broken = valid;
        const int pos = length - 1 - rng.bounded(2);
        broken[pos] = QChar(u'0' + (broken.at(pos).unicode() - u'0' + 1 + rng.bounded(9)) % 10);
        QCOMPARE(check(punctuate(rng, broken)), wrongDigit);

        // One digit more or less, or a character outside IgnorarChar inside it.
        QCOMPARE(check(punctuate(rng, valid.left(length - 1))), wrongLength);
        QCOMPARE(check(punctuate(rng, valid + QChar(u'0' + rng.bounded(10)))), wrongLength);
        QString foreign = valid;
        foreign.insert(1 + rng.bounded(length - 1), QStringLiteral(" ,_x").at(rng.bounded(4)));
        QCOMPARE(check(foreign), wrongLength);
    }
}

void TestValidador::settingDocumento()
{
    TCadValidador v;
    v.setDocumento(QStringLiteral("111.444.777-36"));
    QCOMPARE(v.MsgErro(), QStringLiteral("Função Validar não foi chamada"));
    QCOMPARE(v.DocumentoNormalizado(), QStringLiteral("11144477736"));
    QVERIFY(!v.Validar());
    QCOMPARE(v.DigitoCalculado(), QStringLiteral("35"));

    v.setDocumento(QStringLiteral("111.444.777-36")); // same text: result kept
    QCOMPARE(v.MsgErro(), kCPFInvalido);
    QCOMPARE(v.DigitoCalculado(), QStringLiteral("35"));

    v.setDocumento(QStringLiteral("111.444.777-35"));
    QCOMPARE(v.MsgErro(), QStringLiteral("Função Validar não foi chamada"));
    QVERIFY(v.DigitoCalculado().isEmpty());

    // Changing the type alone resets nothing; Validar starts again from Documento.
    QVERIFY(v.Validar());
    v.setTipoDocto(docCNPJ);
    QVERIFY(v.MsgErro().isEmpty());
    QVERIFY(!v.Validar());
    QCOMPARE(v.MsgErro(), kTamanhoCNPJ);
}

void TestValidador::options()
{
    TCadValidador v;
    QStringList events;
    v.OnMsgErro = [&](const QString& m) { events << m; };

    v.setPermiteVazio(true);
    v.setDocumento(QStringLiteral(" - "));
    QVERIFY(v.Validar());
    QVERIFY(events.isEmpty());

    v.setExibeDigitoCorreto(true);
    v.setDocumento(QStringLiteral("111.444.777-36"));
    QVERIFY(!v.Validar());
    QCOMPARE(v.MsgErro(), QStringLiteral("CPF inválido... Dígito calculado: 35"));
    QCOMPARE(events, QStringList{v.MsgErro()});

    v.setTipoDocto(docCNPJ);
    v.setDocumento(QStringLiteral("11.222.333/0001-82"));
    QVERIFY(!v.Validar());
    QCOMPARE(v.MsgErro(), QStringLiteral("CNPJ inválido... Digito calculado: 81"));

    // AjustarTamanho pads a short number with zeros on the left, and cuts a long one.
    v.setExibeDigitoCorreto(false);
    v.setAjustarTamanho(true);
    v.setTipoDocto(docCPF);
    v.setDocumento(QStringLiteral("11.444.777-27")); // 011.444.777-27 once padded
    QVERIFY(v.Validar());
    v.setDocumento(QStringLiteral("111444777351"));
    QVERIFY(v.Validar());

    v.setAjustarTamanho(false);
    v.setIgnorarChar(QStringLiteral("."));
    v.setDocumento(QStringLiteral("111.444.777-35"));
    QVERIFY(!v.Validar());
    QCOMPARE(v.MsgErro(), kTamanhoCPF);

    v.setRaiseExcept(true);
    try {
        (void)v.Validar();
        QFAIL("no exception");
    } catch (const ECadValidadorException& e) {
        QCOMPARE(QString::fromUtf8(e.what()), kTamanhoCPF);
    }
}

void TestValidador::calculatorWeights()
{
    // A current weight inside the range is where a run starts; outside it, the first weight.
    TCadCalcDigito c;
    c.Padrao();
    c.setDocumento(QStringLiteral("11"));
    c.Calcular();
    QCOMPARE(c.SomaDigitos(), 2 + 3);
    c.setPesoAtual(9);
    c.Calcular();
    QCOMPARE(c.SomaDigitos(), 9 + 2);
    c.setPesoAtual(10);
    c.Calcular();
    QCOMPARE(c.SomaDigitos(), 2 + 3);
    QCOMPARE(c.RestoDivisao(), 5);
    QCOMPARE(c.DigitoFinal(), 6);
}

void TestValidador::digitsOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("digits");
    QTest::newRow("cep") << "12.345-678"
                         << "12345678";
    QTest::newRow("no digits") << "abc -/."
                               << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("ordinal and accents") << QStringLiteral("Nº 1ª é 2 ½ ٣") << "12";
}

void TestValidador::digitsOnly()
{
    QFETCH(QString, text);
    QFETCH(QString, digits);
    QCOMPARE(DigitsOnly(text), digits);
}

QTEST_MAIN(TestValidador)
#include "tst_validador.moc"
