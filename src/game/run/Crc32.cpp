#include "game/run/Crc32.h"

#include <array>

namespace fenu {

namespace {

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < table.size(); ++n) {
        uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> Table = MakeTable();

} // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = Table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

} // namespace fenu
