#include "corrections/CorrectionRecords.h"

#include "document/TextRules.h"

namespace tallybrook {

QString RemoteStockLevel::id() const {
    QString result;
    result.reserve(38 + (externalProductId ? externalProductId->size() : 0) +
                   (externalVariantId ? externalVariantId->size() : 0));
    if (localItemId) {
        result += uuidText(*localItemId);
    }
    result += QLatin1Char(':');
    if (externalProductId) {
        result += *externalProductId;
    }
    result += QLatin1Char(':');
    if (externalVariantId) {
        result += *externalVariantId;
    }
    return result;
}

} // namespace tallybrook
