#pragma once

#include "document/TallybrookValidationWarning.h"

#include <QList>

namespace tallybrook {

/// What validation found in a document it accepted: its warnings, in file order.
struct TallybrookValidationResult {
    QList<TallybrookValidationWarning> warnings;

    bool operator==(const TallybrookValidationResult&) const = default;
};

} // namespace tallybrook
