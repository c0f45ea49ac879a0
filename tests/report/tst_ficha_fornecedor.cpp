// The supplier sheet over the real local server: one page per supplier in name order, every
// caption and value where the form puts it, and the cases where values grow.
#include "data/RecordSet.h"
#include "report/ReportLayout.h"
#include "report/ReportPainter.h"
#include "reports/TrptFicha_FO.h"
#include "tests/support/TestDb.h"
#include <QProcess>
#include <QRegularExpression>

#include <QtTest>

using namespace cad;
using namespace cad::report;
using testsupport::Role;

class FichaFornecedorTest : public QObject
{
    Q_OBJECT
    testsupport::TestDatabase m_db{Role::Local, QStringLiteral("ficha")};
    std::unique_ptr<Connection> m_conn = m_db.connection(QStringLiteral("local"));
    std::unique_ptr<RecordSet> m_data;

    /// The sheet over the table as it is now, titled as the supplier screen titles it.
    std::unique_ptr<ReportLayout> layout(std::unique_ptr<TrptFicha_FO>& sheet)
    {
        m_data =
            std::make_unique<RecordSet>(*m_conn, QStringLiteral("SELECT * FROM fornecedor ORDER BY Nome"));
        m_data->open();
        sheet = std::make_unique<TrptFicha_FO>(*m_data);
        sheet->setTitle(QStringLiteral("Relatório Fornecedores por Nome"));
        return std::make_unique<ReportLayout>(sheet->form());
    }
    static QString textOf(const PageContent& c, const char* item)
    {
        return c.textsOf(QLatin1String(item)).at(0)->text;
    }
    static QRectF boxOf(const PageContent& c, const char* item)
    {
        return c.textsOf(QLatin1String(item)).at(0)->rectMm;
    }
    static constexpr qreal kPtPerMm = 72 / 25.4;
    struct Word
    {
        int page;
        QRectF box; ///< in points from the paper's corner
    };
    /// Every word of the PDF at PATH as poppler reads it.
    static QList<Word> pdfWords(const QString& path)
    {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
        if (!pdftotext.waitForFinished(60000)) qFatal("pdftotext did not run");
        const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
        static const QRegularExpression word(QStringLiteral(
            R"re(<page|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)")re"));
        QList<Word> out;
        int page = -1;
        for (const QRegularExpressionMatch& m : word.globalMatch(html)) {
            if (m.captured(0) == QLatin1String("<page"))
                ++page;
            else
                out << Word{page, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))};
        }
        return out;
    }

private Q_SLOTS:
    void init() { m_db.sql(QStringLiteral("DELETE FROM fornecedor")); }

    void threeSuppliersGiveThreeTitledPagesByName()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('ZÉLIA'), ('ANTÔNIO'), ('MÁRCIO')"));
        std::unique_ptr<TrptFicha_FO> sheet;
        const auto pages = layout(sheet);
        QCOMPARE(pages->pageCount(), 3);
        QStringList names;
        for (int p = 0; p < 3; ++p) {
            const PageContent c = pages->content(p);
            QCOMPARE(c.bands.size(), size_t(1));
            QCOMPARE(c.textsOf(TrptFicha_FO::kTitleItem).size(), size_t(1));
            QCOMPARE(textOf(c, "lblTitulo"), QStringLiteral("Relatório Fornecedores por Nome"));
            names << textOf(c, "fldNome");
        }
        QCOMPARE(names,
                 (QStringList{QStringLiteral("ANTÔNIO"), QStringLiteral("MÁRCIO"), QStringLiteral("ZÉLIA")}));
    }

    void itemsOfTheSheet_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPointF>("topLeft"); // on the paper: band corner at 10 mm, 10 mm
        auto row = [](const char* item, const QString& text, qreal top, qreal left) {
            QTest::newRow(item) << QString::fromLatin1(item) << text << QPointF(10 + left, 10 + top);
        };
        row("lblFornecedor", QStringLiteral("Fornecedor: "), 40.8, 4.2);
        row("fldCodigofornecedor", QStringLiteral("42"), 40.1, 38.6);
        row("fldNome", QStringLiteral("DISTRIBUIDORA SOL LTDA"), 40.8, 65.5);
        row("lblEndereco", QStringLiteral("Endereço: "), 52.2, 4.2);
        row("fldEndereco", QStringLiteral("RUA AUGUSTA"), 51.8, 34.0);
        row("lblBairro", QStringLiteral("Bairro: "), 63.5, 4.2);
        row("fldBairro", QStringLiteral("CONSOLAÇÃO"), 63.5, 26.5);
        row("lblCidade", QStringLiteral("Cidade: "), 73.3, 4.2);
        row("fldCidade", QStringLiteral("SÃO PAULO"), 73.3, 26.5);
        row("lblEstado", QStringLiteral("Estado: "), 73.3, 109.6);
        row("fldEstado", QStringLiteral("SP"), 73.3, 131.5);
        row("lblCep", QStringLiteral("CEP: "), 73.3, 145.9);
        row("fldCep", QStringLiteral("01310-100"), 73.3, 161.0);
        row("lblTelefones", QStringLiteral("Telefones:"), 84.3, 4.2);
        row("fldTelefone1", QStringLiteral("(11) 3333-4444"), 84.3, 32.5);
        row("fldTelefone2", QStringLiteral("(11) 5555-6666"), 84.3, 70.0);
        row("lblTipo", QStringLiteral("Tipo:"), 94.9, 4.2);
        row("fldTipo", QStringLiteral("ATACADO"), 94.9, 20.0);
        row("lblCgccpf", QStringLiteral("CGC/CPF:"), 94.9, 67.0);
        row("fldCgccpf", QStringLiteral("11.222.333/0001-81"), 94.9, 93.5);
        row("lblObs", QStringLiteral("OBS:"), 108.1, 4.2);
        row("fldObs", QStringLiteral("ENTREGA ÀS TERÇAS"), 108.5, 45.0);
    }
    void itemsOfTheSheet()
    {
        QFETCH(QString, item);
        QFETCH(QString, text);
        QFETCH(QPointF, topLeft);
        m_db.sql(QStringLiteral(
            "INSERT INTO fornecedor (CodigoFornecedor, Nome, Endereco, Bairro, Cidade, Estado, Cep, "
            "Telefone1, Telefone2, Tipo, Cgccpf, Obs) VALUES (42, 'DISTRIBUIDORA SOL LTDA', "
            "'RUA AUGUSTA', 'CONSOLAÇÃO', 'SÃO PAULO', 'SP', '01310-100', '(11) 3333-4444', "
            "'(11) 5555-6666', 'ATACADO', '11.222.333/0001-81', 'ENTREGA ÀS TERÇAS')"));
        std::unique_ptr<TrptFicha_FO> sheet;
        const PageContent c = layout(sheet)->content(0);
        const auto placed = c.textsOf(item);
        QCOMPARE(placed.size(), size_t(1));
        QCOMPARE(placed[0]->text, text);
        QCOMPARE(qRound(placed[0]->rectMm.left() * 10), qRound(topLeft.x() * 10));
        QCOMPARE(qRound(placed[0]->rectMm.top() * 10), qRound(topLeft.y() * 10));
        QCOMPARE(placed[0]->font.family(),
                 item.startsWith(QLatin1String("lbl")) ? QStringLiteral("Tahoma") : QStringLiteral("Arial"));
        QCOMPARE(placed[0]->font.bold(), item.startsWith(QLatin1String("lbl")));
        QCOMPARE(placed[0]->font.pointSizeF(), 14.0);
    }

    void titleIsCentredAcrossTheBand()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('A')"));
        std::unique_ptr<TrptFicha_FO> sheet;
        const QRectF title = boxOf(layout(sheet)->content(0), "lblTitulo");
        QCOMPARE(qRound(title.top() * 10), 187);
        QCOMPARE(qRound(title.center().x() * 10), qRound((10 + 190.1 / 2) * 10));
        QVERIFY(title.left() >= 10 && title.right() <= 200.1);
    }

    void supplierWithoutTelephonesKeepsTheCaption()
    {
        m_db.sql(QStringLiteral(
            "INSERT INTO fornecedor (Nome, Telefone1, Telefone2) VALUES ('SEM FONE', NULL, '')"));
        std::unique_ptr<TrptFicha_FO> sheet;
        const PageContent c = layout(sheet)->content(0);
        QCOMPARE(textOf(c, "lblTelefones"), QStringLiteral("Telefones:"));
        QCOMPARE(textOf(c, "fldTelefone1"), QString());
        QCOMPARE(textOf(c, "fldTelefone2"), QString());
        QCOMPARE(boxOf(c, "fldTelefone1").width(), 0.0);
    }

    void longValuesGrow()
    {
        // A 43-character street runs past its 22.3 mm box; a 10-digit code wraps inside its own.
        const QString street = QStringLiteral("AVENIDA BRIGADEIRO FARIA LIMA, CONJUNTO 12");
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (CodigoFornecedor, Nome, Endereco, Estado) "
                                "VALUES (1234567890, 'LONGO', '%1', 'SP')")
                     .arg(street));
        std::unique_ptr<TrptFicha_FO> sheet;
        const PageContent c = layout(sheet)->content(0);
        const QRectF streetBox = boxOf(c, "fldEndereco");
        QCOMPARE(textOf(c, "fldEndereco"), street);
        QVERIFY(streetBox.width() > 22.3 * 3);
        QCOMPARE(streetBox.height(), boxOf(c, "fldNome").height()); // still one line
        const QRectF code = boxOf(c, "fldCodigofornecedor");
        QCOMPARE(textOf(c, "fldCodigofornecedor"), QStringLiteral("1234567890"));
        QCOMPARE(code.width(), 25.5);
        QVERIFY(code.height() > 1.5 * boxOf(c, "fldNome").height());
        QVERIFY(code.bottom() <= boxOf(c, "lblEndereco").top());
    }

    void streetAtTheLongestStaysOnThePaper()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome, Endereco) VALUES ('LARGO', REPEAT('W', 55))"));
        std::unique_ptr<TrptFicha_FO> sheet;
        const PageContent c = layout(sheet)->content(0);
        const QRectF street = boxOf(c, "fldEndereco");
        QCOMPARE(textOf(c, "fldEndereco").remove(QLatin1Char('\n')), QString(55, QLatin1Char('W')));
        QVERIFY(street.right() <= 10 + 190.1 + 0.01);
        QVERIFY(street.height() > 1.5 * boxOf(c, "fldNome").height());
        QVERIFY(street.bottom() <= boxOf(c, "lblBairro").top());
    }

    // Ordinary values, and values too long for their room, never reach the next item: in the
    // layout, and in the words of the printed PDF. A long note goes on over further pages.
    void valuesNeverCoverEachOther_data()
    {
        QTest::addColumn<QString>("values"); // the columns of the INSERT below
        QTest::addColumn<int>("pages");
        QTest::newRow("ordinary values")
            << "123456789, 'DISTRIBUIDORA SOL LTDA', 'SÃO PAULO', 'SP', '01310-100', '(11) 98765-4321', "
               "'(11) 3333-4444', 'PESSOA JURIDICA', '11.222.333/0001-81', 'ENTREGA ÀS TERÇAS'"
            << 1;
        QTest::newRow("too long for their room")
            << "123456789, REPEAT('NOME ', 10), REPEAT('CIDADE ', 7), 'MG', '30130-010', REPEAT('9', 15), "
               "REPEAT('8', 15), REPEAT('TIPO ', 10), '11.222.333/0001-81', REPEAT('OBSERVAÇÃO ', 580)"
            << 4;
    }
    void valuesNeverCoverEachOther()
    {
        QFETCH(QString, values);
        QFETCH(int, pages);
        m_db.sql(
            QStringLiteral("INSERT INTO fornecedor (CodigoFornecedor, Nome, Cidade, Estado, Cep, Telefone1, "
                           "Telefone2, Tipo, Cgccpf, Obs) VALUES (%1)")
                .arg(values));
        std::unique_ptr<TrptFicha_FO> sheet;
        const auto pagesLaidOut = layout(sheet);
        QCOMPARE(pagesLaidOut->pageCount(), pages);
        const QRectF paper(10, 10, 190.1, 277);
        QString obs;
        for (int p = 0; p < pages; ++p) {
            const PageContent c = pagesLaidOut->content(p);
            for (const PlacedText& a : c.texts) {
                QVERIFY2(paper.contains(a.rectMm.adjusted(0.02, 0.02, -0.02, -0.02)), qPrintable(a.item));
                for (const PlacedText& b : c.texts)
                    if (&a != &b && !a.text.isEmpty() && !b.text.isEmpty())
                        QVERIFY2(!a.rectMm.adjusted(0.02, 0.02, -0.02, -0.02).intersects(b.rectMm),
                                 qPrintable(a.item + QStringLiteral(" covers ") + b.item));
            }
            for (const PlacedText* t : c.textsOf(QStringLiteral("fldObs")))
                obs += t->text;
        }
        if (pages == 1) {
            QCOMPARE(textOf(pagesLaidOut->content(0), "fldTelefone1"), QStringLiteral("(11) 98765-4321"));
            QCOMPARE(textOf(pagesLaidOut->content(0), "fldTipo"), QStringLiteral("PESSOA JURIDICA"));
            QCOMPARE(textOf(pagesLaidOut->content(0), "fldCodigofornecedor"), QStringLiteral("123456789"));
        } else {
            // The whole note, over the pages, and nothing else continues.
            QCOMPARE(obs.remove(QLatin1Char('\n')).trimmed(),
                     QStringLiteral("OBSERVAÇÃO ").repeated(580).trimmed());
            QCOMPARE(pagesLaidOut->content(1).texts.size(), size_t(1));
        }

        // The printed words: none runs into the next one on its line, none leaves the frame.
        const QString pdf = QDir::temp().filePath(QStringLiteral("ficha-%1.pdf").arg(pages));
        exportPdf(*pagesLaidOut, pdf);
        const QList<Word> words = pdfWords(pdf);
        QFile::remove(pdf);
        QVERIFY(!words.isEmpty());
        QCOMPARE(words.last().page + 1, pages);
        const QRectF framePt(10 * kPtPerMm, 10 * kPtPerMm, 190.1 * kPtPerMm, 277 * kPtPerMm);
        for (qsizetype i = 0; i < words.size(); ++i) {
            const Word& a = words[i];
            QVERIFY(framePt.contains(a.box));
            for (qsizetype j = i + 1; j < words.size(); ++j)
                if (words[j].page == a.page && qAbs(words[j].box.center().y() - a.box.center().y()) < 3)
                    QVERIFY2(!a.box.adjusted(0.3, 0, -0.3, 0).intersects(words[j].box),
                             qPrintable(QStringLiteral("words %1 and %2 overlap").arg(i).arg(j)));
        }
    }

    void emptyTableGivesOneFramedPage()
    {
        std::unique_ptr<TrptFicha_FO> sheet;
        const auto pages = layout(sheet);
        QCOMPARE(pages->pageCount(), 1);
        QVERIFY(pages->content(0).texts.empty());
        const QImage page = renderPage(*pages, 0, 100);
        int dark = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                dark += qGray(page.pixel(x, y)) < 200;
        // Only the frame: about the perimeter of 190 x 277 mm at 100 dpi, nothing more.
        const int perimeter = int(2 * (190 + 277) * 100 / 25.4);
        QVERIFY2(dark > perimeter / 2 && dark < perimeter * 2, qPrintable(QString::number(dark)));
    }
};

QTEST_MAIN(FichaFornecedorTest)
#include "tst_ficha_fornecedor.moc"
