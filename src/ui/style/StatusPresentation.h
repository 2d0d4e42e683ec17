#pragma once

#include "corrections/WooCorrectionStatus.h"
#include "document/InventoryExportDocument.h"
#include "ui/style/Palette.h"

#include <QString>
#include <optional>

namespace tallybrook {

/// How a status is drawn: its symbol and tint (the text is the status's own label).
struct StatusPresentation {
    QString symbol;
    Tint tint = Tint::secondary;
};

StatusPresentation presentation(InventoryExportRowStatus status);
StatusPresentation presentation(WooCorrectionStatus status);

/// How a signed quantity difference is drawn: "-" for none, "0", "+3", "-12"; positive ones blue
/// and negative ones red in semibold, none and zero in the secondary colour.
struct DifferencePresentation {
    QString text;
    bool semibold = false;
    Tint tint = Tint::secondary;

    bool operator==(const DifferencePresentation&) const = default;
};

DifferencePresentation differencePresentation(std::optional<qint64> difference);

} // namespace tallybrook
