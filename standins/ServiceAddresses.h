#pragma once
// For tests: the program's own service-address files (beside the executable) pointed at stand-ins.
#include "standins/StandInProcess.h"
#include "taxpayer/CadConsultaCNPJ.h"
#include "taxpayer/CadConsultaCPF.h"
#include "taxpayer/CadServicos.h"

#include <QFile>

namespace standins {

/// The file the program reads service NAME's addresses from.
inline QString serviceAddressesFile(const char* name)
{
    return cad::TCadServicos::CaminhoPadrao(QString::fromLatin1(name));
}

/// Writes service NAME's file with LINES ("KEY=address" lines, CRLF between them).
inline void writeServiceAddresses(const char* name, const QString& lines)
{
    QFile file(serviceAddressesFile(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.write(("[ENDERECOS]\r\n" + lines).toLatin1());
}

/// The CNPJ look-up pointed at the CNPJ stand-in, its image taken from CAPTCHAPATH.
inline void pointCnpjLookupAt(const StandInProcess& cnpj,
                              const QString& captchaPath = QStringLiteral("captcha/gerarCaptcha.asp"))
{
    const QString base = cnpj.url(QStringLiteral("/Servicos/cnpjreva/"));
    writeServiceAddresses(cad::TCadConsultaCNPJ::kServicos,
                          "CAPTCH=" + base + captchaPath + "\r\nREFER=" + base +
                              "Cnpjreva_Solicitacao_CS.asp\r\nPOST=" + base + "valida.asp");
}

/// The CPF look-up pointed at the CPF stand-in; CAPTCHAURL, when given, is its image page instead.
inline void pointCpfLookupAt(const StandInProcess& cpf, const QString& captchaUrl = {})
{
    const QString base = cpf.url(QStringLiteral("/Servicos/CPF/ConsultaSituacao/"));
    const QString captcha = captchaUrl.isEmpty() ? base + "ConsultaPublicaSonoro.asp" : captchaUrl;
    writeServiceAddresses(cad::TCadConsultaCPF::kServicos,
                          "CAPTCH=" + captcha + "\r\nPOST=" + base + "ConsultaPublicaExibir.asp");
}

} // namespace standins
