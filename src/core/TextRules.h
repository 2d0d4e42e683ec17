#pragma once

#include <QString>
#include <QUuid>

#include <optional>

namespace tallybrook {

/// Text without white space and line breaks at both ends.
QString trimmedText(const QString& text);
/// The trimmed text, or none when it is empty.
std::optional<QString> normalizedText(const std::optional<QString>& text);
/// Strict UUID text: canonical 8-4-4-4-12 hexadecimal, letters in either case, nothing else.
std::optional<QUuid> parseUuidText(QStringView text);
/// The canonical upper-case text of a UUID (36 characters, no braces).
QString uuidText(const QUuid& uuid);
/// A fresh random UUID as canonical upper-case text.
QString newUuidText();

} // namespace tallybrook
