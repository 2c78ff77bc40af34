#pragma once

#include <QString>

#include <array>

namespace swr {

struct SplitIP {
    bool valid = false;
    std::array<QString, 4> octets; // texts as found; those after a missing "." stay empty
};

// Splits a dotted IPv4 address into its four octet texts; valid when each is 0..255.
SplitIP Split_IP_Address(const QString& text);

} // namespace swr
