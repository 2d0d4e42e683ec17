#include "corrections/CommerceConnectorKind.h"

#include "localization/AppText.h"

using namespace Qt::StringLiterals;

namespace tallybrook {

QString rawValue(CommerceConnectorKind kind) {
    switch (kind) {
    case CommerceConnectorKind::wooCommerce:
        return u"wooCommerce"_s;
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<CommerceConnectorKind> commerceConnectorKindFromRawValue(QStringView raw) {
    for (const CommerceConnectorKind kind : allCommerceConnectorKinds) {
        if (raw == rawValue(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

QString displayName(CommerceConnectorKind kind) {
    switch (kind) {
    case CommerceConnectorKind::wooCommerce:
        return u"WooCommerce"_s;
    }
    Q_UNREACHABLE();
    return {};
}

QString stockLabel(CommerceConnectorKind kind) {
    switch (kind) {
    case CommerceConnectorKind::wooCommerce:
        return AppText::localized(u"woo.currentStock");
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace tallybrook
