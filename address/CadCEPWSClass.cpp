#include "address/CadCEPWSClass.h"

#include "address/CadCEP.h"

namespace cad {

TCadCEPWSClass::TCadCEPWSClass(TCadCEP& owner) : m_owner(owner) {}

void TCadCEPWSClass::BuscarPorCEP(const QString&)
{
    NaoImplementado(QStringLiteral("BuscarPorCEP"));
}

void TCadCEPWSClass::BuscarPorLogradouro(const QString&, const QString&, const QString&, const QString&,
                                         const QString&)
{
    NaoImplementado(QStringLiteral("BuscarPorLogradouro"));
}

void TCadCEPWSClass::BuscaEfetuada()
{
    if (m_owner.OnBuscaEfetuada) m_owner.OnBuscaEfetuada(this);
}

void TCadCEPWSClass::NaoImplementado(const QString& metodo) const
{
    throw ECadCEPException(
        QStringLiteral("WebService %1 não implementa o método: %2").arg(ClassName(), metodo));
}

} // namespace cad
