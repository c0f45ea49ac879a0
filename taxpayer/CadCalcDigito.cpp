#include "taxpayer/CadCalcDigito.h"

namespace cad {

void TCadCalcDigito::Padrao()
{
    m_pesoInicial = 2;
    m_pesoFinal = 9;
    m_pesoAtual = 0;
    m_regra = Regra::Modulo11;
}

void TCadCalcDigito::Calcular()
{
    int peso = (m_pesoAtual >= m_pesoInicial && m_pesoAtual <= m_pesoFinal) ? m_pesoAtual : m_pesoInicial;
    m_soma = 0;
    for (qsizetype i = m_documento.size() - 1; i >= 0; --i) {
        const QChar c = m_documento.at(i);
        // A position counts as its character code minus 48: digits keep their value and the
        // capitals of an alphanumeric CNPJ count A = 17 to Z = 42. Anything else weighs nothing.
        const bool counted = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z');
        const int valor = counted ? c.unicode() - u'0' : 0;
        m_soma += valor * peso;
        if (++peso > m_pesoFinal) peso = m_pesoInicial;
    }
    m_resto = m_soma % 11;
    m_digito = m_resto <= 1 ? 0 : 11 - m_resto;
}

} // namespace cad
