// The CNPJ look-up dialog: its controls, the captcha image and the commands.
#include "taxpayer/ui/TF_ConsultaCNPJ.h"

#include "core/ErrorSink.h"
#include "core/WaitCursor.h"
#include "data/widgets/MaskedTyping.h"
#include "data/widgets/ScreenStyle.h"
#include "data/widgets/UpperCaseTyping.h"
#include "data/widgets/WindowFit.h"
#include "taxpayer/ui/CaptchaField.h"

#include <QBuffer>
#include <QCheckBox>
#include <QGridLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

namespace cad {

namespace {

using screenstyle::labeled;

QLineEdit* resultField(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

} // namespace

TF_ConsultaCNPJ::TF_ConsultaCNPJ(RecordSet& fornecedor, DbLookupCombo& ufs, DbLookupCombo& municipios,
                                 QWidget* parent)
    : QDialog(parent), m_fornecedor(fornecedor), m_ufs(ufs), m_municipios(municipios)
{
    setObjectName(QStringLiteral("F_ConsultaCNPJ"));
    setWindowTitle(QStringLiteral("Consulta de CNPJ"));
    setModal(true);
    keepOnScreen(this);
    CadConsultaCNPJ1.SetPesquisarIBGE(false);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &TF_ConsultaCNPJ::Timer1Timer);

    auto* v = new QVBoxLayout(this);
    v->addWidget(buildInputArea());
    v->addWidget(buildResultArea(), 1);

    const QList<QWidget*> order{
        m_editCNPJ,     m_editCaptcha,     m_butBuscar,       m_ckRemoverEspacosDuplos,
        m_editTipo,     m_editRazaoSocial, m_editAbertura,    m_editFantasia,
        m_editEndereco, m_editNumero,      m_editComplemento, m_editBairro,
        m_editCidade,   m_editUF,          m_editCEP,         m_editSituacao,
        m_editEmail,    m_editTelefone,    m_editCNAE1,       m_listCNAE2};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

TF_ConsultaCNPJ::~TF_ConsultaCNPJ() = default;

QWidget* TF_ConsultaCNPJ::buildInputArea()
{
    auto* area = new QWidget(this);
    auto* g = new QGridLayout(area);
    g->setContentsMargins(0, 0, 0, 0);

    m_editCNPJ = new QLineEdit(area);
    m_editCNPJ->setObjectName(QStringLiteral("EditCNPJ"));
    // Root and order may hold letters (typed letters become capitals), the check digits are digits.
    m_editCNPJ->setInputMask(QStringLiteral("NN.NNN.NNN/NNNN-00"));
    m_editCNPJ->setText(QString());
    raiseLettersAsTyped(m_editCNPJ);
    typeFromFirstBlank(m_editCNPJ);
    g->addWidget(labeled(QStringLiteral("Digite o CNPJ:"), m_editCNPJ, 0, false, area), 0, 0);

    m_editCaptcha = new QLineEdit(area);
    m_editCaptcha->setObjectName(QStringLiteral("EditCaptcha"));
    captcha::setUp(m_editCaptcha);
    m_editCaptcha->installEventFilter(this);
    g->addWidget(labeled(QStringLiteral("Digite o Captcha"), m_editCaptcha, 0, false, area), 1, 0);

    m_butBuscar = new QPushButton(QStringLiteral("Consultar"), area);
    m_butBuscar->setObjectName(QStringLiteral("ButBuscar"));
    m_butBuscar->setAutoDefault(false); // Enter runs it from the captcha field only
    connect(m_butBuscar, &QPushButton::clicked, this, [this] { guarded([this] { ButBuscarClick(); }); });
    g->addWidget(m_butBuscar, 2, 0, Qt::AlignLeft);

    m_image1 = new QLabel(area);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setFixedSize(240, 80);
    m_image1->setAlignment(Qt::AlignCenter);
    g->addWidget(m_image1, 0, 1, 3, 1, Qt::AlignCenter);

    QLabel* refresh =
        captcha::refreshCaption([this] { guarded([this] { LabAtualizarCaptchaClick(); }); }, area);
    g->addWidget(refresh, 3, 1, Qt::AlignHCenter);

    m_ckRemoverEspacosDuplos =
        new QCheckBox(QStringLiteral("Remover espaços duplos dos dados retornados"), area);
    m_ckRemoverEspacosDuplos->setObjectName(QStringLiteral("ckRemoverEspacosDuplos"));
    g->addWidget(m_ckRemoverEspacosDuplos, 3, 0);
    g->setColumnStretch(0, 1);
    return area;
}

QWidget* TF_ConsultaCNPJ::buildResultArea()
{
    auto* area = new QWidget(this);
    auto* g = new QGridLayout(area);
    g->setContentsMargins(0, 8, 0, 0);
    auto add = [&](QLineEdit*& edit, const QString& name, const QString& caption, int row, int col,
                   int span = 1) {
        edit = resultField(name, area);
        g->addWidget(labeled(caption, edit, 0, false, area), row, col, 1, span);
    };
    add(m_editTipo, QStringLiteral("EditTipo"), QStringLiteral("Tipo de Empresa"), 0, 0);
    add(m_editRazaoSocial, QStringLiteral("EditRazaoSocial"), QStringLiteral("Razão Social"), 0, 1, 2);
    add(m_editAbertura, QStringLiteral("EditAbertura"), QStringLiteral("Abertura"), 0, 3);
    add(m_editFantasia, QStringLiteral("EditFantasia"), QStringLiteral("Fantasia"), 1, 0, 4);
    add(m_editEndereco, QStringLiteral("EditEndereco"), QStringLiteral("Endereço:"), 2, 0, 2);
    add(m_editNumero, QStringLiteral("EditNumero"), QStringLiteral("Número"), 2, 2);
    add(m_editComplemento, QStringLiteral("EditComplemento"), QStringLiteral("Complemento"), 2, 3);
    add(m_editBairro, QStringLiteral("EditBairro"), QStringLiteral("Bairro"), 3, 0);
    add(m_editCidade, QStringLiteral("EditCidade"), QStringLiteral("Cidade"), 3, 1);
    add(m_editUF, QStringLiteral("EditUF"), QStringLiteral("UF"), 3, 2);
    add(m_editCEP, QStringLiteral("EditCEP"), QStringLiteral("CEP"), 3, 3);
    add(m_editSituacao, QStringLiteral("EditSituacao"), QStringLiteral("Situação"), 4, 0);
    add(m_editEmail, QStringLiteral("EditEmail"), QStringLiteral("Endereço Eletrônico"), 4, 1, 2);
    add(m_editTelefone, QStringLiteral("EditTelefone"), QStringLiteral("Telefone"), 4, 3);
    add(m_editCNAE1, QStringLiteral("EditCNAE1"), QStringLiteral("CNAE Principal"), 5, 0, 4);

    m_listCNAE2 = new QListWidget(area);
    m_listCNAE2->setObjectName(QStringLiteral("ListCNAE2"));
    g->addWidget(labeled(QStringLiteral("CNAE Secundário(s)"), m_listCNAE2, 0, false, area), 6, 0, 1, 4);
    g->setRowStretch(6, 1);
    return area;
}

void TF_ConsultaCNPJ::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous()) Timer1.start(); // FormShow
}

void TF_ConsultaCNPJ::Timer1Timer()
{
    Timer1.stop();
    guarded([this] { LabAtualizarCaptchaClick(); });
    m_editCNPJ->setFocus();
}

void TF_ConsultaCNPJ::LabAtualizarCaptchaClick()
{
    QByteArray image;
    CadConsultaCNPJ1.FetchCaptchaImage(image);
    QBuffer buffer(&image);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    m_captcha = QPixmap::fromImage(captcha::read(reader));
    showCaptcha();
    m_editCaptcha->clear();
    m_editCaptcha->setFocus();
}

// Centred and scaled to fit the picture, keeping its proportions.
void TF_ConsultaCNPJ::showCaptcha()
{
    m_image1->setPixmap(m_captcha.scaled(m_image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TF_ConsultaCNPJ::ButBuscarClick()
{
    if (!captcha::typed(m_editCaptcha)) return;
    waitcursor::Guard wait;
    (void)CadConsultaCNPJ1.Lookup(m_editCNPJ->displayText(), m_editCaptcha->text(),
                                  m_ckRemoverEspacosDuplos->isChecked());
    fillResults();
    writeSupplier();
    positionLists();
}

void TF_ConsultaCNPJ::keyPressEvent(QKeyEvent* e)
{
    // Only the window's close box closes the dialog; Esc does not.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TF_ConsultaCNPJ::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editCaptcha && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded([this] { ButBuscarClick(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace cad
