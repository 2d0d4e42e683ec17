#include "export/ZintEncoder.h"

#include <algorithm>
#include <memory>
#include <zint.h>

namespace tallybrook::ZintEncoder {

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using SymbolPointer = std::unique_ptr<zint_symbol, SymbolDeleter>;

constexpr int qrErrorCorrectionM = 2;
constexpr int utf8Eci = 26;

// The matrix of an encoded symbol, surrounded by `quiet` light modules (horizontally only for
// a linear code, whose height is drawn by the renderer).
std::optional<CodeModuleMatrix> readModules(const zint_symbol& symbol, int horizontalQuiet, int verticalQuiet,
                                            bool linear) {
    const int rows = linear ? 1 : symbol.rows;
    constexpr int maxRows = int(sizeof(zint_symbol::row_height) / sizeof(float));
    constexpr int maxColumns = int(sizeof(zint_symbol::encoded_data[0])) * 8;
    if (symbol.width <= 0 || symbol.width > maxColumns || rows <= 0 || rows > maxRows) {
        return std::nullopt;
    }
    CodeModuleMatrix matrix(symbol.width + 2 * horizontalQuiet, rows + 2 * verticalQuiet);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < symbol.width; ++x) {
            // Zint packs each row's modules eight to a byte, least significant bit first.
            const bool dark = ((symbol.encoded_data[y][x >> 3] >> (x & 7)) & 1) != 0;
            matrix.setDark(x + horizontalQuiet, y + verticalQuiet, dark);
        }
    }
    return matrix;
}

SymbolPointer createSymbol(int symbology) {
    SymbolPointer symbol(ZBarcode_Create());
    if (symbol) {
        symbol->symbology = symbology;
        symbol->show_hrt = 0;
    }
    return symbol;
}

} // namespace

std::optional<CodeModuleMatrix> code128(const QByteArray& ascii) {
    if (ascii.isEmpty() || std::any_of(ascii.cbegin(), ascii.cend(),
                                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        return std::nullopt;
    }
    SymbolPointer symbol = createSymbol(BARCODE_CODE128);
    if (!symbol) {
        return std::nullopt;
    }
    symbol->input_mode = DATA_MODE;
    const int status = ZBarcode_Encode(
        symbol.get(), reinterpret_cast<const unsigned char*>(ascii.constData()), int(ascii.size()));
    if (status >= ZINT_ERROR) {
        return std::nullopt;
    }
    return readModules(*symbol, code128QuietModules, 0, true);
}

std::optional<CodeModuleMatrix> qrCode(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (utf8.isEmpty()) {
        return std::nullopt;
    }
    SymbolPointer symbol = createSymbol(BARCODE_QRCODE);
    if (!symbol) {
        return std::nullopt;
    }
    const bool ascii =
        std::all_of(utf8.cbegin(), utf8.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    symbol->input_mode = UNICODE_MODE;
    symbol->eci = ascii ? 0 : utf8Eci;
    symbol->option_1 = qrErrorCorrectionM;
    const int status = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(utf8.constData()),
                                       int(utf8.size()));
    if (status >= ZINT_ERROR) {
        return std::nullopt;
    }
    return readModules(*symbol, qrQuietModules, qrQuietModules, false);
}

} // namespace tallybrook::ZintEncoder
