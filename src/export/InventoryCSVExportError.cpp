#include "export/InventoryCSVExportError.h"

#include "localization/AppText.h"

namespace tallybrook {

QString InventoryCSVExportError::localizedDescription() const {
    return localizedDescription(std::nullopt);
}

QString InventoryCSVExportError::localizedDescription(std::optional<AppLanguage> language) const {
    return AppText::localized(u"csv.encodingFailed", language);
}

} // namespace tallybrook
