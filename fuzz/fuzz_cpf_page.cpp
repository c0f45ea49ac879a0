// The CPF status page reader.
#include "fuzz/FuzzTarget.h"
#include "fuzz/PageTarget.h"
#include "taxpayer/CadConsultaCPF.h"

using namespace cad;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    readPage<TCadConsultaCPF, ECadConsultaCPFException>(data, size);
    return 0;
}
