// "Endereços Encontrados" and its base dialog: the frame and caption bar as painted, dragging by
// the caption bar, texts cut to their fields, and which row OK takes.
#include "address/ui/TfrmEnderecosEncontrados.h"
#include "tests/support/Widgets.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTableView>
#include <QtTest>

using cad::TfrmEnderecosEncontrados;

namespace {

QHash<QString, QString> address(const QString& street, const QString& uf = QStringLiteral("SP"))
{
    return {{QStringLiteral("Logradouro"), street},
            {QStringLiteral("Complemento"), QStringLiteral("LADO PAR")},
            {QStringLiteral("Bairro"), QStringLiteral("CENTRO")},
            {QStringLiteral("Cidade"), QStringLiteral("São Paulo")},
            {QStringLiteral("CodigoCidade"), QStringLiteral("3550308")},
            {QStringLiteral("UF"), uf}};
}

} // namespace

class EnderecosEncontradosTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paintedFrameAndCaption()
    {
        TfrmEnderecosEncontrados d;
        QVERIFY(d.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(d.size(), QSize(697, 322));
        QLabel* caption = d.captionBar();
        QCOMPARE(caption->text(), QStringLiteral("Endereços Encontrados"));
        QCOMPARE(caption->font().pixelSize(), 32);
        QVERIFY(caption->font().bold());
        QCOMPARE(caption->font().family(), QStringLiteral("Arial"));
        QCOMPARE(caption->alignment(), Qt::AlignCenter);

        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        const QImage image = d.grab().toImage();
        const QColor navy(0, 0, 128), bar(0, 99, 147);
        for (const QPoint p : {QPoint(0, 0), QPoint(2, 160), QPoint(694, 319), QPoint(348, 321)})
            QCOMPARE(image.pixelColor(p), navy);
        QCOMPARE(image.pixelColor(3, 3), bar); // the caption bar starts inside the frame
        QCOMPARE(image.pixelColor(8, 52), bar);
        QVERIFY(image.pixelColor(8, 53) != bar); // and is 50 pixels high
        QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(Qt::white));
    }

    void centredOnTheScreen()
    {
        TfrmEnderecosEncontrados d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        const QPoint centre = d.screen()->availableGeometry().center();
        QVERIFY2((d.frameGeometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("centre at %1,%2")
                                .arg(d.frameGeometry().center().x())
                                .arg(d.frameGeometry().center().y())));
    }

    void draggedByTheCaptionBar_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("left button") << Qt::LeftButton << true;
        QTest::newRow("right button") << Qt::RightButton << false;
        QTest::newRow("middle button") << Qt::MiddleButton << false;
    }
    void draggedByTheCaptionBar()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, moves);
        TfrmEnderecosEncontrados d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        const QPoint before = d.pos();
        QLabel* caption = d.captionBar();
        const QPoint grab(40, 20);
        QTest::mousePress(caption, button, {}, grab);
        const QPoint to = grab + QPoint(-30, 25);
        QMouseEvent move(QEvent::MouseMove, to, caption->mapToGlobal(to), Qt::NoButton, button, {});
        QApplication::sendEvent(caption, &move);
        QTest::mouseRelease(caption, button, {}, to);
        QCOMPARE(d.pos(), moves ? before + QPoint(-30, 25) : before);
    }

    void textsCutToTheirFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("kept");
        QTest::newRow("Logradouro") << "Logradouro" << 150;
        QTest::newRow("Complemento") << "Complemento" << 100;
        QTest::newRow("Bairro") << "Bairro" << 100;
        QTest::newRow("Cidade") << "Cidade" << 100;
        QTest::newRow("CodigoCidade") << "CodigoCidade" << 20;
        QTest::newRow("UF") << "UF" << 2;
    }
    void textsCutToTheirFields()
    {
        QFETCH(QString, field);
        QFETCH(int, kept);
        TfrmEnderecosEncontrados d;
        const QString longText(300, QLatin1Char('x'));
        d.VirtualTable1.append({{field, longText}});
        QCOMPARE(d.VirtualTable1.value(field), longText.left(kept));
    }

    // The row taken is the one the grid stands on when OK is pressed; a new row becomes current.
    void okTakesTheGridsRow_data()
    {
        QTest::addColumn<int>("clickedRow");
        QTest::addColumn<QString>("taken");
        QTest::newRow("untouched: the last") << -1 << "RUA C";
        QTest::newRow("first clicked") << 0 << "RUA A";
        QTest::newRow("second clicked") << 1 << "RUA B";
    }
    void okTakesTheGridsRow()
    {
        QFETCH(int, clickedRow);
        QFETCH(QString, taken);
        TfrmEnderecosEncontrados d;
        QAbstractItemModelTester tester(&d.VirtualTable1,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        d.VirtualTable1.clear();
        for (const char* street : {"RUA A", "RUA B", "RUA C"})
            d.VirtualTable1.append(address(QString::fromLatin1(street)));
        testsupport::ModalAnswer<TfrmEnderecosEncontrados> answer([&](TfrmEnderecosEncontrados& shown) {
            QTableView* grid = shown.grid();
            if (clickedRow >= 0)
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                  grid->visualRect(shown.VirtualTable1.index(clickedRow, 1)).center());
            testsupport::click(shown, QStringLiteral("btnOK"));
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QCOMPARE(d.VirtualTable1.value(QStringLiteral("Logradouro")), taken);
        QCOMPARE(d.VirtualTable1.value(QStringLiteral("CodigoCidade")), QStringLiteral("3550308"));
    }
};

QTEST_MAIN(EnderecosEncontradosTest)
#include "tst_enderecos_encontrados.moc"
