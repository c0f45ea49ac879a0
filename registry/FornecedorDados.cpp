// The header and the "Dados" tab of the supplier screen: the fields bound to the supplier record.
#include "app/ui/Dialogs.h"
#include "core/DigitsOnly.h"
#include "core/ErrorSink.h"
#include "data/widgets/DbLineEdit.h"
#include "data/widgets/DbLookupCombo.h"
#include "data/widgets/DbMemo.h"
#include "data/widgets/DbRadioGroup.h"
#include "data/widgets/DbText.h"
#include "data/widgets/ScreenStyle.h"
#include "registry/TfrmFornecedor.h"
#include "schema/RecordSetWidths.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace cad {

namespace {

using screenstyle::labeled;

int screenWidth(const QString& field)
{
    const auto& widths = schema::widths(schema::SupplierSet::Screen);
    for (auto it = widths.begin(); it != widths.end(); ++it)
        if (it.key().compare(field, Qt::CaseInsensitive) == 0) return it.value();
    return 0;
}

DbLineEdit* lineEdit(RecordSet& rs, const QString& field, const QString& name, DbLineEdit::CharCase c,
                     int maxTyped = 0)
{
    auto* e = new DbLineEdit;
    e->setObjectName(name);
    e->bind(&rs, field);
    e->setCharCase(c);
    // Typing stops at the column's width unless the screen allows more (then the text is cut).
    const int width = maxTyped > 0 ? maxTyped : screenWidth(field);
    if (width > 0) e->setMaxLength(width);
    return e;
}

QToolButton* pictureButton(const QString& name, const QString& hint, QStyle::StandardPixmap icon,
                           QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setIconSize(QSize(32, 32));
    b->setFixedSize(50, 50);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QHBoxLayout* row(QVBoxLayout* parent)
{
    auto* h = new QHBoxLayout;
    h->setSpacing(6);
    parent->addLayout(h);
    return h;
}

} // namespace

QWidget* TfrmFornecedor::buildHeader()
{
    auto* header = new QWidget(this);
    auto* h = new QHBoxLayout(header);
    h->setContentsMargins(6, 0, 6, 0);
    auto* code = new DbText(header);
    code->setObjectName(QStringLiteral("dbtxtCodigo"));
    code->bind(&tbFornecedor, QStringLiteral("CodigoFornecedor"));
    QPalette p = code->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    code->setPalette(p);
    QFont f = code->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 3);
    code->setFont(f);
    code->setMinimumWidth(70);
    h->addWidget(labeled(QStringLiteral("Código"), code, 80, false, header));
    m_nome = lineEdit(tbFornecedor, QStringLiteral("Nome"), QStringLiteral("dbedtNome"),
                      DbLineEdit::CharCase::Upper);
    h->addWidget(labeled(QStringLiteral("Razão Social do Fornecedor"), m_nome, 389, false, header));
    m_nomefan = lineEdit(tbFornecedor, QStringLiteral("nomefan"), QStringLiteral("dbedtNomefan"),
                         DbLineEdit::CharCase::Upper);
    h->addWidget(labeled(QStringLiteral("Nome Fantasia do Fornecedor"), m_nomefan, 397, false, header));
    h->addStretch(1);
    return header;
}

QWidget* TfrmFornecedor::buildDadosTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tabDados"));
    auto* v = new QVBoxLayout(tab);
    v->setContentsMargins(6, 4, 6, 4);
    v->setSpacing(3);
    const auto U = DbLineEdit::CharCase::Upper, N = DbLineEdit::CharCase::Normal;
    auto add = [this](QHBoxLayout* r, QWidget* w) { r->addWidget(w); };

    // Row 1: look-up pictures, documents, taxpayer type, the note on required fields.
    QHBoxLayout* r1 = row(v);
    QToolButton* cpf = pictureButton(QStringLiteral("imgConsultaCPF"), QStringLiteral("Consulta CPF"),
                                     QStyle::SP_FileDialogContentsView, tab);
    QToolButton* cnpj = pictureButton(QStringLiteral("imgConsultaCNPJ"), QStringLiteral("Consulta CNPJ"),
                                      QStyle::SP_FileDialogInfoView, tab);
    connect(cpf, &QToolButton::clicked, this, [this] { guarded([this] { img2Click(); }); });
    connect(cnpj, &QToolButton::clicked, this, [this] { guarded([this] { img3Click(); }); });
    r1->addWidget(cpf, 0, Qt::AlignBottom);
    r1->addWidget(cnpj, 0, Qt::AlignBottom);
    m_cgccpf = lineEdit(tbFornecedor, QStringLiteral("Cgccpf"), QStringLiteral("dbedtCgccpf"), U, 18);
    m_cgccpf->setFocusPolicy(Qt::ClickFocus); // skipped by Tab and Enter
    m_cgccpf->installEventFilter(this);       // leaving the field adjusts the taxpayer fields
    add(r1, labeled(QStringLiteral("Cnpj / Cpf"), m_cgccpf, 142, true, tab));
    auto* ie = lineEdit(tbFornecedor, QStringLiteral("ie"), QStringLiteral("dbedtIe"),
                        DbLineEdit::CharCase::Lower, 18);
    add(r1, labeled(QStringLiteral("Insc.Estadual"), ie, 142, true, tab));
    auto* rg = lineEdit(tbFornecedor, QStringLiteral("rg"), QStringLiteral("dbedtRg"), U);
    add(r1, labeled(QStringLiteral("Rg"), rg, 142, false, tab));
    auto* tipo = new DbRadioGroup(QStringLiteral("Tipo Contribuinte"),
                                  {QStringLiteral("1 - CONTRIBUINTE ICMS"), QStringLiteral("2 - ISENTO"),
                                   QStringLiteral("9 - NÃO CONTRIBUINTE")},
                                  {1, 2, 9}, tab);
    tipo->setObjectName(QStringLiteral("dbrgrpTipoContribuinte"));
    m_tipoContribuinte = tipo;
    tipo->bind(&tbFornecedor, QStringLiteral("TipoContribuinte"));
    QPalette red = tipo->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    red.setColor(QPalette::ButtonText, Qt::red);
    tipo->setPalette(red);
    r1->addWidget(tipo);
    r1->addStretch(1);
    QLabel* note =
        screenstyle::caption(QStringLiteral("Todos os Campos em Vermelho saão Obrigatorios"), true, tab);
    note->setObjectName(QStringLiteral("lblObrigatorios"));
    r1->addWidget(note, 0, Qt::AlignTop);

    // Row 2: street, number, complement.
    QHBoxLayout* r2 = row(v);
    auto* endereco = lineEdit(tbFornecedor, QStringLiteral("Endereco"), QStringLiteral("dbedtEndereco"), U);
    add(r2, labeled(QStringLiteral("Endereço"), endereco, 348, true, tab));
    auto* numero = lineEdit(tbFornecedor, QStringLiteral("Numero"), QStringLiteral("dbedtNumero"), U);
    add(r2, labeled(QStringLiteral("Numero"), numero, 66, true, tab));
    m_complemento =
        lineEdit(tbFornecedor, QStringLiteral("complemento"), QStringLiteral("dbedtComplemento"), U);
    add(r2, labeled(QStringLiteral("Complemento"), m_complemento, 329, true, tab));
    r2->addStretch(1);

    // Row 3: district, state, municipality, its code, CEP and the postal-code picture.
    QHBoxLayout* r3 = row(v);
    auto* bairro = lineEdit(tbFornecedor, QStringLiteral("Bairro"), QStringLiteral("dbedtBairro"), U);
    add(r3, labeled(QStringLiteral("Bairro"), bairro, 348, true, tab));
    m_ufs = new DbLookupCombo(tab);
    m_ufs->setObjectName(QStringLiteral("dblkcbbufs"));
    m_ufs->setList(&myqryMyUf, QStringLiteral("Sigla"), QStringLiteral("NomEst"));
    m_ufs->bind(&tbFornecedor, QStringLiteral("Estado"));
    m_ufs->view()->setMinimumWidth(120);
    connect(m_ufs, &DbLookupCombo::picked, this, [this] { guarded([this] { dblkcbbufsClick(); }); });
    add(r3, labeled(QStringLiteral("Estado"), m_ufs, 99, true, tab));
    m_cidades = new DbLookupCombo(tab);
    m_cidades->setObjectName(QStringLiteral("dblkcbbcodigocidade"));
    m_cidades->setList(&myqryMyMunicipios, QStringLiteral("CODIGO"), QStringLiteral("nome"));
    m_cidades->bind(&tbFornecedor, QStringLiteral("codigocidade"));
    add(r3, labeled(QStringLiteral("Cidade"), m_cidades, 239, true, tab));
    auto* codCidade = new DbText(tab);
    codCidade->setObjectName(QStringLiteral("dbtxtCodigoCidade"));
    codCidade->bind(&tbFornecedor, QStringLiteral("CodigoCidade"));
    add(r3, labeled(QStringLiteral("Cod.Cidade"), codCidade, 70, true, tab));
    auto* cep = lineEdit(tbFornecedor, QStringLiteral("Cep"), QStringLiteral("dbedtCep"), N, 10);
    // A punctuated CEP longer than the column keeps its digits rather than losing its last one.
    cep->setWriteFilter(
        [](const QString& t) { return t.size() > screenWidth(QStringLiteral("Cep")) ? DigitsOnly(t) : t; });
    add(r3, labeled(QStringLiteral("Cep"), cep, 73, true, tab));
    QToolButton* cepButton = pictureButton(QStringLiteral("img1"), QStringLiteral("Consulta CEP"),
                                           QStyle::SP_DialogHelpButton, tab);
    connect(cepButton, &QToolButton::clicked, this, [this] { guarded([this] { img1Click(); }); });
    r3->addWidget(cepButton, 0, Qt::AlignBottom);
    r3->addStretch(1);

    // Row 4: telephones, e-mail, contact.
    QHBoxLayout* r4 = row(v);
    auto* tel1 = lineEdit(tbFornecedor, QStringLiteral("Telefone1"), QStringLiteral("dbedtTelefone1"), N);
    add(r4, labeled(QStringLiteral("Telefone "), tel1, 97, false, tab));
    auto* tel2 = lineEdit(tbFornecedor, QStringLiteral("Telefone2"), QStringLiteral("dbedtTelefone2"), N);
    add(r4, labeled(QStringLiteral("Telefone"), tel2, 97, false, tab));
    auto* email = lineEdit(tbFornecedor, QStringLiteral("email"), QStringLiteral("dbedtEmail"), N);
    add(r4, labeled(QStringLiteral("email"), email, 305, false, tab));
    auto* contato = lineEdit(tbFornecedor, QStringLiteral("contato"), QStringLiteral("dbedtContato"), U, 25);
    add(r4, labeled(QStringLiteral("Contato"), contato, 249, false, tab));
    auto* telContato =
        lineEdit(tbFornecedor, QStringLiteral("Telcontato"), QStringLiteral("dbedtTelcontato"), N);
    add(r4, labeled(QStringLiteral("Tel.Contato"), telContato, 97, false, tab));
    r4->addStretch(1);

    // Row 5: expense type, cost centre, fixed amount, due day.
    QHBoxLayout* r5 = row(v);
    m_tipos = new DbLookupCombo(tab);
    m_tipos->setObjectName(QStringLiteral("dblkcbbTipo"));
    m_tipos->setList(&tbTipo, QStringLiteral("CODIGOTIPO"), QStringLiteral("DESCTIPO"));
    m_tipos->bind(&tbFornecedor, QStringLiteral("CodigoTipo"));
    add(r5, labeled(QStringLiteral("Descrição do Tipo de Despesa"), m_tipos, 185, false, tab));
    m_gerencial = new DbLookupCombo(tab);
    m_gerencial->setObjectName(QStringLiteral("dblkcbbGerencial"));
    m_gerencial->setList(&tbGerencial, QStringLiteral("codigogerencial"), QStringLiteral("Gerencial"));
    m_gerencial->bind(&tbFornecedor, QStringLiteral("CodigoGerencial"));
    add(r5, labeled(QStringLiteral("Centro de Custo"), m_gerencial, 424, false, tab));
    m_incluirGerencial = new QPushButton(QStringLiteral("&Incluir"), tab);
    m_incluirGerencial->setObjectName(QStringLiteral("SpeedButton2"));
    // Not a stop of Tab or Enter ("Centro de Custo" leads to "Valor Fixo"); Alt+I and the mouse press it.
    m_incluirGerencial->setFocusPolicy(Qt::NoFocus);
    connect(m_incluirGerencial, &QPushButton::clicked, this,
            [this] { guarded([this] { SpeedButton2Click(); }); });
    r5->addWidget(m_incluirGerencial, 0, Qt::AlignBottom);
    QToolButton* map = pictureButton(QStringLiteral("imgConsultaMapa"), QStringLiteral("Consulta Mapa"),
                                     QStyle::SP_DirHomeIcon, tab);
    map->setVisible(false); // the route screen is reached from nowhere on this screen
    connect(map, &QToolButton::clicked, this, [this] { guarded([this] { ConsultaMapaClick(); }); });
    r5->addWidget(map);
    auto* valor = lineEdit(tbFornecedor, QStringLiteral("valor"), QStringLiteral("dbedtValor"), N, 20);
    valor->setDisplayFormat(DbLineEdit::Format::TwoDecimals);
    valor->setAlignment(Qt::AlignRight);
    add(r5, labeled(QStringLiteral("Valor Fixo"), valor, 65, false, tab));
    auto* dia = lineEdit(tbFornecedor, QStringLiteral("diavenc"), QStringLiteral("dbedtDiavenc"), N, 2);
    add(r5, labeled(QStringLiteral("Dia Vencimento"), dia, 25, false, tab));
    r5->addStretch(1);

    // Rows 6 and 7: remarks and the company data from the registry look-up.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    auto* obs = new DbMemo(tab);
    obs->setObjectName(QStringLiteral("dbmmoObs"));
    obs->bind(&tbFornecedor, QStringLiteral("Obs"));
    obs->setFixedSize(424, 56);
    grid->addWidget(labeled(QStringLiteral("Obs.:"), obs, 424, false, tab), 0, 0, 2, 1, Qt::AlignTop);
    auto* cnaePrincipal =
        lineEdit(tbFornecedor, QStringLiteral("cnaeprincipal"), QStringLiteral("dbedtCnaePrincipal"), N);
    cnaePrincipal->setDisplayOnly(true);
    cnaePrincipal->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(labeled(QStringLiteral("CNAE Principal"), cnaePrincipal, 431, false, tab), 0, 1, 1, 3);
    auto* situacao = lineEdit(tbFornecedor, QStringLiteral("situacao"), QStringLiteral("dbedtSituacao"), N);
    auto* tipoEmpresa =
        lineEdit(tbFornecedor, QStringLiteral("tipoempresa"), QStringLiteral("dbedtTipoEmpresa"), N);
    auto* km = lineEdit(tbFornecedor, QStringLiteral("kilometragem"), QStringLiteral("dbedtKilometragem"), N);
    auto* bottom = new QHBoxLayout;
    for (auto [text, edit, width] : {std::tuple{QStringLiteral("Situação da Empresa"), situacao, 150},
                                     std::tuple{QStringLiteral("Tipo de Empresa"), tipoEmpresa, 150},
                                     std::tuple{QStringLiteral("Kilometragem"), km, 99}}) {
        edit->setDisplayOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        bottom->addWidget(labeled(text, edit, width, false, tab));
    }
    bottom->addStretch(1);
    grid->addLayout(bottom, 1, 1, 1, 3);
    grid->setColumnStretch(4, 1);
    v->addLayout(grid);
    auto* cnae = new DbMemo(tab);
    cnae->setObjectName(QStringLiteral("dbmmoCNAE"));
    cnae->bind(&tbFornecedor, QStringLiteral("CNAE"));
    cnae->setDisplayOnly(true);
    cnae->setFocusPolicy(Qt::NoFocus);
    cnae->setFixedSize(861, 64);
    QHBoxLayout* r7 = row(v);
    r7->addWidget(labeled(QStringLiteral("CNAE Secundário(s)"), cnae, 861, false, tab));
    r7->addStretch(1);
    v->addStretch(1);

    m_dadosOrder = {ie,          rg,    tipo, endereco, numero, m_complemento, bairro,     m_ufs,
                    m_cidades,   cep,   tel1, tel2,     email,  contato,       telContato, m_tipos,
                    m_gerencial, valor, dia,  obs};
    return tab;
}

} // namespace cad
