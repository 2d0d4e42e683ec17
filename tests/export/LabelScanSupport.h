#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <ostream>

namespace tallybrook::test {

/// One symbol a scanner found: its symbology as zbar names it ("EAN-13", "CODE-128",
/// "QR-Code") and the decoded text.
struct ScannedSymbol {
    QString symbology;
    QString text;
    bool operator==(const ScannedSymbol&) const = default;
};

inline void PrintTo(const ScannedSymbol& symbol, std::ostream* out) {
    *out << symbol.symbology.toStdString() << ":" << symbol.text.toStdString();
}

/// Runs an external tool; returns its standard output, or a null array when it could not run
/// or exited with a code outside `acceptedExitCodes`.
QByteArray runTool(const QString& program, const QStringList& arguments, QList<int> acceptedExitCodes = {0});

/// The pages of `pdf` rasterised by pdftoppm in grey at `dotsPerInch`, in page order.
QList<QImage> rasterisePdf(const QByteArray& pdf, int dotsPerInch);

/// Every symbol zbarimg finds in each image (EAN-13, Code 128 and QR Code decoders only), in
/// image order.
QList<QList<ScannedSymbol>> scanImages(const QList<QImage>& images);

/// The part of a page image that shows `rectPoints` (points, y downward).
QImage cropPoints(const QImage& page, const QRectF& rectPoints, int dotsPerInch);

/// The number of pages pdfinfo reports.
int pdfPageCount(const QByteArray& pdf);

} // namespace tallybrook::test
