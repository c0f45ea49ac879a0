#pragma once
#include "address/CadCEPEndereco.h"
#include "address/CadCEPWSClass.h"

namespace cad {

/// ViaCEP provider: GET <base>/ws/<digits>/xml over HTTPS, XML answer read line by line.
class TCadWSViaCEP : public TCadCEPWSClass
{
public:
    explicit TCadWSViaCEP(TCadCEP& owner);

    void BuscarPorCEP(const QString& cep) override;
    void BuscarPorLogradouro(const QString& cidade, const QString& tipoLogradouro, const QString& logradouro,
                             const QString& uf, const QString& bairro) override;
    [[nodiscard]] QString ClassName() const override { return QStringLiteral("TCadWSViaCEP"); }

    /// Appends to ENDERECOS one address per block of the answer TEXT that has a "cep" element.
    static void ReadAnswer(QString text, TCadCEPEnderecos& enderecos);
    /// Content of element NAME in LINE: names in any case, and, when ALLOWPREFIX, with a namespace
    /// prefix; empty when absent.
    [[nodiscard]] static QString ReadElement(const QString& line, const QString& name,
                                             bool allowPrefix = true);

private:
    void Buscar(const QString& url);
};

} // namespace cad
