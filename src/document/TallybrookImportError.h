#pragma once

#include "localization/AppLanguage.h"
#include "localization/LocalizedError.h"

#include <QString>

#include <optional>

namespace tallybrook {

/// The one error of a failed import: the file is not a readable document of an accepted
/// format and version, or its session identity does not hold. Thrown by the decoder and the
/// validator; the description is looked up when it is read.
class TallybrookImportError : public LocalizedError {
public:
    enum class Case { invalidFormat, unsupportedFormatVersion, missingSession, inconsistentSessionId };

    /// The file could not be read as a document; `detail` says where and why.
    static TallybrookImportError invalidFormat(QString detail);
    static TallybrookImportError unsupportedFormatVersion(qint64 version);
    static TallybrookImportError missingSession();
    static TallybrookImportError inconsistentSessionId();

    Case errorCase() const { return case_; }
    /// The detail of `invalidFormat`; empty for the other cases.
    const QString& detail() const { return detail_; }
    /// The version of `unsupportedFormatVersion`; 0 for the other cases.
    qint64 version() const { return version_; }

    QString localizedDescription() const override;
    /// The description in `language` (current language when none).
    QString localizedDescription(std::optional<AppLanguage> language) const;

    bool operator==(const TallybrookImportError& other) const {
        return case_ == other.case_ && detail_ == other.detail_ && version_ == other.version_;
    }

private:
    TallybrookImportError(Case errorCase, QString detail, qint64 version)
        : case_(errorCase)
        , detail_(std::move(detail))
        , version_(version) {}

    Case case_;
    QString detail_;
    qint64 version_;
};

} // namespace tallybrook
