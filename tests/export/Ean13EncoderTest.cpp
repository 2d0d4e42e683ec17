#include "export/Ean13Encoder.h"

#include <gtest/gtest.h>
#include <memory>
#include <zint.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

QString moduleText(const CodeModuleMatrix& matrix, int from, int count) {
    QString text;
    for (int x = from; x < from + count; ++x) {
        text += matrix.isDark(x, 0) ? u'1' : u'0';
    }
    return text;
}

// The 95 modules (guards included, no quiet zone) that Zint, an independent encoder, gives.
QString zintEan13(const QString& value) {
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    symbol->symbology = BARCODE_EANX;
    symbol->show_hrt = 0;
    const QByteArray bytes = value.toLatin1();
    EXPECT_LT(ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                              int(bytes.size())),
              ZINT_ERROR);
    QString text;
    for (int x = 0; x < symbol->width; ++x) {
        text += ((symbol->encoded_data[0][x >> 3] >> (x & 7)) & 1) ? u'1' : u'0';
    }
    return text;
}

} // namespace

TEST(Ean13EncoderTest, CheckDigitsOfRealCodes) {
    struct Case {
        const char16_t* twelve;
        int check;
    };
    for (const Case& c : {Case{u"400638133393", 1}, Case{u"590123412345", 7}, Case{u"978030640615", 7},
                          Case{u"001234567890", 5}, Case{u"000000000000", 0}, Case{u"871125300120", 2}}) {
        SCOPED_TRACE(QString::fromUtf16(c.twelve).toStdString());
        EXPECT_EQ(Ean13Encoder::checkDigit(c.twelve), c.check);
    }
    EXPECT_FALSE(Ean13Encoder::checkDigit(u"40063813339"));
    EXPECT_FALSE(Ean13Encoder::checkDigit(u"40063813339x"));
}

TEST(Ean13EncoderTest, ValidityNeedsThirteenAsciiDigitsAndTheRightCheckDigit) {
    struct Case {
        const char16_t* value;
        bool valid;
    };
    for (const Case& c :
         {Case{u"4006381333931", true}, Case{u"5901234123457", true}, Case{u"9780306406157", true},
          Case{u"4006381333932", false}, Case{u"400638133393", false}, Case{u"40063813339310", false},
          Case{u" 4006381333931", false}, Case{u"400638133393a", false},
          Case{u"\u0664006381333931", false}, // an Arabic-Indic digit is no EAN digit
          Case{u"", false}}) {
        SCOPED_TRACE(QString::fromUtf16(c.value).toStdString());
        EXPECT_EQ(Ean13Encoder::isValid(c.value), c.valid);
        EXPECT_EQ(Ean13Encoder::modules(c.value).has_value(), c.valid);
    }
}

TEST(Ean13EncoderTest, AllZerosFollowsTheStandardTables) {
    const auto matrix = Ean13Encoder::modules(u"0000000000000");
    ASSERT_TRUE(matrix);
    const QString left = u"0001101"_s.repeated(6);
    const QString right = u"1110010"_s.repeated(6);
    EXPECT_EQ(moduleText(*matrix, 0, 113),
              u"0"_s.repeated(11) + u"101"_s + left + u"01010"_s + right + u"101"_s + u"0"_s.repeated(7));
}

TEST(Ean13EncoderTest, ModulesMatchAnIndependentEncoderForEveryFirstDigit) {
    for (const char16_t* value :
         {u"0012345678905", u"1234567890128", u"2000000000008", u"3014260115531", u"4006381333931",
          u"5901234123457", u"6291041500213", u"7622210449283", u"8711253001202", u"9780306406157"}) {
        SCOPED_TRACE(QString::fromUtf16(value).toStdString());
        const auto matrix = Ean13Encoder::modules(value);
        ASSERT_TRUE(matrix);
        ASSERT_EQ(matrix->width, Ean13Encoder::moduleCount);
        ASSERT_EQ(matrix->height, 1);
        EXPECT_EQ(moduleText(*matrix, 0, 11), u"0"_s.repeated(11));
        EXPECT_EQ(moduleText(*matrix, 11, 95), zintEan13(QString::fromUtf16(value)));
        EXPECT_EQ(moduleText(*matrix, 106, 7), u"0"_s.repeated(7));
    }
}
