// The CNPJ certificate page reader: any answer text, read as after a query.
#include "fuzz/FuzzTarget.h"
#include "http/TextRoutines.h"
#include "taxpayer/CadConsultaCNPJ.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = FromSingleByte(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    TCadConsultaCNPJ cnpj(QStringLiteral("/nonexistent/CadConsultaCNPJServicos.ini"));
    try {
        cnpj.ReadPage(text, size % 2 == 0);
    } catch (const ECadConsultaCNPJException&) {
        // the service's messages and a page without a company name end here
    }
    return 0;
}
