#pragma once
#include "taxpayer/CadCalcDigito.h"

#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

namespace cad {

/// Document types the validator knows; only docCPF and docCNPJ have rules here.
enum TCadValTipoDocto : int
{
    docCPF = 0,
    docCNPJ,
    docUF,
    docInscEst,
    docNumCheque,
    docPIS,
    docCEP,
    docCartaoCredito,
    docSuframa,
    docGTIN,
    docRenavam,
    docEmail,
    docCNH,
    docPrefixoGTIN,
    docCAEPF,
    docPlacaMercosul,
    docCNS
};

/// Raised by TCadValidador::Validar when RaiseExcept is set; what() is the UTF-8 message.
class ECadValidadorException : public std::runtime_error
{
public:
    explicit ECadValidadorException(const QString& message) : std::runtime_error(message.toStdString()) {}
};

/// Called with the error message whenever a validation fails.
using TCadValidadorMsg = std::function<void(const QString& Mensagem)>;

/// Decides whether a typed CPF or CNPJ is well formed and has correct check digits.
class TCadValidador
{
public:
    TCadValidador();
    ~TCadValidador();
    TCadValidador(const TCadValidador&) = delete;
    TCadValidador& operator=(const TCadValidador&) = delete;

    [[nodiscard]] TCadValTipoDocto TipoDocto() const { return m_tipoDocto; }
    void setTipoDocto(TCadValTipoDocto tipo) { m_tipoDocto = tipo; }

    [[nodiscard]] const QString& Documento() const { return m_documento; }
    /// Stores and normalises the text; a different text invalidates the last result.
    void setDocumento(const QString& documento);

    [[nodiscard]] const QString& Complemento() const { return m_complemento; }
    void setComplemento(const QString& complemento) { m_complemento = complemento; }

    [[nodiscard]] bool ExibeDigitoCorreto() const { return m_exibeDigitoCorreto; }
    void setExibeDigitoCorreto(bool exibe) { m_exibeDigitoCorreto = exibe; }

    [[nodiscard]] const QString& IgnorarChar() const { return m_ignorarChar; }
    void setIgnorarChar(const QString& chars) { m_ignorarChar = chars; }

    [[nodiscard]] bool AjustarTamanho() const { return m_ajustarTamanho; }
    void setAjustarTamanho(bool ajustar) { m_ajustarTamanho = ajustar; }

    [[nodiscard]] bool PermiteVazio() const { return m_permiteVazio; }
    void setPermiteVazio(bool permite) { m_permiteVazio = permite; }

    [[nodiscard]] bool RaiseExcept() const { return m_raiseExcept; }
    void setRaiseExcept(bool raise) { m_raiseExcept = raise; }

    TCadValidadorMsg OnMsgErro;

    /// True when Documento is valid under TipoDocto; otherwise MsgErro says why.
    [[nodiscard]] bool Validar();

    [[nodiscard]] const QString& MsgErro() const { return m_msgErro; }
    /// The check digits computed by the last Validar (empty before it or when not reached).
    [[nodiscard]] const QString& DigitoCalculado() const { return m_digitoCalculado; }
    /// Documento without IgnorarChar characters, upper-cased and trimmed.
    [[nodiscard]] const QString& DocumentoNormalizado() const { return m_normalizado; }

private:
    [[nodiscard]] QString Normalizar() const;
    [[nodiscard]] QString AjustarPara(int tamanho) const;
    void ValidarCPF();
    void ValidarCNPJ();
    [[nodiscard]] int Digito(const QString& digitos);

    TCadValTipoDocto m_tipoDocto = docCPF;
    QString m_documento;
    QString m_complemento;
    bool m_exibeDigitoCorreto = false;
    QString m_ignorarChar = QStringLiteral("./-");
    bool m_ajustarTamanho = false;
    bool m_permiteVazio = false;
    bool m_raiseExcept = false;

    QString m_normalizado;
    QString m_msgErro;
    QString m_digitoCalculado;
    std::unique_ptr<TCadCalcDigito> m_calc;
};

/// The validator's message for DOCUMENTO of TIPO (empty text when valid), from a
/// throw-away validator with the default settings.
[[nodiscard]] QString DocumentCheckMessage(TCadValTipoDocto tipo, const QString& documento,
                                           const QString& complemento);

} // namespace cad
