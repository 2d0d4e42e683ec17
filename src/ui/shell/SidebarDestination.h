#pragma once

#include <QString>
#include <array>
#include <optional>

namespace tallybrook {

/// The destinations of the window's sidebar, in display order; the raw value is the case name.
enum class SidebarDestination {
    importInventory,
    dashboard,
    rows,
    differences,
    unknownCodes,
    temporaryItems,
    wooConnection,
    wooCorrections,
    wooResult,
    csvDifferences,
    csvCorrections,
    settings
};

inline constexpr std::array<SidebarDestination, 12> allSidebarDestinations{
    SidebarDestination::importInventory, SidebarDestination::dashboard,      SidebarDestination::rows,
    SidebarDestination::differences,     SidebarDestination::unknownCodes,   SidebarDestination::temporaryItems,
    SidebarDestination::wooConnection,   SidebarDestination::wooCorrections, SidebarDestination::wooResult,
    SidebarDestination::csvDifferences,  SidebarDestination::csvCorrections, SidebarDestination::settings};

QString rawValue(SidebarDestination destination);
std::optional<SidebarDestination> sidebarDestinationFromRawValue(const QString& raw);
/// The text key of the destination's title.
QString titleKey(SidebarDestination destination);
/// The destination's symbol.
QString symbol(SidebarDestination destination);

} // namespace tallybrook
