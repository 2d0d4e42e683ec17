#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace tallybrook {

/// How the correction road talks to the shop: one request per item (the default, gentle on
/// any host), or batches of up to 100 items per read and per write (far fewer round trips on
/// a large count).
enum class WooRequestMode { oneByOne, batch };

/// Preferences key of the stored mode.
inline constexpr char16_t wooRequestModeStorageKey[] = u"com.tallybrook.control.woo-request-mode";

inline QString rawValue(WooRequestMode mode) {
    return mode == WooRequestMode::batch ? QStringLiteral("batch") : QStringLiteral("oneByOne");
}

inline std::optional<WooRequestMode> wooRequestModeFromRawValue(QStringView raw) {
    if (raw == u"batch") {
        return WooRequestMode::batch;
    }
    if (raw == u"oneByOne") {
        return WooRequestMode::oneByOne;
    }
    return std::nullopt;
}

} // namespace tallybrook
