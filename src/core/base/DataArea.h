#pragma once

namespace swr {

// The device's input data area: listener rows store their values in it, publish rules
// read them from it. Positions run from 0 to Data_Area_Size - 1. The output area of the
// subscribe rules has the same size.
inline constexpr int Data_Area_Size = 2000;

} // namespace swr
