#pragma once

#include <cstddef>
#include <cstdint>

namespace fenu {

/// CRC-32 as zip and PNG use it (reflected polynomial 0xEDB88320). Continue a
/// checksum by passing the previous result as crc.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

} // namespace fenu
