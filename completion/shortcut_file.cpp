#include "completion/shortcut_file.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace {
const std::size_t kHeaderSize = 0x4C;
const unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Field offsets, each from the start of its own part of the file.
namespace header {
constexpr std::size_t kFlags = 0x14;
}
namespace volume_id {
constexpr std::size_t kLabel = 0x0C, kUnicodeLabel = 0x10;
constexpr std::size_t kSmallest = 0x10;
// A label offset of this value says the Unicode label's offset follows.
constexpr std::uint32_t kLabelIsUnicode = 0x14;
}  // namespace volume_id
namespace network_link {
constexpr std::size_t kFlags = 0x04, kNetName = 0x08, kDeviceName = 0x0C, kUnicodeNetName = 0x14,
                      kUnicodeDeviceName = 0x18;
constexpr std::size_t kSmallest = 0x14, kWithUnicodeNames = 0x1C;
constexpr std::uint32_t kValidDevice = 0x1;
}  // namespace network_link
namespace link_info {
constexpr std::size_t kInfoHeaderSize = 0x04, kFlags = 0x08, kVolumeId = 0x0C, kLocalBasePath = 0x10,
                      kNetworkLink = 0x14, kCommonPathSuffix = 0x18, kUnicodeLocalBasePath = 0x1C,
                      kUnicodeCommonPathSuffix = 0x20;
constexpr std::size_t kSmallestHeader = 0x1C, kHeaderWithUnicodePaths = 0x24;
constexpr std::uint32_t kVolumeAndLocalPath = 0x1, kNetworkAndSuffix = 0x2;
}  // namespace link_info
namespace extra_data {
constexpr std::size_t kSignature = 0x04, kHeader = 0x08;
// A size below this ends the list.
constexpr std::uint32_t kSmallestBlock = 0x04;
constexpr std::uint32_t kEnvironment = 0xA0000001, kDarwin = 0xA0000006, kIconEnvironment = 0xA0000007,
                        kVistaIdList = 0xA000000C;
// The blocks the loader copies strings out of: an ANSI target of 260 bytes,
// then a Unicode one of 260 characters.
constexpr std::size_t kAnsiTarget = kHeader, kUnicodeTarget = kAnsiTarget + 260, kTargetBlockEnd = kUnicodeTarget + 520;
}  // namespace extra_data

enum LinkFlags : std::uint32_t {
    kHasIdList = 0x1,
    kHasLinkInfo = 0x2,
    kHasName = 0x4,
    kHasRelativePath = 0x8,
    kHasWorkingDir = 0x10,
    kHasArguments = 0x20,
    kHasIconLocation = 0x40,
    kIsUnicode = 0x80,
};

std::uint32_t Read16(std::string_view data, std::size_t at) {
    return std::uint32_t(static_cast<unsigned char>(data[at])) |
           std::uint32_t(static_cast<unsigned char>(data[at + 1])) << 8;
}
std::uint32_t Read32(std::string_view data, std::size_t at) { return Read16(data, at) | Read16(data, at + 2) << 16; }

// Reads forward through one part of the file; every read stays inside it.
class Cursor {
public:
    explicit Cursor(std::string_view data) : data_(data) {}
    std::size_t Left() const { return data_.size() - at_; }
    bool Take16(std::uint32_t& value) { return Take(2, value, Read16); }
    bool Take32(std::uint32_t& value) { return Take(4, value, Read32); }
    bool Skip(std::size_t count) { return Part(count, nullptr); }
    bool Part(std::size_t count, std::string_view* part) {
        if (count > Left()) return false;
        if (part) *part = data_.substr(at_, count);
        at_ += count;
        return true;
    }
    std::uint32_t Peek32() const { return Read32(data_, at_); }

private:
    template <class Reader>
    bool Take(std::size_t size, std::uint32_t& value, Reader read) {
        if (size > Left()) return false;
        value = read(data_, at_);
        at_ += size;
        return true;
    }
    std::string_view data_;
    std::size_t at_ = 0;
};

// A string at offset inside block, ended by a zero inside it.
bool StringAt(std::string_view block, std::size_t offset) {
    return offset < block.size() && block.find('\0', offset) != std::string_view::npos;
}
bool WideStringAt(std::string_view block, std::size_t offset) {
    for (std::size_t i = offset; i + 1 < block.size(); i += 2)
        if (block[i] == '\0' && block[i + 1] == '\0') return true;
    return false;
}

// Item ids, each counting its own two size bytes, closed by an empty one.
bool IsIdList(std::string_view list) {
    Cursor items(list);
    for (std::uint32_t size; items.Take16(size);) {
        if (size == 0) return true;
        if (size < 2 || !items.Skip(size - 2)) return false;
    }
    return false;
}

// A part that starts at offset inside its container, its size first, and fits there.
std::optional<std::string_view> SizedPartAt(std::string_view container, std::size_t offset, std::size_t smallest) {
    if (offset > container.size() || container.size() - offset < smallest) return std::nullopt;
    std::uint32_t size = Read32(container, offset);
    if (size < smallest || size > container.size() - offset) return std::nullopt;
    return container.substr(offset, size);
}

bool IsVolumeId(std::string_view info, std::size_t offset) {
    using namespace volume_id;
    std::optional<std::string_view> volume = SizedPartAt(info, offset, kSmallest);
    if (!volume) return false;
    std::uint32_t label = Read32(*volume, kLabel);
    if (label != kLabelIsUnicode) return StringAt(*volume, label);
    return volume->size() >= kUnicodeLabel + 4 && WideStringAt(*volume, Read32(*volume, kUnicodeLabel));
}

bool IsNetworkLink(std::string_view info, std::size_t offset) {
    using namespace network_link;
    std::optional<std::string_view> link = SizedPartAt(info, offset, kSmallest);
    if (!link) return false;
    bool device = Read32(*link, kFlags) & kValidDevice;
    std::uint32_t netName = Read32(*link, kNetName);
    if (!StringAt(*link, netName)) return false;
    if (device && !StringAt(*link, Read32(*link, kDeviceName))) return false;
    if (netName > kSmallest) {  // the Unicode names' offsets follow the ANSI ones
        if (link->size() < kWithUnicodeNames || !WideStringAt(*link, Read32(*link, kUnicodeNetName))) return false;
        if (device && !WideStringAt(*link, Read32(*link, kUnicodeDeviceName))) return false;
    }
    return true;
}

bool IsLinkInfo(std::string_view info) {
    using namespace link_info;
    if (info.size() < kSmallestHeader) return false;
    std::uint32_t headerSize = Read32(info, kInfoHeaderSize), flags = Read32(info, kFlags);
    if (headerSize < kSmallestHeader || headerSize > info.size()) return false;
    if ((flags & kVolumeAndLocalPath) &&
        (!IsVolumeId(info, Read32(info, kVolumeId)) || !StringAt(info, Read32(info, kLocalBasePath))))
        return false;
    if ((flags & kNetworkAndSuffix) && !IsNetworkLink(info, Read32(info, kNetworkLink))) return false;
    if (!StringAt(info, Read32(info, kCommonPathSuffix))) return false;
    if (headerSize >= kHeaderWithUnicodePaths) {
        if ((flags & kVolumeAndLocalPath) && !WideStringAt(info, Read32(info, kUnicodeLocalBasePath))) return false;
        if (!WideStringAt(info, Read32(info, kUnicodeCommonPathSuffix))) return false;
    }
    return true;
}

// Each target ended inside its field.
bool IsTargetBlock(std::string_view block) {
    using namespace extra_data;
    if (block.size() < kTargetBlockEnd) return false;
    return StringAt(block.substr(0, kUnicodeTarget), kAnsiTarget) &&
           WideStringAt(block.substr(0, kTargetBlockEnd), kUnicodeTarget);
}

bool IsExtraData(Cursor& data) {
    using namespace extra_data;
    while (data.Left() >= kSmallestBlock) {
        std::uint32_t size = data.Peek32();
        if (size < kSmallestBlock) return true;  // the closing block
        std::string_view block;
        if (size < kHeader || !data.Part(size, &block)) return false;
        std::uint32_t signature = Read32(block, kSignature);
        if ((signature == kEnvironment || signature == kDarwin || signature == kIconEnvironment) &&
            !IsTargetBlock(block))
            return false;
        if (signature == kVistaIdList && !IsIdList(block.substr(kHeader))) return false;
    }
    return true;  // ends where the closing block would start
}
}  // namespace

bool IsWholeShortcut(std::string_view bytes) {
    if (bytes.size() < kHeaderSize || bytes.size() > kLargestShortcut) return false;
    if (Read32(bytes, 0) != kHeaderSize || std::memcmp(bytes.data() + 4, kLinkClsid, sizeof(kLinkClsid)) != 0)
        return false;
    std::uint32_t flags = Read32(bytes, header::kFlags);
    Cursor file(bytes);
    file.Skip(kHeaderSize);

    if (flags & kHasIdList) {
        std::uint32_t size = 0;
        std::string_view list;
        if (!file.Take16(size) || !file.Part(size, &list) || !IsIdList(list)) return false;
    }
    if (flags & kHasLinkInfo) {
        if (file.Left() < 4) return false;
        std::string_view info;
        if (!file.Part(file.Peek32(), &info) || !IsLinkInfo(info)) return false;
    }
    std::size_t unit = (flags & kIsUnicode) ? 2 : 1;
    for (std::uint32_t part : {kHasName, kHasRelativePath, kHasWorkingDir, kHasArguments, kHasIconLocation}) {
        std::uint32_t count = 0;
        if ((flags & part) && (!file.Take16(count) || !file.Skip(count * unit))) return false;
    }
    return IsExtraData(file);
}
