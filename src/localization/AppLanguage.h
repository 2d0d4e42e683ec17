#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace tallybrook {

/// The two interface languages. French is table 0 and English table 1 wherever indexed.
enum class AppLanguage { french, english };

inline constexpr std::array<AppLanguage, 2> allAppLanguages{AppLanguage::french, AppLanguage::english};

/// "fr" or "en".
QString rawValue(AppLanguage language);
/// Exact, case-sensitive match of "fr" or "en".
std::optional<AppLanguage> appLanguageFromRawValue(const QString& raw);
/// The name of `language` written in `in` ("Français", "French", ...).
QString displayName(AppLanguage language, AppLanguage in);
/// fr_FR for French, en_US for English.
QLocale locale(AppLanguage language);
/// The first French or English entry of a list of language identifiers; English otherwise.
AppLanguage preferredSystemLanguage(const QStringList& preferredLanguages);

/// The user's choice: follow the system, or force one language.
enum class AppLanguagePreference { automatic, french, english };

inline constexpr std::array<AppLanguagePreference, 3> allAppLanguagePreferences{
    AppLanguagePreference::automatic, AppLanguagePreference::french, AppLanguagePreference::english};

/// Preferences key under which the preference's raw value is stored.
inline constexpr char16_t languagePreferenceStorageKey[] = u"com.tallybrook.control.language";

/// "automatic", "fr" or "en".
QString rawValue(AppLanguagePreference preference);
/// Exact, case-sensitive match of the three raw values.
std::optional<AppLanguagePreference> appLanguagePreferenceFromRawValue(const QString& raw);
QString displayName(AppLanguagePreference preference, AppLanguage in);
std::optional<AppLanguage> languageOverride(AppLanguagePreference preference);
AppLanguage resolvedLanguage(AppLanguagePreference preference, const QStringList& preferredLanguages);

/// Source of the system's preferred language identifiers (most preferred first).
using PreferredLanguagesProvider = std::function<QStringList()>;

/// The system's preferred languages as Qt reports them.
QStringList systemPreferredLanguages();

} // namespace tallybrook
