#include "woocommerce/WooIntegerText.h"

#include <limits>

namespace tallybrook {

namespace {

char16_t codeUnit(QChar character) {
    return character.unicode();
}
char16_t codeUnit(char character) {
    return char16_t(uchar(character));
}

template <typename Text> std::optional<qint64> parseDigits(const Text& text) {
    qsizetype index = 0;
    bool negative = false;
    if (!text.isEmpty() && (codeUnit(text[0]) == u'+' || codeUnit(text[0]) == u'-')) {
        negative = codeUnit(text[0]) == u'-';
        index = 1;
    }
    if (index == text.size()) {
        return std::nullopt;
    }
    // Accumulate towards the negative side, which holds one more value than the positive one.
    constexpr qint64 minimum = std::numeric_limits<qint64>::min();
    qint64 value = 0;
    for (; index < text.size(); ++index) {
        const char16_t character = codeUnit(text[index]);
        if (character < u'0' || character > u'9') {
            return std::nullopt;
        }
        const int digit = character - u'0';
        if (value < (minimum + digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == minimum) {
            return std::nullopt;
        }
        value = -value;
    }
    return value;
}

} // namespace

std::optional<qint64> parseWooInteger(QStringView text) {
    return parseDigits(text);
}

std::optional<qint64> parseWooInteger(QByteArrayView text) {
    return parseDigits(text);
}

} // namespace tallybrook
