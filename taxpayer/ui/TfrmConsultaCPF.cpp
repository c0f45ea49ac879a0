#include "taxpayer/ui/TfrmConsultaCPF.h"

#include "app/ProgramFolder.h"
#include "core/ErrorSink.h"
#include "data/RecordSet.h"
#include "data/widgets/FocusLeaving.h"
#include "data/widgets/MaskedTyping.h"
#include "data/widgets/ScreenStyle.h"
#include "data/widgets/WindowFit.h"
#include "taxpayer/ui/CaptchaField.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleOptionFrame>
#include <QVBoxLayout>
#include <functional>

namespace cad {

namespace {

const QColor kLightYellow(255, 255, 225);
constexpr QSize kPictureSize(200, 70);

QLineEdit* resultField(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

// Room for SAMPLE in the field's own font and style, however small the dialog is made.
void keepRoomFor(QLineEdit* e, const QString& sample)
{
    QStyleOptionFrame option;
    option.initFrom(e);
    option.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, e);
    const QMargins margins = e->textMargins();
    const QFontMetrics fm = e->fontMetrics();
    const QSize text(fm.horizontalAdvance(sample + QLatin1Char(' ')) + 4 + margins.left() + margins.right(),
                     fm.height());
    e->setMinimumWidth(e->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, e).width());
}

} // namespace

TfrmConsultaCPF::TfrmConsultaCPF(RecordSet& fornecedor, QWidget* parent)
    : QDialog(parent), m_fornecedor(fornecedor)
{
    setObjectName(QStringLiteral("frmConsultaCPF"));
    setWindowTitle(QStringLiteral("Consulta CPF (Receita Fazenda)"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    keepOnScreen(this);
    auto* v = new QVBoxLayout(this);
    v->addWidget(buildInputArea());
    v->addWidget(buildResultArea());
    v->addStretch(1);
    setTabOrder(m_nascimento, m_captcha);
    setTabOrder(m_captcha, m_consultar);
    setTabOrder(m_consultar, m_fechar);

    // The first image comes a second after creation, once the dialog is on screen.
    m_tmr1.setObjectName(QStringLiteral("tmr1"));
    m_tmr1.setInterval(1000);
    connect(&m_tmr1, &QTimer::timeout, this, [this] { guarded([this] { tmr1Timer(); }); });
    m_tmr1.start();
}

TfrmConsultaCPF::~TfrmConsultaCPF() = default;

QWidget* TfrmConsultaCPF::buildInputArea()
{
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);

    m_cpf = new QLineEdit(area);
    m_cpf->setObjectName(QStringLiteral("EditCNPJ"));
    m_cpf->setFocusPolicy(Qt::ClickFocus); // skipped by Tab; the timer puts the focus here
    QPalette yellow = m_cpf->palette();
    yellow.setColor(QPalette::Base, kLightYellow);
    m_cpf->setPalette(yellow);
    m_cpf->installEventFilter(this);
    keepRoomFor(m_cpf, QStringLiteral("000.000.000-00"));
    grid->addWidget(new QLabel(QStringLiteral("Digite o CPF:"), area), 0, 0);
    grid->addWidget(m_cpf, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Digite o CPF: Sem Ponto ou Traços"), area), 0, 2);

    m_nascimento = new QLineEdit(area);
    m_nascimento->setObjectName(QStringLiteral("medtEditDtNasc"));
    m_nascimento->setInputMask(QStringLiteral("00/00/9999; ")); // day and month optional, year required
    keepRoomFor(m_nascimento, QStringLiteral("00/00/0000"));
    typeFromFirstBlank(m_nascimento);
    grid->addWidget(new QLabel(QStringLiteral("Digite a Data de Nascimento:"), area), 1, 0);
    grid->addWidget(m_nascimento, 1, 1);

    m_captcha = new QLineEdit(area);
    m_captcha->setObjectName(QStringLiteral("EditCaptcha"));
    captcha::setUp(m_captcha);
    keepRoomFor(m_captcha, QStringLiteral("WWWWWWWW"));
    grid->addWidget(new QLabel(QStringLiteral("Digite o Captcha"), area), 2, 0);
    grid->addWidget(m_captcha, 2, 1);

    m_consultar = new QPushButton(QStringLiteral("&Consultar"), area);
    m_consultar->setObjectName(QStringLiteral("btnConsultar"));
    m_fechar = new QPushButton(QStringLiteral("&Fechar"), area);
    m_fechar->setObjectName(QStringLiteral("btnFechar"));
    for (QPushButton* b : {m_consultar, m_fechar})
        b->setAutoDefault(false); // Enter in a field presses nothing
    connect(m_consultar, &QPushButton::clicked, this, [this] { guarded([this] { btnConsultarClick(); }); });
    connect(m_fechar, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_consultar);
    buttons->addWidget(m_fechar);
    buttons->addStretch(1);
    grid->addLayout(buttons, 3, 1, 1, 2);

    m_picture = new QLabel(area);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setFixedSize(kPictureSize);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::StyledPanel);
    QLabel* refresh =
        captcha::refreshCaption([this] { guarded([this] { LabAtualizarCaptchaClick(); }); }, area);
    grid->addWidget(m_picture, 0, 3, 3, 1, Qt::AlignCenter);
    grid->addWidget(refresh, 3, 3, Qt::AlignHCenter | Qt::AlignTop);
    grid->setColumnStretch(2, 1);
    return area;
}

QWidget* TfrmConsultaCPF::buildResultArea()
{
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    // A caption sits 1 pixel above its field: 3 between the rows and 1 below keep the rows' pitch
    // and the area's height.
    grid->setContentsMargins(0, 8, 0, 1);
    grid->setVerticalSpacing(3);
    m_nome = resultField("EditRazaoSocial", area);
    m_situacao = resultField("EditSituacao", area);
    m_digito = resultField("EdtDigitoVerificador", area);
    m_codigoControle = resultField("EdtCodCtrlControle", area);
    m_emissao = resultField("EdtEmissao", area);
    m_inscricao = resultField("EdtIncricao", area);
    // Captions above their fields: the name across the area, the rest two by two.
    const std::pair<const char*, QLineEdit*> fields[] = {
        {"Nome da Pessoa Física", m_nome},      {"Situação Cadastral", m_situacao},
        {"Digito Verificador", m_digito},       {"Código de controle do comprovante:", m_codigoControle},
        {"Comprovante emitido às:", m_emissao}, {"Data da Incrição", m_inscricao}};
    for (int i = 0; i < 6; ++i) {
        QWidget* box =
            screenstyle::labeled(QString::fromUtf8(fields[i].first), fields[i].second, 0, false, area);
        if (i == 0)
            grid->addWidget(box, 0, 0, 1, 2);
        else
            grid->addWidget(box, 1 + (i - 1) / 2, (i - 1) % 2);
    }
    return area;
}

QString TfrmConsultaCPF::captchaFile()
{
    return programWrittenFile(QStringLiteral("captch.png"));
}

void TfrmConsultaCPF::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
}

void TfrmConsultaCPF::FormShow()
{
    m_captcha->setFocus();
}

void TfrmConsultaCPF::tmr1Timer()
{
    m_tmr1.stop();
    LabAtualizarCaptchaClick();
    m_cpf->setFocus();
}

void TfrmConsultaCPF::LabAtualizarCaptchaClick()
{
    QByteArray buffer;
    m_consulta.FetchCaptchaImage(buffer);
    const QString path = captchaFile();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(buffer) != buffer.size() ||
        !file.flush())
        throw ECadConsultaCPFException(QStringLiteral("Não foi possível gravar a imagem do captcha em %1: %2")
                                           .arg(path, file.errorString()));
    file.close();
    QImageReader reader(path, "png");
    showCaptcha(captcha::read(reader));
    m_captcha->clear();
    m_captcha->setFocus();
}

void TfrmConsultaCPF::showCaptcha(const QImage& image)
{
    m_image = image;
    const QSize room = m_picture->contentsRect().size();
    m_picture->setPixmap(
        QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

bool TfrmConsultaCPF::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cpf && leavesForAnotherControl(m_cpf, event)) SetNPJExit();
    return QDialog::eventFilter(watched, event);
}

void TfrmConsultaCPF::SetNPJExit()
{
    m_nascimento->setFocus();
}

void TfrmConsultaCPF::btnConsultarClick()
{
    if (!captcha::typed(m_captcha)) return;
    // The date goes as the field shows it: slashes, and a blank for each digit not typed.
    if (!m_consulta.Lookup(m_cpf->text(), m_nascimento->displayText(), m_captcha->text(), false)) return;
    // The whole result in capitals, accented letters included: the name goes on to Nome so.
    m_nome->setText(m_consulta.Nome().toUpper());
    m_situacao->setText(m_consulta.Situacao().toUpper());
    m_emissao->setText(m_consulta.Emissao().toUpper());
    m_codigoControle->setText(m_consulta.CodCtrlControle().toUpper());
    m_digito->setText(m_consulta.DigitoVerificador().toUpper());
    m_inscricao->setText(m_consulta.DataInscricao().toUpper());
    copyIntoSupplier();
}

void TfrmConsultaCPF::copyIntoSupplier()
{
    // Into editing as the screen's own fields do: an open list without rows starts a new one;
    // a row already being edited or inserted stays so. The operator saves on the screen.
    if (m_fornecedor.state() == RecordSet::State::Browse && m_fornecedor.isEmpty())
        m_fornecedor.append();
    else
        m_fornecedor.edit();
    m_fornecedor.setValue(QStringLiteral("Cgccpf"), m_cpf->text());
    m_fornecedor.setValue(QStringLiteral("Nome"), m_nome->text());
}

} // namespace cad
