#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace swr {

// The CRC-32 of the bytes as zip, PNG and Ethernet compute it (reflected polynomial
// 0xEDB88320, start and final XOR 0xFFFFFFFF): "123456789" gives 0xCBF43926.
uint32_t Crc32(QByteArrayView bytes);

} // namespace swr
