#include "document/TallybrookValidationWarning.h"

#include "localization/AppText.h"

namespace tallybrook {

TallybrookValidationWarning TallybrookValidationWarning::legacyTemporaryItemWithoutSession(QString itemId) {
    return TallybrookValidationWarning(Case::legacyTemporaryItemWithoutSession, std::move(itemId), QString());
}

TallybrookValidationWarning
TallybrookValidationWarning::ignoredTemporaryItemForOtherSession(QString itemId, QString sessionId) {
    return TallybrookValidationWarning(Case::ignoredTemporaryItemForOtherSession, std::move(itemId),
                                       std::move(sessionId));
}

QString TallybrookValidationWarning::id() const {
    if (case_ == Case::legacyTemporaryItemWithoutSession) {
        return QStringLiteral("legacy-temporary-") + itemId_;
    }
    return QStringLiteral("foreign-temporary-") + itemId_ + u'-' + sessionId_;
}

QString TallybrookValidationWarning::message(std::optional<AppLanguage> language) const {
    return AppText::localized(case_ == Case::legacyTemporaryItemWithoutSession
                                  ? u"validation.legacyTemporary"
                                  : u"validation.foreignTemporary",
                              language);
}

} // namespace tallybrook
