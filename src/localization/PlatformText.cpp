#include "localization/PlatformText.h"

#include "localization/AppText.h"

namespace tallybrook {

Platform currentPlatform() {
#if defined(Q_OS_MACOS)
    return Platform::macOS;
#elif defined(Q_OS_WIN)
    return Platform::windows;
#else
    return Platform::linux;
#endif
}

QString platformTextKey(QStringView key, Platform platform) {
    if (platform == Platform::macOS) {
        return key.toString();
    }
    const QString variant =
        key + (platform == Platform::windows ? QStringLiteral(".windows") : QStringLiteral(".linux"));
    return AppText::hasKey(variant) ? variant : key.toString();
}

QString platformDisplayName(AppLanguagePreference preference, AppLanguage in, Platform platform) {
    if (preference == AppLanguagePreference::automatic && platform != Platform::macOS) {
        return AppText::localized(platformTextKey(u"settings.automatic", platform), in);
    }
    return displayName(preference, in);
}

} // namespace tallybrook
