#include "address/CadWSViaCEP.h"

#include "address/CadCEP.h"
#include "core/DigitsOnly.h"
#include "http/ServiceSettings.h"

#include <QRegularExpression>
#include <QUrl>

namespace cad {

namespace {

// Upper case of the single-byte code page, one character for one (no "SS" for sharp s).
QString Maiusculas(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c != QChar(0xDF) && c != QChar(0xB5)) // their capitals are outside the code page
            c = c.toUpper();
    return out;
}

} // namespace

TCadWSViaCEP::TCadWSViaCEP(TCadCEP& owner) : TCadCEPWSClass(owner)
{
    m_owner.SetParseText(true);
    // HTTPS: the address and IBGE code it returns are stored. A setting that names its scheme
    // (a stand-in on loopback) keeps it.
    const QString host = serviceSettings().viaCepHost;
    m_url = (host.contains(QLatin1String("://")) ? host : QStringLiteral("https://") + host) +
            QStringLiteral("/ws/");
}

void TCadWSViaCEP::BuscarPorCEP(const QString& cep)
{
    if (cep.isEmpty()) throw ECadCEPException(QStringLiteral("CEP é obrigatório e deve ser informado!"));
    Buscar(m_url + DigitsOnly(cep) + QStringLiteral("/xml"));
}

void TCadWSViaCEP::BuscarPorLogradouro(const QString& cidade, const QString&, const QString& logradouro,
                                       const QString& uf, const QString&)
{
    const auto parte = [](const QString& text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text.trimmed()));
    };
    Buscar(m_url + parte(uf) + u'/' + parte(cidade) + u'/' + parte(logradouro) + QStringLiteral("/xml"));
}

void TCadWSViaCEP::Buscar(const QString& url)
{
    m_owner.RequestGet(url); // a failed exchange ends the search here: no answer, no event
    try {
        ReadAnswer(m_owner.ResponseLines().join(QStringLiteral("\r\n")), m_owner.Enderecos());
    } catch (...) {
        BuscaEfetuada();
        throw;
    }
    BuscaEfetuada();
}

void TCadWSViaCEP::ReadAnswer(QString text, TCadCEPEnderecos& enderecos)
{
    // No XML parser: one line per <endereco> block, elements pulled out of each line.
    text.remove(QStringLiteral("\r\n"));
    text.remove(QStringLiteral("<enderecos>"));
    text.remove(QStringLiteral("</enderecos>"));
    text.replace(QStringLiteral("</endereco>"), QStringLiteral("</endereco>\r\n"));
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : text.split(lineBreak)) {
        const QString cep = ReadElement(line, QStringLiteral("cep"));
        if (cep.isEmpty()) continue;
        TCadCEPEndereco& e = enderecos.New();
        e.Cep = cep;
        e.Logradouro = ReadElement(line, QStringLiteral("logradouro"));
        e.Complemento = ReadElement(line, QStringLiteral("complemento"));
        e.Bairro = ReadElement(line, QStringLiteral("bairro"));
        e.Cidade = ReadElement(line, QStringLiteral("localidade"));
        e.UF = ReadElement(line, QStringLiteral("uf"));
        e.CodigoCidade = ReadElement(line, QStringLiteral("ibge"));
    }
}

QString TCadWSViaCEP::ReadElement(const QString& line, const QString& name, bool allowPrefix)
{
    const QString upperLine = Maiusculas(line);
    const QString upperName = Maiusculas(name);
    const QString open = u'<' + upperName;

    qsizetype at = -1;
    for (qsizetype from = 0;;) {
        const qsizetype i = upperLine.indexOf(open, from);
        if (i < 0) break;
        const qsizetype next = i + open.size();
        if (next < upperLine.size() && (upperLine.at(next) == u' ' || upperLine.at(next) == u'>')) {
            at = i;
            break;
        }
        from = i + 1; // <cepx> is not <cep>
    }
    if (at >= 0) {
        const qsizetype close = upperLine.indexOf(u'>', at);
        const qsizetype end = upperLine.indexOf(u'/' + upperName + u'>');
        if (close >= 0 && end >= 0) {
            const qsizetype start = close + 1;
            // The character in front of "/" is the "<" of the end tag.
            return end - 1 > start ? line.mid(start, end - 1 - start) : QString();
        }
    }

    if (!allowPrefix) return {};
    const qsizetype colon = line.indexOf(u':' + name);
    if (colon <= 0) return {};
    qsizetype prefixStart = colon;
    while (prefixStart > 0 && line.at(prefixStart - 1) != u'<')
        --prefixStart;
    return ReadElement(line, line.mid(prefixStart, colon - prefixStart) + u':' + name, false);
}

} // namespace cad
