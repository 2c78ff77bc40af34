// A libFuzzer target; SWR_FUZZ_ENTRY names the reader it drives.
#include "FuzzEntries.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (int i = 0; i < swr::fuzz::Entry_Count; ++i)
        if (std::strcmp(swr::fuzz::Entries[i].name, SWR_FUZZ_ENTRY) == 0)
            swr::fuzz::Entries[i].run(data, size);
    return 0;
}
