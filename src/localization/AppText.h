#pragma once

#include "localization/AppLanguage.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <initializer_list>
#include <optional>
#include <utility>
#include <variant>

namespace tallybrook {

/// One argument of a printf-style text: an integer for %d, a text for %@.
class FormatArg {
public:
    FormatArg(qint64 value) : value_(value) {}
    FormatArg(int value) : value_(qint64(value)) {}
    FormatArg(QString value) : value_(std::move(value)) {}

    const std::variant<qint64, QString>& value() const { return value_; }

private:
    std::variant<qint64, QString> value_;
};

/// Text lookup and formatting for services, errors and records.
///
/// Without an explicit language, each call resolves the language afresh from the stored
/// preference (standard preferences store) and the system's preferred languages, so a
/// description reads in the language in force when it is asked for. Safe from any thread.
namespace AppText {

/// One (key, text) pair of a language's table.
using Entry = std::pair<QString, QString>;

AppLanguagePreference currentPreference();
AppLanguage currentLanguage();

/// The text of `key` in `language` (current language when none), else the French text,
/// else the key itself.
QString localized(QStringView key, std::optional<AppLanguage> language = std::nullopt);

/// The text of `key` used as a printf-style format (%d integers, %@ texts) with the locale
/// of the resolved language (fr_FR or en_US).
QString formatted(QStringView key, std::optional<AppLanguage> language, std::initializer_list<FormatArg> args);
inline QString formatted(QStringView key, std::initializer_list<FormatArg> args) {
    return formatted(key, std::nullopt, args);
}

/// Applies printf-style arguments to a template in the locale of `language`.
QString applyFormat(const QString& format, AppLanguage language, std::initializer_list<FormatArg> args);

/// Whether the table holds `key` (both languages hold the same keys).
bool hasKey(QStringView key);

/// The table of one language, in table order.
const QList<Entry>& table(AppLanguage language);

/// Replaces the source of the system's preferred languages (tests); an empty function
/// restores Qt's list.
void setPreferredLanguagesProvider(PreferredLanguagesProvider provider);
/// The current system preferred languages (through the provider).
QStringList preferredLanguages();

} // namespace AppText

} // namespace tallybrook
