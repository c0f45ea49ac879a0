// "Incluir", "Salvar", " Cancelar  " and "Excluir" on the real screen over the test servers:
// the document messages, the duplicate check, the derived columns and the refused row.
#include "tests/registry/ScreenFixture.h"
#include "tests/registry/SupplierEntry.h"

#include <QTabWidget>
#include <QtTest>

using cad::TfrmFornecedor;
using cad::dialogs::Icon;
using namespace testsupport;

namespace {

SupplierInput nameAndDocument(const QString& nome, const QString& document)
{
    SupplierInput in;
    in.nome = nome;
    in.document = document;
    in.endereco = in.numero = in.bairro = in.estado = in.municipio = in.cidade = in.cep = in.taxpayer =
        QString();
    return in;
}

QStringList texts(const QList<cad::dialogs::Request>& messages)
{
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

} // namespace

class SaveTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;
    TfrmFornecedor* m_f = nullptr;

    QString localValue(const QString& sql) { return m_fx->local(sql).value(0); }
    QString codeOf(const QString& nome)
    {
        return localValue(
            QStringLiteral("SELECT CodigoFornecedor FROM fornecedor WHERE Nome='%1'").arg(nome));
    }
    int countOf(const QString& nome)
    {
        return localValue(QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE Nome='%1'").arg(nome))
            .toInt();
    }
    void verifyBrowseLayout()
    {
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Browse);
        QCOMPARE(m_f->currentTab(), QStringLiteral("Listagem"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("save"));
        // A supplier without a document: a duplicate check run for an empty document would find it.
        m_fx->local(QStringLiteral("INSERT INTO fornecedor (Nome, Cgccpf) VALUES ('SEM DOCUMENTO', ''),"
                                   "('ANTERIOR UM', '66677788830'), ('ANTERIOR DOIS', NULL)"));
        m_f = &m_fx->openScreen();
    }
    void cleanupTestCase() { m_fx.reset(); }

    void deleteWithTheListClosedAsksThenFails()
    {
        QVERIFY(!m_f->tbFornecedor.isOpen());
        const QString stored = localValue(QStringLiteral("SELECT COUNT(*) FROM fornecedor"));
        m_fx->answerNext(cad::dialogs::Answer::Yes);
        click(*m_f, "btn1");
        const auto shown = m_fx->takeMessages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QStringLiteral("Deseja excluir o Registro do Fornecedor?"));
        QCOMPARE(shown[1].icon, Icon::Error);
        QCOMPARE(localValue(QStringLiteral("SELECT COUNT(*) FROM fornecedor")), stored);
    }

    void incluirBeforeAnySearchLoadsEverySupplier()
    {
        QVERIFY(!m_f->tbFornecedor.isOpen());
        const int stored = localValue(QStringLiteral("SELECT COUNT(*) FROM fornecedor")).toInt();
        click(*m_f, "ToolButton1");
        QCOMPARE(m_f->tbFornecedor.rowCount(), stored + 1);
        QCOMPARE(m_f->tbFornecedor.currentRow(), stored);
        QCOMPARE(m_f->tbFornecedor.state(), cad::RecordSet::State::Insert);
        QVERIFY(m_f->tbFornecedor.isNull(QStringLiteral("Nome")));
        QCOMPARE(control<cad::DbGrid>(*m_f, "grdFornecedor")->model()->rowCount(), stored + 1);
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Editing);
        QCOMPARE(m_f->currentTab(), QStringLiteral("Dados"));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(*m_f, "dbedtNome"));

        click(*m_f, "ToolButton8");
        QCOMPARE(m_f->tbFornecedor.rowCount(), stored);
        verifyBrowseLayout();
        QVERIFY(m_fx->takeMessages().isEmpty());
    }

    void documentMessagesDoNotStopTheSave_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("cgc"); // also cnpj

        QTest::newRow("empty: required, no duplicate check")
            << "DOC VAZIO"
            << "" << QStringList{"CPF ou CNPJ é Obrigatório !!!"} << "";
        QTest::newRow("CPF with wrong check digits")
            << "DOC CPF ERRADO"
            << "111.444.777-36" << QStringList{"CPF Invalido !!!"} << "11144477736";
        QTest::newRow("12 digits checked as CNPJ")
            << "DOC DOZE"
            << "123456789012" << QStringList{"CNPJ Invalido !!!"} << "123456789012";
        QTest::newRow("CNPJ with wrong check digits")
            << "DOC CNPJ ERRADO"
            << "11.222.333/0001-82" << QStringList{"CNPJ Invalido !!!"} << "11222333000182";
        QTest::newRow("single digit not checked") << "DOC CINCO"
                                                  << "5" << QStringList{} << "5";
        QTest::newRow("valid CPF") << "DOC CPF"
                                   << "111.444.777-35" << QStringList{} << "11144477735";
        QTest::newRow("valid CNPJ") << "DOC CNPJ"
                                    << "11.222.333/0001-81" << QStringList{} << "11222333000181";
    }
    void documentMessagesDoNotStopTheSave()
    {
        QFETCH(QString, nome);
        QFETCH(QString, document);
        QFETCH(QStringList, messages);
        QFETCH(QString, cgc);

        enterNew(*m_f, nameAndDocument(nome, document));
        click(*m_f, "ToolButton7");

        const auto shown = m_fx->takeMessages();
        QCOMPARE(texts(shown), messages);
        for (const auto& m : shown) {
            QCOMPARE(m.title, QStringLiteral("Cadastro de Fornecedor"));
            QCOMPARE(m.icon, Icon::None);
        }
        QCOMPARE(countOf(nome), 1);
        const QString where = QStringLiteral(" FROM fornecedor WHERE Nome='%1'").arg(nome);
        QCOMPARE(localValue("SELECT COALESCE(Cgccpf,'')" + where), document);
        QCOMPARE(localValue("SELECT COALESCE(Cgc,'')" + where), cgc);
        QCOMPARE(localValue("SELECT COALESCE(cnpj,'')" + where), cgc);
        QCOMPARE(m_f->tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("Nome")), nome); // the list stays on it
        verifyBrowseLayout();
    }

    void duplicateDocument_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");

        QTest::newRow("stored as digits") << "22333444000181"
                                          << "22.333.444/0001-81" << true;
        QTest::newRow("stored as digits with leading zeros") << "0022233344405"
                                                             << "222.333.444-05" << true;
        QTest::newRow("stored with punctuation") << "33.444.555/0001-81"
                                                 << "33444555000181" << false;
    }
    void duplicateDocument()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        const QString nome = QStringLiteral("NOVO ") + typed;
        m_fx->local(
            QStringLiteral("INSERT INTO fornecedor (Nome, Cgccpf) VALUES ('EXISTENTE', '%1')").arg(stored));

        enterNew(*m_f, nameAndDocument(nome, typed));
        click(*m_f, "ToolButton7");

        const auto shown = m_fx->takeMessages();
        if (!refused) {
            QVERIFY2(shown.isEmpty(), qPrintable(texts(shown).join('|')));
            QCOMPARE(countOf(nome), 1);
            verifyBrowseLayout();
            return;
        }
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Atenção"));
        QCOMPARE(shown[0].text, QStringLiteral("Cnpf do Fornecedor já Cadastrado!!!"));
        QCOMPARE(shown[0].icon, Icon::Warning);
        QCOMPARE(countOf(nome), 0);
        QCOMPARE(m_f->tbFornecedor.state(), cad::RecordSet::State::Insert);
        QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("Nome")), nome);
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Editing);
        QCOMPARE(m_f->currentTab(), QStringLiteral("Dados"));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(*m_f, "dbedtCgccpf"));
        click(*m_f, "ToolButton8");
        verifyBrowseLayout();
    }

    void editingNeverChecksForDuplicates()
    {
        m_fx->local(QStringLiteral(
            "INSERT INTO fornecedor (Nome, Cgccpf) VALUES ('PRIMEIRO IGUAL', '44555666000181'),"
            "('SEGUNDO IGUAL', '44555666000181')"));
        click(*m_f, "btnAtualizar");
        const QString code = codeOf(QStringLiteral("SEGUNDO IGUAL"));
        clickSupplier(*m_f, code);

        type(*m_f, "dbedtNome", QStringLiteral("SEGUNDO ALTERADO"));
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Editing);
        type(*m_f, "dbedtCgccpf", QStringLiteral("44.555.666/0001-81"));
        click(*m_f, "ToolButton7");

        QVERIFY(m_fx->takeMessages().isEmpty());
        const QString where = QStringLiteral(" FROM fornecedor WHERE CodigoFornecedor=%1").arg(code);
        QCOMPARE(localValue("SELECT Nome" + where), QStringLiteral("SEGUNDO ALTERADO"));
        QCOMPARE(localValue("SELECT Cgccpf" + where), QStringLiteral("44.555.666/0001-81"));
        QCOMPARE(localValue("SELECT Cgc IS NULL AND cnpj IS NULL" + where),
                 QStringLiteral("1")); // new suppliers only
        QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("CodigoFornecedor")), code);
        verifyBrowseLayout();
    }

    void derivedColumnsFromListsAndOwnCompany()
    {
        SupplierInput in;
        in.nome = QStringLiteral("DERIVADOS");
        in.document = QStringLiteral("333.444.555-08");
        enterNew(*m_f, in);
        type(*m_f, "dbedtComplemento", QStringLiteral("BLOCO B APARTAMENTO 1201 FUNDOS"));
        pick(*m_f, "dblkcbbTipo", QStringLiteral("ALUGUEL"));
        pick(*m_f, "dblkcbbGerencial", QStringLiteral("LOGISTICA"));
        click(*m_f, "ToolButton7");
        QVERIFY(m_fx->takeMessages().isEmpty());

        const QString where = QStringLiteral(" FROM fornecedor WHERE Nome='DERIVADOS'");
        QCOMPARE(localValue("SELECT Tipos" + where), QStringLiteral("ALUGUEL"));
        QCOMPARE(localValue("SELECT Gerencial" + where), QStringLiteral("LOGISTICA"));
        QCOMPARE(localValue("SELECT ICompletCliFor" + where), QStringLiteral("BLOCO B APARTAMENTO 1201 "));
        const QString city = localValue(
            QStringLiteral("SELECT codigo FROM municipios_ibge WHERE nome='Belo Horizonte' AND uf='MG'"));
        QCOMPARE(localValue("SELECT CodigoCidade" + where), city);
        QCOMPARE(localValue("SELECT CodCidade" + where), city);
        QCOMPARE(localValue("SELECT codigofilial" + where),
                 localValue(QStringLiteral("SELECT Controle FROM configuracao")));
        QCOMPARE(localValue("SELECT codigoparvix" + where), QStringLiteral("7"));
        QCOMPARE(localValue("SELECT filial" + where), QStringLiteral("LOJA CENTRO"));
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("No, the default") << false;
        QTest::newRow("Yes") << true;
    }
    void deleteAsksFirst()
    {
        QFETCH(bool, answerYes);
        m_fx->local(QStringLiteral("INSERT INTO fornecedor (Nome, Cgccpf) VALUES ('APAGAR', '77788899941')"));
        click(*m_f, "btnAtualizar");
        const QString code = codeOf(QStringLiteral("APAGAR"));
        clickSupplier(*m_f, code);
        const int listed = m_f->tbFornecedor.rowCount();
        if (answerYes) m_fx->answerNext(cad::dialogs::Answer::Yes);

        click(*m_f, "btn1");

        const auto shown = m_fx->takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Exclusão"));
        QCOMPARE(shown[0].text, QStringLiteral("Deseja excluir o Registro do Fornecedor?"));
        QCOMPARE(shown[0].icon, Icon::Question);
        QCOMPARE(shown[0].buttons, cad::dialogs::Buttons::YesNo);
        QCOMPARE(shown[0].defaultAnswer, cad::dialogs::Answer::No);
        QCOMPARE(countOf(QStringLiteral("APAGAR")), answerYes ? 0 : 1);
        QCOMPARE(m_f->tbFornecedor.rowCount(), answerYes ? listed - 1 : listed);
        m_fx->local(QStringLiteral("DELETE FROM fornecedor WHERE Nome='APAGAR'"));
    }

    void refusedRowStaysPending_data()
    {
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<QString>("tab");
        QTest::newRow("new supplier") << true << "Dados";
        QTest::newRow("edited supplier") << false << "Listagem";
    }
    void refusedRowStaysPending()
    {
        QFETCH(bool, isNew);
        QFETCH(QString, tab);
        const QString refuse = QStringLiteral(
            "FOR EACH ROW IF NEW.Nome = 'RECUSADO' THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = "
            "'Fornecedor recusado pelo servidor'; END IF");
        m_fx->local("CREATE TRIGGER recusa_inclusao BEFORE INSERT ON fornecedor " + refuse);
        m_fx->local("CREATE TRIGGER recusa_alteracao BEFORE UPDATE ON fornecedor " + refuse);
        const int stored = localValue(QStringLiteral("SELECT COUNT(*) FROM fornecedor")).toInt();
        const QString code = codeOf(QStringLiteral("ANTERIOR UM"));
        if (isNew) {
            enterNew(*m_f, nameAndDocument(QStringLiteral("RECUSADO"), QStringLiteral("555.666.777-20")));
        } else {
            clickSupplier(*m_f, code);
            type(*m_f, "dbedtNome", QStringLiteral("RECUSADO"));
        }

        click(*m_f, "ToolButton7");

        const auto shown = m_fx->takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, Icon::Error);
        QCOMPARE(shown[0].text, QStringLiteral("Fornecedor recusado pelo servidor."));
        QCOMPARE(m_f->tbFornecedor.state(),
                 isNew ? cad::RecordSet::State::Insert : cad::RecordSet::State::Edit);
        QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("Nome")), QStringLiteral("RECUSADO"));
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Editing);
        QCOMPARE(m_f->currentTab(), tab);
        QCOMPARE(countOf(QStringLiteral("RECUSADO")), 0);
        QCOMPARE(localValue(QStringLiteral("SELECT COUNT(*) FROM fornecedor")).toInt(), stored);

        m_fx->local(QStringLiteral("DROP TRIGGER recusa_inclusao; DROP TRIGGER recusa_alteracao"));
        click(*m_f, "ToolButton8");
        verifyBrowseLayout();
        QCOMPARE(m_f->tbFornecedor.state(), cad::RecordSet::State::Browse);
        if (!isNew) QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("Nome")), QStringLiteral("ANTERIOR UM"));
    }

    // A fixed amount that is not a number ends the save it was typed for: reported, nothing
    // written, the bars and the tab as they were, the record still pending.
    void amountThatDoesNotConvertStopsTheSave_data()
    {
        QTest::addColumn<bool>("shortcut");
        QTest::newRow("Salvar") << false;
        QTest::newRow("Ctrl+S in the field") << true;
    }
    void amountThatDoesNotConvertStopsTheSave()
    {
        QFETCH(bool, shortcut);
        const QString code = codeOf(QStringLiteral("ANTERIOR UM"));
        clickSupplier(*m_f, code);
        m_f->findChild<QTabWidget*>(QStringLiteral("pgcFornecedor"))->setCurrentIndex(1);
        type(*m_f, "dbedtNome", QStringLiteral("ANTERIOR ALTERADO"));
        type(*m_f, "dbedtValor", QStringLiteral("12X"));
        (void)m_fx->takeMessages();
        if (shortcut)
            QTest::keyClick(control<QLineEdit>(*m_f, "dbedtValor"), Qt::Key_S, Qt::ControlModifier);
        else
            click(*m_f, "ToolButton7");

        const auto shown = m_fx->takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, Icon::Error);
        QCOMPARE(m_f->tbFornecedor.state(), cad::RecordSet::State::Edit);
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Editing);
        QCOMPARE(m_f->currentTab(), QStringLiteral("Dados"));
        QCOMPARE(countOf(QStringLiteral("ANTERIOR ALTERADO")), 0);
        QCOMPARE(
            localValue(QStringLiteral("SELECT valor IS NULL FROM fornecedor WHERE CodigoFornecedor=") + code),
            QStringLiteral("1"));
        click(*m_f, "ToolButton8");
        verifyBrowseLayout();
    }

    void savedSupplierStaysCurrentAfterASearch_data()
    {
        QTest::addColumn<bool>("isNew");
        QTest::newRow("new supplier outside the search") << true;
        QTest::newRow("supplier renamed out of the search") << false;
    }
    void savedSupplierStaysCurrentAfterASearch()
    {
        QFETCH(bool, isNew);
        m_fx->local(QStringLiteral("INSERT INTO fornecedor (Nome, Cgccpf) VALUES ('BUSCADO UM', "
                                   "'11144477735'), ('BUSCADO DOIS', '11144477735')"));
        type(*m_f, "edtPesquisa", QStringLiteral("BUSCADO"));
        click(*m_f, "SpeedButton1");
        QCOMPARE(m_f->tbFornecedor.rowCount(), 2);
        const QString nome = isNew ? QStringLiteral("FORA DA BUSCA") : QStringLiteral("RENOMEADO");
        if (isNew) {
            enterNew(*m_f, nameAndDocument(nome, QStringLiteral("444.555.666-19")));
        } else {
            clickSupplier(*m_f, codeOf(QStringLiteral("BUSCADO DOIS")));
            type(*m_f, "dbedtNome", nome);
        }

        click(*m_f, "ToolButton7");

        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(countOf(nome), 1);
        QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("CodigoFornecedor")), codeOf(nome));
        QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("Nome")), nome);
        verifyBrowseLayout();
        m_fx->local(QStringLiteral("DELETE FROM fornecedor WHERE Nome LIKE 'BUSCADO%'"));
    }

    // A CNPJ with letters is compared by its letters and digits as text, never as a number.
    void alphanumericDocument_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("twin stored punctuated, in lower case") << "ab.1cd.2ef/0001-70"
                                                               << "AB1CD2EF000170" << true;
        QTest::newRow("twin stored bare, typed in lower case") << "A1B2C3D4000193"
                                                               << "a1.b2c.3d4/0001-93" << true;
        QTest::newRow("same digits, other letters") << "12XYZ34501DE02"
                                                    << "12.ABC.345/01DE-35" << false;
        QTest::newRow("a number with the same digits") << "98887770176"
                                                       << "9Z.Z88.877/701Q-76" << false;
    }
    void alphanumericDocument()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        const QString nome = QStringLiteral("ALFA ") + stored;
        m_fx->local(QStringLiteral("INSERT INTO fornecedor (Nome, Cgccpf) VALUES ('%1', '%2')")
                        .arg(QStringLiteral("EXISTENTE ") + stored, stored));

        enterNew(*m_f, nameAndDocument(nome, typed));
        click(*m_f, "ToolButton7");

        const QStringList shown = texts(m_fx->takeMessages());
        if (refused) {
            QCOMPARE(shown, QStringList{QStringLiteral("Cnpf do Fornecedor já Cadastrado!!!")});
            QCOMPARE(countOf(nome), 0);
            click(*m_f, "ToolButton8");
            return;
        }
        QCOMPARE(shown, QStringList{}); // a valid CNPJ: no CPF message for its few digits
        const QString where = QStringLiteral(" FROM fornecedor WHERE Nome='%1'").arg(nome);
        QCOMPARE(localValue("SELECT Cgccpf" + where), typed.toUpper());
        const QString letters = typed.toUpper().remove(QRegularExpression(QStringLiteral("[^0-9A-Z]")));
        QCOMPARE(localValue("SELECT Cgc" + where), letters);
        QCOMPARE(localValue("SELECT cnpj" + where), letters);

        // Found again by its document as stored, typed in any case.
        type(*m_f, "edtPesquisa", typed.left(6).toLower());
        click(*m_f, "TSpeedButton11");
        QCOMPARE(m_fx->takeMessages().size(), 0);
        QCOMPARE(m_f->tbFornecedor.rowCount(), 1);
        QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("Nome")), nome);
    }

    // Fourteen letters and digits are a company's document: leaving the field hides the RG caption
    // and leaves the taxpayer type alone (a person's would become a non-contributor).
    void alphanumericCnpjIsACompany()
    {
        m_f = &m_fx->openScreen();
        click(*m_f, "ToolButton1");
        type(*m_f, "dbedtCgccpf", QStringLiteral("12.abc.345/01de-35"));
        control<QWidget>(*m_f, "dbedtNumero")->setFocus(Qt::TabFocusReason);
        QCOMPARE(control<QLineEdit>(*m_f, "dbedtCgccpf")->text(), QStringLiteral("12.ABC.345/01DE-35"));
        QVERIFY(control<QWidget>(*m_f, "lbl_dbedtRg")->isHidden());
        QVERIFY(!control<QWidget>(*m_f, "lbl_dbedtIe")->isHidden());
        QVERIFY(m_f->tbFornecedor.isNull(QStringLiteral("TipoContribuinte")));
        click(*m_f, "ToolButton8");
    }
};

QTEST_MAIN(SaveTest)
#include "tst_save.moc"
