#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace tallybrook {

/// The camel-case form of a document key, so that "format_version" and "formatVersion" name
/// the same field. A key with underscores is split at them (empty parts dropped), its first
/// part lower-cased and every further part capitalised (first letter upper case, the rest
/// lower case); underscores before the first part and after the last stay in place. A key
/// with a single part, in particular one without underscores, is returned unchanged.
QString convertFromSnakeCase(QStringView key);

/// The same rule on UTF-8 bytes, for the decoder's hot path: a key without underscores is
/// returned as it is, without copying; otherwise the converted key is built in `buffer` and
/// a view of it is returned.
std::string_view convertFromSnakeCase(std::string_view key, std::string& buffer);

} // namespace tallybrook
