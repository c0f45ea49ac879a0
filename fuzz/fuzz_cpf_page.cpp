// The CPF status page reader: any answer text, read as after a query.
#include "fuzz/FuzzTarget.h"
#include "http/TextRoutines.h"
#include "taxpayer/CadConsultaCPF.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = FromSingleByte(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    TCadConsultaCPF cpf(QStringLiteral("/nonexistent/CadConsultaCPFServicos.ini"));
    try {
        cpf.ReadPage(text, size % 2 == 0);
    } catch (const ECadConsultaCPFException&) {
        // the service's messages and a page without a name end here
    }
    return 0;
}
