#pragma once

#include "localization/AppLanguage.h"
#include "localization/LocalizedError.h"

#include <QString>
#include <optional>

namespace tallybrook {

/// A CSV could not be produced: its text is not valid Unicode (an unpaired surrogate) and
/// cannot be written as UTF-8 without loss. The description is looked up when read.
class InventoryCSVExportError : public LocalizedError {
public:
    enum class Case { encodingFailed };

    static InventoryCSVExportError encodingFailed() { return InventoryCSVExportError(Case::encodingFailed); }

    Case errorCase() const { return case_; }
    QString localizedDescription() const override;
    /// The description in `language` (current language when none).
    QString localizedDescription(std::optional<AppLanguage> language) const;

    bool operator==(const InventoryCSVExportError& other) const { return case_ == other.case_; }

private:
    explicit InventoryCSVExportError(Case errorCase)
        : case_(errorCase) {}

    Case case_;
};

} // namespace tallybrook
