// The CNPJ certificate page reader.
#include "fuzz/FuzzTarget.h"
#include "fuzz/PageTarget.h"
#include "taxpayer/CadConsultaCNPJ.h"

using namespace cad;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    readPage<TCadConsultaCNPJ, ECadConsultaCNPJException>(data, size);
    return 0;
}
