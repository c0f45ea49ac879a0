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

constexpr auto kUpper = DbLineEdit::CharCase::Upper;
constexpr auto kNormal = DbLineEdit::CharCase::Normal;

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

// A drop-down list of LIST's DISPLAY texts whose pick writes its KEY to RS's FIELD.
DbLookupCombo* lookupCombo(RecordSet& rs, const QString& field, const QString& name, RecordSet& list,
                           const QString& key, const QString& display, QWidget* parent)
{
    auto* c = new DbLookupCombo(parent);
    c->setObjectName(name);
    c->setList(&list, key, display);
    c->bind(&rs, field);
    return c;
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
    screenstyle::paintRed(code);
    QFont f = code->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 3);
    code->setFont(f);
    code->setMinimumWidth(70);
    h->addWidget(labeled(QStringLiteral("Código"), code, 80, false, header));
    m_nome = lineEdit(tbFornecedor, QStringLiteral("Nome"), QStringLiteral("dbedtNome"), kUpper);
    h->addWidget(labeled(QStringLiteral("Razão Social do Fornecedor"), m_nome, 389, false, header));
    m_nomefan = lineEdit(tbFornecedor, QStringLiteral("nomefan"), QStringLiteral("dbedtNomefan"), kUpper);
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
    // Each row adds its fields to the tab order as it builds them.
    m_dadosOrder.clear();
    addDocumentsRow(tab, row(v));
    addStreetRow(tab, row(v));
    addLocalityRow(tab, row(v));
    addContactsRow(tab, row(v));
    addCostsRow(tab, row(v));
    addCompanyRows(tab, v);
    v->addStretch(1);
    return tab;
}

// Look-up pictures, documents, taxpayer type, the note on required fields.
void TfrmFornecedor::addDocumentsRow(QWidget* tab, QHBoxLayout* r)
{
    QToolButton* cpf = pictureButton(QStringLiteral("imgConsultaCPF"), QStringLiteral("Consulta CPF"),
                                     QStyle::SP_FileDialogContentsView, tab);
    QToolButton* cnpj = pictureButton(QStringLiteral("imgConsultaCNPJ"), QStringLiteral("Consulta CNPJ"),
                                      QStyle::SP_FileDialogInfoView, tab);
    connect(cpf, &QToolButton::clicked, this, [this] { guarded([this] { img2Click(); }); });
    connect(cnpj, &QToolButton::clicked, this, [this] { guarded([this] { img3Click(); }); });
    r->addWidget(cpf, 0, Qt::AlignBottom);
    r->addWidget(cnpj, 0, Qt::AlignBottom);
    m_cgccpf = lineEdit(tbFornecedor, QStringLiteral("Cgccpf"), QStringLiteral("dbedtCgccpf"), kUpper, 18);
    m_cgccpf->setFocusPolicy(Qt::ClickFocus); // skipped by Tab and Enter
    m_cgccpf->installEventFilter(this);       // leaving the field adjusts the taxpayer fields
    r->addWidget(labeled(QStringLiteral("Cnpj / Cpf"), m_cgccpf, 142, true, tab));
    auto* ie = lineEdit(tbFornecedor, QStringLiteral("ie"), QStringLiteral("dbedtIe"),
                        DbLineEdit::CharCase::Lower, 18);
    r->addWidget(labeled(QStringLiteral("Insc.Estadual"), ie, 142, true, tab));
    auto* rg = lineEdit(tbFornecedor, QStringLiteral("rg"), QStringLiteral("dbedtRg"), kUpper);
    r->addWidget(labeled(QStringLiteral("Rg"), rg, 142, false, tab));
    auto* tipo = new DbRadioGroup(QStringLiteral("Tipo Contribuinte"),
                                  {QStringLiteral("1 - CONTRIBUINTE ICMS"), QStringLiteral("2 - ISENTO"),
                                   QStringLiteral("9 - NÃO CONTRIBUINTE")},
                                  {1, 2, 9}, tab);
    tipo->setObjectName(QStringLiteral("dbrgrpTipoContribuinte"));
    m_tipoContribuinte = tipo;
    tipo->bind(&tbFornecedor, QStringLiteral("TipoContribuinte"));
    screenstyle::paintRed(tipo);
    r->addWidget(tipo);
    r->addStretch(1);
    QLabel* note =
        screenstyle::caption(QStringLiteral("Todos os Campos em Vermelho saão Obrigatorios"), true, tab);
    note->setObjectName(QStringLiteral("lblObrigatorios"));
    r->addWidget(note, 0, Qt::AlignTop);
    m_dadosOrder << ie << rg << tipo;
}

// Street, number, complement.
void TfrmFornecedor::addStreetRow(QWidget* tab, QHBoxLayout* r)
{
    auto* endereco =
        lineEdit(tbFornecedor, QStringLiteral("Endereco"), QStringLiteral("dbedtEndereco"), kUpper);
    r->addWidget(labeled(QStringLiteral("Endereço"), endereco, 348, true, tab));
    auto* numero = lineEdit(tbFornecedor, QStringLiteral("Numero"), QStringLiteral("dbedtNumero"), kUpper);
    r->addWidget(labeled(QStringLiteral("Numero"), numero, 66, true, tab));
    m_complemento =
        lineEdit(tbFornecedor, QStringLiteral("complemento"), QStringLiteral("dbedtComplemento"), kUpper);
    r->addWidget(labeled(QStringLiteral("Complemento"), m_complemento, 329, true, tab));
    r->addStretch(1);
    m_dadosOrder << endereco << numero << m_complemento;
}

// District, state, municipality, its code, CEP and the postal-code picture.
void TfrmFornecedor::addLocalityRow(QWidget* tab, QHBoxLayout* r)
{
    auto* bairro = lineEdit(tbFornecedor, QStringLiteral("Bairro"), QStringLiteral("dbedtBairro"), kUpper);
    r->addWidget(labeled(QStringLiteral("Bairro"), bairro, 348, true, tab));
    m_ufs = lookupCombo(tbFornecedor, QStringLiteral("Estado"), QStringLiteral("dblkcbbufs"), myqryMyUf,
                        QStringLiteral("Sigla"), QStringLiteral("NomEst"), tab);
    m_ufs->view()->setMinimumWidth(120);
    connect(m_ufs, &DbLookupCombo::picked, this, [this] { guarded([this] { dblkcbbufsClick(); }); });
    r->addWidget(labeled(QStringLiteral("Estado"), m_ufs, 99, true, tab));
    m_cidades =
        lookupCombo(tbFornecedor, QStringLiteral("codigocidade"), QStringLiteral("dblkcbbcodigocidade"),
                    myqryMyMunicipios, QStringLiteral("CODIGO"), QStringLiteral("nome"), tab);
    r->addWidget(labeled(QStringLiteral("Cidade"), m_cidades, 239, true, tab));
    auto* codCidade = new DbText(tab);
    codCidade->setObjectName(QStringLiteral("dbtxtCodigoCidade"));
    codCidade->bind(&tbFornecedor, QStringLiteral("CodigoCidade"));
    r->addWidget(labeled(QStringLiteral("Cod.Cidade"), codCidade, 70, true, tab));
    auto* cep = lineEdit(tbFornecedor, QStringLiteral("Cep"), QStringLiteral("dbedtCep"), kNormal, 10);
    // A punctuated CEP longer than the column keeps its digits rather than losing its last one.
    cep->setWriteFilter([width = screenWidth(QStringLiteral("Cep"))](const QString& t) {
        return t.size() > width ? DigitsOnly(t) : t;
    });
    r->addWidget(labeled(QStringLiteral("Cep"), cep, 73, true, tab));
    QToolButton* cepButton = pictureButton(QStringLiteral("img1"), QStringLiteral("Consulta CEP"),
                                           QStyle::SP_DialogHelpButton, tab);
    connect(cepButton, &QToolButton::clicked, this, [this] { guarded([this] { img1Click(); }); });
    r->addWidget(cepButton, 0, Qt::AlignBottom);
    r->addStretch(1);
    m_dadosOrder << bairro << m_ufs << m_cidades << cep;
}

// Telephones, e-mail, contact.
void TfrmFornecedor::addContactsRow(QWidget* tab, QHBoxLayout* r)
{
    const struct
    {
        const char* field;
        const char* name;
        const char* caption;
        int width;
        DbLineEdit::CharCase charCase;
        int maxTyped;
    } fields[] = {{"Telefone1", "dbedtTelefone1", "Telefone ", 97, kNormal, 0},
                  {"Telefone2", "dbedtTelefone2", "Telefone", 97, kNormal, 0},
                  {"email", "dbedtEmail", "email", 305, kNormal, 0},
                  {"contato", "dbedtContato", "Contato", 249, kUpper, 25},
                  {"Telcontato", "dbedtTelcontato", "Tel.Contato", 97, kNormal, 0}};
    for (const auto& f : fields) {
        DbLineEdit* e =
            lineEdit(tbFornecedor, QLatin1String(f.field), QLatin1String(f.name), f.charCase, f.maxTyped);
        r->addWidget(labeled(QLatin1String(f.caption), e, f.width, false, tab));
        m_dadosOrder << e;
    }
    r->addStretch(1);
}

// Expense type, cost centre, fixed amount, due day.
void TfrmFornecedor::addCostsRow(QWidget* tab, QHBoxLayout* r)
{
    m_tipos = lookupCombo(tbFornecedor, QStringLiteral("CodigoTipo"), QStringLiteral("dblkcbbTipo"), tbTipo,
                          QStringLiteral("CODIGOTIPO"), QStringLiteral("DESCTIPO"), tab);
    r->addWidget(labeled(QStringLiteral("Descrição do Tipo de Despesa"), m_tipos, 185, false, tab));
    m_gerencial =
        lookupCombo(tbFornecedor, QStringLiteral("CodigoGerencial"), QStringLiteral("dblkcbbGerencial"),
                    tbGerencial, QStringLiteral("codigogerencial"), QStringLiteral("Gerencial"), tab);
    r->addWidget(labeled(QStringLiteral("Centro de Custo"), m_gerencial, 424, false, tab));
    m_incluirGerencial = new QPushButton(QStringLiteral("&Incluir"), tab);
    m_incluirGerencial->setObjectName(QStringLiteral("SpeedButton2"));
    // Not a stop of Tab or Enter ("Centro de Custo" leads to "Valor Fixo"); Alt+I and the mouse press it.
    m_incluirGerencial->setFocusPolicy(Qt::NoFocus);
    connect(m_incluirGerencial, &QPushButton::clicked, this,
            [this] { guarded([this] { SpeedButton2Click(); }); });
    r->addWidget(m_incluirGerencial, 0, Qt::AlignBottom);
    QToolButton* map = pictureButton(QStringLiteral("imgConsultaMapa"), QStringLiteral("Consulta Mapa"),
                                     QStyle::SP_DirHomeIcon, tab);
    map->setVisible(false); // the route screen is reached from nowhere on this screen
    connect(map, &QToolButton::clicked, this, [this] { guarded([this] { ConsultaMapaClick(); }); });
    r->addWidget(map);
    auto* valor = lineEdit(tbFornecedor, QStringLiteral("valor"), QStringLiteral("dbedtValor"), kNormal, 20);
    valor->setDisplayFormat(DbLineEdit::Format::TwoDecimals);
    valor->setAlignment(Qt::AlignRight);
    r->addWidget(labeled(QStringLiteral("Valor Fixo"), valor, 65, false, tab));
    auto* dia = lineEdit(tbFornecedor, QStringLiteral("diavenc"), QStringLiteral("dbedtDiavenc"), kNormal, 2);
    r->addWidget(labeled(QStringLiteral("Dia Vencimento"), dia, 25, false, tab));
    r->addStretch(1);
    m_dadosOrder << m_tipos << m_gerencial << valor << dia;
}

// Remarks, and the company data from the registry look-up (shown, never typed).
void TfrmFornecedor::addCompanyRows(QWidget* tab, QVBoxLayout* v)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    auto* obs = new DbMemo(tab);
    obs->setObjectName(QStringLiteral("dbmmoObs"));
    obs->bind(&tbFornecedor, QStringLiteral("Obs"));
    obs->setFixedSize(424, 56);
    grid->addWidget(labeled(QStringLiteral("Obs.:"), obs, 424, false, tab), 0, 0, 2, 1, Qt::AlignTop);
    auto shownOnly = [this](const char* field, const char* name) {
        DbLineEdit* e = lineEdit(tbFornecedor, QLatin1String(field), QLatin1String(name), kNormal);
        e->setDisplayOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        return e;
    };
    grid->addWidget(labeled(QStringLiteral("CNAE Principal"),
                            shownOnly("cnaeprincipal", "dbedtCnaePrincipal"), 431, false, tab),
                    0, 1, 1, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(labeled(QStringLiteral("Situação da Empresa"), shownOnly("situacao", "dbedtSituacao"),
                              150, false, tab));
    bottom->addWidget(labeled(QStringLiteral("Tipo de Empresa"), shownOnly("tipoempresa", "dbedtTipoEmpresa"),
                              150, false, tab));
    bottom->addWidget(labeled(QStringLiteral("Kilometragem"), shownOnly("kilometragem", "dbedtKilometragem"),
                              99, false, tab));
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
    QHBoxLayout* r = row(v);
    r->addWidget(labeled(QStringLiteral("CNAE Secundário(s)"), cnae, 861, false, tab));
    r->addStretch(1);
    m_dadosOrder << obs;
}

} // namespace cad
