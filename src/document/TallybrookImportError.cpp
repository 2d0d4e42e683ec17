#include "document/TallybrookImportError.h"

#include "localization/AppText.h"

namespace tallybrook {

TallybrookImportError TallybrookImportError::invalidFormat(QString detail) {
    return TallybrookImportError(Case::invalidFormat, std::move(detail), 0);
}

TallybrookImportError TallybrookImportError::unsupportedFormatVersion(qint64 version) {
    return TallybrookImportError(Case::unsupportedFormatVersion, QString(), version);
}

TallybrookImportError TallybrookImportError::missingSession() {
    return TallybrookImportError(Case::missingSession, QString(), 0);
}

TallybrookImportError TallybrookImportError::inconsistentSessionId() {
    return TallybrookImportError(Case::inconsistentSessionId, QString(), 0);
}

QString TallybrookImportError::localizedDescription() const {
    return localizedDescription(std::nullopt);
}

QString TallybrookImportError::localizedDescription(std::optional<AppLanguage> language) const {
    switch (case_) {
    case Case::invalidFormat:
        return AppText::formatted(u"importError.invalidFormat", language, {detail_});
    case Case::unsupportedFormatVersion:
        return AppText::formatted(u"importError.unsupportedVersion", language, {version_});
    case Case::missingSession:
        return AppText::localized(u"importError.missingSession", language);
    case Case::inconsistentSessionId:
        break;
    }
    return AppText::localized(u"importError.inconsistentSession", language);
}

} // namespace tallybrook
