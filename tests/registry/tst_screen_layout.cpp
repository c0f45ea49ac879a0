// At 1366 x 768 and larger every visible control of every tab and area lies inside the window,
// no two sibling controls overlap and no caption is squeezed, in both command-bar layouts.
#include "tests/registry/ScreenSteps.h"

#include <QTabWidget>

using namespace testsupport;

class ScreenLayoutTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;

    static QString describe(const QWidget* w)
    {
        QString path;
        for (const QWidget* p = w; p && !p->isWindow(); p = p->parentWidget())
            path.prepend(QStringLiteral("/") + (p->objectName().isEmpty()
                                                    ? QString::fromLatin1(p->metaObject()->className())
                                                    : p->objectName()));
        return path;
    }

    // Problems found under W: a control outside the window, or overlapping a visible sibling.
    static void check(const QWidget* window, const QWidget* w, QStringList& problems)
    {
        QList<const QWidget*> shown;
        for (QObject* o : w->children()) {
            auto* c = qobject_cast<const QWidget*>(o);
            if (c && !c->isWindow() && c->isVisible() && !c->size().isEmpty()) shown << c;
        }
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const QRect r(shown[i]->mapTo(window, QPoint(0, 0)), shown[i]->size());
            if (!window->rect().contains(r))
                problems << QStringLiteral("%1 outside the window: %2,%3 %4x%5")
                                .arg(describe(shown[i]))
                                .arg(r.x())
                                .arg(r.y())
                                .arg(r.width())
                                .arg(r.height());
            for (qsizetype j = i + 1; j < shown.size(); ++j)
                if (shown[i]->geometry().intersects(shown[j]->geometry()))
                    problems << QStringLiteral("%1 overlaps %2").arg(describe(shown[i]), describe(shown[j]));
            // A caption squeezed below what it needs shows only part of itself. (Fields keep their
            // design widths: a list elides a long name, as its drop-down shows it whole.)
            const QSize need = shown[i]->minimumSizeHint();
            if ((shown[i]->inherits("QLabel") || shown[i]->inherits("QAbstractButton")) &&
                (shown[i]->width() < need.width() || shown[i]->height() < need.height()))
                problems << QStringLiteral("%1 clipped: %2x%3, needs %4x%5")
                                .arg(describe(shown[i]))
                                .arg(shown[i]->width())
                                .arg(shown[i]->height())
                                .arg(need.width())
                                .arg(need.height());
            check(window, shown[i], problems);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("layout"));
        addSupplier(*m_fx, 1, QStringLiteral("ALFA"));
    }
    void cleanupTestCase() { m_fx.reset(); }

    void everyControlFits_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("editing");
        for (QSize size : {QSize(1366, 768), QSize(1920, 1080)})
            for (int tab = 0; tab < 3; ++tab)
                for (bool editing : {false, true})
                    QTest::addRow("%dx%d, tab %d, %s layout", size.width(), size.height(), tab,
                                  editing ? "editing" : "browse")
                        << size << tab << editing;
    }
    void everyControlFits()
    {
        QFETCH(QSize, size);
        QFETCH(int, tab);
        QFETCH(bool, editing);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        f.setFixedSize(size);
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("1"));
        if (editing) typeInto(f, QStringLiteral("dbedtNome"), QStringLiteral("X"));
        QCOMPARE(f.bars(), editing ? cad::TfrmFornecedor::Bars::Editing : cad::TfrmFornecedor::Bars::Browse);
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(tab);
        QApplication::processEvents(); // layouts settle on the posted layout requests
        QCOMPARE(f.size(), size);
        QStringList problems;
        check(&f, &f, problems);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(ScreenLayoutTest)
#include "tst_screen_layout.moc"
