#pragma once
#include <QString>
#include <stdexcept>

namespace cad {

class TCadCEP;

/// Failure of a postal-code search; what() is the UTF-8 message.
class ECadCEPException : public std::runtime_error
{
public:
    explicit ECadCEPException(const QString& message) : std::runtime_error(message.toStdString()) {}
};

/// Base postal-code provider: knows no service, so every search fails.
class TCadCEPWSClass
{
public:
    explicit TCadCEPWSClass(TCadCEP& owner);
    virtual ~TCadCEPWSClass() = default;
    TCadCEPWSClass(const TCadCEPWSClass&) = delete;
    TCadCEPWSClass& operator=(const TCadCEPWSClass&) = delete;

    virtual void BuscarPorCEP(const QString& cep);
    virtual void BuscarPorLogradouro(const QString& cidade, const QString& tipoLogradouro,
                                     const QString& logradouro, const QString& uf, const QString& bairro);

    /// Name shown in "not implemented" messages.
    [[nodiscard]] virtual QString ClassName() const { return QStringLiteral("TCadCEPWSClass"); }
    [[nodiscard]] const QString& URL() const { return m_url; }
    [[nodiscard]] TCadCEP& Owner() const { return m_owner; }

protected:
    /// Raises the owner's OnBuscaEfetuada, with this provider as sender.
    void BuscaEfetuada();
    [[noreturn]] void NaoImplementado(const QString& metodo) const;

    TCadCEP& m_owner;
    QString m_url;
};

} // namespace cad
