// CPF look-up through the real HTTP client against the CPF status-page stand-in.
#include "standins/StandInProcess.h"
#include "taxpayer/CadConsultaCPF.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace cad;

class TestConsultaCPF : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void captcha();
    void requestBodyAndResult_data();
    void requestBodyAndResult();
    void messages_data();
    void messages();
    void checkDigitsBeforeAnyRequest();
    void failedCaptchaPage();
    void readInlineValue_data();
    void readInlineValue();
    void serviceAddresses();

private:
    [[nodiscard]] QString writeIni(const QString& name, const QString& captchaPage);

    std::unique_ptr<standins::StandInProcess> m_server;
    QTemporaryDir m_dir;
    QString m_ini;
};

// The stand-in accepts AB12 for every image, as in the request example of the look-up.
void TestConsultaCPF::initTestCase()
{
    m_server = std::make_unique<standins::StandInProcess>(
        QStringLiteral("receita_cpf.py"), QStringList{QStringLiteral("--captcha"), QStringLiteral("AB12")});
    m_ini = writeIni(QStringLiteral("servicos.ini"), QStringLiteral("ConsultaPublicaSonoro.asp"));
}

QString TestConsultaCPF::writeIni(const QString& name, const QString& captchaPage)
{
    const QString base = m_server->url(QStringLiteral("/Servicos/CPF/ConsultaSituacao/"));
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(file.fileName()));
    file.write(("; stand-in\n[ENDERECOS]\nCAPTCH=" + base + captchaPage + "\nPOST=" + base +
                "ConsultaPublicaExibir.asp\n")
                   .toLatin1());
    return file.fileName();
}

void TestConsultaCPF::captcha()
{
    TCadConsultaCPF consulta(m_ini);
    const QString base64 = consulta.FetchCaptchaText();
    QVERIFY(base64.startsWith(QStringLiteral("iVBOR"))); // PNG signature
    QVERIFY(base64.contains(QStringLiteral("\r\n")));    // the page breaks it into lines

    QByteArray image("old bytes");
    consulta.FetchCaptchaImage(image);
    QVERIFY(image.startsWith("\x89PNG"));
    QVERIFY(!QImage::fromData(image, "PNG").isNull());
}

void TestConsultaCPF::requestBodyAndResult_data()
{
    QTest::addColumn<bool>("collapse");
    QTest::addColumn<QString>("nome");
    QTest::newRow("as shown") << false << "JOSE  DA SILVA";
    QTest::newRow("collapsed") << true << "JOSE DA SILVA";
}

void TestConsultaCPF::requestBodyAndResult()
{
    QFETCH(bool, collapse);
    QFETCH(QString, nome);

    TCadConsultaCPF consulta(m_ini);
    QByteArray image;
    consulta.FetchCaptchaImage(image);
    (void)m_server->takeRequests();
    QVERIFY(consulta.Lookup(QStringLiteral("123.456.789-09"), QStringLiteral("01/02/1980"),
                            QStringLiteral("ab12 "), collapse));

    const QJsonArray requests = m_server->takeRequests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(
        requests.at(0).toObject().value(QStringLiteral("body")).toString(),
        QStringLiteral("TxtCPF=123.456.789-09&txtDataNascimento=01/02/1980&txtToken_captcha_serpro_gov_br="
                       "&txtTexto_captcha_serpro_gov_br=ab12&Enviar=Consultar"));
    QCOMPARE(standins::requestHeader(requests.at(0).toObject(), QStringLiteral("Content-Type")),
             QStringLiteral("application/x-www-form-urlencoded"));

    QCOMPARE(consulta.Nome(), nome);
    QCOMPARE(consulta.CPF(), QStringLiteral("123.456.789-09"));
    QCOMPARE(consulta.DataNascimento(), QStringLiteral("01/02/1980"));
    QCOMPARE(consulta.Situacao(), QStringLiteral("REGULAR"));
    QCOMPARE(consulta.DataInscricao(), QStringLiteral("10/05/1998"));
    QCOMPARE(consulta.DigitoVerificador(), QStringLiteral("09"));
    QCOMPARE(consulta.Emissao(), QStringLiteral("14:05:33 do dia 09/12/2026 (hora e data de Brasília)."));
    QCOMPARE(consulta.CodCtrlControle(), QStringLiteral("3A1B.C2D4.E5F6.0789"));
}

void TestConsultaCPF::messages_data()
{
    QTest::addColumn<QString>("cpf");
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("captcha");
    QTest::addColumn<QString>("message");

    const QString ok = QStringLiteral("AB12");
    QTest::newRow("accented name") << "111.444.777-35"
                                   << "15/03/1975" << ok << "";
    QTest::newRow("wrong captcha") << "111.444.777-35"
                                   << "15/03/1975"
                                   << "ZZ99"
                                   << "Os caracteres da imagem não foram preenchidos corretamente.";
    QTest::newRow("refused")
        << "529.982.247-25"
        << "01/01/1970" << ok
        << "O número do CPF não é válido. Verifique se o mesmo foi digitado corretamente.";
    QTest::newRow("not registered")
        << "24681357928"
        << "01/01/1970" << ok
        << "Não existe no Cadastro de Pessoas Jurídicas o número de CPF informado. "
           "Verifique se o mesmo foi digitado corretamente.";
    QTest::newRow("service down") << "935.411.347-80"
                                  << "01/01/1970" << ok
                                  << "Erro no site da receita federal. Tente mais tarde.";
    QTest::newRow("other birth date")
        << "123.456.789-09"
        << "02/01/1980" << ok << "Data de nascimento divergente da base da Receita Federal.";
    QTest::newRow("birth date left blank")
        << "123.456.789-09"
        << "  /  /    " << ok << "Data de nascimento divergente da base da Receita Federal.";
    QTest::newRow("no name") << "071.823.154-67"
                             << "01/01/1970" << ok << "Não foi possível obter os dados.";
}

void TestConsultaCPF::messages()
{
    QFETCH(QString, cpf);
    QFETCH(QString, birth);
    QFETCH(QString, captcha);
    QFETCH(QString, message);

    TCadConsultaCPF consulta(m_ini);
    QByteArray image;
    consulta.FetchCaptchaImage(image);
    (void)m_server->takeRequests();
    QString error;
    try {
        QVERIFY(consulta.Lookup(cpf, birth, captcha, false));
    } catch (const ECadConsultaCPFException& e) {
        error = QString::fromUtf8(e.what());
    }
    QCOMPARE(error, message);
    // The birth date goes as given, blanks and slashes included, without any check.
    const QString body = m_server->takeRequests().at(0).toObject().value(QStringLiteral("body")).toString();
    QVERIFY2(body.contains("&txtDataNascimento=" + birth + "&"), qPrintable(body));
    if (message.isEmpty()) QCOMPARE(consulta.Nome(), QStringLiteral("MARIA DE SOUZA CONCEIÇÃO"));
}

void TestConsultaCPF::checkDigitsBeforeAnyRequest()
{
    TCadConsultaCPF consulta(m_ini);
    (void)m_server->takeRequests();
    const QList<QPair<QString, QString>> bad{
        {QStringLiteral("111.111.111-11"), QStringLiteral("CPF inválido !")},
        {QStringLiteral("123.456.789-08"), QStringLiteral("CPF inválido.")},
        {QStringLiteral("1234567890"), QStringLiteral("CPF deve ter 11 dígitos. (Apenas números)")},
        {QString(), QStringLiteral("CPF não pode ser vazio.")}};
    for (const auto& [cpf, message] : bad) {
        try {
            (void)consulta.Lookup(cpf, QStringLiteral("01/02/1980"), QStringLiteral("AB12"), false);
            QFAIL("accepted a bad CPF");
        } catch (const ECadConsultaCPFException& e) {
            QCOMPARE(QString::fromUtf8(e.what()), message);
        }
    }
    QVERIFY(m_server->takeRequests().isEmpty());
}

void TestConsultaCPF::failedCaptchaPage()
{
    TCadConsultaCPF consulta(writeIni(QStringLiteral("missing.ini"), QStringLiteral("Nada.asp")));
    QByteArray image("old bytes");
    try {
        consulta.FetchCaptchaImage(image);
        QFAIL("no error for a missing captcha page");
    } catch (const ECadConsultaCPFException& e) {
        const QString text = QString::fromUtf8(e.what());
        QVERIFY2(text.startsWith(QStringLiteral("Erro na hora de fazer o download da imagem do captcha.\r\n"
                                                "Erro na hora de obter a URL do captcha.\r\nErro HTTP: 404")),
                 qPrintable(text));
    }
    QVERIFY(image.isEmpty());
}

void TestConsultaCPF::readInlineValue_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("value");
    QTest::newRow("first line with it") << "Nome:"
                                        << "JOSE  DA SILVA";
    QTest::newRow("every occurrence blanked") << "X:"
                                              << "a  b";
    QTest::newRow("case counts") << "nome:"
                                 << "";
    QTest::newRow("absent") << "Situação Cadastral:"
                            << "";
}

void TestConsultaCPF::readInlineValue()
{
    QFETCH(QString, label);
    QFETCH(QString, value);
    const QStringList page{"Nome: JOSE  DA SILVA ", "Nome: OUTRO", "X:a X:b"};
    QCOMPARE(TCadConsultaCPF::ReadInlineValue(page, label), value);
}

void TestConsultaCPF::serviceAddresses()
{
    TCadConsultaCPF consulta(m_dir.filePath(QStringLiteral("absent.ini")));
    QVERIFY(consulta.Servicos()
                .Valor(QStringLiteral("CAPTCH"))
                .endsWith(QStringLiteral("/Servicos/CPF/ConsultaSituacao/ConsultaPublicaSonoro.asp")));
    QVERIFY(consulta.Servicos().Valor(QStringLiteral("post")).startsWith(QStringLiteral("https://")));
    QVERIFY(!consulta.IsUTF8());
}

QTEST_MAIN(TestConsultaCPF)
#include "tst_consulta_cpf.moc"
