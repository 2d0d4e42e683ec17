#include "core/TextRules.h"

namespace tallybrook {

QString trimmedText(const QString& text) {
    // QChar::isSpace covers the Unicode separators plus tab, line feed, vertical tab, form
    // feed, carriage return and next line: white space and line breaks alike.
    return text.trimmed();
}

std::optional<QString> normalizedText(const std::optional<QString>& text) {
    if (!text) {
        return std::nullopt;
    }
    QString trimmed = trimmedText(*text);
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    return trimmed;
}

namespace {

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

} // namespace

std::optional<QUuid> parseUuidText(QStringView text) {
    // QUuid::fromString also takes braces and other spellings; a session identifier must be
    // exactly the 36-character form, so the shape is checked first.
    if (text.size() != 36) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool hyphenSlot = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphenSlot ? text[i] != u'-' : !isHexDigit(text[i])) {
            return std::nullopt;
        }
    }
    const QUuid uuid = QUuid::fromString(text);
    if (uuid.isNull() && text != u"00000000-0000-0000-0000-000000000000") {
        return std::nullopt;
    }
    return uuid;
}

QString uuidText(const QUuid& uuid) {
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

QString newUuidText() {
    return uuidText(QUuid::createUuid());
}

} // namespace tallybrook
