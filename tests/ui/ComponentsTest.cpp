#include "UiTestSupport.h"

#include "ui/components/QuantityDeltaText.h"


namespace tallybrook::testing {

TEST(ComponentsTest, QuantityDeltaTextSignsAndColoursTheDifference) {
    struct Case {
        std::optional<qint64> value;
        const char16_t* text;
        bool semibold;
        Tint tint;
    };
    const Case cases[] = {{std::nullopt, u"-", false, Tint::secondary},
                          {0, u"0", false, Tint::secondary},
                          {3, u"+3", true, Tint::blue},
                          {-12, u"-12", true, Tint::red}};
    for (const Case& c : cases) {
        const QuantityDeltaText::Presentation look = QuantityDeltaText::presentation(c.value);
        EXPECT_EQ(look, (QuantityDeltaText::Presentation{QString::fromUtf16(c.text), c.semibold, c.tint}));
        QuantityDeltaText label;
        label.setValue(c.value);
        EXPECT_EQ(label.text(), look.text);
        EXPECT_EQ(label.font().weight() == QFont::DemiBold, c.semibold);
        EXPECT_EQ(label.palette().color(QPalette::WindowText), Palette::color(c.tint));
    }
}

} // namespace tallybrook::testing
