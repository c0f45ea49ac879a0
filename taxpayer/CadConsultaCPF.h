#pragma once
#include "http/CadHTTP.h"
#include "taxpayer/CadServicos.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace cad {

/// Failure of a CPF look-up; what() is the UTF-8 message shown to the operator.
class ECadConsultaCPFException : public std::runtime_error
{
public:
    explicit ECadConsultaCPFException(const QString& message) : std::runtime_error(message.toStdString()) {}
};

/// Looks a person up by CPF and birth date on the federal revenue service's CPF status page.
class TCadConsultaCPF : public TCadHTTP
{
public:
    /// Name of the embedded service addresses and of the file that replaces them.
    static constexpr const char* kServicos = "CadConsultaCPFServicos";

    /// Loads the service addresses once, from INISERVICOS (the program's folder by default).
    explicit TCadConsultaCPF(const QString& iniServicos = {});

    /// The embedded service addresses, on the CPF host of serviceSettings().
    [[nodiscard]] static QString ServicosPadrao();

    /// The Base64 text of the captcha image embedded in the captcha page.
    [[nodiscard]] QString FetchCaptchaText();
    /// The captcha image, decoded (PNG).
    void FetchCaptchaImage(QByteArray& image);
    /// Queries CPF with BIRTHDATE and the typed CAPTCHA; on success the results hold the page's data.
    bool Lookup(const QString& cpf, const QString& birthDate, const QString& captcha, bool collapseSpaces);
    /// Reads a result page (the answer's text) as Lookup does after its query: fails on the service's
    /// messages or without a name, else fills the result properties.
    void ReadPage(const QString& text, bool collapseSpaces);

    /// The first line of PAGE containing LABEL, with the label blanked out and trimmed.
    [[nodiscard]] static QString ReadInlineValue(const QStringList& page, const QString& label);

    [[nodiscard]] QString IniServicos() const;
    void SetIniServicos(const QString& path) { m_iniServicos = path; }
    [[nodiscard]] const TCadServicos& Servicos() const { return m_servicos; }

    [[nodiscard]] const QString& CPF() const { return m_cpf; }
    [[nodiscard]] const QString& DataNascimento() const { return m_dataNascimento; }
    [[nodiscard]] const QString& DataInscricao() const { return m_dataInscricao; }
    [[nodiscard]] const QString& Nome() const { return m_nome; }
    [[nodiscard]] const QString& Situacao() const { return m_situacao; }
    [[nodiscard]] const QString& DigitoVerificador() const { return m_digitoVerificador; }
    [[nodiscard]] const QString& Emissao() const { return m_emissao; }
    [[nodiscard]] const QString& CodCtrlControle() const { return m_codCtrlControle; }

private:
    QString m_iniServicos;
    TCadServicos m_servicos;
    QString m_tokenCaptcha; // sent with every query; the service no longer hands one out

    QString m_cpf;
    QString m_dataNascimento;
    QString m_dataInscricao;
    QString m_nome;
    QString m_situacao;
    QString m_digitoVerificador;
    QString m_emissao;
    QString m_codCtrlControle;
};

} // namespace cad
