#pragma once
// libFuzzer's entry point, implemented once per target; the replay program calls it too.
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
