#include "completion/shortcut_file.h"

#include <cstdint>
#include <cstring>

namespace {
const std::size_t kHeaderSize = 0x4C;
const unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

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

bool IsVolumeId(std::string_view info, std::size_t offset) {
    if (offset > info.size() || info.size() - offset < 0x10) return false;
    std::uint32_t size = Read32(info, offset);
    if (size < 0x10 || size > info.size() - offset) return false;
    std::string_view volume = info.substr(offset, size);
    std::uint32_t label = Read32(volume, 0x0C);
    if (label != 0x14) return StringAt(volume, label);
    return volume.size() >= 0x14 && WideStringAt(volume, Read32(volume, 0x10));
}

bool IsNetworkLink(std::string_view info, std::size_t offset) {
    if (offset > info.size() || info.size() - offset < 0x14) return false;
    std::uint32_t size = Read32(info, offset);
    if (size < 0x14 || size > info.size() - offset) return false;
    std::string_view link = info.substr(offset, size);
    const std::uint32_t kValidDevice = 0x1;
    std::uint32_t netName = Read32(link, 0x08);
    if (!StringAt(link, netName)) return false;
    if ((Read32(link, 0x04) & kValidDevice) && !StringAt(link, Read32(link, 0x0C))) return false;
    if (netName > 0x14) {  // the Unicode names follow the ANSI offsets
        if (link.size() < 0x1C || !WideStringAt(link, Read32(link, 0x14))) return false;
        if ((Read32(link, 0x04) & kValidDevice) && !WideStringAt(link, Read32(link, 0x18))) return false;
    }
    return true;
}

bool IsLinkInfo(std::string_view info) {
    const std::uint32_t kVolumeAndLocalPath = 0x1, kNetworkAndSuffix = 0x2;
    if (info.size() < 0x1C) return false;
    std::uint32_t headerSize = Read32(info, 0x04), flags = Read32(info, 0x08);
    if (headerSize < 0x1C || headerSize > info.size()) return false;
    if ((flags & kVolumeAndLocalPath) &&
        (!IsVolumeId(info, Read32(info, 0x0C)) || !StringAt(info, Read32(info, 0x10))))
        return false;
    if ((flags & kNetworkAndSuffix) && !IsNetworkLink(info, Read32(info, 0x14))) return false;
    if (!StringAt(info, Read32(info, 0x18))) return false;
    if (headerSize >= 0x24) {
        if ((flags & kVolumeAndLocalPath) && !WideStringAt(info, Read32(info, 0x1C))) return false;
        if (!WideStringAt(info, Read32(info, 0x20))) return false;
    }
    return true;
}

// Blocks the loader copies strings out of: a fixed size, an ANSI target of
// 260 bytes and a Unicode one of 260 characters, each ended inside its field.
bool IsTargetBlock(std::string_view block) {
    const std::size_t kAnsi = 8, kWide = kAnsi + 260, kEnd = kWide + 520;
    if (block.size() < kEnd) return false;
    return StringAt(block.substr(0, kWide), kAnsi) && WideStringAt(block.substr(0, kEnd), kWide);
}

bool IsExtraData(Cursor& data) {
    const std::uint32_t kEnvironment = 0xA0000001, kDarwin = 0xA0000006, kIconEnvironment = 0xA0000007,
                        kVistaIdList = 0xA000000C;
    while (data.Left() >= 4) {
        std::uint32_t size = data.Peek32();
        if (size < 4) return true;  // the closing block
        std::string_view block;
        if (size < 8 || !data.Part(size, &block)) return false;
        std::uint32_t signature = Read32(block, 4);
        if ((signature == kEnvironment || signature == kDarwin || signature == kIconEnvironment) &&
            !IsTargetBlock(block))
            return false;
        if (signature == kVistaIdList && !IsIdList(block.substr(8))) return false;
    }
    return true;  // ends where the closing block would start
}
}  // namespace

bool IsWholeShortcut(std::string_view bytes) {
    if (bytes.size() < kHeaderSize || bytes.size() > kLargestShortcut) return false;
    if (Read32(bytes, 0) != kHeaderSize || std::memcmp(bytes.data() + 4, kLinkClsid, sizeof(kLinkClsid)) != 0)
        return false;
    std::uint32_t flags = Read32(bytes, 0x14);
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
