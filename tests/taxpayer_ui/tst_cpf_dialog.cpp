// The CPF look-up dialog opened from the supplier screen's picture, against the CPF status-page
// stand-in: the captcha file, the empty-captcha message, the copy into the pending supplier record
// without saving, and failures shown while the dialog stays open.
#include "data/widgets/DbLineEdit.h"
#include "standins/ServiceAddresses.h"
#include "taxpayer/ui/TfrmConsultaCPF.h"
#include "tests/registry/ScreenSteps.h"
#include "tests/registry/SupplierEntry.h"
#include "tests/support/LoopbackPort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonObject>
#include <QLabel>
#include <QTabWidget>

using namespace cad;
using namespace testsupport;
using cad::TfrmConsultaCPF;

namespace {

const QString kBody = QStringLiteral("TxtCPF=%1&txtDataNascimento=%2&txtToken_captcha_serpro_gov_br="
                                     "&txtTexto_captcha_serpro_gov_br=%3&Enviar=Consultar");

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// Types TEXT from the start of the field, as after clicking into it.
void typeIn(QLineEdit* e, const QString& text)
{
    e->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClicks(e, text);
}

} // namespace

class CpfDialogTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;
    std::unique_ptr<standins::StandInProcess> m_server;

    /// The captcha the stand-in handed out last, and the bodies of the queries it received.
    struct Traffic
    {
        QString captcha;
        QStringList posts;
        int captchaPages = 0;
    };
    Traffic traffic()
    {
        Traffic t;
        for (const QJsonValue& v : m_server->takeRequests()) {
            const QJsonObject r = v.toObject();
            if (r.contains(QStringLiteral("captcha"))) {
                t.captcha = r.value(QStringLiteral("captcha")).toString();
                ++t.captchaPages;
            }
            if (r.value(QStringLiteral("method")).toString() == QStringLiteral("POST"))
                t.posts << r.value(QStringLiteral("body")).toString();
        }
        return t;
    }

    /// Supplier 1 found by code and "Dados" showing.
    cad::TfrmFornecedor& supplierOnDados()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("1"));
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(1);
        m_fx->takeMessages();
        return f;
    }

    /// Presses the CPF picture; once the dialog shows its first captcha (when WAITIMAGE), runs
    /// STEPS on it and closes it with "&Fechar". False when the dialog never came up.
    bool withDialog(cad::TfrmFornecedor& f, const std::function<void(TfrmConsultaCPF&)>& steps,
                    bool waitImage = true)
    {
        ModalAnswer<TfrmConsultaCPF> dialog([&](TfrmConsultaCPF& d) {
            QApplication::setActiveWindow(&d);
            [&] {
                if (waitImage) QTRY_VERIFY(!d.captchaImage().isNull());
                steps(d);
            }();
            click(d, "btnFechar");
        });
        click(f, QStringLiteral("imgConsultaCPF"));
        return dialog.answered() && !QTest::currentTestFailed();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("cpfdlg"));
        m_server = std::make_unique<standins::StandInProcess>(QStringLiteral("receita_cpf.py"));
        standins::pointCpfLookupAt(*m_server);
    }
    void cleanupTestCase()
    {
        QFile::remove(standins::serviceAddressesFile(TCadConsultaCPF::kServicos));
        m_server.reset();
        m_fx.reset();
    }
    void init()
    {
        m_fx->local(QStringLiteral("DELETE FROM fornecedor; INSERT INTO fornecedor (CodigoFornecedor, Nome, "
                                   "Cgccpf, TipoContribuinte) VALUES (1, 'NOME ANTERIOR', '', 9)"));
        traffic();
    }

    // One image a second after opening, written to captch.png in the program's folder and
    // shown; "Atualizar Captcha" writes the next one over it and empties the captcha field.
    void captchaFileWrittenAndReplaced()
    {
        QFile::remove(TfrmConsultaCPF::captchaFile());
        cad::TfrmFornecedor& f = supplierOnDados();
        QVERIFY(withDialog(f, [&](TfrmConsultaCPF& d) {
            QCOMPARE(QFileInfo(TfrmConsultaCPF::captchaFile()).dir(),
                     QDir(QCoreApplication::applicationDirPath()));
            const QByteArray first = fileBytes(TfrmConsultaCPF::captchaFile());
            QVERIFY(first.startsWith("\x89PNG"));
            QCOMPARE(QImage::fromData(first, "PNG"), d.captchaImage());
            QVERIFY(!control<QLabel>(d, "Image1")->pixmap().isNull());
            QCOMPARE(d.focusWidget(), control<QLineEdit>(d, "EditCNPJ")); // after the image, the CPF field
            QCOMPARE(traffic().captchaPages, 1);

            QLineEdit* captcha = control<QLineEdit>(d, "EditCaptcha");
            typeIn(captcha, QStringLiteral("abc"));
            QCOMPARE(captcha->text(), QStringLiteral("ABC")); // upper case as typed
            QTest::mouseClick(control<QLabel>(d, "LabAtualizarCaptcha"), Qt::LeftButton);
            const Traffic t = traffic();
            QCOMPARE(t.captchaPages, 1);
            const QByteArray second = fileBytes(TfrmConsultaCPF::captchaFile());
            QVERIFY(second != first); // a new session's image (its text is drawn at random)
            QCOMPARE(QImage::fromData(second, "PNG"), d.captchaImage());
            QCOMPARE(captcha->text(), QString());
            QCOMPARE(d.focusWidget(), captcha);
        }));
        QVERIFY(m_fx->takeMessages().isEmpty());
    }

    // Leaving the CPF field for any other control lands in the birth date field.
    void leavingTheCpfFieldGoesToTheBirthDate()
    {
        cad::TfrmFornecedor& f = supplierOnDados();
        QVERIFY(withDialog(f, [&](TfrmConsultaCPF& d) {
            typeIn(control<QLineEdit>(d, "EditCNPJ"), QStringLiteral("12345678909"));
            control<QLineEdit>(d, "EditCaptcha")->setFocus(Qt::MouseFocusReason);
            QCOMPARE(d.focusWidget(), control<QLineEdit>(d, "medtEditDtNasc"));
            QCOMPARE(control<QLineEdit>(d, "medtEditDtNasc")->displayText(), QStringLiteral("  /  /    "));
            // Tab goes round without the CPF field, which only a click (or the timer) reaches.
            QStringList path;
            for (int i = 0; i < 4; ++i) {
                QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
                path << d.focusWidget()->objectName();
            }
            QCOMPARE(path, (QStringList{"EditCaptcha", "btnConsultar", "btnFechar", "medtEditDtNasc"}));
        }));
    }

    void emptyCaptchaSendsNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks only") << QStringLiteral("   ");
    }
    void emptyCaptchaSendsNothing()
    {
        QFETCH(QString, typed);
        cad::TfrmFornecedor& f = supplierOnDados();
        QVERIFY(withDialog(f, [&](TfrmConsultaCPF& d) {
            traffic();
            typeIn(control<QLineEdit>(d, "EditCNPJ"), QStringLiteral("123.456.789-09"));
            typeIn(control<QLineEdit>(d, "medtEditDtNasc"), QStringLiteral("01021980"));
            typeIn(control<QLineEdit>(d, "EditCaptcha"), typed);
            click(d, "btnConsultar");
            const auto shown = m_fx->takeMessages();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].text, QStringLiteral("É necessário digitar o captcha."));
            QCOMPARE(shown[0].icon, cad::dialogs::Icon::Information); // as in the CNPJ dialog
            QCOMPARE(d.focusWidget(), control<QLineEdit>(d, "EditCaptcha"));
            QVERIFY(traffic().posts.isEmpty());
        }));
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
    }

    // Day and month may stay blank, the year may not; the three fields keep room for their text
    // however small the dialog is made.
    void birthDateAndFieldWidths()
    {
        cad::TfrmFornecedor& f = supplierOnDados();
        QVERIFY(withDialog(f, [&](TfrmConsultaCPF& d) {
            QLineEdit* birth = control<QLineEdit>(d, "medtEditDtNasc");
            birth->setText(QStringLiteral("  /  /1980"));
            QVERIFY(birth->hasAcceptableInput());
            birth->setText(QStringLiteral("01/02/    "));
            QVERIFY(!birth->hasAcceptableInput());
            typeIn(birth, QStringLiteral("01021980"));
            typeIn(control<QLineEdit>(d, "EditCNPJ"), QStringLiteral("123.456.789-09"));
            typeIn(control<QLineEdit>(d, "EditCaptcha"), QStringLiteral("WMWMWM"));
            d.resize(1, 1); // as small as its layout lets it be, as on a 1024x768 screen
            for (const char* name : {"EditCNPJ", "medtEditDtNasc", "EditCaptcha"}) {
                QLineEdit* e = control<QLineEdit>(d, name);
                QTRY_VERIFY2(e->width() > e->fontMetrics().horizontalAdvance(e->displayText()) + 8, name);
            }
        }));
    }

    // A found person goes into the pending row: the CPF as typed, the name in upper case;
    // the record is put into editing (a new one stays new) and nothing is saved.
    void lookupFillsThePendingRecord_data()
    {
        QTest::addColumn<bool>("newSupplier");
        QTest::addColumn<int>("taxpayerBefore");
        QTest::addColumn<QString>("cpf");
        QTest::addColumn<QString>("birth");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("inscricao");
        QTest::newRow("existing supplier, two blanks kept") << false << 9 << "123.456.789-09"
                                                            << "01/02/1980"
                                                            << "JOSE  DA SILVA"
                                                            << "10/05/1998";
        QTest::newRow("existing contributor turns non-contributor") << false << 1 << "12345678909"
                                                                    << "01/02/1980"
                                                                    << "JOSE  DA SILVA"
                                                                    << "10/05/1998";
        QTest::newRow("new supplier") << true << 0 << "111.444.777-35"
                                      << "15/03/1975"
                                      << "MARIA DE SOUZA CONCEIÇÃO"
                                      << "22/07/1993";
        // Accented letters are raised too, on their way to Nome.
        QTest::newRow("name in mixed case") << false << 9 << "71460238346"
                                            << "10/10/1990"
                                            << "JOSÉ DE ARAÚJO"
                                            << "05/01/2010";
    }
    void lookupFillsThePendingRecord()
    {
        QFETCH(bool, newSupplier);
        QFETCH(int, taxpayerBefore);
        QFETCH(QString, cpf);
        QFETCH(QString, birth);
        QFETCH(QString, nome);
        QFETCH(QString, inscricao);
        if (taxpayerBefore)
            m_fx->local(QStringLiteral("UPDATE fornecedor SET TipoContribuinte = %1").arg(taxpayerBefore));
        cad::TfrmFornecedor& f = supplierOnDados();
        if (newSupplier) click(f, "ToolButton1");
        QVERIFY(withDialog(f, [&](TfrmConsultaCPF& d) {
            // Only a changed taxpayer choice has put the record into editing so far.
            if (!newSupplier)
                QCOMPARE(f.tbFornecedor.state() == cad::RecordSet::State::Edit, taxpayerBefore != 9);
            const QString captcha = traffic().captcha;
            typeIn(control<QLineEdit>(d, "EditCNPJ"), cpf);
            typeIn(control<QLineEdit>(d, "medtEditDtNasc"), QString(birth).remove(QLatin1Char('/')));
            typeIn(control<QLineEdit>(d, "EditCaptcha"), captcha.toLower() + QLatin1Char(' '));
            click(d, "btnConsultar");
            QCOMPARE(traffic().posts, QStringList{kBody.arg(cpf, birth, captcha)});
            QCOMPARE(control<QLineEdit>(d, "EditRazaoSocial")->text(), nome);
            QCOMPARE(control<QLineEdit>(d, "EditSituacao")->text(), QStringLiteral("REGULAR"));
            QCOMPARE(control<QLineEdit>(d, "EdtDigitoVerificador")->text(), cpf.right(2));
            QCOMPARE(control<QLineEdit>(d, "EdtIncricao")->text(), inscricao);
            QCOMPARE(control<QLineEdit>(d, "EdtCodCtrlControle")->text(),
                     QStringLiteral("3A1B.C2D4.E5F6.0789"));
            QVERIFY(control<QLineEdit>(d, "EdtEmissao")
                        ->text()
                        .startsWith(QStringLiteral("14:05:33 DO DIA 09/12/2026")));
            QVERIFY(d.isVisible()); // the dialog stays for the operator to close
        }));
        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(f.tbFornecedor.state(),
                 newSupplier ? cad::RecordSet::State::Insert : cad::RecordSet::State::Edit);
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Editing);
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Cgccpf")), cpf);
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Nome")), nome);
        QCOMPARE(f.tbFornecedor.value(QStringLiteral("TipoContribuinte")).toInt(), 9);
        QCOMPARE(f.cgccpfEdit()->text(), cpf);
        // Not saved: the server still has only the earlier row, as it was.
        QCOMPARE(m_fx->local(QStringLiteral(
                     "SELECT CONCAT(CodigoFornecedor, '|', Nome, '|', Cgccpf) FROM fornecedor")),
                 QStringList{QStringLiteral("1|NOME ANTERIOR|")});
    }

    // Before any search there is no supplier record: the look-up is shown, the copy is refused
    // with the list's message and nothing is written.
    void noSupplierListOpen()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(1);
        QVERIFY(withDialog(f, [&](TfrmConsultaCPF& d) {
            const QString captcha = traffic().captcha;
            typeIn(control<QLineEdit>(d, "EditCNPJ"), QStringLiteral("123.456.789-09"));
            typeIn(control<QLineEdit>(d, "medtEditDtNasc"), QStringLiteral("01021980"));
            typeIn(control<QLineEdit>(d, "EditCaptcha"), captcha);
            click(d, "btnConsultar");
            QCOMPARE(control<QLineEdit>(d, "EditRazaoSocial")->text(), QStringLiteral("JOSE  DA SILVA"));
            const auto shown = m_fx->takeMessages();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].icon, cad::dialogs::Icon::Error);
            QVERIFY(d.isVisible());
        }));
        QVERIFY(!f.tbFornecedor.isOpen());
        QCOMPARE(m_fx->local(QStringLiteral("SELECT COUNT(*) FROM fornecedor")), QStringList{"1"});
    }

    // Every failure is shown by the general error display; the dialog stays open and neither the
    // result area nor the supplier record changes.
    void failuresShownAndNothingCopied_data()
    {
        QTest::addColumn<QString>("cpf");
        QTest::addColumn<QString>("birth");
        QTest::addColumn<bool>("rightCaptcha");
        QTest::addColumn<QString>("sentBirth"); // empty: no query sent
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong captcha") << "123.456.789-09"
                                       << "01021980" << false << "01/02/1980"
                                       << "Os caracteres da imagem não foram preenchidos corretamente.";
        QTest::newRow("birth date left empty") << "123.456.789-09"
                                               << "" << true << "  /  /    "
                                               << "Data de nascimento divergente da base da Receita Federal.";
        QTest::newRow("other birth date") << "123.456.789-09"
                                          << "02021980" << true << "02/02/1980"
                                          << "Data de nascimento divergente da base da Receita Federal.";
        QTest::newRow("not registered") << "390.533.447-05"
                                        << "01021980" << true << "01/02/1980"
                                        << "Não existe no Cadastro de Pessoas Jurídicas o número de CPF "
                                           "informado. Verifique se o mesmo foi "
                                           "digitado corretamente.";
        QTest::newRow("refused by the service")
            << "529.982.247-25"
            << "01021980" << true << "01/02/1980"
            << "O número do CPF não é válido. Verifique se o mesmo foi digitado corretamente.";
        QTest::newRow("service unavailable") << "935.411.347-80"
                                             << "01021980" << true << "01/02/1980"
                                             << "Erro no site da receita federal. Tente mais tarde.";
        QTest::newRow("status page without a name") << "071.823.154-67"
                                                    << "01021980" << true << "01/02/1980"
                                                    << "Não foi possível obter os dados.";
        QTest::newRow("equal digits") << "111.111.111-11"
                                      << "01021980" << true << ""
                                      << "CPF inválido !";
        QTest::newRow("CPF left empty") << ""
                                        << "01021980" << true << ""
                                        << "CPF não pode ser vazio.";
    }
    void failuresShownAndNothingCopied()
    {
        QFETCH(QString, cpf);
        QFETCH(QString, birth);
        QFETCH(bool, rightCaptcha);
        QFETCH(QString, sentBirth);
        QFETCH(QString, message);
        cad::TfrmFornecedor& f = supplierOnDados();
        QVERIFY(withDialog(f, [&](TfrmConsultaCPF& d) {
            const QString captcha = traffic().captcha;
            const QString typed = rightCaptcha ? captcha : captcha + QStringLiteral("X");
            if (!cpf.isEmpty()) typeIn(control<QLineEdit>(d, "EditCNPJ"), cpf);
            if (!birth.isEmpty()) typeIn(control<QLineEdit>(d, "medtEditDtNasc"), birth);
            typeIn(control<QLineEdit>(d, "EditCaptcha"), typed);
            click(d, "btnConsultar");
            QCOMPARE(traffic().posts,
                     sentBirth.isEmpty() ? QStringList() : QStringList{kBody.arg(cpf, sentBirth, typed)});
            const auto shown = m_fx->takeMessages();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].text, message);
            QCOMPARE(shown[0].icon, cad::dialogs::Icon::Error);
            QVERIFY(d.isVisible());
            for (const char* result : {"EditRazaoSocial", "EditSituacao", "EdtDigitoVerificador",
                                       "EdtCodCtrlControle", "EdtEmissao", "EdtIncricao"})
                QCOMPARE(control<QLineEdit>(d, result)->text(), QString());
        }));
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Nome")), QStringLiteral("NOME ANTERIOR"));
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Cgccpf")), QString());
    }

    // A captcha that cannot be had: the failure is shown and the dialog stays. An unreachable page
    // leaves no file; a page without an image writes the (empty) file, whose picture then fails,
    // and the captcha field keeps its text.
    void captchaFailures_data()
    {
        QTest::addColumn<QString>("captchaPage");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("fileWritten");
        const int closedPort = unusedLoopbackPort();
        QVERIFY(closedPort > 0);
        QTest::newRow("page unreachable")
            << QStringLiteral("http://127.0.0.1:%1/Servicos/CPF/ConsultaSituacao/ConsultaPublicaSonoro.asp")
                   .arg(closedPort)
            << "Erro na hora de fazer o download da imagem do captcha.\r\nErro na hora de obter a URL do "
               "captcha.\r\n"
            << false;
        QTest::newRow("page without an image") << m_server->url(QStringLiteral("/__requests"))
                                               << "A imagem do captcha não pôde ser lida: " << true;
    }
    void captchaFailures()
    {
        QFETCH(QString, captchaPage);
        QFETCH(QString, message);
        QFETCH(bool, fileWritten);
        standins::pointCpfLookupAt(*m_server, captchaPage);
        QFile::remove(TfrmConsultaCPF::captchaFile());
        cad::TfrmFornecedor& f = supplierOnDados();
        const bool ran = withDialog(
            f,
            [&](TfrmConsultaCPF& d) {
                QList<cad::dialogs::Request> shown;
                QTRY_VERIFY((shown += m_fx->takeMessages(), !shown.isEmpty()));
                QCOMPARE(shown.size(), 1);
                QVERIFY2(shown[0].text.startsWith(message), qPrintable(shown[0].text));
                QVERIFY(d.captchaImage().isNull());
                QCOMPARE(QFile::exists(TfrmConsultaCPF::captchaFile()), fileWritten);
                QVERIFY(d.isVisible());
                QLineEdit* captcha = control<QLineEdit>(d, "EditCaptcha");
                typeIn(captcha, QStringLiteral("AB12"));
                QTest::mouseClick(control<QLabel>(d, "LabAtualizarCaptcha"), Qt::LeftButton);
                QCOMPARE(m_fx->takeMessages().size(), 1);
                QCOMPARE(captcha->text(), QStringLiteral("AB12"));
            },
            false);
        standins::pointCpfLookupAt(*m_server);
        QVERIFY(ran);
    }
};

QTEST_MAIN(CpfDialogTest)
#include "tst_cpf_dialog.moc"
