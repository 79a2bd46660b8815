#pragma once

#include <QRect>
#include <cmath>

namespace brindle {

// Window layouts are given in twips; 15 twips make one pixel at 96 dots per inch.
inline int twips(double value) {
    return static_cast<int>(std::lround(value / 15.0));
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

} // namespace brindle
