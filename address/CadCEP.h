#pragma once
#include "address/CadCEPEndereco.h"
#include "address/CadCEPWSClass.h"
#include "http/CadHTTP.h"

#include <functional>
#include <memory>

namespace cad {

/// Which postal-code service answers; only wsViaCep has a provider in this program.
enum TCadCEPWebService : int
{
    wsNenhum = 0,
    wsBuscarCep,
    wsCepLivre,
    wsRepublicaVirtual,
    wsBases4you,
    wsRNSolucoes,
    wsKingHost,
    wsByJG,
    wsCorreios,
    wsDevMedia,
    wsViaCep,
    wsCorreiosSIGEP,
    wsCepAberto,
    wsWSCep,
    wsOpenCep,
    wsBrasilAPI
};

/// Called at the end of every search that received an answer; the sender is the provider.
using TCadCEPBuscaEfetuada = std::function<void(TCadCEPWSClass* Sender)>;

/// Postal-code (CEP) look-up: asks the chosen web service and lists the addresses found.
class TCadCEP : public TCadHTTP
{
public:
    TCadCEP();
    ~TCadCEP() override;

    [[nodiscard]] TCadCEPWebService WebService() const { return m_webService; }
    /// Replaces the provider by the one of VALUE (nothing happens when it is the current one).
    void SetWebService(TCadCEPWebService value);

    /// The current provider's base address.
    [[nodiscard]] QString URL() const { return m_provider->URL(); }

    [[nodiscard]] const QString& ChaveAcesso() const { return m_chaveAcesso; }
    void SetChaveAcesso(const QString& value) { m_chaveAcesso = value; }
    [[nodiscard]] const QString& Usuario() const { return m_usuario; }
    void SetUsuario(const QString& value) { m_usuario = value; }
    [[nodiscard]] const QString& Senha() const { return m_senha; }
    void SetSenha(const QString& value) { m_senha = value; }
    [[nodiscard]] bool PesquisarIBGE() const { return m_pesquisarIBGE; }
    void SetPesquisarIBGE(bool value) { m_pesquisarIBGE = value; }

    TCadCEPBuscaEfetuada OnBuscaEfetuada;

    /// Searches the digits of CEP; returns how many addresses were found. OnBuscaEfetuada has
    /// run by then. Throws ECadCEPException when CEP has no digits, ECadHTTPError when the
    /// exchange fails.
    int BuscarPorCEP(const QString& cep);

    [[nodiscard]] TCadCEPEnderecos& Enderecos() { return m_enderecos; }
    [[nodiscard]] const TCadCEPEnderecos& Enderecos() const { return m_enderecos; }
    [[nodiscard]] TCadCEPWSClass& Provider() const { return *m_provider; }

private:
    TCadCEPEnderecos m_enderecos;
    std::unique_ptr<TCadCEPWSClass> m_provider;
    TCadCEPWebService m_webService = wsNenhum;
    QString m_chaveAcesso;
    QString m_usuario;
    QString m_senha;
    bool m_pesquisarIBGE = true;
};

} // namespace cad
