#include "settings/core/ValueOfText.h"

#include <QByteArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace brindle {

namespace {

bool isSkipped(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The pieces of a number as read from the text, digits only.
struct Number {
    bool negative = false;
    QByteArray integer;
    QByteArray fraction;
    bool negativeExponent = false;
    QByteArray exponent;
};

Number scan(const QString& text) {
    enum class Part { Sign, Integer, Fraction, ExponentSign, Exponent };
    Number number;
    Part part = Part::Sign;
    for (const QChar c : text) {
        if (isSkipped(c)) {
            continue;
        }
        const char a = c.toLatin1(); // 0 for characters outside Latin-1
        if (part == Part::Sign && (a == '+' || a == '-')) {
            number.negative = a == '-';
            part = Part::Integer;
        } else if ((part == Part::Sign || part == Part::Integer) && isDigit(a)) {
            number.integer += a;
            part = Part::Integer;
        } else if ((part == Part::Sign || part == Part::Integer) && a == '.') {
            part = Part::Fraction;
        } else if (part == Part::Fraction && isDigit(a)) {
            number.fraction += a;
        } else if ((part == Part::Integer || part == Part::Fraction) && (a == 'e' || a == 'E')) {
            part = Part::ExponentSign;
        } else if (part == Part::ExponentSign && (a == '+' || a == '-')) {
            number.negativeExponent = a == '-';
            part = Part::Exponent;
        } else if ((part == Part::ExponentSign || part == Part::Exponent) && isDigit(a)) {
            number.exponent += a;
            part = Part::Exponent;
        } else {
            break;
        }
    }
    return number;
}

// Power of ten of the number's leading digit plus one; only its sign matters, to
// tell an overflow from an underflow.
qint64 magnitude(const Number& number) {
    constexpr qint64 Cap = qint64(1) << 40; // far beyond any double, far below overflow
    qint64 exponent = 0;
    for (const char d : number.exponent) {
        exponent = std::min(Cap, exponent * 10 + (d - '0'));
    }
    if (number.negativeExponent) {
        exponent = -exponent;
    }
    const qsizetype integerZeros = std::find_if(number.integer.begin(), number.integer.end(),
                                                [](char d) { return d != '0'; }) -
                                   number.integer.begin();
    if (integerZeros < number.integer.size()) {
        return number.integer.size() - integerZeros + exponent;
    }
    const qsizetype fractionZeros = std::find_if(number.fraction.begin(), number.fraction.end(),
                                                 [](char d) { return d != '0'; }) -
                                    number.fraction.begin();
    return exponent - fractionZeros;
}

template <typename Int> Int roundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = std::nearbyint(value); // default rounding: to nearest, ties to even
    if (rounded <= double(std::numeric_limits<Int>::min())) {
        return std::numeric_limits<Int>::min();
    }
    if (rounded >= double(std::numeric_limits<Int>::max())) {
        return std::numeric_limits<Int>::max();
    }
    return static_cast<Int>(rounded);
}

} // namespace

double ValueOfText(const QString& text) {
    const Number number = scan(text);
    if (number.integer.isEmpty() && number.fraction.isEmpty()) {
        return 0;
    }
    const QByteArray digits = (number.integer.isEmpty() ? QByteArray("0") : number.integer) + '.' +
                              number.fraction + 'e' + (number.negativeExponent ? "-" : "") +
                              (number.exponent.isEmpty() ? QByteArray("0") : number.exponent);
    double value = 0;
    if (std::from_chars(digits.cbegin(), digits.cend(), value).ec ==
        std::errc::result_out_of_range) {
        value = magnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return number.negative ? -value : value;
}

std::int32_t RoundHalfEven32(double value) {
    return roundHalfEven<std::int32_t>(value);
}

std::int16_t RoundHalfEven16(double value) {
    return roundHalfEven<std::int16_t>(value);
}

} // namespace brindle
