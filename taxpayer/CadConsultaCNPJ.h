#pragma once
#include "http/CadHTTP.h"
#include "taxpayer/CadServicos.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace cad {

class LabeledPage;

/// Failure of a CNPJ look-up; what() is the UTF-8 message shown to the operator.
class ECadConsultaCNPJException : public std::runtime_error
{
public:
    explicit ECadConsultaCNPJException(const QString& message) : std::runtime_error(message.toStdString()) {}
};

/// Looks a company up by CNPJ on the federal revenue service's certificate pages.
class TCadConsultaCNPJ : public TCadHTTP
{
public:
    /// Name of the embedded service addresses and of the file that replaces them.
    static constexpr const char* kServicos = "CadConsultaCNPJServicos";

    /// Loads the service addresses once, from INISERVICOS (the program's folder by default).
    explicit TCadConsultaCNPJ(const QString& iniServicos = {});

    /// The embedded service addresses, on the CNPJ host of serviceSettings().
    [[nodiscard]] static QString ServicosPadrao();

    /// A new captcha image, as the service sends it (PNG).
    void FetchCaptchaImage(QByteArray& image);
    /// Queries CNPJ with the typed CAPTCHA; on success the result properties hold the page's data.
    bool Lookup(const QString& cnpj, const QString& captcha, bool collapseSpaces);
    /// Reads a result page (the answer's text) as Lookup does after its query: fails on the service's
    /// messages or without a company name, else fills the result properties.
    void ReadPage(const QString& text, bool collapseSpaces);

    /// Value on the line after the line equal to LABEL, which is then removed from PAGE.
    [[nodiscard]] static QString ReadLabelValue(QStringList& page, const QString& label);
    /// Day/month/year text (optional time and zone) to a date; the null date when unreadable.
    [[nodiscard]] static QDate ParseDateText(const QString& text);

    [[nodiscard]] const QString& CNPJ() const { return m_cnpj; }
    void SetCNPJ(const QString& value) { m_cnpj = value; }
    [[nodiscard]] bool PesquisarIBGE() const { return m_pesquisarIBGE; }
    void SetPesquisarIBGE(bool value) { m_pesquisarIBGE = value; }
    /// Path of the address file; the program's folder when never set.
    [[nodiscard]] QString IniServicos() const;
    void SetIniServicos(const QString& path) { m_iniServicos = path; }
    [[nodiscard]] const TCadServicos& Servicos() const { return m_servicos; }

    [[nodiscard]] const QString& EmpresaTipo() const { return m_empresaTipo; }
    [[nodiscard]] QDate Abertura() const { return m_abertura; }
    [[nodiscard]] const QString& RazaoSocial() const { return m_razaoSocial; }
    [[nodiscard]] const QString& Fantasia() const { return m_fantasia; }
    [[nodiscard]] const QString& Porte() const { return m_porte; }
    [[nodiscard]] const QString& CNAE1() const { return m_cnae1; }
    [[nodiscard]] const QStringList& CNAE2() const { return m_cnae2; }
    [[nodiscard]] const QString& Endereco() const { return m_endereco; }
    [[nodiscard]] const QString& Numero() const { return m_numero; }
    [[nodiscard]] const QString& Complemento() const { return m_complemento; }
    [[nodiscard]] const QString& CEP() const { return m_cep; }
    [[nodiscard]] const QString& Bairro() const { return m_bairro; }
    [[nodiscard]] const QString& Cidade() const { return m_cidade; }
    [[nodiscard]] const QString& UF() const { return m_uf; }
    [[nodiscard]] const QString& Situacao() const { return m_situacao; }
    [[nodiscard]] const QString& SituacaoEspecial() const { return m_situacaoEspecial; }
    [[nodiscard]] QDate DataSituacao() const { return m_dataSituacao; }
    [[nodiscard]] QDate DataSituacaoEspecial() const { return m_dataSituacaoEspecial; }
    [[nodiscard]] const QString& NaturezaJuridica() const { return m_naturezaJuridica; }
    [[nodiscard]] const QString& EndEletronico() const { return m_endEletronico; }
    [[nodiscard]] const QString& Telefone() const { return m_telefone; }
    [[nodiscard]] const QString& EFR() const { return m_efr; }
    [[nodiscard]] const QString& MotivoSituacaoCad() const { return m_motivoSituacaoCad; }
    [[nodiscard]] const QString& IBGE_Municipio() const { return m_ibgeMunicipio; }
    [[nodiscard]] QString IBGE_UF() const { return m_ibgeMunicipio.left(2); }

private:
    void LimparResultados();
    void Consultar(const QString& cnpj, const QString& captcha);
    static void VerificarMensagens(const QString& text);
    void LerCampos(LabeledPage& page);

    QString m_iniServicos;
    TCadServicos m_servicos;
    bool m_pesquisarIBGE = false;

    QString m_cnpj;
    QString m_empresaTipo;
    QDate m_abertura;
    QString m_razaoSocial;
    QString m_fantasia;
    QString m_porte;
    QString m_cnae1;
    QStringList m_cnae2;
    QString m_endereco;
    QString m_numero;
    QString m_complemento;
    QString m_cep;
    QString m_bairro;
    QString m_cidade;
    QString m_uf;
    QString m_situacao;
    QString m_situacaoEspecial;
    QDate m_dataSituacao;
    QDate m_dataSituacaoEspecial;
    QString m_naturezaJuridica;
    QString m_endEletronico;
    QString m_telefone;
    QString m_efr;
    QString m_motivoSituacaoCad;
    QString m_ibgeMunicipio;
};

} // namespace cad
