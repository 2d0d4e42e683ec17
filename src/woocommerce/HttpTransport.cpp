#include "woocommerce/HttpTransport.h"

namespace tallybrook {

std::optional<QByteArray> HttpResponse::header(QByteArrayView name) const {
    for (const auto& [headerName, value] : headers) {
        if (headerName.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace tallybrook
