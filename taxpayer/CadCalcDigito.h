#pragma once
#include <QString>

namespace cad {

/// Weighted check-digit calculator: weighs a string of digits (and capitals, which count their
/// code minus 48) from the right with cycling weights.
class TCadCalcDigito
{
public:
    enum class Regra
    {
        Modulo11
    };

    /// First weight 2, last weight 9, current weight 0, modulo 11 (the CNPJ setting).
    void Padrao();

    void setDocumento(const QString& digits) { m_documento = digits; }
    void setPesoInicial(int peso) { m_pesoInicial = peso; }
    void setPesoFinal(int peso) { m_pesoFinal = peso; }
    void setPesoAtual(int peso) { m_pesoAtual = peso; }
    void setRegra(Regra regra) { m_regra = regra; }

    [[nodiscard]] const QString& Documento() const { return m_documento; }
    [[nodiscard]] int PesoInicial() const { return m_pesoInicial; }
    [[nodiscard]] int PesoFinal() const { return m_pesoFinal; }
    [[nodiscard]] int PesoAtual() const { return m_pesoAtual; }
    [[nodiscard]] Regra RegraCalculo() const { return m_regra; }

    /// One run over Documento; fills SomaDigitos, RestoDivisao and DigitoFinal.
    void Calcular();

    [[nodiscard]] int SomaDigitos() const { return m_soma; }
    [[nodiscard]] int RestoDivisao() const { return m_resto; }
    [[nodiscard]] int DigitoFinal() const { return m_digito; }

private:
    QString m_documento;
    int m_pesoInicial = 2;
    int m_pesoFinal = 9;
    int m_pesoAtual = 0;
    Regra m_regra = Regra::Modulo11;
    int m_soma = 0;
    int m_resto = 0;
    int m_digito = 0;
};

} // namespace cad
