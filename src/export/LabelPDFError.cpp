#include "export/LabelPDFError.h"

#include "localization/AppText.h"

namespace tallybrook {

LabelPDFError LabelPDFError::noPrintableRows(LabelCodeKind codeKind) {
    return LabelPDFError(Kind::noPrintableRows, codeKind, QString());
}

LabelPDFError LabelPDFError::invalidBarcodeValue(QString value) {
    return LabelPDFError(Kind::invalidBarcodeValue, LabelCodeKind::barcode, std::move(value));
}

LabelPDFError LabelPDFError::invalidPageGeometry() {
    return LabelPDFError(Kind::invalidPageGeometry, LabelCodeKind::barcode, QString());
}

LabelPDFError LabelPDFError::renderingFailed() {
    return LabelPDFError(Kind::renderingFailed, LabelCodeKind::barcode, QString());
}

QString LabelPDFError::localizedDescription() const {
    return description(std::nullopt);
}

QString LabelPDFError::description(std::optional<AppLanguage> language) const {
    switch (kind_) {
    case Kind::noPrintableRows:
        return AppText::localized(codeKind_ == LabelCodeKind::barcode ? u"labels.noPrintableBarcode"
                                                                      : u"labels.noPrintableQR",
                                  language);
    case Kind::invalidBarcodeValue:
        return AppText::formatted(u"labels.invalidBarcode", language, {value_});
    case Kind::invalidPageGeometry:
        return AppText::localized(u"labels.invalidGeometry", language);
    case Kind::renderingFailed:
        return AppText::localized(u"labels.renderingFailed", language);
    }
    return {};
}

} // namespace tallybrook
