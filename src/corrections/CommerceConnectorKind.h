#pragma once

#include <QString>

#include <array>
#include <optional>

namespace tallybrook {

/// The online-store connectors.
enum class CommerceConnectorKind { wooCommerce };

inline constexpr std::array<CommerceConnectorKind, 1> allCommerceConnectorKinds{CommerceConnectorKind::wooCommerce};

QString rawValue(CommerceConnectorKind kind); ///< also its id
std::optional<CommerceConnectorKind> commerceConnectorKindFromRawValue(QStringView raw);
QString displayName(CommerceConnectorKind kind);
/// Looked up in the current language each time.
QString stockLabel(CommerceConnectorKind kind);

} // namespace tallybrook
