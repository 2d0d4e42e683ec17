#include "document/JsonSyntaxLocator.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace tallybrook {

QString JsonSyntaxError::description() const {
    QString text = QStringLiteral("line %1, column %2 (byte %3)").arg(line).arg(column).arg(offset);
    if (!path.isEmpty()) {
        text += QStringLiteral(", in ") + path;
    }
    return text + QStringLiteral(": ") + reason;
}

namespace {

struct Frame {
    bool isArray = false;
    qsizetype index = 0;
    std::string_view key; // raw bytes between the quotes of the current key
};

class Scanner {
public:
    Scanner(std::string_view text, size_t maxDepth)
        : text_(text)
        , maxDepth_(maxDepth) {}

    std::optional<JsonSyntaxError> run();

private:
    enum class State { value, afterValue, key };

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }
    void skipWhiteSpace() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) {
            ++pos_;
        }
    }

    JsonSyntaxError failAt(size_t offset, const char* reason) const;
    // Each scanner returns the failure reason with pos_ at the fault, or nullptr with pos_
    // after the token.
    const char* scanString(std::string_view* contents);
    const char* scanNumber();
    const char* scanLiteral();
    bool scanUtf8Sequence();
    /// The UTF-16 code unit that the four hexadecimal digits at `at` spell, if they are four.
    std::optional<unsigned> hexCodeUnit(size_t at) const;

    std::string_view text_;
    size_t maxDepth_;
    size_t pos_ = 0;
    State state_ = State::value;
    std::vector<Frame> stack_;
};

JsonSyntaxError Scanner::failAt(size_t offset, const char* reason) const {
    JsonSyntaxError error;
    error.offset = qsizetype(offset);
    size_t lineStart = 0;
    for (size_t i = 0; i < offset && i < text_.size(); ++i) {
        if (text_[i] == '\n') {
            ++error.line;
            lineStart = i + 1;
        }
    }
    for (size_t i = lineStart; i < offset && i < text_.size(); ++i) {
        if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80) {
            ++error.column;
        }
    }
    // Hostile nesting would make a path of thousands of parts; the ends say enough.
    constexpr std::size_t shownHead = 5;
    constexpr std::size_t shownTail = 3;
    for (std::size_t i = 0; i < stack_.size(); ++i) {
        if (stack_.size() > shownHead + shownTail + 1 && i >= shownHead && i < stack_.size() - shownTail) {
            if (i == shownHead) {
                error.path += QStringLiteral("…");
            }
            continue;
        }
        const Frame& frame = stack_[i];
        // Once a member's value is complete, a fault belongs to the object, not to the member.
        const bool memberComplete = i + 1 == stack_.size() && state_ == State::afterValue;
        if (frame.isArray) {
            error.path += u'[' + QString::number(frame.index) + u']';
        } else if (!frame.key.empty() && !memberComplete) {
            if (!error.path.isEmpty()) {
                error.path += u'.';
            }
            error.path += QString::fromUtf8(frame.key.data(), qsizetype(frame.key.size()));
        }
    }
    error.reason = QString::fromLatin1(reason);
    return error;
}

std::optional<unsigned> Scanner::hexCodeUnit(size_t at) const {
    if (at + 4 > text_.size()) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (size_t i = at; i < at + 4; ++i) {
        const auto c = static_cast<unsigned char>(text_[i]);
        if (!std::isxdigit(c)) {
            return std::nullopt;
        }
        value = value * 16 + unsigned(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    return value;
}

bool Scanner::scanUtf8Sequence() {
    const auto byte = [this](size_t i) { return static_cast<unsigned char>(text_[i]); };
    const unsigned char lead = byte(pos_);
    size_t length = 0;
    unsigned char min = 0x80;
    unsigned char max = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        max = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = lead == 0xF0 ? 0x90 : 0x80;
        max = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return false;
    }
    if (pos_ + length > text_.size()) {
        return false;
    }
    if (byte(pos_ + 1) < min || byte(pos_ + 1) > max) {
        return false;
    }
    for (size_t i = 2; i < length; ++i) {
        if ((byte(pos_ + i) & 0xC0) != 0x80) {
            return false;
        }
    }
    pos_ += length;
    return true;
}

const char* Scanner::scanString(std::string_view* contents) {
    const size_t start = pos_;
    ++pos_;
    while (!atEnd()) {
        const auto c = static_cast<unsigned char>(peek());
        if (c == '"') {
            if (contents) {
                *contents = text_.substr(start + 1, pos_ - start - 1);
            }
            ++pos_;
            return nullptr;
        }
        if (c < 0x20) {
            return "control character inside text (it must be escaped)";
        }
        if (c == '\\') {
            ++pos_;
            if (atEnd()) {
                break;
            }
            const char escape = peek();
            if (escape == 'u') {
                const std::optional<unsigned> unit = hexCodeUnit(pos_ + 1);
                if (!unit) {
                    return "invalid \\u escape (four hexadecimal digits expected)";
                }
                // Half of a surrogate pair encodes no character: the parser refuses a high half
                // that no low half follows, and a low half on its own.
                const bool high = *unit >= 0xD800 && *unit <= 0xDBFF;
                const bool low = *unit >= 0xDC00 && *unit <= 0xDFFF;
                const std::optional<unsigned> next =
                    high && text_.substr(pos_ + 5, 2) == "\\u" ? hexCodeUnit(pos_ + 7) : std::nullopt;
                if (low || (high && !(next && *next >= 0xDC00 && *next <= 0xDFFF))) {
                    return "unpaired surrogate in a \\u escape (half of a character)";
                }
                pos_ += high ? 11 : 5;
            } else if (std::string_view("\"\\/bfnrt").find(escape) != std::string_view::npos) {
                ++pos_;
            } else {
                return "invalid escape sequence";
            }
            continue;
        }
        if (c >= 0x80) {
            if (!scanUtf8Sequence()) {
                return "invalid UTF-8 byte";
            }
            continue;
        }
        ++pos_;
    }
    pos_ = start;
    return "text is never closed (missing '\"')";
}

const char* Scanner::scanNumber() {
    const size_t start = pos_;
    const auto isDigit = [this] { return !atEnd() && peek() >= '0' && peek() <= '9'; };
    const bool negative = peek() == '-';
    if (negative) {
        ++pos_;
    }
    if (!isDigit()) {
        return "invalid number";
    }
    if (peek() == '0') {
        ++pos_;
    } else {
        while (isDigit()) {
            ++pos_;
        }
    }
    bool integer = true;
    if (!atEnd() && peek() == '.') {
        integer = false;
        ++pos_;
        if (!isDigit()) {
            return "invalid number";
        }
        while (isDigit()) {
            ++pos_;
        }
    }
    if (!atEnd() && (peek() == 'e' || peek() == 'E')) {
        integer = false;
        ++pos_;
        if (!atEnd() && (peek() == '+' || peek() == '-')) {
            ++pos_;
        }
        if (!isDigit()) {
            return "invalid number";
        }
        while (isDigit()) {
            ++pos_;
        }
    }
    if (!atEnd() && (std::isalnum(static_cast<unsigned char>(peek())) || peek() == '.')) {
        return "invalid number";
    }
    const std::string token(text_.substr(start, pos_ - start));
    if (integer) {
        const std::string_view digits = std::string_view(token).substr(negative ? 1 : 0);
        const std::string_view limit = negative ? "9223372036854775808" : "18446744073709551615";
        if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) {
            pos_ = start;
            return "number does not fit in 64 bits";
        }
    } else if (std::isinf(std::strtod(token.c_str(), nullptr))) {
        pos_ = start;
        return "number out of range";
    }
    return nullptr;
}

const char* Scanner::scanLiteral() {
    for (const std::string_view literal :
         {std::string_view("true"), std::string_view("false"), std::string_view("null")}) {
        if (text_.substr(pos_, literal.size()) == literal) {
            pos_ += literal.size();
            if (!atEnd() && std::isalnum(static_cast<unsigned char>(peek()))) {
                return "unexpected character";
            }
            return nullptr;
        }
    }
    return "unexpected character";
}

std::optional<JsonSyntaxError> Scanner::run() {
    skipWhiteSpace();
    if (atEnd()) {
        return failAt(pos_, "no JSON value (the file is empty)");
    }
    State& state = state_;
    for (;;) {
        skipWhiteSpace();
        if (state == State::value) {
            if (atEnd()) {
                return failAt(pos_, "unexpected end of the file (the document is incomplete)");
            }
            const char c = peek();
            const char* reason = nullptr;
            if (c == '{' || c == '[') {
                if (stack_.size() >= maxDepth_) {
                    return failAt(pos_, "nesting too deep");
                }
                ++pos_;
                stack_.push_back(Frame{c == '[', 0, {}});
                skipWhiteSpace();
                if (!atEnd() && peek() == (c == '[' ? ']' : '}')) {
                    ++pos_;
                    stack_.pop_back();
                    state = State::afterValue;
                } else {
                    state = c == '[' ? State::value : State::key;
                }
                continue;
            }
            if (c == '"') {
                reason = scanString(nullptr);
            } else if (c == '-' || (c >= '0' && c <= '9')) {
                reason = scanNumber();
            } else if (c == 't' || c == 'f' || c == 'n') {
                reason = scanLiteral();
            } else {
                reason = static_cast<unsigned char>(c) >= 0x80
                             ? "unexpected character (not JSON, or not UTF-8 text)"
                             : "unexpected character (a value was expected)";
            }
            if (reason) {
                return failAt(pos_, reason);
            }
            state = State::afterValue;
        } else if (state == State::afterValue) {
            if (stack_.empty()) {
                if (!atEnd()) {
                    return failAt(pos_, "unexpected content after the end of the document");
                }
                return std::nullopt;
            }
            Frame& frame = stack_.back();
            const char close = frame.isArray ? ']' : '}';
            if (atEnd()) {
                return failAt(pos_, "unexpected end of the file (the document is incomplete)");
            }
            if (peek() == ',') {
                ++pos_;
                if (frame.isArray) {
                    ++frame.index;
                    state = State::value;
                } else {
                    frame.key = {};
                    state = State::key;
                }
            } else if (peek() == close) {
                ++pos_;
                stack_.pop_back();
            } else {
                return failAt(pos_, frame.isArray ? "expected ',' or ']'" : "expected ',' or '}'");
            }
        } else {
            if (atEnd()) {
                return failAt(pos_, "unexpected end of the file (the document is incomplete)");
            }
            if (peek() != '"') {
                return failAt(pos_, "expected a key in double quotes");
            }
            std::string_view key;
            if (const char* reason = scanString(&key)) {
                return failAt(pos_, reason);
            }
            stack_.back().key = key;
            skipWhiteSpace();
            if (atEnd() || peek() != ':') {
                return failAt(pos_, "expected ':' after the key");
            }
            ++pos_;
            state = State::value;
        }
    }
}

} // namespace

std::optional<JsonSyntaxError> locateJsonSyntaxError(std::string_view text, size_t maxDepth) {
    return Scanner(text, maxDepth).run();
}

} // namespace tallybrook
