// Feeds any bytes to the shortcut check. The bytes sit in a buffer of their own
// exact size, so any read past a part the file announces is a read past the
// buffer, which AddressSanitizer stops.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "completion/shortcut_file.h"

namespace {
void Check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    bool whole = IsWholeShortcut(bytes);
    if (!whole) return 0;
    // Whatever passes has at least a link's header and is no larger than a link can be.
    const unsigned char header[] = {0x4C, 0, 0, 0, 0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    Check(size >= 0x4C && size <= kLargestShortcut);
    Check(std::memcmp(data, header, sizeof(header)) == 0);
    return 0;
}
