#include "UiTestSupport.h"

#include "ui/style/StatusPresentation.h"

namespace tallybrook::testing {

TEST(ComponentsTest, DifferencePresentationSignsAndColoursTheDifference) {
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
        EXPECT_EQ(differencePresentation(c.value),
                  (DifferencePresentation{QString::fromUtf16(c.text), c.semibold, c.tint}));
    }
}

} // namespace tallybrook::testing
