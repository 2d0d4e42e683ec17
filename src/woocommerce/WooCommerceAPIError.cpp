#include "woocommerce/WooCommerceAPIError.h"

#include "localization/AppText.h"

namespace tallybrook {

QString WooCommerceAPIError::localizedDescription() const {
    switch (case_) {
    case Case::httpStatus:
        return AppText::formatted(u"wooApi.status", {statusCode_, body_});
    case Case::invalidURL:
        return AppText::localized(u"woo.invalidURL");
    case Case::emptyResponse:
        return AppText::localized(u"wooApi.empty");
    case Case::invalidResponse:
        return AppText::localized(u"wooApi.invalid");
    }
    return AppText::localized(u"wooApi.invalid");
}

} // namespace tallybrook
