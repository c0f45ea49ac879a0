// The CEP picture of the supplier screen against the ViaCEP stand-in: which CEPs are searched, one
// address confirmed or refused, several chosen in "Endereços Encontrados", and the state and
// municipality lists the address is shown through.
#include "address/ui/TfrmEnderecosEncontrados.h"
#include "http/ServiceSettings.h"
#include "standins/StandInProcess.h"
#include "tests/registry/ScreenSteps.h"
#include "tests/registry/SupplierEntry.h"

#include <QTabWidget>

using namespace cad;
using namespace testsupport;
using cad::dialogs::Answer;
using cad::dialogs::Icon;

namespace {

const QString kStreetMg = QStringLiteral("RUA VELHA");

/// The values of FIELD in every row of LIST, top to bottom.
QStringList listValues(cad::RecordSet& list, const QString& field)
{
    QStringList out;
    for (int r = 0; r < list.rowCount(); ++r)
        out << list.valueAt(r, field).toString();
    return out;
}

} // namespace

class AddressLookupTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<standins::StandInProcess> m_viacep;
    std::unique_ptr<ScreenFixture> m_fx;
    int m_allMunicipalities = 0;

    /// The screen with supplier CODE current on "Dados"; EDITING puts it into editing first.
    cad::TfrmFornecedor& showSupplier(int code, bool editing)
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QString::number(code));
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(1);
        if (editing) f.tbFornecedor.edit();
        m_fx->takeMessages();
        return f;
    }

    /// Paths the ViaCEP stand-in was asked for since the last call.
    QStringList requestedPaths()
    {
        QStringList out;
        for (const QJsonValue& r : m_viacep->takeRequests())
            out << r.toObject().value(QStringLiteral("path")).toString();
        return out;
    }

    /// Endereco, complemento, Bairro, Cidade and Estado of the screen's current record.
    static QStringList addressOf(cad::TfrmFornecedor& f)
    {
        QStringList out;
        for (const char* c : {"Endereco", "complemento", "Bairro", "Cidade", "Estado"})
            out << f.tbFornecedor.text(QString::fromLatin1(c));
        return out;
    }

    static QVariant municipalityRowCode(cad::TfrmFornecedor& f)
    {
        return f.myqryMyMunicipios.value(QStringLiteral("codigo"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_viacep = std::make_unique<standins::StandInProcess>(QStringLiteral("viacep.py"));
        serviceSettings().viaCepHost = m_viacep->url(QString()); // read when the screen creates CadCEP1
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("addr"));
        m_allMunicipalities =
            m_fx->local(QStringLiteral("SELECT COUNT(*) FROM municipios_ibge")).value(0).toInt();
    }
    void cleanupTestCase() { m_fx.reset(); }

    void init()
    {
        m_fx->local(QStringLiteral("DELETE FROM fornecedor; "
                                   "INSERT INTO fornecedor (CodigoFornecedor, Nome, Endereco, Numero, "
                                   "complemento, Bairro, Cidade, Estado, "
                                   "Cep, CodigoCidade, CodCidade) VALUES "
                                   "(1, 'ALFA', 'RUA VELHA', '10', 'SALA 1', 'FUNCIONARIOS', 'BELO "
                                   "HORIZONTE', 'MG', '01310-100', 3106200, "
                                   "3106200), "
                                   "(2, 'BETA', 'RUA DO RIO', '20', '', 'CENTRO', 'RIO DE JANEIRO', 'RJ', "
                                   "'20040-020', 3304557, 3304557)"));
        (void)requestedPaths();
    }

    void searchedOnlyWithEightDigits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("searched");
        QTest::newRow("hyphen") << "01310-100" << true;
        QTest::newRow("dots and hyphen") << "01.310-100" << true;
        QTest::newRow("blanks around") << " 01310100 " << true;
        QTest::newRow("seven digits") << "0131010" << false;
        QTest::newRow("seven digits, hyphen") << "01310-10" << false;
        QTest::newRow("nine digits") << "013101001" << false;
    }
    void searchedOnlyWithEightDigits()
    {
        QFETCH(QString, typed);
        QFETCH(bool, searched);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        click(f, "ToolButton1"); // a new supplier
        type(f, "dbedtCep", typed);
        if (searched) m_fx->answerNext(Answer::No);
        click(f, QStringLiteral("img1"));

        const auto messages = m_fx->takeMessages();
        QCOMPARE(messages.size(), 1);
        if (searched) {
            QCOMPARE(requestedPaths(), QStringList{QStringLiteral("/ws/01310100/xml")});
            QCOMPARE(messages[0].title, QStringLiteral("CONSULTA CEP"));
        } else {
            QCOMPARE(requestedPaths(), QStringList());
            QCOMPARE(messages[0].title, QStringLiteral("Parvix Sistemas, Atenção !!!"));
            QCOMPARE(messages[0].text, QStringLiteral("Preencher com Cep Valido !!!"));
            QCOMPARE(messages[0].icon, Icon::Warning);
        }
        QCOMPARE(addressOf(f), QStringList({"", "", "", "", ""}));
    }

    void oneAddress_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void oneAddress()
    {
        QFETCH(bool, accept);
        cad::TfrmFornecedor& f = showSupplier(1, true);
        m_fx->answerNext(accept ? Answer::Yes : Answer::No);
        click(f, QStringLiteral("img1"));

        const auto messages = m_fx->takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].title, QStringLiteral("CONSULTA CEP"));
        QCOMPARE(messages[0].icon, Icon::Question);
        QCOMPARE(messages[0].text,
                 QStringLiteral("O CEP 01310-100 foi consultado e retornou os seguintes dados:\r\n\r\n"
                                "Endereço completo:  Avenida Paulista - de 612 a 1510 - lado par\r\n"
                                "                   Bela Vista - São Paulo/SP\r\n\r\n"
                                "Atualizar endereço com estes dados"));
        if (!accept) {
            QCOMPARE(addressOf(f),
                     QStringList({kStreetMg, "SALA 1", "FUNCIONARIOS", "BELO HORIZONTE", "MG"}));
            QCOMPARE(f.stateList()->shownText(), QStringLiteral("Minas Gerais"));
            QCOMPARE(f.myqryMyMunicipios.rowCount(), m_allMunicipalities);
            QCOMPARE(f.municipalityList()->shownText(), QStringLiteral("BELO HORIZONTE"));
            return;
        }
        // As received, street after a blank; the city column is left alone, the state is the one shown.
        QCOMPARE(addressOf(f), QStringList({" Avenida Paulista", "de 612 a 1510 - lado par", "Bela Vista",
                                            "BELO HORIZONTE", "SP"}));
        QCOMPARE(f.tbFornecedor.value(QStringLiteral("CodigoCidade")).toLongLong(), 3550308);
        QCOMPARE(f.stateList()->shownText(), QStringLiteral("São Paulo"));
        const QStringList states = listValues(f.myqryMyMunicipios, QStringLiteral("uf"));
        QCOMPARE(states.size(),
                 m_fx->local(QStringLiteral("SELECT COUNT(*) FROM municipios_ibge WHERE uf = 'SP'"))
                     .value(0)
                     .toInt());
        QCOMPARE(states.count(QStringLiteral("SP")), states.size());
        QCOMPARE(f.municipalityList()->shownText(), QStringLiteral("São Paulo"));
        QCOMPARE(municipalityRowCode(f).toLongLong(), 3550308);
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Edit);
    }

    void oneAddressThenSaved_data()
    {
        QTest::addColumn<bool>("newSupplier");
        QTest::addColumn<QString>("storedState");
        QTest::addColumn<QString>("stateShown");
        // The state the list shows is saved: never MG with the code of São Paulo.
        QTest::newRow("existing supplier") << false << "SP"
                                           << "São Paulo";
        QTest::newRow("new supplier") << true << "SP"
                                      << "São Paulo";
    }
    void oneAddressThenSaved()
    {
        QFETCH(bool, newSupplier);
        QFETCH(QString, storedState);
        QFETCH(QString, stateShown);
        cad::TfrmFornecedor& f = showSupplier(1, !newSupplier);
        if (newSupplier) {
            click(f, "ToolButton1");
            type(f, "dbedtNome", QStringLiteral("NOVO"));
            type(f, "dbedtCep", QStringLiteral("01310-100"));
        }
        m_fx->answerNext(Answer::Yes);
        click(f, QStringLiteral("img1"));
        click(f, "ToolButton7"); // "Salvar"
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);

        const QString name = newSupplier ? QStringLiteral("NOVO") : QStringLiteral("ALFA");
        QCOMPARE(
            m_fx->local(QStringLiteral("SELECT CONCAT_WS('|', Endereco, IFNULL(Estado, ''), CodigoCidade, "
                                       "CodCidade) FROM fornecedor WHERE Nome = '%1'")
                            .arg(name)),
            QStringList{QStringLiteral(" Avenida Paulista|%1|3550308|3550308").arg(storedState)});
        QCOMPARE(f.stateList()->shownText(), stateShown);
    }

    void supplierOfAnotherStateAfterLookUp()
    {
        cad::TfrmFornecedor& f = showSupplier(1, true);
        m_fx->answerNext(Answer::Yes);
        click(f, QStringLiteral("img1"));
        click(f, "ToolButton8"); // " Cancelar  ": the lists keep the look-up's state
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("2"));
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Estado")), QStringLiteral("RJ"));
        QCOMPARE(f.stateList()->shownText(), QStringLiteral("Rio de Janeiro"));
        QCOMPARE(f.municipalityList()->shownText(), QString());
        QCOMPARE(listValues(f.myqryMyMunicipios, QStringLiteral("uf")).count(QStringLiteral("RJ")), 0);
    }

    // Accepting an address while the record is only viewed: the bars turn, and the first write fails.
    void viewedRecordIsNotWritten()
    {
        cad::TfrmFornecedor& f = showSupplier(1, false);
        m_fx->answerNext(Answer::Yes);
        click(f, QStringLiteral("img1"));
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Editing);
        QCOMPARE(QApplication::focusWidget(), f.findChild<QWidget*>(QStringLiteral("dbedtCep")));

        const auto messages = m_fx->takeMessages();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages[0].title, QStringLiteral("CONSULTA CEP"));
        QCOMPARE(messages[1].icon, Icon::Error);
        QCOMPARE(messages[1].text, QStringLiteral("O registro não está em modo de edição ou inclusão."));
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(addressOf(f), QStringList({kStreetMg, "SALA 1", "FUNCIONARIOS", "BELO HORIZONTE", "MG"}));
        QCOMPARE(f.stateList()->shownText(), QStringLiteral("Minas Gerais"));
        QCOMPARE(f.myqryMyMunicipios.rowCount(), m_allMunicipalities);
    }

    void severalAddressesChosen_data()
    {
        QTest::addColumn<bool>("moveUp");
        QTest::addColumn<bool>("withEnter");
        QTest::addColumn<QString>("complement");
        QTest::newRow("OK without moving: the last") << false << false << "DE 3254 AO FIM - LADO PAR";
        QTest::newRow("first row, OK") << true << false << "DE 3253 AO FIM - LADO íMPAR";
        QTest::newRow("first row, Enter") << true << true << "DE 3253 AO FIM - LADO íMPAR";
    }
    void severalAddressesChosen()
    {
        QFETCH(bool, moveUp);
        QFETCH(bool, withEnter);
        QFETCH(QString, complement);
        cad::TfrmFornecedor& f = showSupplier(1, true);
        type(f, "dbedtCep", QStringLiteral("04538-132"));
        int shownRows = -1, currentRow = -1;
        ModalAnswer<cad::TfrmEnderecosEncontrados> dialog([&](cad::TfrmEnderecosEncontrados& d) {
            shownRows = d.VirtualTable1.rowCount();
            currentRow = d.grid()->currentIndex().row();
            if (moveUp) QTest::keyClick(d.grid(), Qt::Key_Up);
            if (withEnter)
                QTest::keyClick(d.grid(), Qt::Key_Return);
            else
                click(d, QStringLiteral("btnOK"));
        });
        click(f, QStringLiteral("img1"));
        QVERIFY(dialog.answered());
        QCOMPARE(shownRows, 2);
        QCOMPARE(currentRow, 1);
        QCOMPARE(m_fx->takeMessages().size(), 0);
        // Upper case for a to z only; the state column takes the state shown.
        QCOMPARE(addressOf(f), QStringList({" AVENIDA BRIGADEIRO FARIA LIMA", complement, "ITAIM BIBI",
                                            QStringLiteral("SãO PAULO"), "SP"}));
        QCOMPARE(f.stateList()->shownText(), QStringLiteral("São Paulo"));
        QCOMPARE(f.municipalityList()->shownText(), QStringLiteral("São Paulo"));
        QCOMPARE(municipalityRowCode(f).toLongLong(), 3550308);
    }

    void severalAddressesRefused_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("closed") << "closed";
    }
    void severalAddressesRefused()
    {
        QFETCH(QString, how);
        cad::TfrmFornecedor& f = showSupplier(1, true);
        type(f, "dbedtCep", QStringLiteral("04538-132"));
        ModalAnswer<cad::TfrmEnderecosEncontrados> dialog([&](cad::TfrmEnderecosEncontrados& d) {
            if (how == QStringLiteral("Cancel"))
                click(d, QStringLiteral("btnCancel"));
            else if (how == QStringLiteral("Esc"))
                QTest::keyClick(d.grid(), Qt::Key_Escape);
            else
                d.close();
        });
        click(f, QStringLiteral("img1"));
        QVERIFY(dialog.answered());
        QCOMPARE(addressOf(f), QStringList({kStreetMg, "SALA 1", "FUNCIONARIOS", "BELO HORIZONTE", "MG"}));
        QCOMPARE(f.myqryMyMunicipios.rowCount(), m_allMunicipalities);
        QCOMPARE(f.municipalityList()->shownText(), QStringLiteral("BELO HORIZONTE"));
    }

    void noAddressFound()
    {
        cad::TfrmFornecedor& f = showSupplier(1, true);
        type(f, "dbedtCep", QStringLiteral("99999-999"));
        click(f, QStringLiteral("img1"));
        const auto messages = m_fx->takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QStringLiteral("Nenhum Endereço encontrado"));
        QCOMPARE(messages[0].title, cad::dialogs::appTitle());
        QCOMPARE(messages[0].icon, Icon::None);
        QCOMPARE(addressOf(f), QStringList({kStreetMg, "SALA 1", "FUNCIONARIOS", "BELO HORIZONTE", "MG"}));
    }

    void failedSearchIsShown()
    {
        QString deadHost;
        {
            standins::StandInProcess gone(QStringLiteral("viacep.py"));
            deadHost = gone.url(QString());
        } // its port now refuses connections
        const QString host = serviceSettings().viaCepHost;
        serviceSettings().viaCepHost = deadHost;
        cad::TfrmFornecedor& f = showSupplier(1, true);
        serviceSettings().viaCepHost = host;
        click(f, QStringLiteral("img1"));
        const auto messages = m_fx->takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, Icon::Error);
        QCOMPARE(addressOf(f), QStringList({kStreetMg, "SALA 1", "FUNCIONARIOS", "BELO HORIZONTE", "MG"}));
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Edit);
    }

    void stateChosenByHand()
    {
        cad::TfrmFornecedor& f = showSupplier(2, false);
        pick(f, "dblkcbbufs", QStringLiteral("Minas"));
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Estado")), QStringLiteral("MG"));
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Edit);
        // That state's municipalities, names as stored, ordered by name.
        QCOMPARE(
            listValues(f.myqryMyMunicipios, QStringLiteral("nome")),
            m_fx->local(QStringLiteral("SELECT nome FROM municipios_ibge WHERE uf = 'MG' ORDER BY nome")));
        QVERIFY(listValues(f.myqryMyMunicipios, QStringLiteral("nome"))
                    .contains(QStringLiteral("Belo Horizonte")));
        QCOMPARE(f.municipalityList()->shownText(), QString()); // Rio's code is not among them
    }
};

QTEST_MAIN(AddressLookupTest)
#include "tst_address_lookup.moc"
