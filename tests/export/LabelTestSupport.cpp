#include "LabelTestSupport.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

namespace tallybrook::test {

using namespace Qt::StringLiterals;

namespace {

/// Runs an external tool; its standard output, or a null array when it could not run or
/// exited with a code outside `acceptedExitCodes`.
QByteArray runTool(const QString& program, const QStringList& arguments, QList<int> acceptedExitCodes = {0}) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(30000) || !process.waitForFinished(120000) ||
        process.exitStatus() != QProcess::NormalExit || !acceptedExitCodes.contains(process.exitCode())) {
        return {};
    }
    const QByteArray output = process.readAllStandardOutput();
    return output.isNull() ? QByteArray("") : output;
}

} // namespace

QList<QImage> rasterisePdf(const QByteArray& pdf, int dotsPerInch) {
    QTemporaryDir dir;
    QFile file(dir.filePath(u"sheet.pdf"_s));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size()) {
        return {};
    }
    file.close();
    if (runTool(u"pdftoppm"_s, {u"-r"_s, QString::number(dotsPerInch), u"-gray"_s, u"-png"_s, file.fileName(),
                                dir.filePath(u"page"_s)})
            .isNull()) {
        return {};
    }
    // A page at 600 dpi is beyond Qt's default allocation limit for reading images.
    QImageReader::setAllocationLimit(0);
    // pdftoppm pads page numbers to the width of the last one; the numeric order is the page order.
    QMap<int, QImage> pages;
    static const QRegularExpression number(u"page-(\\d+)\\.png"_s);
    for (const QString& name : QDir(dir.path()).entryList({u"page-*.png"_s}, QDir::Files)) {
        if (const auto match = number.match(name); match.hasMatch()) {
            pages.insert(match.captured(1).toInt(), QImage(dir.filePath(name)));
        }
    }
    return pages.values();
}

QList<QList<ScannedSymbol>> scanImages(const QList<QImage>& images) {
    QList<QList<ScannedSymbol>> result;
    QTemporaryDir dir;
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QString path = dir.filePath(u"image-%1.png"_s.arg(i));
        images.at(i).save(path);
        // One image at a time, in plain output: zbarimg's XML output mangles non-ASCII text
        // (it base64-encodes sign-extended bytes). Exit code 4 means "no symbol found".
        const QByteArray output = runTool(
            u"zbarimg"_s,
            {u"-q"_s, u"-Sdisable"_s, u"-Sean13.enable"_s, u"-Scode128.enable"_s, u"-Sqrcode.enable"_s, path}, {0, 4});
        QList<ScannedSymbol> symbols;
        for (const QString& line : QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts)) {
            const qsizetype colon = line.indexOf(u':');
            symbols.append(colon < 0 ? ScannedSymbol{line, QString()}
                                     : ScannedSymbol{line.first(colon), line.sliced(colon + 1)});
        }
        result.append(symbols);
    }
    return result;
}

QImage cropPoints(const QImage& page, const QRectF& rectPoints, int dotsPerInch) {
    const double scale = dotsPerInch / 72.0;
    return page.copy(int(std::floor(rectPoints.left() * scale)), int(std::floor(rectPoints.top() * scale)),
                     int(std::ceil(rectPoints.width() * scale)), int(std::ceil(rectPoints.height() * scale)));
}

} // namespace tallybrook::test
