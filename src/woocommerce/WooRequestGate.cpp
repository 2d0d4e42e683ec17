#include "woocommerce/WooRequestGate.h"

#include "localization/LocalizedError.h"
#include "woocommerce/HttpTransport.h"
#include "woocommerce/WooCommerceAPIError.h"
#include "woocommerce/WooDecodingError.h"

namespace tallybrook {

QString WooRequestGate::describe(std::exception_ptr error, bool firstRequest) {
    QString message;
    bool stops = false;
    try {
        std::rethrow_exception(std::move(error));
    } catch (const WooCommerceAPIError& apiError) {
        message = apiError.localizedDescription();
        stops = apiError.refusesCredentials() || (firstRequest && apiError.isNotWooCommerceAPI());
    } catch (const WooDecodingError& decoding) {
        message = decoding.localizedDescription();
        stops = firstRequest && decoding.isNotJson();
    } catch (const TransportError& transport) {
        message = transport.localizedDescription();
        stops = firstRequest && (transport.kind() == TransportError::Kind::connection ||
                                 transport.kind() == TransportError::Kind::tls);
    } catch (const LocalizedError& localized) {
        message = localized.localizedDescription();
    } catch (const std::exception& other) {
        message = QString::fromLocal8Bit(other.what());
    }
    if (stops) {
        stopMessage_ = message;
    }
    return message;
}

} // namespace tallybrook
