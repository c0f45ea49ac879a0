#pragma once
// What an operator does on the supplier screen, step by step, for the screen and search tests.
#include "data/widgets/DbGrid.h"
#include "registry/TfrmFornecedor.h"
#include "tests/registry/ScreenFixture.h"
#include "tests/support/Widgets.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

namespace testsupport {

/// Types TEXT key by key; letters beyond ASCII (ç, ã) as the key of that letter.
inline void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClicks(w, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

/// Clicks into a field and types TEXT at its end.
inline void typeInto(QWidget& form, const QString& field, const QString& text)
{
    auto* e = control<QLineEdit>(form, field);
    QTest::mouseClick(e, Qt::LeftButton);
    e->setFocus(Qt::MouseFocusReason);
    e->end(false);
    typeText(e, text);
}

/// Replaces the search box's text and presses the search button BUTTON.
inline void search(QWidget& form, const QString& button, const QString& text)
{
    auto* box = control<QLineEdit>(form, QStringLiteral("edtPesquisa"));
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
    click(form, button);
}

inline cad::DbGrid* supplierList(QWidget& form)
{
    return control<cad::DbGrid>(form, QStringLiteral("grdFornecedor"));
}

/// Clicks row ROW of the supplier list (company-name column), as a person picks a supplier.
inline void clickRow(QWidget& form, int row, Qt::KeyboardModifiers mods = {})
{
    cad::DbGrid* g = supplierList(form);
    const QRect r = g->visualRect(g->model()->index(row, 1));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, mods, r.center());
}

/// Clicks the title of column COLUMN of the supplier list.
inline void clickTitle(QWidget& form, int column, Qt::KeyboardModifiers mods = {})
{
    QHeaderView* h = supplierList(form)->horizontalHeader();
    const int x = h->sectionViewportPosition(column) + h->sectionSize(column) / 2;
    QTest::mouseClick(h->viewport(), Qt::LeftButton, mods, QPoint(x, h->height() / 2));
}

/// The texts the supplier list shows in COLUMN, top to bottom.
inline QStringList listColumn(QWidget& form, int column)
{
    QAbstractItemModel* m = supplierList(form)->model();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, column).data().toString();
    return out;
}

/// Message texts recorded since the last call.
inline QStringList messageTexts(ScreenFixture& fx)
{
    QStringList out;
    for (const auto& m : fx.takeMessages())
        out << m.text;
    return out;
}

/// Adds a supplier with a chosen code straight on the server.
inline void addSupplier(ScreenFixture& fx, int code, const QString& nome, const QString& nomefan = {},
                        const QString& cgccpf = {})
{
    auto quoted = [](const QString& s) {
        return QLatin1Char('\'') + QString(s).replace(QLatin1Char('\''), QLatin1String("''")) +
               QLatin1Char('\'');
    };
    fx.local(QStringLiteral(
                 "INSERT INTO fornecedor (CodigoFornecedor, Nome, nomefan, Cgccpf) VALUES (%1, %2, %3, %4)")
                 .arg(code)
                 .arg(quoted(nome), quoted(nomefan), quoted(cgccpf)));
}

} // namespace testsupport
