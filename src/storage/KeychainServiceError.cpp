#include "storage/KeychainServiceError.h"

#include "localization/AppText.h"

namespace tallybrook {

QString KeychainServiceError::localizedDescription() const {
    return localizedDescription(std::nullopt);
}

QString KeychainServiceError::localizedDescription(std::optional<AppLanguage> language) const {
    switch (case_) {
    case Case::unexpectedStatus:
        if (!reason_.isEmpty()) {
            return AppText::formatted(u"keychain.errorReason", language, {qint64(status_), reason_});
        }
        return AppText::formatted(u"keychain.error", language, {qint64(status_)});
    case Case::invalidData:
        break;
    }
    return AppText::localized(u"keychain.invalid", language);
}

} // namespace tallybrook
