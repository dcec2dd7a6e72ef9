// Feeds arbitrary bytes to the reader of every record file kind the data tool
// knows, then converts what was read to JSON and back and writes it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/paths.h"
#include "project/file_kinds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string dir = [] {
        char pattern[] = "/tmp/fuzz-records-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    if (size < 1)
        return 0;
    const auto& kinds = RecordFileKinds();
    const RecordFileKind& kind = kinds[data[0] % kinds.size()];
    std::string in = dir + "/in.dat";
    if (std::FILE* f = std::fopen(in.c_str(), "wb")) {
        std::fwrite(data + 1, 1, size - 1, f);
        std::fclose(f);
    }
    auto object = kind.make();
    if (object->Load(StoredPath(in))) {
        Json json = object->ToJson();
        auto again = kind.make();
        std::string error;
        if (!again->FromJson(json, error))
            __builtin_trap();  // whatever was read must convert back
        again->Save(StoredPath(dir + "/out.dat"));
    }
    return 0;
}
