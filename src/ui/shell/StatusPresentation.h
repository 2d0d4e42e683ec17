#pragma once

#include "corrections/WooCorrectionStatus.h"
#include "document/InventoryExportDocument.h"
#include "ui/shell/Palette.h"

#include <QString>

namespace tallybrook {

/// How a status is drawn: its symbol and tint (the text is the status's own label).
struct StatusPresentation {
    QString symbol;
    Tint tint = Tint::secondary;
};

StatusPresentation presentation(InventoryExportRowStatus status);
StatusPresentation presentation(WooCorrectionStatus status);

} // namespace tallybrook
