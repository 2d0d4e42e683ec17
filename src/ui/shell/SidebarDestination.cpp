#include "ui/shell/SidebarDestination.h"

namespace tallybrook {

namespace {

struct Description {
    const char* raw;
    const char* titleKey;
    const char* symbol;
};

Description describe(SidebarDestination destination) {
    switch (destination) {
    case SidebarDestination::importInventory:
        return {"importInventory", "sidebar.import", "square.and.arrow.down"};
    case SidebarDestination::dashboard:
        return {"dashboard", "sidebar.dashboard", "chart.bar.doc.horizontal"};
    case SidebarDestination::rows:
        return {"rows", "sidebar.rows", "tablecells"};
    case SidebarDestination::differences:
        return {"differences", "sidebar.differences", "plus.forwardslash.minus"};
    case SidebarDestination::unknownCodes:
        return {"unknownCodes", "sidebar.unknownCodes", "barcode.viewfinder"};
    case SidebarDestination::temporaryItems:
        return {"temporaryItems", "sidebar.temporaryItems", "shippingbox"};
    case SidebarDestination::wooConnection:
        return {"wooConnection", "sidebar.wooConnection", "network"};
    case SidebarDestination::wooCorrections:
        return {"wooCorrections", "sidebar.wooCorrections", "checklist"};
    case SidebarDestination::wooResult:
        return {"wooResult", "sidebar.wooResult", "doc.text.magnifyingglass"};
    case SidebarDestination::csvDifferences:
        return {"csvDifferences", "sidebar.csvDifferences", "doc.badge.arrow.up"};
    case SidebarDestination::csvCorrections:
        return {"csvCorrections", "sidebar.csvCorrections", "doc.badge.arrow.up"};
    case SidebarDestination::settings:
        break;
    }
    return {"settings", "settings.title", "gearshape"};
}

} // namespace

QString rawValue(SidebarDestination destination) {
    return QString::fromLatin1(describe(destination).raw);
}

std::optional<SidebarDestination> sidebarDestinationFromRawValue(const QString& raw) {
    for (const SidebarDestination destination : allSidebarDestinations) {
        if (rawValue(destination) == raw) {
            return destination;
        }
    }
    return std::nullopt;
}

QString titleKey(SidebarDestination destination) {
    return QString::fromLatin1(describe(destination).titleKey);
}

QString symbol(SidebarDestination destination) {
    return QString::fromLatin1(describe(destination).symbol);
}

} // namespace tallybrook
