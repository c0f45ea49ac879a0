#pragma once
// The operator's hands on the supplier screen: typing into fields, picking from lists. The command
// buttons are clicked by name: "ToolButton1" Incluir, "ToolButton7" Salvar, "ToolButton8" Cancelar,
// "btn1" Excluir. Shared by the save and central-copy tests.
#include "data/widgets/DbGrid.h"
#include "data/widgets/DbLookupCombo.h"
#include "data/widgets/DbRadioGroup.h"
#include "registry/TfrmFornecedor.h"
#include "tests/support/Widgets.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

namespace testsupport {

/// Clicks into a line edit and types TEXT over what it shows.
inline void type(cad::TfrmFornecedor& f, const char* field, const QString& text)
{
    auto* e = control<QLineEdit>(f, field);
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClick(e, Qt::Key_End, Qt::ShiftModifier);
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        QTest::keyClicks(e, text);
}

/// Opens a drop-down list, types PREFIX to reach its entry and takes it with Enter.
inline void pick(cad::TfrmFornecedor& f, const char* list, const QString& prefix)
{
    auto* c = control<cad::DbLookupCombo>(f, list);
    QTest::mouseClick(c, Qt::LeftButton);
    c->view()->keyboardSearch(QString()); // a new search, as after the operator's pause
    QTest::keyClicks(c->view(), prefix);
    QTest::keyClick(c->view(), Qt::Key_Return);
    if (c->view()->isVisible()) qFatal("the list %s stayed open", list);
}

/// Clicks the taxpayer choice whose caption starts with PREFIX ("1 -", "2 -", "9 -").
inline void chooseTaxpayer(cad::TfrmFornecedor& f, const QString& prefix)
{
    auto* group = control<cad::DbRadioGroup>(f, "dbrgrpTipoContribuinte");
    for (QAbstractButton* b : group->buttons()->buttons())
        if (b->text().startsWith(prefix)) QTest::mouseClick(b, Qt::LeftButton);
}

/// Clicks the list's row whose CodigoFornecedor is CODE (the list must be showing).
inline void clickSupplier(cad::TfrmFornecedor& f, const QVariant& code)
{
    auto* grid = control<cad::DbGrid>(f, "grdFornecedor");
    cad::RecordSet& rs = grid->recordSet();
    for (int r = 0; r < rs.rowCount(); ++r)
        if (rs.valueAt(r, QStringLiteral("CodigoFornecedor")).toString() == code.toString()) {
            const QModelIndex index = grid->model()->index(r, 1);
            grid->scrollTo(index);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
            return;
        }
    qFatal("supplier %s not in the list", qPrintable(code.toString()));
}

/// A supplier as the operator enters it. Empty texts are left untouched.
struct SupplierInput
{
    QString nome;
    QString document;
    QString endereco = QStringLiteral("RUA DAS FLORES");
    QString numero = QStringLiteral("100");
    QString bairro = QStringLiteral("CENTRO");
    QString estado = QStringLiteral("Minas");             ///< typed into the state list
    QString municipio = QStringLiteral("Belo Horizonte"); ///< typed into the municipality list
    QString cidade = QStringLiteral("BELO HORIZONTE");    ///< the text column a look-up fills
    QString cep = QStringLiteral("30130-010");
    QString taxpayer = QStringLiteral("1 -");
};

/// "Incluir", then every field of IN through the widgets; the look-up's Cidade through the record.
inline void enterNew(cad::TfrmFornecedor& f, const SupplierInput& in)
{
    click(f, "ToolButton1"); // "Incluir"
    // The document first: leaving its field adjusts the taxpayer type while the row is new.
    if (!in.document.isEmpty()) type(f, "dbedtCgccpf", in.document);
    type(f, "dbedtNome", in.nome);
    if (!in.taxpayer.isEmpty()) chooseTaxpayer(f, in.taxpayer);
    if (!in.endereco.isEmpty()) type(f, "dbedtEndereco", in.endereco);
    if (!in.numero.isEmpty()) type(f, "dbedtNumero", in.numero);
    if (!in.bairro.isEmpty()) type(f, "dbedtBairro", in.bairro);
    if (!in.estado.isEmpty()) pick(f, "dblkcbbufs", in.estado);
    if (!in.municipio.isEmpty()) pick(f, "dblkcbbcodigocidade", in.municipio);
    if (!in.cep.isEmpty()) type(f, "dbedtCep", in.cep);
    if (!in.cidade.isEmpty()) f.tbFornecedor.setValue(QStringLiteral("Cidade"), in.cidade);
}

} // namespace testsupport
