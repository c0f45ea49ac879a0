// CNPJ look-up through the real HTTP client against the certificate-page stand-in.
#include "core/Clock.h"
#include "http/ServiceSettings.h"
#include "standins/StandInProcess.h"
#include "taxpayer/CadConsultaCNPJ.h"
#include "taxpayer/LabeledPage.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace cad;
using standins::requestHeader;

class TestConsultaCNPJ : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void captchaImage();
    void certificate_data();
    void certificate();
    void retriesAndMessages_data();
    void retriesAndMessages();
    void checkDigitsBeforeAnyRequest();
    void alphanumericCnpj();
    void captchaCannotAddFields();
    void failedRequests();
    void readLabelValue_data();
    void readLabelValue();
    void indexedReadsMatchAScanFromTheTop();
    void parseDateText_data();
    void parseDateText();
    void serviceAddresses();
    void embeddedAddressesOverTls();

private:
    [[nodiscard]] QString writeIni(const QString& name, const QString& captchaPath, const QString& postPath);
    [[nodiscard]] QString newCaptcha(TCadConsultaCNPJ& consulta);

    std::unique_ptr<standins::StandInProcess> m_server;
    QTemporaryDir m_dir;
    QString m_ini;
};

void TestConsultaCNPJ::initTestCase()
{
    m_server = std::make_unique<standins::StandInProcess>(QStringLiteral("receita_cnpj.py"));
    m_ini = writeIni(QStringLiteral("servicos.ini"), QStringLiteral("captcha/gerarCaptcha.asp"),
                     QStringLiteral("valida.asp"));
}

QString TestConsultaCNPJ::writeIni(const QString& name, const QString& captchaPath, const QString& postPath)
{
    const QString base = m_server->url(QStringLiteral("/Servicos/cnpjreva/"));
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(file.fileName()));
    // Keys in another case and order than the embedded text: found by key alone.
    file.write(("[ENDERECOS]\r\npost=" + base + postPath + "\r\nCaptch=" + base + captchaPath +
                "\r\nREFER=" + base + "Cnpjreva_Solicitacao_CS.asp")
                   .toLatin1());
    return file.fileName();
}

// Fetches an image and returns the text the stand-in tied to it.
QString TestConsultaCNPJ::newCaptcha(TCadConsultaCNPJ& consulta)
{
    (void)m_server->takeRequests();
    QByteArray image;
    consulta.FetchCaptchaImage(image);
    const QJsonArray requests = m_server->takeRequests();
    return requests.isEmpty() ? QString()
                              : requests.last().toObject().value(QStringLiteral("captcha")).toString();
}

void TestConsultaCNPJ::captchaImage()
{
    TCadConsultaCNPJ consulta(m_ini);
    QByteArray image;
    consulta.FetchCaptchaImage(image);
    QVERIFY(image.startsWith("\x89PNG\r\n\x1a\n"));
    const QImage picture = QImage::fromData(image, "PNG");
    QVERIFY(!picture.isNull());
    QVERIFY(picture.width() > 50);
    // The session cookie of the image is what ties it to the query.
    QVERIFY(consulta.Cookies().join(u';').contains(QStringLiteral("ASPSESSIONID")));
}

void TestConsultaCNPJ::certificate_data()
{
    QTest::addColumn<bool>("collapse");
    QTest::addColumn<QString>("razaoSocial");
    QTest::addColumn<QString>("fantasia");
    QTest::newRow("as read") << false << QStringLiteral("COMÉRCIO DE ALIMENTOS  SÃO JOÃO   LTDA")
                             << QStringLiteral("MERCADO  SÃO JOÃO");
    QTest::newRow("collapsed") << true << QStringLiteral("COMÉRCIO DE ALIMENTOS SÃO JOÃO LTDA")
                               << QStringLiteral("MERCADO SÃO JOÃO");
}

void TestConsultaCNPJ::certificate()
{
    QFETCH(bool, collapse);
    QFETCH(QString, razaoSocial);
    QFETCH(QString, fantasia);

    TCadConsultaCNPJ consulta(m_ini);
    const QString captcha = newCaptcha(consulta);
    QVERIFY(!captcha.isEmpty());
    QVERIFY(consulta.Lookup(QStringLiteral("11.222.333/0001-81"), u' ' + captcha.toLower() + u' ', collapse));

    const QJsonArray requests = m_server->takeRequests();
    QCOMPARE(requests.size(), 2); // the POST, then the GET its 302 leads to
    const QJsonObject post = requests.at(0).toObject();
    QCOMPARE(post.value(QStringLiteral("method")).toString(), QStringLiteral("POST"));
    QCOMPARE(post.value(QStringLiteral("body")).toString(),
             "origem=comprovante&cnpj=11222333000181&txtTexto_captcha_serpro_gov_br=" + captcha.toLower() +
                 "&search_type=cnpj");
    QCOMPARE(requestHeader(post, QStringLiteral("Content-Type")),
             QStringLiteral("application/x-www-form-urlencoded"));
    QCOMPARE(requestHeader(post, QStringLiteral("Referer")),
             m_server->url(QStringLiteral("/Servicos/cnpjreva/Cnpjreva_Solicitacao_CS.asp")));
    QVERIFY(requestHeader(post, QStringLiteral("Cookie")).contains(QStringLiteral("flag=1")));
    QCOMPARE(requests.at(1).toObject().value(QStringLiteral("path")).toString(),
             QStringLiteral("/Servicos/cnpjreva/Cnpjreva_Comprovante.asp"));

    QCOMPARE(consulta.CNPJ(), QStringLiteral("11.222.333/0001-81"));
    QCOMPARE(consulta.EmpresaTipo(), QStringLiteral("MATRIZ"));
    QCOMPARE(consulta.Abertura(), QDate(2005, 1, 24));
    QCOMPARE(consulta.RazaoSocial(), razaoSocial);
    QCOMPARE(consulta.Fantasia(), fantasia);
    QCOMPARE(consulta.Porte(), QStringLiteral("ME"));
    QCOMPARE(consulta.CNAE1(),
             QStringLiteral("47.11-3-02 - Comércio varejista de mercadorias em geral - supermercados"));
    // Secondary activities are collapsed whatever the flag says.
    QCOMPARE(consulta.CNAE2(),
             (QStringList{QStringLiteral("47.21-1-04 - Comércio varejista de doces, balas e bombons"),
                          QStringLiteral("47.23-7-00 - Comércio varejista de bebidas"),
                          QStringLiteral("56.11-2-03 - Lanchonetes, casas de chá, de sucos e similares")}));
    QCOMPARE(consulta.Endereco(), collapse ? QStringLiteral("AV PAULISTA") : QStringLiteral("AV  PAULISTA"));
    QCOMPARE(consulta.Numero(), QStringLiteral("1578"));
    QCOMPARE(consulta.Complemento(), collapse ? QStringLiteral("LOJA 2") : QStringLiteral("LOJA  2"));
    QCOMPARE(consulta.CEP(), QStringLiteral("01310-100"));
    QCOMPARE(consulta.Bairro(), collapse ? QStringLiteral("BELA VISTA") : QStringLiteral("BELA  VISTA"));
    QCOMPARE(consulta.Cidade(), QStringLiteral("SAO PAULO"));
    QCOMPARE(consulta.UF(), QStringLiteral("SP"));
    QCOMPARE(consulta.Situacao(), QStringLiteral("ATIVA"));
    QCOMPARE(consulta.DataSituacao(), QDate(2005, 11, 3));
    QCOMPARE(consulta.SituacaoEspecial(), QStringLiteral("********"));
    QVERIFY(consulta.DataSituacaoEspecial().isNull());
    QCOMPARE(consulta.NaturezaJuridica(), QStringLiteral("206-2 - Sociedade Empresária Limitada"));
    QCOMPARE(consulta.EndEletronico(), QString()); // blank on the page
    QCOMPARE(consulta.Telefone(), QStringLiteral("(11) 3333-4444"));
    QCOMPARE(consulta.EFR(), QStringLiteral("*****"));
    QCOMPARE(consulta.MotivoSituacaoCad(), QStringLiteral(" ")); // "&nbsp;" becomes one blank
    QVERIFY(consulta.IBGE_Municipio().isEmpty());
}

void TestConsultaCNPJ::retriesAndMessages_data()
{
    QTest::addColumn<QString>("cnpj");
    QTest::addColumn<bool>("rightCaptcha");
    QTest::addColumn<int>("posts");
    QTest::addColumn<QString>("message");

    QTest::newRow("wrong captcha") << "11.222.333/0001-81" << false << 1 << "Catpcha errado.";
    QTest::newRow("query error") << "22.222.222/0001-91" << true << 1
                                 << "Erro na Consulta. Atualize o Captcha";
    QTest::newRow("not registered")
        << "33.333.333/0001-91" << true << 1
        << "Não existe no Cadastro de Pessoas Jurídicas o número de CNPJ informado. Verifique se o mesmo foi "
           "digitado corretamente.";
    QTest::newRow("service down") << "11.111.111/0001-91" << true << 1
                                  << "Erro no site da receita federal. Tente mais tarde.";
    QTest::newRow("form every time") << "98.765.432/0001-98" << true << 3
                                     << "Não foi possível obter os dados.";
    QTest::newRow("form once, then the page") << "45.321.789/0001-10" << true << 2 << "";
}

void TestConsultaCNPJ::retriesAndMessages()
{
    QFETCH(QString, cnpj);
    QFETCH(bool, rightCaptcha);
    QFETCH(int, posts);
    QFETCH(QString, message);

    TCadConsultaCNPJ consulta(m_ini);
    const QString captcha = newCaptcha(consulta);
    QString error;
    try {
        QVERIFY(consulta.Lookup(cnpj, rightCaptcha ? captcha : QStringLiteral("XXXX"), false));
    } catch (const ECadConsultaCNPJException& e) {
        error = QString::fromUtf8(e.what());
    }
    QCOMPARE(error, message);

    QJsonArray sent;
    for (const QJsonValue& r : m_server->takeRequests())
        if (r.toObject().value(QStringLiteral("method")).toString() == QStringLiteral("POST")) sent.append(r);
    QCOMPARE(sent.size(), posts);
    if (posts > 1) // flag=1 is added again on every attempt
        QCOMPARE(
            requestHeader(sent.at(1).toObject(), QStringLiteral("Cookie")).count(QStringLiteral("flag=1")),
            2);

    if (message.isEmpty()) { // asterisks instead of the municipality and state; e-mail present
        QCOMPARE(consulta.Cidade(), QString());
        QCOMPARE(consulta.UF(), QString());
        QCOMPARE(consulta.EndEletronico(), QStringLiteral("contato@nortesul.example"));
        QCOMPARE(consulta.Telefone(), QStringLiteral("(21) 2222-1111 / (21) 2222-1112"));
        QCOMPARE(consulta.CNAE2().size(), 1);
        QCOMPARE(consulta.CEP(), QStringLiteral("20040-020"));
    }
}

void TestConsultaCNPJ::checkDigitsBeforeAnyRequest()
{
    TCadConsultaCNPJ consulta(m_ini);
    QVERIFY(consulta.Lookup(QStringLiteral("11222333000181"), newCaptcha(consulta), false));
    (void)m_server->takeRequests();

    const QList<QPair<QString, QString>> bad{
        {QStringLiteral("11.222.333/0001-82"), QStringLiteral("CNPJ inválido.")},
        {QStringLiteral("123.456.789-09"), QStringLiteral("CNPJ deve ter 14 dígitos. (Apenas números)")},
        {QStringLiteral(" / "), QStringLiteral("CNPJ não pode ser vazio.")}};
    for (const auto& [cnpj, message] : bad) {
        try {
            (void)consulta.Lookup(cnpj, QStringLiteral("ABC"), false);
            QFAIL("accepted a bad CNPJ");
        } catch (const ECadConsultaCNPJException& e) {
            QCOMPARE(QString::fromUtf8(e.what()), message);
        }
    }
    QVERIFY(m_server->takeRequests().isEmpty());
    QCOMPARE(consulta.CNPJ(), QStringLiteral("11.222.333/0001-81")); // earlier results stay
}

// Letters typed in any case go as capitals, with the digits, in their places.
void TestConsultaCNPJ::alphanumericCnpj()
{
    TCadConsultaCNPJ consulta(m_ini);
    const QString captcha = newCaptcha(consulta);
    QVERIFY(consulta.Lookup(QStringLiteral("12.abc.345/01De-35"), captcha, false));
    const QJsonArray requests = m_server->takeRequests();
    QVERIFY(!requests.isEmpty());
    QVERIFY(requests.at(0)
                .toObject()
                .value(QStringLiteral("body"))
                .toString()
                .startsWith(QStringLiteral("origem=comprovante&cnpj=12ABC34501DE35&")));
    QCOMPARE(consulta.CNPJ(), QStringLiteral("12.ABC.345/01DE-35"));
    QCOMPARE(consulta.RazaoSocial(), QStringLiteral("ALFA NUMERICA TECNOLOGIA LTDA"));
    QCOMPARE(consulta.Cidade(), QStringLiteral("BELO HORIZONTE"));
}

// Typed text goes unencoded, except the three characters that would change the form's fields.
void TestConsultaCNPJ::captchaCannotAddFields()
{
    TCadConsultaCNPJ consulta(m_ini);
    (void)newCaptcha(consulta);
    QVERIFY_THROWS_EXCEPTION(ECadConsultaCNPJException,
                             (void)consulta.Lookup(QStringLiteral("11222333000181"), "a+b&cnpj=1%", false));
    const QJsonArray requests = m_server->takeRequests();
    QCOMPARE(requests.at(0).toObject().value(QStringLiteral("body")).toString(),
             QStringLiteral("origem=comprovante&cnpj=11222333000181&txtTexto_captcha_serpro_gov_br="
                            "a%2Bb%26cnpj=1%25&search_type=cnpj"));
}

void TestConsultaCNPJ::failedRequests()
{
    TCadConsultaCNPJ consulta(writeIni(QStringLiteral("missing.ini"), QStringLiteral("nothing.png"),
                                       QStringLiteral("nothing.asp")));
    QByteArray image("old");
    try {
        consulta.FetchCaptchaImage(image);
        QFAIL("no error for a missing image");
    } catch (const ECadConsultaCNPJException& e) {
        const QString text = QString::fromUtf8(e.what());
        QVERIFY2(text.startsWith(QStringLiteral(
                     "Erro na hora de fazer o download da imagem do captcha.\r\nErro HTTP: 404")),
                 qPrintable(text));
    }
    // The query's HTTP error reaches the caller as it is.
    QVERIFY_THROWS_EXCEPTION(ECadHTTPError,
                             (void)consulta.Lookup(QStringLiteral("11222333000181"), "A", false));
}

void TestConsultaCNPJ::readLabelValue_data()
{
    QTest::addColumn<QStringList>("page");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("after");

    const QStringList page{"  PORTE \t", "  ME  ", "UF"};
    QTest::newRow("trimmed line") << page << "PORTE"
                                  << "ME" << QStringList{"  ME  ", "UF"};
    QTest::newRow("last line") << page << "UF"
                               << "" << QStringList{"  PORTE \t", "  ME  "};
    QTest::newRow("absent") << page << "CEP"
                            << "" << page;
    QTest::newRow("case counts") << page << "porte"
                                 << "" << page;
    QTest::newRow("nbsp") << QStringList{"EFR", " &nbsp;A&nbsp; "} << "EFR"
                          << " A " << QStringList{" &nbsp;A&nbsp; "};
    // Trimming takes blanks and control characters, and nothing above the blank.
    QTest::newRow("control character after the label") << QStringList{"PORTE\x01\x1F", "\tME\r"} << "PORTE"
                                                       << "ME" << QStringList{"\tME\r"};
    QTest::newRow("no-break space kept") << QStringList{"EFR", "\u00A0A\u00A0"} << "EFR"
                                         << "\u00A0A\u00A0" << QStringList{"\u00A0A\u00A0"};
    QTest::newRow("no-break space is not a blank") << QStringList{"EFR\u00A0", "A"} << "EFR"
                                                   << "" << QStringList{"EFR\u00A0", "A"};
}

void TestConsultaCNPJ::readLabelValue()
{
    QFETCH(QStringList, page);
    QFETCH(QString, label);
    QFETCH(QString, value);
    QFETCH(QStringList, after);
    QCOMPARE(TCadConsultaCNPJ::ReadLabelValue(page, label), value);
    QCOMPARE(page, after);
}

// Reads through the index give what a scan from the first line gives, chains of values used as
// labels included (a value that also stands earlier on the page sends the chain back there).
void TestConsultaCNPJ::indexedReadsMatchAScanFromTheTop()
{
    const auto scan = [](QStringList& page, const QString& label) {
        for (qsizetype i = 0; i < page.size(); ++i) {
            if (TrimBlanks(page.at(i)) != label) continue;
            const QString value = i + 1 < page.size()
                                      ? TrimBlanks(page.at(i + 1)).replace(QStringLiteral("&nbsp;"), " ")
                                      : QString();
            page.removeAt(i);
            return value;
        }
        return QString();
    };
    const QStringList alphabet{"A", " A\t", "B", "C", "&nbsp;", "A&nbsp;", "LABEL", "D"};
    QRandomGenerator random(20240611);
    for (int round = 0; round < 400; ++round) {
        QStringList expected;
        for (int i = 0, n = random.bounded(1, 25); i < n; ++i)
            expected << alphabet.at(random.bounded(alphabet.size()));
        LabeledPage page(expected);
        QString label = QStringLiteral("LABEL");
        for (int read = 0; read < 30; ++read) {
            const QString v = page.readLabelValue(label);
            QCOMPARE(v, scan(expected, label));
            // Chain on the value as the secondary activities do, or start again from a fixed label.
            label = TrimBlanks(v).isEmpty() ? alphabet.at(random.bounded(alphabet.size())) : v;
        }
        QCOMPARE(page.lines(), expected);
    }
}

void TestConsultaCNPJ::parseDateText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("day first") << "24/01/2005" << QDate(2005, 1, 24);
    QTest::newRow("dots") << "24.01.2005" << QDate(2005, 1, 24);
    QTest::newRow("hyphens and time") << "24-01-2005 13:45:10" << QDate(2005, 1, 24);
    QTest::newRow("zone") << "24/01/2005 13:45-03:00" << QDate(2005, 1, 24);
    QTest::newRow("Z") << "24/01/2005Z" << QDate(2005, 1, 24);
    QTest::newRow("asterisks") << "********" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("zero") << "0" << QDate();
    QTest::newRow("no such day") << "31/02/2005" << QDate();
    QTest::newRow("year first") << "2005-01-24" << QDate();
    QTest::newRow("two-digit year") << "24/01/05" << QDate(2005, 1, 24);
    QTest::newRow("no year: the clock's") << "24/01 08:30" << QDate(2031, 1, 24);
}

void TestConsultaCNPJ::parseDateText()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    cad::clock::set([] { return QDateTime(QDate(2031, 6, 15), QTime(23, 59)); });
    const QDate parsed = TCadConsultaCNPJ::ParseDateText(text);
    cad::clock::set({});
    QCOMPARE(parsed, date);
}

void TestConsultaCNPJ::serviceAddresses()
{
    serviceSettings().cnpjHost = QStringLiteral("cnpj.example:8443");
    TCadConsultaCNPJ padrao(m_dir.filePath(QStringLiteral("absent.ini")));
    QCOMPARE(padrao.Servicos().Valor(QStringLiteral("captch")),
             QStringLiteral("https://cnpj.example:8443/Servicos/cnpjreva/captcha/gerarCaptcha.asp"));
    QCOMPARE(padrao.Servicos().Valor(QStringLiteral("REFER")),
             QStringLiteral("http://cnpj.example:8443/Servicos/cnpjreva/Cnpjreva_Solicitacao_CS.asp"));
    QCOMPARE(padrao.Servicos().Valor(QStringLiteral("POST")),
             QStringLiteral("https://cnpj.example:8443/Servicos/cnpjreva/valida.asp"));
    QCOMPARE(padrao.Servicos().Valor(QStringLiteral("ENDERECOS")), QString());
    QCOMPARE(padrao.Servicos().Linhas().size(), 5);

    TCadConsultaCNPJ programa;
    QCOMPARE(programa.IniServicos(), QCoreApplication::applicationDirPath() + "/CadConsultaCNPJServicos.ini");
}

// Without an address file the embedded https addresses on the settings' host are used: here a
// stand-in serving TLS with a certificate made for this run and trusted through the CA-file setting.
void TestConsultaCNPJ::embeddedAddressesOverTls()
{
    QTemporaryDir dir;
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                   "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", dir.filePath("key.pem"), "-out",
                   dir.filePath("cert.pem")});
    QVERIFY(openssl.waitForFinished(60000));
    QCOMPARE(openssl.exitCode(), 0);
    standins::StandInProcess tls(QStringLiteral("receita_cnpj.py"), {"--tls-cert", dir.filePath("cert.pem"),
                                                                     "--tls-key", dir.filePath("key.pem")});

    const ServiceSettings saved = serviceSettings();
    serviceSettings().cnpjHost = tls.hostPort();
    serviceSettings().caFile = dir.filePath("cert.pem");
    TCadConsultaCNPJ consulta(m_dir.filePath(QStringLiteral("absent.ini")));
    QByteArray image;
    QString error;
    try {
        consulta.FetchCaptchaImage(image);
        const QJsonArray requests = tls.takeRequests();
        (void)consulta.Lookup(QStringLiteral("11.222.333/0001-81"),
                              requests.last().toObject().value(QStringLiteral("captcha")).toString(), true);
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    serviceSettings() = saved;
    QCOMPARE(error, QString());
    QCOMPARE(consulta.RazaoSocial(), QStringLiteral("COMÉRCIO DE ALIMENTOS SÃO JOÃO LTDA"));
}

QTEST_MAIN(TestConsultaCNPJ)
#include "tst_consulta_cnpj.moc"
