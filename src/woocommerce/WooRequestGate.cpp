#include "woocommerce/WooRequestGate.h"

#include "localization/LocalizedError.h"
#include "woocommerce/WooCommerceAPIError.h"

namespace tallybrook {

QString WooRequestGate::describe(std::exception_ptr error) {
    try {
        std::rethrow_exception(std::move(error));
    } catch (const WooCommerceAPIError& apiError) {
        QString message = apiError.localizedDescription();
        if (apiError.refusesCredentials()) {
            refusal_ = message;
        }
        return message;
    } catch (const LocalizedError& localized) {
        return localized.localizedDescription();
    } catch (const std::exception& other) {
        return QString::fromLocal8Bit(other.what());
    }
}

} // namespace tallybrook
