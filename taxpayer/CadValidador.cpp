#include "taxpayer/CadValidador.h"

namespace cad {

namespace {

QString NomeTipo(TCadValTipoDocto tipo)
{
    switch (tipo) {
    case docCPF:
        return QStringLiteral("CPF");
    case docCNPJ:
        return QStringLiteral("CNPJ");
    default:
        return QStringLiteral("Documento");
    }
}

bool SoDigitos(const QString& text)
{
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// Twelve digits or capitals A to Z (the root and order of a CNPJ may hold letters), then two digits.
bool FormatoCNPJ(const QString& text)
{
    if (text.size() != 14 || !SoDigitos(text.right(2))) return false;
    for (const QChar c : text.left(12))
        if ((c < u'0' || c > u'9') && (c < u'A' || c > u'Z')) return false;
    return true;
}

bool UmDigitoRepetido(const QString& text)
{
    return !text.isEmpty() && text.count(text.front()) == text.size();
}

} // namespace

TCadValidador::TCadValidador() : m_calc(std::make_unique<TCadCalcDigito>()) {}

TCadValidador::~TCadValidador() = default;

void TCadValidador::setDocumento(const QString& documento)
{
    if (documento == m_documento) return;
    m_documento = documento;
    m_msgErro = QStringLiteral("Função Validar não foi chamada");
    m_digitoCalculado.clear();
    m_normalizado = Normalizar();
}

QString TCadValidador::Normalizar() const
{
    QString out;
    out.reserve(m_documento.size());
    for (QChar c : m_documento) {
        if (m_ignorarChar.contains(c)) continue;
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
        out.append(c);
    }
    qsizetype from = 0, to = out.size();
    while (from < to && out.at(from).unicode() <= 32)
        ++from;
    while (to > from && out.at(to - 1).unicode() <= 32)
        --to;
    return out.mid(from, to - from);
}

QString TCadValidador::AjustarPara(int tamanho) const
{
    if (!m_ajustarTamanho) return m_normalizado;
    return m_normalizado.size() >= tamanho ? m_normalizado.left(tamanho)
                                           : m_normalizado.rightJustified(tamanho, u'0');
}

int TCadValidador::Digito(const QString& digitos)
{
    m_calc->setDocumento(digitos);
    m_calc->Calcular();
    return m_calc->DigitoFinal();
}

bool TCadValidador::Validar()
{
    m_msgErro.clear();
    m_normalizado = Normalizar();
    m_digitoCalculado.clear();

    if (m_normalizado.isEmpty()) {
        if (m_permiteVazio) return true;
        m_msgErro = NomeTipo(m_tipoDocto) + QStringLiteral(" não pode ser vazio.");
    } else if (m_tipoDocto == docCPF) {
        ValidarCPF();
    } else if (m_tipoDocto == docCNPJ) {
        ValidarCNPJ();
    }

    if (m_msgErro.isEmpty()) return true;
    if (OnMsgErro) OnMsgErro(m_msgErro);
    if (m_raiseExcept) throw ECadValidadorException(m_msgErro);
    return false;
}

void TCadValidador::ValidarCPF()
{
    const QString cpf = AjustarPara(11);
    if (cpf.size() != 11 || !SoDigitos(cpf)) {
        m_msgErro = QStringLiteral("CPF deve ter 11 dígitos. (Apenas números)");
        return;
    }
    if (UmDigitoRepetido(cpf)) {
        m_msgErro = QStringLiteral("CPF inválido !");
        return;
    }
    m_calc->setPesoInicial(2);
    m_calc->setPesoFinal(11);
    m_calc->setPesoAtual(0);
    m_calc->setRegra(TCadCalcDigito::Regra::Modulo11);
    const QString d1 = QString::number(Digito(cpf.left(9)));
    const QString d2 = QString::number(Digito(cpf.left(9) + d1));
    m_digitoCalculado = d1 + d2;
    if (cpf.mid(9, 2) != m_digitoCalculado) {
        m_msgErro = QStringLiteral("CPF inválido.");
        if (m_exibeDigitoCorreto) m_msgErro += QStringLiteral(".. Dígito calculado: ") + m_digitoCalculado;
    }
}

void TCadValidador::ValidarCNPJ()
{
    const QString cnpj = AjustarPara(14);
    if (!FormatoCNPJ(cnpj)) {
        m_msgErro = QStringLiteral("CNPJ deve ter 14 dígitos. (Apenas números)");
        return;
    }
    if (cnpj == QStringLiteral("00000000000000")) {
        m_msgErro = QStringLiteral("CNPJ inválido.");
        return;
    }
    m_calc->Padrao();
    const QString d1 = QString::number(Digito(cnpj.left(12)));
    const QString d2 = QString::number(Digito(cnpj.left(12) + d1));
    m_digitoCalculado = d1 + d2;
    if (cnpj.mid(12, 2) != m_digitoCalculado) {
        m_msgErro = QStringLiteral("CNPJ inválido.");
        if (m_exibeDigitoCorreto) m_msgErro += QStringLiteral(".. Digito calculado: ") + m_digitoCalculado;
    }
}

QString DocumentCheckMessage(TCadValTipoDocto tipo, const QString& documento, const QString& complemento)
{
    TCadValidador validador;
    validador.setRaiseExcept(false);
    validador.setPermiteVazio(false);
    validador.setTipoDocto(tipo);
    validador.setDocumento(documento);
    validador.setComplemento(complemento);
    return validador.Validar() ? QString() : validador.MsgErro();
}

} // namespace cad
