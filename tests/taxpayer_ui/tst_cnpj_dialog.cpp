// The CNPJ look-up dialog opened from the real supplier screen, against the CNPJ stand-in.
#include "data/widgets/DbLookupCombo.h"
#include "standins/ServiceAddresses.h"
#include "taxpayer/ui/TF_ConsultaCNPJ.h"
#include "tests/registry/ScreenFixture.h"
#include "tests/registry/SupplierEntry.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QtTest>
#include <functional>

using cad::TF_ConsultaCNPJ;
using testsupport::click;
using testsupport::control;

namespace {

const QString kCaptcha = QStringLiteral("K7Q2P"); // every image of the stand-in accepts it
const QString kPadaria = QStringLiteral("12345678000195");
const QString kPadariaNome = QStringLiteral("PADARIA SãO JOãO LTDA");

QString fieldText(TF_ConsultaCNPJ& d, const char* name)
{
    return control<QLineEdit>(d, name)->text();
}

// Types CNPJ into its masked field and CAPTCHA into its own, then presses Enter there.
void consult(TF_ConsultaCNPJ& d, const QString& cnpj, const QString& captcha)
{
    auto* number = control<QLineEdit>(d, "EditCNPJ");
    number->clear();
    number->setFocus();
    QTest::keyClicks(number, cnpj);
    auto* typed = control<QLineEdit>(d, "EditCaptcha");
    typed->clear();
    typed->setFocus();
    QTest::keyClicks(typed, captcha);
    QTest::keyClick(typed, Qt::Key_Return);
}

} // namespace

class CnpjDialogTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::ScreenFixture> m_fx;
    std::unique_ptr<standins::StandInProcess> m_service;

    /// Runs STEPS on the dialog the screen's CNPJ picture opens, once its first image shows; then
    /// closes it with its close box.
    void withDialog(cad::TfrmFornecedor& f, const std::function<void(TF_ConsultaCNPJ&)>& steps)
    {
        withDialog(f, {}, steps);
    }

    /// The same, with BEFORE run at once, before the dialog's timer asks for the first image, and
    /// STEPS once the timer has done its work (with or without an image).
    void withDialog(cad::TfrmFornecedor& f, const std::function<void(TF_ConsultaCNPJ&)>& before,
                    const std::function<void(TF_ConsultaCNPJ&)>& steps)
    {
        testsupport::ModalAnswer<TF_ConsultaCNPJ> dialog([&](TF_ConsultaCNPJ& d) {
            if (before) {
                before(d);
                if (QTest::qWaitFor([&d] { return !d.Timer1.isActive(); })) steps(d);
            } else if (QTest::qWaitFor([&d] { return !d.captchaImage().isNull(); })) {
                steps(d);
            }
        });
        click(f, "imgConsultaCNPJ");
        QVERIFY(dialog.answered());
    }

    /// The requests the stand-in received since the last call whose path contains PATH.
    QJsonArray requestsTo(const QString& path)
    {
        QJsonArray out;
        for (const QJsonValue& r : m_service->takeRequests())
            if (r.toObject().value(QStringLiteral("path")).toString().contains(path)) out.append(r);
        return out;
    }

    /// A fresh screen with a new supplier pending on "Dados".
    cad::TfrmFornecedor& newSupplier()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        click(f, "ToolButton1");
        (void)m_fx->takeMessages();
        (void)m_service->takeRequests();
        return f;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<testsupport::ScreenFixture>(QStringLiteral("cnpjdlg"));
        m_service = std::make_unique<standins::StandInProcess>(
            QStringLiteral("receita_cnpj.py"), QStringList{QStringLiteral("--captcha"), kCaptcha});
        standins::pointCnpjLookupAt(*m_service);
    }

    void cleanupTestCase()
    {
        QFile::remove(standins::serviceAddressesFile(cad::TCadConsultaCNPJ::kServicos));
        m_fx.reset();
        m_service.reset();
    }

    void eachOpeningFetchesOneImageWithNewCookies()
    {
        cad::TfrmFornecedor& f = newSupplier();
        for (int opening = 0; opening < 2; ++opening) {
            withDialog(f, [&](TF_ConsultaCNPJ& d) {
                QVERIFY(!control<QLabel>(d, "Image1")->pixmap().isNull());
                QTRY_COMPARE(d.focusWidget(), control<QWidget>(d, "EditCNPJ"));
            });
            const QJsonArray requests = m_service->takeRequests();
            QCOMPARE(requests.size(), 1); // the image, without any click
            QVERIFY(requests.at(0)
                        .toObject()
                        .value(QStringLiteral("path"))
                        .toString()
                        .contains(QStringLiteral("gerarCaptcha")));
            QCOMPARE(standins::requestHeader(requests.at(0).toObject(), QStringLiteral("Cookie")), QString());
        }
    }

    void emptyCaptchaSendsNothing_data()
    {
        QTest::addColumn<QString>("captcha");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks only") << QStringLiteral("   ");
    }

    void emptyCaptchaSendsNothing()
    {
        QFETCH(QString, captcha);
        cad::TfrmFornecedor& f = newSupplier();
        withDialog(f, [&](TF_ConsultaCNPJ& d) {
            (void)m_service->takeRequests();
            consult(d, kPadaria, captcha);
            QCOMPARE(d.focusWidget(), control<QWidget>(d, "EditCaptcha"));
            QCOMPARE(fieldText(d, "EditRazaoSocial"), QString());
        });
        QCOMPARE(m_service->takeRequests().size(), 0);
        const auto messages = m_fx->takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.at(0).text, QStringLiteral("É necessário digitar o captcha."));
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Nome")), QString());
    }

    void copiesIntoPendingSupplier_data()
    {
        QTest::addColumn<QString>("cnpj");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("nomefan");
        QTest::addColumn<QString>("complemento");
        QTest::addColumn<QString>("abertura");
        QTest::addColumn<QStringList>("activities");
        QTest::newRow("name in mixed case, no secondary activities")
            << kPadaria << kPadariaNome << QStringLiteral("PADARIA DO JOãO") << QStringLiteral("fundos")
            << QStringLiteral("15/06/2010") << QStringList();
        QTest::newRow("three secondary activities")
            << QStringLiteral("11222333000181") << QStringLiteral("COMÉRCIO DE ALIMENTOS  SÃO JOÃO   LTDA")
            << QStringLiteral("MERCADO  SÃO JOÃO") << QStringLiteral("LOJA  2")
            << QStringLiteral("24/01/2005")
            << QStringList{QStringLiteral("47.21-1-04 - Comércio varejista de doces, balas e bombons"),
                           QStringLiteral("47.23-7-00 - Comércio varejista de bebidas"),
                           QStringLiteral("56.11-2-03 - Lanchonetes, casas de chá, de sucos e similares")};
    }

    void copiesIntoPendingSupplier()
    {
        QFETCH(QString, cnpj);
        QFETCH(QString, nome);
        QFETCH(QString, nomefan);
        QFETCH(QString, complemento);
        QFETCH(QString, abertura);
        QFETCH(QStringList, activities);
        cad::TfrmFornecedor& f = newSupplier();
        withDialog(f, [&](TF_ConsultaCNPJ& d) {
            consult(d, cnpj, kCaptcha.toLower());
            QCOMPARE(fieldText(d, "EditCaptcha"), kCaptcha); // raised as typed
            QCOMPARE(fieldText(d, "EditRazaoSocial"), nome);
            QCOMPARE(fieldText(d, "EditAbertura"), abertura);
            QCOMPARE(fieldText(d, "EditCEP"), QStringLiteral("01310-100"));
            QCOMPARE(fieldText(d, "EditUF"), QStringLiteral("SP"));
            QStringList listed;
            for (int i = 0; i < control<QListWidget>(d, "ListCNAE2")->count(); ++i)
                listed << control<QListWidget>(d, "ListCNAE2")->item(i)->text();
            QCOMPARE(listed, activities);
        });
        QCOMPARE(m_fx->takeMessages().size(), 0);

        cad::RecordSet& s = f.tbFornecedor;
        QCOMPARE(s.state(), cad::RecordSet::State::Insert);
        QCOMPARE(s.text(QStringLiteral("Nome")), nome);
        QCOMPARE(s.text(QStringLiteral("nomefan")), nomefan);
        QCOMPARE(s.text(QStringLiteral("complemento")), complemento);
        QCOMPARE(s.text(QStringLiteral("Cidade")), QStringLiteral("SAO PAULO"));
        QCOMPARE(s.text(QStringLiteral("Cgccpf")), cnpj);
        QCOMPARE(s.text(QStringLiteral("Cep")), QStringLiteral("01310100"));
        QCOMPARE(s.text(QStringLiteral("CNAE")),
                 activities.isEmpty() ? QString() : activities.join(QStringLiteral("\r\n")) + "\r\n");
        // The state the list shows is the state the record holds, with that state's municipality.
        QCOMPARE(s.text(QStringLiteral("Estado")), QStringLiteral("SP"));
        QCOMPARE(s.value(QStringLiteral("CodigoCidade")).toLongLong(), 3550308);
        QCOMPARE(f.stateList()->shownText(), QStringLiteral("São Paulo"));
        QCOMPARE(f.municipalityList()->key().toLongLong(), 3550308);
        QCOMPARE(f.myqryMyMunicipios.value(QStringLiteral("codigo")).toLongLong(), 3550308);
        QCOMPARE(m_fx->local(QStringLiteral("SELECT COUNT(*) FROM fornecedor")),
                 QStringList{"0"}); // not saved
    }

    // Letters in the first twelve places, raised as typed; the check digits take digits only.
    void alphanumericCnpj()
    {
        cad::TfrmFornecedor& f = newSupplier();
        withDialog(f, [&](TF_ConsultaCNPJ& d) {
            auto* number = control<QLineEdit>(d, "EditCNPJ");
            number->clear();
            number->setFocus();
            QTest::keyClicks(number, QStringLiteral("12abc34501deXY"));
            QCOMPARE(number->text(), QStringLiteral("12.ABC.345/01DE-"));
            consult(d, QStringLiteral("12abc34501de35"), kCaptcha);
            QCOMPARE(number->text(), QStringLiteral("12.ABC.345/01DE-35"));
            QCOMPARE(fieldText(d, "EditRazaoSocial"), QStringLiteral("ALFA NUMERICA TECNOLOGIA LTDA"));
        });
        QCOMPARE(m_fx->takeMessages().size(), 0);
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Cgccpf")), QStringLiteral("12ABC34501DE35"));
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Cidade")), QStringLiteral("BELO HORIZONTE"));
        QCOMPARE(f.stateList()->key().toString(), QStringLiteral("MG"));
        QCOMPARE(f.municipalityList()->key().toLongLong(), 3106200);
    }

    void listsFollowTheCompanysState_data()
    {
        QTest::addColumn<bool>("narrowToRio");
        QTest::addColumn<QString>("cnpj");
        QTest::addColumn<QString>("stateShown");
        QTest::addColumn<qlonglong>("municipality");
        // As a pick of SP would: the list narrowed to SP, where the company's municipality is found.
        QTest::newRow("list of another state")
            << true << kPadaria << QStringLiteral("São Paulo") << 3550308LL;
        // The service hides the municipality and state: no prefix of nothing picks the first row.
        QTest::newRow("municipality hidden") << false << QStringLiteral("45321789000110") << QString() << 0LL;
    }

    void listsFollowTheCompanysState()
    {
        QFETCH(bool, narrowToRio);
        QFETCH(QString, cnpj);
        QFETCH(QString, stateShown);
        QFETCH(qlonglong, municipality);
        cad::TfrmFornecedor& f = newSupplier();
        if (narrowToRio) {
            testsupport::pick(f, "dblkcbbufs", QStringLiteral("Rio de J"));
            testsupport::pick(f, "dblkcbbcodigocidade", QStringLiteral("Rio de J"));
            QCOMPARE(f.tbFornecedor.value(QStringLiteral("CodigoCidade")).toLongLong(), 3304557);
        } else {
            f.myqryMyMunicipios.locate(QStringLiteral("codigo"), 3550308);
        }
        const int rows = f.myqryMyMunicipios.rowCount();
        withDialog(f, [&](TF_ConsultaCNPJ& d) {
            consult(d, cnpj, kCaptcha);
            QVERIFY(!fieldText(d, "EditRazaoSocial").isEmpty());
        });
        QCOMPARE(m_fx->takeMessages().size(), 0);
        QCOMPARE(f.stateList()->shownText(), stateShown);
        const cad::RecordSet& s = f.tbFornecedor;
        if (municipality == 0) {
            QCOMPARE(f.myqryMyMunicipios.rowCount(), rows);
            QVERIFY(f.municipalityList()->key().isNull());
            QVERIFY(s.isNull(QStringLiteral("Estado")));
            QVERIFY(s.isNull(QStringLiteral("CodigoCidade")));
            return;
        }
        QVERIFY(!f.myqryMyMunicipios.locate(QStringLiteral("uf"), QStringLiteral("RJ")));
        QCOMPARE(f.municipalityList()->key().toLongLong(), municipality);
        QCOMPARE(s.text(QStringLiteral("Estado")), QStringLiteral("SP"));
        QCOMPARE(s.value(QStringLiteral("CodigoCidade")).toLongLong(), municipality);
    }

    // The state shown is saved, so the copy to the central server is made.
    void savedWithTheStateShownAndCopied()
    {
        cad::TfrmFornecedor& f = newSupplier();
        withDialog(f, [&](TF_ConsultaCNPJ& d) { consult(d, QStringLiteral("11222333000181"), kCaptcha); });
        testsupport::chooseTaxpayer(f, QStringLiteral("1 -"));
        click(f, "ToolButton7");
        QCOMPARE(m_fx->takeMessages().size(), 0);
        QCOMPARE(m_fx->local(QStringLiteral("SELECT CONCAT_WS('|', Estado, CodigoCidade) FROM fornecedor")),
                 QStringList{QStringLiteral("SP|3550308")});
        QCOMPARE(m_fx->central(QStringLiteral("SELECT CONCAT_WS('|', Estado, Cidade) FROM fornecedor WHERE "
                                              "Cgccpf = '11222333000181'")),
                 QStringList{QStringLiteral("SP|SãO PAULO")});
    }

    void failedLookupKeepsPreviousValues_data()
    {
        QTest::addColumn<QString>("cnpj");
        QTest::addColumn<QString>("captcha");
        QTest::addColumn<QString>("message");
        QTest::newRow("not registered")
            << QStringLiteral("33333333000191") << kCaptcha
            << QStringLiteral("Não existe no Cadastro de Pessoas Jurídicas o número de CNPJ informado. "
                              "Verifique se o mesmo foi digitado corretamente.");
        QTest::newRow("wrong captcha") << QStringLiteral("11222333000181") << QStringLiteral("XXXXX")
                                       << QStringLiteral("Catpcha errado.");
        QTest::newRow("check digit") << QStringLiteral("11222333000182") << kCaptcha
                                     << QStringLiteral("CNPJ inválido.");
        QTest::newRow("partly typed") << QStringLiteral("1122") << kCaptcha
                                      << QStringLiteral("CNPJ deve ter 14 dígitos. (Apenas números)");
    }

    void failedLookupKeepsPreviousValues()
    {
        QFETCH(QString, cnpj);
        QFETCH(QString, captcha);
        QFETCH(QString, message);
        cad::TfrmFornecedor& f = newSupplier();
        withDialog(f, [&](TF_ConsultaCNPJ& d) {
            consult(d, kPadaria, kCaptcha);
            QCOMPARE(fieldText(d, "EditRazaoSocial"), kPadariaNome);
            // A new image for the next query: the captcha field is emptied and takes the focus.
            (void)requestsTo(QStringLiteral("gerarCaptcha"));
            QTest::mouseClick(control<QLabel>(d, "LabAtualizarCaptcha"), Qt::LeftButton);
            QCOMPARE(requestsTo(QStringLiteral("gerarCaptcha")).size(), 1);
            QCOMPARE(fieldText(d, "EditCaptcha"), QString());
            QCOMPARE(d.focusWidget(), control<QWidget>(d, "EditCaptcha"));

            consult(d, cnpj, captcha);
            QCOMPARE(fieldText(d, "EditRazaoSocial"), kPadariaNome);
            QCOMPARE(fieldText(d, "EditCidade"), QStringLiteral("SAO PAULO"));
        });
        QStringList texts;
        for (const auto& m : m_fx->takeMessages())
            texts << m.text;
        QCOMPARE(texts, QStringList{message});
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Nome")), kPadariaNome);
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Cgccpf")), kPadaria);
    }

    void imageThatCannotBeShown_data()
    {
        QTest::addColumn<QString>("captchaPath");
        QTest::addColumn<QString>("messageStart");
        QTest::newRow("request fails")
            << QStringLiteral("captcha/ausente.asp")
            << QStringLiteral("Erro na hora de fazer o download da imagem do captcha.\r\n");
        QTest::newRow("not a PNG image") << QStringLiteral("Cnpjreva_Solicitacao_CS.asp")
                                         << QStringLiteral("A imagem do captcha não pôde ser lida: ");
    }

    void imageThatCannotBeShown()
    {
        QFETCH(QString, captchaPath);
        QFETCH(QString, messageStart);
        cad::TfrmFornecedor& f = newSupplier();
        standins::pointCnpjLookupAt(*m_service, captchaPath);
        withDialog(
            f,
            [](TF_ConsultaCNPJ& d) {
                QTest::keyClicks(control<QLineEdit>(d, "EditCaptcha"), QStringLiteral("AB"));
            },
            [&](TF_ConsultaCNPJ& d) {
                QVERIFY(d.captchaImage().isNull());
                QVERIFY(control<QLabel>(d, "Image1")->pixmap().isNull());
                QCOMPARE(fieldText(d, "EditCaptcha"), QStringLiteral("AB"));
            });
        standins::pointCnpjLookupAt(*m_service);
        const auto messages = m_fx->takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.at(0).icon, cad::dialogs::Icon::Error);
        QVERIFY2(messages.at(0).text.startsWith(messageStart) &&
                     messages.at(0).text.size() > messageStart.size(),
                 qPrintable(messages.at(0).text));
    }

    void supplierNotBeingEditedIsNotWritten()
    {
        m_fx->local(QStringLiteral("INSERT INTO fornecedor (CodigoFornecedor, Nome, Cgccpf) "
                                   "VALUES (900, 'ANTIGO', '11222333000181')"));
        cad::TfrmFornecedor& f = m_fx->openScreen();
        f.searchByLetter(QLatin1Char('A'));
        auto* tabs = f.findChild<QTabBar*>();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        (void)m_fx->takeMessages();
        const QVariant stateKey = f.stateList()->key();
        withDialog(f, [&](TF_ConsultaCNPJ& d) {
            consult(d, kPadaria, kCaptcha);
            QCOMPARE(fieldText(d, "EditRazaoSocial"), kPadariaNome); // the result area is filled
        });
        const auto messages = m_fx->takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.at(0).icon, cad::dialogs::Icon::Error);
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Nome")), QStringLiteral("ANTIGO"));
        QCOMPARE(f.stateList()->key(), stateKey);
        m_fx->local(QStringLiteral("DELETE FROM fornecedor"));
    }
};

QTEST_MAIN(CnpjDialogTest)
#include "tst_cnpj_dialog.moc"
