#pragma once

#include "localization/AppLanguage.h"

#include <QString>

#include <optional>

namespace tallybrook {

/// A non-fatal remark about an imported document: a temporary item that has no session, or
/// that belongs to another session. Warnings never block an import.
class TallybrookValidationWarning {
public:
    enum class Case { legacyTemporaryItemWithoutSession, ignoredTemporaryItemForOtherSession };

    static TallybrookValidationWarning legacyTemporaryItemWithoutSession(QString itemId);
    static TallybrookValidationWarning ignoredTemporaryItemForOtherSession(QString itemId, QString sessionId);

    Case warningCase() const { return case_; }
    const QString& itemId() const { return itemId_; }
    /// The other session's id (foreign items only; empty otherwise).
    const QString& sessionId() const { return sessionId_; }

    /// "legacy-temporary-<item id>" or "foreign-temporary-<item id>-<session id>".
    QString id() const;
    /// The text shown for the warning, in `language` (current language when none).
    QString message(std::optional<AppLanguage> language = std::nullopt) const;

    bool operator==(const TallybrookValidationWarning&) const = default;

private:
    TallybrookValidationWarning(Case warningCase, QString itemId, QString sessionId)
        : case_(warningCase)
        , itemId_(std::move(itemId))
        , sessionId_(std::move(sessionId)) {}

    Case case_;
    QString itemId_;
    QString sessionId_;
};

} // namespace tallybrook
