#pragma once
#include <QString>
#include <memory>
#include <vector>

namespace cad {

/// One address found for a postal code.
struct TCadCEPEndereco
{
    QString Cep;
    QString TipoLogradouro;
    QString Logradouro;
    QString Complemento;
    QString Bairro;
    QString Cidade;
    QString UF;
    QString CodigoCidade; ///< IBGE municipality code
    QString Altitude;
    QString Latitude;
    QString Longitude;
};

/// The addresses of the last search, in the order they were added; owns its records.
class TCadCEPEnderecos
{
public:
    [[nodiscard]] int Count() const { return int(m_itens.size()); }
    [[nodiscard]] const TCadCEPEndereco& operator[](int index) const { return *m_itens.at(size_t(index)); }
    /// Appends an empty record and returns it for filling.
    TCadCEPEndereco& New()
    {
        m_itens.push_back(std::make_unique<TCadCEPEndereco>());
        return *m_itens.back();
    }
    void Clear() { m_itens.clear(); }

private:
    std::vector<std::unique_ptr<TCadCEPEndereco>> m_itens;
};

} // namespace cad
