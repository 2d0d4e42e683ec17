#include "export/Ean13Encoder.h"

#include <array>

namespace tallybrook::Ean13Encoder {

namespace {

// Patterns of the standard, written left to right with '1' for a dark module.
constexpr std::array<const char*, 10> lPatterns{"0001101", "0011001", "0010011", "0111101", "0100011",
                                                "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr std::array<const char*, 10> gPatterns{"0100111", "0110011", "0011011", "0100001", "0011101",
                                                "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr std::array<const char*, 10> rPatterns{"1110010", "1100110", "1101100", "1000010", "1011100",
                                                "1001110", "1010000", "1000100", "1001000", "1110100"};
// The first digit is not drawn: it chooses L or G for each of digits 2 to 7.
constexpr std::array<const char*, 10> firstDigitParity{"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                                       "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};

constexpr int leftQuietModules = 11;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<int> checkDigit(QStringView twelveDigits) {
    if (twelveDigits.size() != 12) {
        return std::nullopt;
    }
    int sum = 0;
    for (qsizetype i = 0; i < 12; ++i) {
        const QChar c = twelveDigits.at(i);
        if (!isAsciiDigit(c)) {
            return std::nullopt;
        }
        sum += (c.unicode() - u'0') * (i % 2 == 0 ? 1 : 3);
    }
    return (10 - sum % 10) % 10;
}

bool isValid(QStringView value) {
    if (value.size() != 13 || !isAsciiDigit(value.at(12))) {
        return false;
    }
    const auto check = checkDigit(value.first(12));
    return check && *check == value.at(12).unicode() - u'0';
}

std::optional<CodeModuleMatrix> modules(QStringView value) {
    if (!isValid(value)) {
        return std::nullopt;
    }
    CodeModuleMatrix matrix(moduleCount, 1);
    int x = leftQuietModules;
    const auto put = [&matrix, &x](const char* pattern) {
        for (const char* p = pattern; *p != '\0'; ++p, ++x) {
            matrix.setDark(x, 0, *p == '1');
        }
    };
    const auto digit = [&value](qsizetype index) { return value.at(index).unicode() - u'0'; };
    const char* parity = firstDigitParity[size_t(digit(0))];
    put("101");
    for (qsizetype i = 1; i <= 6; ++i) {
        put(parity[i - 1] == 'L' ? lPatterns[size_t(digit(i))] : gPatterns[size_t(digit(i))]);
    }
    put("01010");
    for (qsizetype i = 7; i <= 12; ++i) {
        put(rPatterns[size_t(digit(i))]);
    }
    put("101");
    // The remaining 7 modules are the right quiet zone, already light.
    return matrix;
}

} // namespace tallybrook::Ean13Encoder
