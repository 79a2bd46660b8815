#pragma once

#include <QString>
#include <cstdint>

namespace brindle {

// The number a field's text stands for: the longest leading part that reads as a
// decimal number (sign, digits, point and fraction, exponent), skipping blanks,
// tabs and line feeds wherever they stand; 0 when the text does not begin with a
// number. Overflow gives an infinity, underflow 0.
double ValueOfText(const QString& text);

// Nearest whole number, halves to the even neighbour; NaN gives 0 and values
// beyond the type's range give its limit.
std::int32_t RoundHalfEven32(double value);
std::int16_t RoundHalfEven16(double value);

} // namespace brindle
