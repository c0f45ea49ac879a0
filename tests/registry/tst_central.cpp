// The copy of a saved supplier to the central server, driven through the real screen:
// the central key, the column mapping, the preconditions and the update of an existing row.
#include "core/Clock.h"
#include "tests/registry/ScreenFixture.h"
#include "tests/registry/SupplierEntry.h"

#include <QtTest>

using cad::TfrmFornecedor;
using namespace testsupport;

class CentralTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;
    TfrmFornecedor* m_f = nullptr;
    QDateTime m_now{QDate(2026, 3, 4), QTime(10, 11, 12)};

    QString central(const QString& key, const QString& column)
    {
        return m_fx
            ->central(
                QStringLiteral("SELECT COALESCE(%1, '') FROM fornecedor WHERE Cgccpf='%2'").arg(column, key))
            .value(0);
    }
    int centralCount(const QString& key)
    {
        return m_fx->central(QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE Cgccpf='%1'").arg(key))
            .value(0)
            .toInt();
    }
    QString local(const QString& nome, const QString& column)
    {
        return m_fx->local(QStringLiteral("SELECT %1 FROM fornecedor WHERE Nome='%2'").arg(column, nome))
            .value(0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("central"));
        // Suppliers abroad: a state without municipalities.
        m_fx->local(QStringLiteral("INSERT INTO Uf (Sigla, NomEst) VALUES ('EX', 'Exterior')"));
        // A central row without a key: a copy with an empty key must never touch it.
        m_fx->central(
            QStringLiteral("INSERT INTO fornecedor (Cgccpf, razaosocial) VALUES ('', 'SEM CHAVE')"));
        m_f = &m_fx->openScreen();
        cad::clock::set([this] { return m_now; });
    }
    void cleanupTestCase()
    {
        cad::clock::set({});
        m_fx.reset();
    }

    void newSupplierIsCopied()
    {
        SupplierInput in;
        in.nome = QStringLiteral("ACME");
        in.document = QStringLiteral("22.333.444/0001-81");
        enterNew(*m_f, in);
        type(*m_f, "dbedtTelefone1", QStringLiteral("(31) 3333-4444"));
        type(*m_f, "dbedtEmail", QStringLiteral("Compras@Acme.com.br"));
        // The CNPJ look-up writes the company name as the registry returns it.
        m_f->tbFornecedor.setValue(QStringLiteral("Nome"), QStringLiteral("Acme Comércio Ltda"));
        m_f->tbFornecedor.setValue(QStringLiteral("nomefan"), QStringLiteral("acme"));
        click(*m_f, "ToolButton7");
        QVERIFY(m_fx->takeMessages().isEmpty());

        const QString key = QStringLiteral("22333444000181");
        QCOMPARE(centralCount(key), 1);
        const QString nome = QStringLiteral("Acme Comércio Ltda");
        const QString city =
            m_fx->local(QStringLiteral(
                            "SELECT codigo FROM municipios_ibge WHERE nome='Belo Horizonte' AND uf='MG'"))
                .value(0);
        const QList<std::pair<const char*, QString>> expected = {
            {"CodigoFornecedor", local(nome, QStringLiteral("CodigoFornecedor"))},
            {"codigofilial", QStringLiteral("7")},
            {"filial", QStringLiteral("LOJA CENTRO")},
            {"razaosocial", QStringLiteral("ACME COMéRCIO LTDA")},
            {"nomefantasia", QStringLiteral("ACME")},
            {"Endereco", QStringLiteral("RUA DAS FLORES")},
            {"Numero", QStringLiteral("100")},
            {"Bairro", QStringLiteral("CENTRO")},
            {"Cidade", QStringLiteral("BELO HORIZONTE")},
            {"CodigoCidade", city},
            {"Cep", QStringLiteral("30130010")},
            {"Estado", QStringLiteral("MG")},
            {"Telefone1", QStringLiteral("(31) 3333-4444")},
            {"email", QStringLiteral("Compras@Acme.com.br")},
            {"TipoContribuinte", QStringLiteral("1")},
            {"dataauniao", QStringLiteral("2026-03-04")},
            {"horauniao", QStringLiteral("10:11:12")},
        };
        for (const auto& [column, value] : expected)
            QCOMPARE(central(key, QLatin1String(column)), value);
        QCOMPARE(central(QString(), QStringLiteral("razaosocial")), QStringLiteral("SEM CHAVE"));
    }

    // Optional values the supplier does not have arrive as NULL, not as empty texts.
    void absentOptionalValuesStayNull()
    {
        const QString key = QStringLiteral("22333444000181"); // copied by the test above
        const QString nome = QStringLiteral("Acme Comércio Ltda");
        const auto isNull = [&](bool centralRow, const char* column) {
            const QString sql =
                QStringLiteral("SELECT %1 IS NULL FROM fornecedor WHERE %2")
                    .arg(QLatin1String(column), centralRow ? QStringLiteral("Cgccpf='%1'").arg(key)
                                                           : QStringLiteral("Nome='%1'").arg(nome));
            return (centralRow ? m_fx->central(sql) : m_fx->local(sql)).value(0) == QLatin1String("1");
        };
        int nulls = 0;
        for (const char* column : {"Telefone2", "contato", "ie", "complemento"}) {
            QVERIFY2(isNull(true, column) == isNull(false, column), column);
            nulls += isNull(false, column);
        }
        QVERIFY(nulls > 0);              // the case under test is there
        QVERIFY(!isNull(true, "email")); // a value typed still arrives
    }

    void secondSaveUpdatesTheSameRow()
    {
        const QString key = QStringLiteral("22333444000181");
        const QString controle = central(key, QStringLiteral("controle"));
        const QString processed = central(key, QStringLiteral("dataprocessamento"));
        QVERIFY(!controle.isEmpty());
        QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("Cgccpf")), QStringLiteral("22.333.444/0001-81"));
        m_now = QDateTime(QDate(2026, 3, 5), QTime(16, 17, 18));

        type(*m_f, "dbedtNumero", QStringLiteral("200"));
        click(*m_f, "ToolButton7");

        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(centralCount(key), 1);
        QCOMPARE(central(key, QStringLiteral("controle")), controle);
        QCOMPARE(central(key, QStringLiteral("dataprocessamento")), processed);
        QCOMPARE(central(key, QStringLiteral("Numero")), QStringLiteral("200"));
        QCOMPARE(central(key, QStringLiteral("dataauniao")), QStringLiteral("2026-03-05"));
        QCOMPARE(central(key, QStringLiteral("horauniao")), QStringLiteral("16:17:18"));
    }

    void incompleteSupplierIsNotCopied_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("cidade");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("empty Numero") << "333.444.555-08"
                                      << ""
                                      << "BELO HORIZONTE" << QStringList{};
        QTest::newRow("municipality only picked from the list") << "444.555.666-19"
                                                                << "10"
                                                                << "" << QStringList{};
        QTest::newRow("document without digits")
            << "ISENTO"
            << "10"
            << "BELO HORIZONTE" << QStringList{"CPF ou CNPJ é Obrigatório !!!"};
    }
    void incompleteSupplierIsNotCopied()
    {
        QFETCH(QString, document);
        QFETCH(QString, numero);
        QFETCH(QString, cidade);
        QFETCH(QStringList, messages);
        const QString before = m_fx->central(QStringLiteral("SELECT COUNT(*) FROM fornecedor")).value(0);
        SupplierInput in;
        in.nome = QStringLiteral("INCOMPLETO ") + document;
        in.document = document;
        in.numero = numero;
        in.cidade = cidade;
        enterNew(*m_f, in);

        click(*m_f, "ToolButton7");

        QStringList shown;
        for (const auto& m : m_fx->takeMessages())
            shown << m.text;
        QCOMPARE(shown, messages);
        QCOMPARE(local(in.nome, QStringLiteral("COUNT(*)")), QStringLiteral("1"));
        QCOMPARE(m_fx->central(QStringLiteral("SELECT COUNT(*) FROM fornecedor")).value(0), before);
        QCOMPARE(central(QString(), QStringLiteral("razaosocial")), QStringLiteral("SEM CHAVE"));
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Browse);
    }

    void copiedValues_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("field"); // a widget (typed) or a record column (written by a look-up)
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("column"); // central expression
        QTest::addColumn<QString>("expected");

        QTest::newRow("key is the digits alone") << "555.666.777-20"
                                                 << ""
                                                 << ""
                                                 << "Cgccpf"
                                                 << "55566677720";
        QTest::newRow("upper case only for a to z") << "666.777.888-30"
                                                    << "Bairro"
                                                    << "vila são joão"
                                                    << "Bairro"
                                                    << "VILA SãO JOãO";
        QTest::newRow("street cut to the central width")
            << "777.888.999-41"
            << "Endereco"
            << "avenida presidente juscelino kubitschek de oliveira 12"
            << "Endereco"
            << "AVENIDA PRESIDENTE JUSCELINO KUBITSCHEK ";
        QTest::newRow("CEP as digits") << "222.333.444-05"
                                       << "dbedtCep"
                                       << "12345-678"
                                       << "Cep"
                                       << "12345678";
        QTest::newRow("municipality code 0, no central name")
            << "33.444.555/0001-81"
            << "dblkcbbufs"
            << "Exterior"
            << "CONCAT(CodigoCidade, '/', COALESCE(Cidade, ''))"
            << "0/";
    }
    void copiedValues()
    {
        QFETCH(QString, document);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, column);
        QFETCH(QString, expected);
        SupplierInput in;
        in.nome = QStringLiteral("VALORES ") + document;
        in.document = document;
        if (field == QStringLiteral("dblkcbbufs")) {
            in.estado = value;
            in.municipio.clear();
        }
        enterNew(*m_f, in);
        if (field.startsWith(QStringLiteral("dbedt")))
            type(*m_f, qPrintable(field), value);
        else if (!field.isEmpty() && !field.startsWith(QStringLiteral("dblk")))
            m_f->tbFornecedor.setValue(field, value);

        click(*m_f, "ToolButton7");

        QVERIFY(m_fx->takeMessages().isEmpty());
        const QString key = QString(document).remove(QRegularExpression(QStringLiteral("[^0-9]")));
        QCOMPARE(centralCount(key), 1);
        QCOMPARE(central(key, column), expected);
    }

    void everySaveIsCopied_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("numero");
        QTest::newRow("moving to another row") << "move"
                                               << "301";
        QTest::newRow("Ctrl+S") << "ctrl+s"
                                << "302";
    }
    void everySaveIsCopied()
    {
        QFETCH(QString, how);
        QFETCH(QString, numero);
        const QString key = QStringLiteral("22333444000181"); // the supplier of newSupplierIsCopied
        const QString code =
            m_fx->local(QStringLiteral("SELECT CodigoFornecedor FROM fornecedor WHERE Cgccpf = "
                                       "'22.333.444/0001-81'"))
                .value(0);
        const QString other = m_fx->local(QStringLiteral("SELECT MIN(CodigoFornecedor) FROM fornecedor WHERE "
                                                         "CodigoFornecedor <> %1")
                                              .arg(code))
                                  .value(0);
        clickSupplier(*m_f, code);
        type(*m_f, "dbedtNumero", numero);

        if (how == QStringLiteral("move"))
            clickSupplier(*m_f, other);
        else
            QTest::keyClick(control<QWidget>(*m_f, "dbedtNumero"), Qt::Key_S, Qt::ControlModifier);

        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(m_f->tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(centralCount(key), 1);
        QCOMPARE(central(key, QStringLiteral("Numero")), numero);
    }

    void storeCodeInTheLocaleFormat()
    {
        // A store code with decimals is stored in the locale's format and read back as a number.
        m_fx->local(QStringLiteral("UPDATE configuracao SET codigoparvix = 12.5"));
        m_f = &m_fx->openScreen();
        SupplierInput in;
        in.nome = QStringLiteral("FILIAL DECIMAL");
        in.document = QStringLiteral("66.777.888/0001-81");
        enterNew(*m_f, in);

        click(*m_f, "ToolButton7");

        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(local(in.nome, QStringLiteral("codigoparvix")), QStringLiteral("12,5"));
        QCOMPARE(central(QStringLiteral("66777888000181"), QStringLiteral("codigofilial")),
                 QStringLiteral("12.5"));
    }

    // The key keeps a CNPJ's letters: companies that share the digits keep a row each, and a
    // number with those digits is a third one.
    void alphanumericKeysKeepTheirOwnRows()
    {
        const QList<std::pair<QString, QString>> suppliers = {
            {QStringLiteral("ALFA UM"), QStringLiteral("12.ABC.345/01DE-35")},
            {QStringLiteral("ALFA DOIS"), QStringLiteral("12.xyz.345/01de-02")},
            {QStringLiteral("ALFA NUMERO"), QStringLiteral("123450135")},
        };
        m_fx->central(QStringLiteral("INSERT INTO fornecedor (Cgccpf, razaosocial) VALUES ('123450135', "
                                     "'SO DIGITOS')"));
        for (const auto& [nome, document] : suppliers) {
            SupplierInput in;
            in.nome = nome;
            in.document = document;
            enterNew(*m_f, in);
            click(*m_f, "ToolButton7");
            (void)m_fx->takeMessages(); // the 9 digits are checked as a CPF
        }
        QCOMPARE(centralCount(QStringLiteral("12ABC34501DE35")), 1);
        QCOMPARE(centralCount(QStringLiteral("12XYZ34501DE02")), 1);
        QCOMPARE(centralCount(QStringLiteral("123450135")), 1);
        QCOMPARE(central(QStringLiteral("12ABC34501DE35"), QStringLiteral("razaosocial")),
                 QStringLiteral("ALFA UM"));
        QCOMPARE(central(QStringLiteral("12XYZ34501DE02"), QStringLiteral("razaosocial")),
                 QStringLiteral("ALFA DOIS"));
        QCOMPARE(central(QStringLiteral("123450135"), QStringLiteral("razaosocial")),
                 QStringLiteral("ALFA NUMERO"));
    }

    void punctuatedLocalKeyFindsTheDigitsRow()
    {
        m_fx->central(QStringLiteral(
            "INSERT INTO fornecedor (Cgccpf, razaosocial) VALUES ('44555666000181', 'NOME ANTIGO')"));
        const QString controle = central(QStringLiteral("44555666000181"), QStringLiteral("controle"));
        SupplierInput in;
        in.nome = QStringLiteral("NOME NOVO");
        in.document = QStringLiteral("44.555.666/0001-81");
        enterNew(*m_f, in);

        click(*m_f, "ToolButton7");

        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(local(in.nome, QStringLiteral("Cgccpf")), in.document);
        QCOMPARE(centralCount(QStringLiteral("44555666000181")), 1);
        QCOMPARE(central(QStringLiteral("44555666000181"), QStringLiteral("controle")), controle);
        QCOMPARE(central(QStringLiteral("44555666000181"), QStringLiteral("razaosocial")), in.nome);
    }
};

QTEST_MAIN(CentralTest)
#include "tst_central.moc"
