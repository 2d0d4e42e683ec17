#include "export/LabelPrintConfiguration.h"

#include <cmath>

namespace tallybrook {

namespace {

// std::max would hide a NaN behind the floor or keep it depending on argument order; keeping
// it visible lets the geometry reject it.
double atLeast(double value, double floor) {
    if (std::isnan(value)) {
        return value;
    }
    return value < floor ? floor : value;
}

} // namespace

QSizeF LabelPrintConfiguration::labelSizeMM() const {
    if (const auto size = presetSizeMM(sizePreset)) {
        return *size;
    }
    return QSizeF(atLeast(customWidthMM, 10.0), atLeast(customHeightMM, 8.0));
}

} // namespace tallybrook
