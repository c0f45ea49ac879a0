#include "taxpayer/CadConsultaCNPJ.h"

#include "core/Clock.h"
#include "core/DigitsOnly.h"
#include "http/ServiceSettings.h"
#include "taxpayer/CadValidador.h"
#include "taxpayer/FormValue.h"
#include "taxpayer/LabeledPage.h"

#include <QRegularExpression>
#include <QTime>

namespace cad {

namespace {

const QString kCRLF = QStringLiteral("\r\n");

// The page the service sends when it wants the search done again.
bool FormularioDeNovo(const QString& text)
{
    return text.contains(QStringLiteral("Captcha Sonoro")) &&
           text.contains(QStringLiteral("Digite o número de CNPJ da empresa e clique em"));
}

QString SemAsteriscosIniciais(QString text)
{
    while (text.startsWith(u'*'))
        text.remove(0, 1);
    return text;
}

} // namespace

TCadConsultaCNPJ::TCadConsultaCNPJ(const QString& iniServicos) : m_iniServicos(iniServicos)
{
    m_servicos.Carregar(IniServicos(), ServicosPadrao());
}

QString TCadConsultaCNPJ::ServicosPadrao()
{
    const QString host = serviceSettings().cnpjHost;
    return QStringLiteral(";;;;;;;;;;;;;; ENDERECOS DA RECEITA ;;;;;;;;;;;;;;;;") + kCRLF +
           QStringLiteral("[ENDERECOS]") + kCRLF +
           QStringLiteral("CAPTCH=https://%1/Servicos/cnpjreva/captcha/gerarCaptcha.asp").arg(host) + kCRLF +
           QStringLiteral("REFER=http://%1/Servicos/cnpjreva/Cnpjreva_Solicitacao_CS.asp").arg(host) + kCRLF +
           QStringLiteral("POST=https://%1/Servicos/cnpjreva/valida.asp").arg(host);
}

QString TCadConsultaCNPJ::IniServicos() const
{
    return m_iniServicos.isEmpty() ? TCadServicos::CaminhoPadrao(QString::fromLatin1(kServicos))
                                   : m_iniServicos;
}

void TCadConsultaCNPJ::FetchCaptchaImage(QByteArray& image)
{
    try {
        RequestGet(m_servicos.Valor(QStringLiteral("CAPTCH")));
        if (StatusCode() == 200) image = ResponseBody();
    } catch (const std::exception& e) {
        throw ECadConsultaCNPJException(
            QStringLiteral("Erro na hora de fazer o download da imagem do captcha.") + kCRLF +
            QString::fromUtf8(e.what()));
    }
}

bool TCadConsultaCNPJ::Lookup(const QString& cnpj, const QString& captcha, bool collapseSpaces)
{
    const QString message = DocumentCheckMessage(docCNPJ, cnpj, QString());
    if (!message.isEmpty()) throw ECadConsultaCNPJException(message);

    LimparResultados();
    Consultar(DocumentKey(cnpj), captcha); // a CNPJ may carry capitals in its first twelve places
    ReadPage(ResponseText(), collapseSpaces);
    return true;
}

void TCadConsultaCNPJ::ReadPage(const QString& text, bool collapseSpaces)
{
    VerificarMensagens(text);

    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    for (const QString& line : StripTags(text).split(lineBreak))
        if (!TrimBlanks(line).isEmpty()) lines << line;
    LabeledPage page(std::move(lines));
    LerCampos(page);

    m_cidade = SemAsteriscosIniciais(m_cidade);
    m_uf = SemAsteriscosIniciais(m_uf);
    m_ibgeMunicipio.clear(); // resolving it (PesquisarIBGE) is not used by this program

    if (TrimBlanks(m_razaoSocial).isEmpty())
        throw ECadConsultaCNPJException(QStringLiteral("Não foi possível obter os dados."));

    if (collapseSpaces) {
        for (QString* text :
             {&m_razaoSocial, &m_fantasia, &m_endereco, &m_numero, &m_complemento, &m_bairro, &m_cidade})
            *text = CollapseSpaces(*text);
    }
}

void TCadConsultaCNPJ::Consultar(const QString& cnpj, const QString& captcha)
{
    for (int attempt = 1; attempt <= 3; ++attempt) {
        ClearRequest();
        const QString body = QStringLiteral("origem=comprovante&cnpj=") + cnpj +
                             QStringLiteral("&txtTexto_captcha_serpro_gov_br=") +
                             FormValue(TrimBlanks(captcha)) + QStringLiteral("&search_type=cnpj");
        SetRequestBody(ToSingleByte(body));
        SetContentType(QStringLiteral("application/x-www-form-urlencoded"));
        // The service wants this cookie on every attempt, so a retry sends it twice.
        Cookies().append(QStringLiteral("flag=1"));
        ExtraHeaders().append(QStringLiteral("Referer: ") + m_servicos.Valor(QStringLiteral("REFER")));
        RequestPost(m_servicos.Valor(QStringLiteral("POST")));
        if (attempt == 3 || !FormularioDeNovo(ResponseText())) break;
    }
}

void TCadConsultaCNPJ::VerificarMensagens(const QString& text)
{
    struct Mensagem
    {
        QString encontrada;
        QString erro;
    };
    const QString naoExiste = QStringLiteral("Não existe no Cadastro de Pessoas Jurídicas o número de CNPJ "
                                             "informado. Verifique se o mesmo foi digitado corretamente.");
    const Mensagem mensagens[] = {
        {QStringLiteral("Imagem com os caracteres anti robô"), QStringLiteral("Catpcha errado.")},
        {QStringLiteral("Erro na Consulta"), QStringLiteral("Erro na Consulta. Atualize o Captcha")},
        {naoExiste, naoExiste},
        {QStringLiteral("a. No momento não podemos atender a sua solicitação. Por favor tente mais tarde."),
         QStringLiteral("Erro no site da receita federal. Tente mais tarde.")},
    };
    for (const Mensagem& m : mensagens)
        if (text.contains(m.encontrada)) throw ECadConsultaCNPJException(m.erro);
}

void TCadConsultaCNPJ::LerCampos(LabeledPage& page)
{
    const auto ler = [&page](const char* label) { return page.readLabelValue(QString::fromUtf8(label)); };

    m_cnpj = ler("NÚMERO DE INSCRIÇÃO");
    if (!m_cnpj.isEmpty()) m_empresaTipo = page.readLabelValue(m_cnpj);
    m_abertura = ParseDateText(ler("DATA DE ABERTURA"));
    m_razaoSocial = ler("NOME EMPRESARIAL");
    m_fantasia = ler("TÍTULO DO ESTABELECIMENTO (NOME DE FANTASIA)");
    m_porte = ler("PORTE");
    m_cnae1 = ler("CÓDIGO E DESCRIÇÃO DA ATIVIDADE ECONÔMICA PRINCIPAL");
    m_endereco = ler("LOGRADOURO");
    m_numero = ler("NÚMERO");
    m_complemento = ler("COMPLEMENTO");
    const QString cep = DigitsOnly(ler("CEP"));
    m_cep = cep.isEmpty() ? QString() : cep.left(5) + u'-' + cep.mid(5, 3);
    m_bairro = ler("BAIRRO/DISTRITO");
    m_cidade = ler("MUNICÍPIO");
    m_uf = ler("UF");
    m_situacao = ler("SITUAÇÃO CADASTRAL");
    m_situacaoEspecial = ler("SITUAÇÃO ESPECIAL");
    m_dataSituacao = ParseDateText(ler("DATA DA SITUAÇÃO CADASTRAL"));
    m_dataSituacaoEspecial = ParseDateText(ler("DATA DA SITUAÇÃO ESPECIAL"));
    m_naturezaJuridica = ler("CÓDIGO E DESCRIÇÃO DA NATUREZA JURÍDICA");
    // A blank e-mail leaves no value line, so the next label is read in its place.
    m_endEletronico = ler("ENDEREÇO ELETRÔNICO");
    if (TrimBlanks(m_endEletronico) == QStringLiteral("TELEFONE")) m_endEletronico.clear();
    m_telefone = ler("TELEFONE");
    m_efr = ler("ENTE FEDERATIVO RESPONSÁVEL (EFR)");
    m_motivoSituacaoCad = ler("MOTIVO DE SITUAÇÃO CADASTRAL");

    // Secondary activities: the first follows the label, each next one follows the previous one,
    // down to a blank line (the service ends the list with "&nbsp;").
    const QString rotulo = QStringLiteral("CÓDIGO E DESCRIÇÃO DAS ATIVIDADES ECONÔMICAS SECUNDÁRIAS");
    m_cnae2.clear();
    for (QString v = page.readLabelValue(rotulo); !TrimBlanks(v).isEmpty(); v = page.readLabelValue(rotulo)) {
        m_cnae2 << CollapseSpaces(v);
        for (v = page.readLabelValue(v); !TrimBlanks(v).isEmpty(); v = page.readLabelValue(v))
            m_cnae2 << CollapseSpaces(v);
    }
}

void TCadConsultaCNPJ::LimparResultados()
{
    for (QString* text : {&m_cnpj,
                          &m_empresaTipo,
                          &m_razaoSocial,
                          &m_fantasia,
                          &m_porte,
                          &m_cnae1,
                          &m_endereco,
                          &m_numero,
                          &m_complemento,
                          &m_cep,
                          &m_bairro,
                          &m_cidade,
                          &m_uf,
                          &m_situacao,
                          &m_situacaoEspecial,
                          &m_naturezaJuridica,
                          &m_endEletronico,
                          &m_telefone,
                          &m_efr,
                          &m_motivoSituacaoCad,
                          &m_ibgeMunicipio})
        text->clear();
    m_abertura = m_dataSituacao = m_dataSituacaoEspecial = QDate();
    m_cnae2.clear();
}

QString TCadConsultaCNPJ::ReadLabelValue(QStringList& page, const QString& label)
{
    LabeledPage labeled(page);
    const QString value = labeled.readLabelValue(label);
    page = labeled.lines();
    return value;
}

QDate TCadConsultaCNPJ::ParseDateText(const QString& text)
{
    QString t = text;
    if (t.isEmpty() || t == QStringLiteral("0")) return {};
    static const QRegularExpression zone(QStringLiteral("(Z|[+-]\\d\\d:\\d\\d)$"));
    t.remove(zone);
    static const QRegularExpression separators(QStringLiteral("[.\\-/]"));
    t.replace(separators, QStringLiteral("/"));

    // Day/month[/year] and an optional hour:minute[:second], Brazilian order.
    static const QRegularExpression form(QStringLiteral(
        "^\\s*(\\d{1,2})/(\\d{1,2})(?:/(\\d{1,4}))?(?:[\\sT]+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const QRegularExpressionMatch m = form.match(t);
    if (!m.hasMatch()) return {};
    int year = m.captured(3).isEmpty() ? clock::now().date().year() : m.captured(3).toInt();
    if (m.captured(3).size() <= 2 && !m.captured(3).isEmpty()) year += year < 50 ? 2000 : 1900;
    if (!m.captured(4).isEmpty() &&
        !QTime::isValid(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()))
        return {};
    const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
    return date.isValid() ? date : QDate();
}

} // namespace cad
