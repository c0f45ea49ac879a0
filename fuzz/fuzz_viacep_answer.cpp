// The ViaCEP answer reader: any answer text, after the HTTP client's conversions.
#include "address/CadWSViaCEP.h"
#include "core/TextRoutines.h"
#include "fuzz/FuzzTarget.h"

using namespace cad;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TCadCEPEnderecos enderecos;
    TCadWSViaCEP::ReadAnswer(DecodeEntities(Utf8BytesToSingleByte(bytes)), enderecos);
    return 0;
}
