#include "woocommerce/WooDecodingError.h"

#include "localization/AppText.h"

namespace tallybrook {

QString WooDecodingError::localizedDescription() const {
    return AppText::localized(u"wooApi.invalid") + QStringLiteral(" (") + detail_ + u')';
}

} // namespace tallybrook
