// Feeds arbitrary bytes to the BMP and the PNG loader. Whatever the bytes, a load
// ends in success or in one of the loaders' messages.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/log.h"
#include "media/image_load.h"
#include "media/surface.h"

namespace {

class QuietSink : public MessageSink {
public:
    Answer Box(const std::string&, const std::string&, Buttons) override { return Answer::Ok; }
};

const std::string& InputPath()
{
    // Kept for the whole run: the clean-up at exit still needs it.
    static const std::string* path = [] {
        static QuietSink sink;
        SetMessageSink(&sink);
        SetColorKey(Rgb{255, 0, 255});
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vantor-fuzz-image-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] {
            std::remove(InputPath().c_str());
            rmdir(InputPath().substr(0, InputPath().rfind('/')).c_str());
        });
        return new std::string(pattern + "/input");
    }();
    return *path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = InputPath();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    Surface s;
    if (LoadBmpFile(s, path, 24, 1))
        ApplyMaskAndKey(s, path);
    if (LoadPngFile(s, path, 24, 1)) {
        TurnCells(s, 3, 2);
        ApplyMaskAndKey(s, path);
    }
    return 0;
}
