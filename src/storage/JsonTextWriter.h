#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QString>

namespace tallybrook::jsontext {

/// Appends `text` as a JSON string (UTF-8; quote, backslash and control characters escaped),
/// the same text QJsonDocument would read back.
inline void appendString(QByteArray& out, const QString& text) {
    static constexpr char hex[] = "0123456789abcdef";
    out.append('"');
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.append('\\').append(c);
        } else if (byte < 0x20) {
            out.append("\\u00").append(hex[byte >> 4]).append(hex[byte & 0xf]);
        } else {
            out.append(c);
        }
    }
    out.append('"');
}

/// Appends `"key":` (keys are the program's own ASCII names).
inline void appendKey(QByteArray& out, const char* key) {
    out.append('"').append(key).append("\":");
}

inline void appendInteger(QByteArray& out, qint64 value) {
    out.append(QByteArray::number(value));
}

/// Shortest text that reads back as the same double (finite values only).
inline void appendNumber(QByteArray& out, double value) {
    out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
}

inline void appendBool(QByteArray& out, bool value) {
    out.append(value ? "true" : "false");
}

/// Appends an object built with QJsonObject, for the small parts of a blob.
inline void appendObject(QByteArray& out, const QJsonObject& object) {
    out.append(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace tallybrook::jsontext
