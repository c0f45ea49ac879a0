#include "taxpayer/CadConsultaCPF.h"

#include "http/ServiceSettings.h"
#include "taxpayer/CadValidador.h"
#include "taxpayer/FormValue.h"

#include <QRegularExpression>

namespace cad {

namespace {

const QString kCRLF = QStringLiteral("\r\n");

void VerificarMensagens(const QString& text)
{
    struct Mensagem
    {
        QString encontrada;
        QString erro;
    };
    const QString invalido =
        QStringLiteral("O número do CPF não é válido. Verifique se o mesmo foi digitado corretamente.");
    const QString naoExiste = QStringLiteral("Não existe no Cadastro de Pessoas Jurídicas o número de CPF "
                                             "informado. Verifique se o mesmo foi digitado corretamente.");
    const Mensagem mensagens[] = {
        {QStringLiteral("Os caracteres da imagem não foram preenchidos corretamente"),
         QStringLiteral("Os caracteres da imagem não foram preenchidos corretamente.")},
        {invalido, invalido},
        {naoExiste, naoExiste},
        {QStringLiteral("a. No momento não podemos atender a sua solicitação. Por favor tente mais tarde."),
         QStringLiteral("Erro no site da receita federal. Tente mais tarde.")},
    };
    for (const Mensagem& m : mensagens)
        if (text.contains(m.encontrada)) throw ECadConsultaCPFException(m.erro);
}

} // namespace

TCadConsultaCPF::TCadConsultaCPF(const QString& iniServicos) : m_iniServicos(iniServicos)
{
    SetIsUTF8(false);
    m_servicos.Carregar(IniServicos(), ServicosPadrao());
}

QString TCadConsultaCPF::ServicosPadrao()
{
    const QString base =
        QStringLiteral("https://%1/Servicos/CPF/ConsultaSituacao/").arg(serviceSettings().cpfHost);
    return QStringLiteral(";;;;;;;;;;;;;; ENDERECOS DA RECEITA ;;;;;;;;;;;;;;;;") + kCRLF +
           QStringLiteral("[ENDERECOS]") + kCRLF + QStringLiteral("CAPTCH=") + base +
           QStringLiteral("ConsultaPublicaSonoro.asp") + kCRLF + QStringLiteral("POST=") + base +
           QStringLiteral("ConsultaPublicaExibir.asp");
}

QString TCadConsultaCPF::IniServicos() const
{
    return m_iniServicos.isEmpty() ? TCadServicos::CaminhoPadrao(QString::fromLatin1(kServicos))
                                   : m_iniServicos;
}

QString TCadConsultaCPF::FetchCaptchaText()
{
    try {
        RequestGet(m_servicos.Valor(QStringLiteral("CAPTCH")));
        const QString text = ResponseText();
        const QString inicio = QStringLiteral("src=\"data:image/png;base64,");
        const qsizetype start = text.indexOf(inicio);
        if (start < 0) return {};
        const qsizetype from = start + inicio.size();
        const qsizetype end = text.indexOf(QStringLiteral("\">"), from);
        if (end < 0) return {};
        QString base64 = text.mid(from, end - from);
        const qsizetype amp = base64.indexOf(QStringLiteral("amp;"));
        if (amp >= 0) base64.remove(amp, 4);
        return base64;
    } catch (const std::exception& e) {
        throw ECadConsultaCPFException(QStringLiteral("Erro na hora de obter a URL do captcha.") + kCRLF +
                                       QString::fromUtf8(e.what()));
    }
}

void TCadConsultaCPF::FetchCaptchaImage(QByteArray& image)
{
    image.clear();
    try {
        // Characters outside the Base64 alphabet (line breaks) are skipped by the decoder.
        image = QByteArray::fromBase64(FetchCaptchaText().toLatin1());
    } catch (const std::exception& e) {
        throw ECadConsultaCPFException(
            QStringLiteral("Erro na hora de fazer o download da imagem do captcha.") + kCRLF +
            QString::fromUtf8(e.what()));
    }
}

bool TCadConsultaCPF::Lookup(const QString& cpf, const QString& birthDate, const QString& captcha,
                             bool collapseSpaces)
{
    const QString message = DocumentCheckMessage(docCPF, cpf, QString());
    if (!message.isEmpty()) throw ECadConsultaCPFException(message);

    const QString body = QStringLiteral("TxtCPF=") + FormValue(cpf) + QStringLiteral("&txtDataNascimento=") +
                         FormValue(birthDate) + QStringLiteral("&txtToken_captcha_serpro_gov_br=") +
                         FormValue(m_tokenCaptcha) + QStringLiteral("&txtTexto_captcha_serpro_gov_br=") +
                         FormValue(TrimBlanks(captcha)) + QStringLiteral("&Enviar=Consultar");
    ClearRequest();
    SetRequestBody(ToSingleByte(body));
    SetContentType(QStringLiteral("application/x-www-form-urlencoded"));
    RequestPost(m_servicos.Valor(QStringLiteral("POST")));
    ReadPage(ResponseText(), collapseSpaces);
    return true;
}

void TCadConsultaCPF::ReadPage(const QString& text, bool collapseSpaces)
{
    VerificarMensagens(text);

    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList page;
    for (const QString& line : DecodeEntities(Utf8ToSingleByte(StripTags(text))).split(lineBreak))
        if (!TrimBlanks(line).isEmpty()) page << line;

    m_cpf = ReadInlineValue(page, QStringLiteral("No do CPF:"));
    m_nome = ReadInlineValue(page, QStringLiteral("Nome:"));
    m_dataNascimento = ReadInlineValue(page, QStringLiteral("Data de Nascimento:"));
    m_situacao = ReadInlineValue(page, QStringLiteral("Situação Cadastral:"));
    m_dataInscricao = ReadInlineValue(page, QStringLiteral("Data da Inscrição:"));
    m_emissao = ReadInlineValue(page, QStringLiteral("Comprovante emitido às:"));
    m_codCtrlControle = ReadInlineValue(page, QStringLiteral("Código de controle do comprovante:"));
    m_digitoVerificador = ReadInlineValue(page, QStringLiteral("Digito Verificador:"));

    if (TrimBlanks(m_nome).isEmpty()) {
        if (!TrimBlanks(ReadInlineValue(page, QStringLiteral("Data de nascimento informada"))).isEmpty())
            throw ECadConsultaCPFException(
                QStringLiteral("Data de nascimento divergente da base da Receita Federal."));
        throw ECadConsultaCPFException(QStringLiteral("Não foi possível obter os dados."));
    }
    if (collapseSpaces) m_nome = CollapseSpaces(m_nome);
}

QString TCadConsultaCPF::ReadInlineValue(const QStringList& page, const QString& label)
{
    for (const QString& line : page)
        if (line.contains(label)) return TrimBlanks(QString(line).replace(label, QStringLiteral(" ")));
    return {};
}

} // namespace cad
