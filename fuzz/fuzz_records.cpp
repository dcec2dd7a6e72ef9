// Feeds arbitrary bytes to the reader of every record file kind the data tool
// knows, through the real open path of a temporary file (reached by its name or
// through a link named like version control's copies, "XyZ12_<name>"), then
// converts what was read to JSON and back and writes it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/host_file.h"
#include "base/paths.h"
#include "project/file_kinds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string dir = [] {
        SetDurableWrites(false);  // flushes cost time and prove nothing here
        char pattern[] = "/tmp/fuzz-records-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    if (size < 1)
        return 0;
    const auto& kinds = RecordFileKinds();
    const RecordFileKind& kind = kinds[(data[0] & 0x7F) % kinds.size()];
    const bool throughLink = data[0] & 0x80;
    std::string in = dir + "/in.dat";
    std::vector<uint8_t> bytes(data + 1, data + size);
    if (!WriteHostFileAtomic(in, bytes))
        __builtin_trap();
    std::string path = in;
    if (throughLink && kind.fileName[0] != '*') {
        path = dir + "/XyZ12_" + kind.fileName;
        unlink(path.c_str());
        if (symlink(in.c_str(), path.c_str()) != 0 || FindRecordFileKind(path) != &kind)
            __builtin_trap();
    }
    ClearEndedEarlyFiles();
    auto object = kind.make();
    if (object->Load(StoredPath(path))) {
        // A file without a whole header always ended early.
        if (bytes.size() < 4 && (EndedEarlyFiles().size() != 1 || !EndedEarlyFiles()[0].noHeader))
            __builtin_trap();
        Json json = object->ToJson();
        auto again = kind.make();
        std::string error;
        if (!again->FromJson(json, error))
            __builtin_trap();  // whatever was read must convert back
        again->Save(StoredPath(dir + "/out.dat"));
    }
    return 0;
}
