#include "document/TallybrookFormatValidator.h"

#include "core/TextRules.h"
#include "localization/AppText.h"

namespace tallybrook {

namespace {

// A record without session id belongs to the session; otherwise its id must be the session's,
// exactly (no trimming, no case folding).
bool belongsToSession(const std::optional<QString>& recordSessionId, const QString& sessionId) {
    return !recordSessionId || recordSessionId->isEmpty() || *recordSessionId == sessionId;
}

} // namespace

TallybrookValidationResult
TallybrookFormatValidator::validate(const InventoryExportDocument& document) const {
    if (!InventoryExportDocument::acceptedFormats().contains(document.format)) {
        throw TallybrookImportError::invalidFormat(
            document.format.isEmpty() ? AppText::localized(u"importError.missingFormat") : document.format);
    }
    if (!InventoryExportDocument::supportedFormatVersions().contains(document.formatVersion)) {
        throw TallybrookImportError::unsupportedFormatVersion(document.formatVersion);
    }
    const QString sessionId = trimmedText(document.session.id);
    if (sessionId.isEmpty() || !parseUuidText(sessionId)) {
        throw TallybrookImportError::missingSession();
    }
    for (const InventoryExportRow& row : document.rows) {
        if (!belongsToSession(row.sessionId, sessionId)) {
            throw TallybrookImportError::inconsistentSessionId();
        }
    }
    for (const InventoryExportUnknownCode& code : document.unknownCodes) {
        if (!belongsToSession(code.sessionId, sessionId)) {
            throw TallybrookImportError::inconsistentSessionId();
        }
    }
    TallybrookValidationResult result;
    for (const InventoryExportTemporaryItem& item : document.temporaryItems) {
        if (!item.sessionId || item.sessionId->isEmpty()) {
            result.warnings.append(TallybrookValidationWarning::legacyTemporaryItemWithoutSession(item.id));
        } else if (*item.sessionId != sessionId) {
            result.warnings.append(
                TallybrookValidationWarning::ignoredTemporaryItemForOtherSession(item.id, *item.sessionId));
        }
    }
    return result;
}

} // namespace tallybrook
