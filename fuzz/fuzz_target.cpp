// libFuzzer entry (built by fuzz/run_fuzz.sh with clang).
#include "fuzz_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return tavrilFuzzOne(data, size);
}
