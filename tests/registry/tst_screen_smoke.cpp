// The supplier screen starts over the real servers: caption, empty closed list, browse layout.
#include "tests/registry/ScreenFixture.h"

#include <QtTest>

class ScreenSmokeTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::ScreenFixture> m_fx;

private Q_SLOTS:
    void initTestCase() { m_fx = std::make_unique<testsupport::ScreenFixture>(QStringLiteral("smoke")); }
    void cleanupTestCase() { m_fx.reset(); }

    void startsWithCaptionAndClosedList()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen(QStringLiteral("MARIA"));
        QCOMPARE(f.windowTitle(),
                 QStringLiteral("Atualizado 24-08-2023 / 19:30 - Nome do Usuário : MARIA - LOJA CENTRO"));
        QVERIFY(!f.tbFornecedor.isOpen());
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Browse);
        QCOMPARE(f.currentTab(), QStringLiteral("Listagem"));
        QVERIFY(m_fx->takeMessages().isEmpty());
        // Navigation and "Atualizar" do nothing while the list is closed.
        f.AtualizarClick();
        QVERIFY(!f.tbFornecedor.isOpen());
    }
};

QTEST_MAIN(ScreenSmokeTest)
#include "tst_screen_smoke.moc"
