#pragma once

#include "localization/AppLanguage.h"

#include <QString>
#include <QStringView>

namespace tallybrook {

/// The desktop platforms whose wording differs: the shared texts name the Mac and its Keychain;
/// Linux and Windows have their own wording for the few texts that name the system.
enum class Platform { macOS, windows, linux };

/// The platform this program was built for.
Platform currentPlatform();

/// The key to look up for `key` on `platform`: "<key>.linux" or "<key>.windows" when the table
/// has such a variant, otherwise `key` itself (always on macOS).
QString platformTextKey(QStringView key, Platform platform = currentPlatform());

/// The title of a language choice as the settings page shows it: "Automatique (Mac)" on macOS,
/// the platform's own wording of the automatic choice elsewhere; the language names everywhere.
QString platformDisplayName(AppLanguagePreference preference, AppLanguage in,
                            Platform platform = currentPlatform());

} // namespace tallybrook
