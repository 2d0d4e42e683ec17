#pragma once

#include "export/LabelCodeKind.h"
#include "localization/AppLanguage.h"
#include "localization/LocalizedError.h"

#include <QString>
#include <optional>

namespace tallybrook {

/// Why a label sheet could not be made. Thrown by `LabelPDFService`; the description is
/// worded in the language in force when it is read.
class LabelPDFError : public LocalizedError {
public:
    enum class Kind { noPrintableRows, invalidBarcodeValue, invalidPageGeometry, renderingFailed };

    /// No displayed row yields a label for `codeKind`.
    static LabelPDFError noPrintableRows(LabelCodeKind codeKind);
    /// Code 128 cannot carry `value` (not ASCII, or too long).
    static LabelPDFError invalidBarcodeValue(QString value);
    /// The label size, margins and gaps make no grid on the page.
    static LabelPDFError invalidPageGeometry();
    /// Drawing or writing the PDF failed.
    static LabelPDFError renderingFailed();

    Kind kind() const { return kind_; }
    /// The kind of code for `noPrintableRows`.
    LabelCodeKind codeKind() const { return codeKind_; }
    /// The value for `invalidBarcodeValue`, empty otherwise.
    const QString& value() const { return value_; }

    QString localizedDescription() const override;
    /// The description in `language` (current language when none).
    QString description(std::optional<AppLanguage> language) const;

    bool operator==(const LabelPDFError& other) const {
        return kind_ == other.kind_ && codeKind_ == other.codeKind_ && value_ == other.value_;
    }

private:
    LabelPDFError(Kind kind, LabelCodeKind codeKind, QString value)
        : kind_(kind)
        , codeKind_(codeKind)
        , value_(std::move(value)) {}

    Kind kind_;
    LabelCodeKind codeKind_;
    QString value_;
};

} // namespace tallybrook
