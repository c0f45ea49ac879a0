#include "address/CadCEP.h"

#include "address/CadWSViaCEP.h"
#include "core/DigitsOnly.h"

namespace cad {

namespace {

const char* const kNomesProvedores[] = {
    "TCadCEPWSClass",      "TCadWSBuscarCEP",  "TCadWSCEPLivre", "TCadWSRepublicaVirtual",
    "TCadWSBases4you",     "TCadWSRNSolucoes", "TCadWSKingHost", "TCadWSByJG",
    "TCadWSCorreiosSIGEP", "TCadWSDevMedia",   "TCadWSViaCEP",   "TCadWSCorreiosSIGEP",
    "TCadWSCEPAberto",     "TCadWSWSCEP",      "TCadWSOpenCEP",  "TCadWSBrasilAPI",
};

// Providers of services this program never uses: they behave as the base provider, under their name.
class TCadWSNaoSuportado : public TCadCEPWSClass
{
public:
    TCadWSNaoSuportado(TCadCEP& owner, const char* name) : TCadCEPWSClass(owner), m_name(name) {}
    [[nodiscard]] QString ClassName() const override { return QString::fromLatin1(m_name); }

private:
    const char* m_name;
};

} // namespace

TCadCEP::TCadCEP() : m_provider(std::make_unique<TCadCEPWSClass>(*this)) {}

TCadCEP::~TCadCEP()
{
    m_enderecos.Clear();
    m_provider.reset();
}

void TCadCEP::SetWebService(TCadCEPWebService value)
{
    if (value == m_webService) return;
    std::unique_ptr<TCadCEPWSClass> provider;
    if (value == wsViaCep)
        provider = std::make_unique<TCadWSViaCEP>(*this);
    else if (value > wsNenhum && value <= wsBrasilAPI)
        provider = std::make_unique<TCadWSNaoSuportado>(*this, kNomesProvedores[value]);
    else
        provider = std::make_unique<TCadCEPWSClass>(*this);
    m_provider = std::move(provider);
    m_webService = value;
}

int TCadCEP::BuscarPorCEP(const QString& cep)
{
    m_enderecos.Clear();
    const QString digits = DigitsOnly(cep).trimmed();
    if (digits.isEmpty()) throw ECadCEPException(QStringLiteral("CEP é obrigatório e deve ser informado!"));
    m_provider->BuscarPorCEP(digits);
    return m_enderecos.Count();
}

} // namespace cad
