// Fuzzes the one picture reader with the bytes of a picture file: it
// either refuses the file or hands back a picture within its limits, of
// the size the header declared.

#include "fuzz/fuzzapp.h"

#include "model/pictureread.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QString picturePath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv)
{
    fuzzapp::start((*argv)[0]);
    // The name says nothing: the reader goes by the first bytes.
    picturePath = fuzzapp::scratchFolder() + QStringLiteral("/page.jpg");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 64 * 1024 * 1024)
        return 0;
    fuzzapp::writeFile(picturePath, QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
    const Picture picture = readPicture(picturePath);
    const bool taken = picture.fault == PictureFault::None;
    if (taken == picture.image.isNull()
        || picture.image.width() > maxPictureSide || picture.image.height() > maxPictureSide) {
        std::fprintf(stderr, "pictureread: fault %d with a %d x %d picture\n", static_cast<int>(picture.fault),
                     picture.image.width(), picture.image.height());
        std::abort();
    }
    return 0;
}
