#include "export/LabelSheetGeometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace tallybrook;

namespace {

LabelPrintConfiguration preset(LabelSizePreset size) {
    LabelPrintConfiguration configuration;
    configuration.sizePreset = size;
    return configuration;
}

LabelPrintConfiguration custom(double width, double height) {
    LabelPrintConfiguration configuration;
    configuration.sizePreset = LabelSizePreset::custom;
    configuration.customWidthMM = width;
    configuration.customHeightMM = height;
    return configuration;
}

} // namespace

TEST(LabelSheetGeometryTest, PresetsOnA4WithTheStartValues) {
    struct Case {
        LabelSizePreset preset;
        qint64 columns;
        qint64 rows;
    };
    for (const Case& c :
         {Case{LabelSizePreset::standard381x212, 4, 12}, Case{LabelSizePreset::avery5167, 4, 19},
          Case{LabelSizePreset::qr35, 5, 7}, Case{LabelSizePreset::custom, 4, 12}}) {
        SCOPED_TRACE(rawValue(c.preset).toStdString());
        const auto geometry = LabelSheetGeometry::make(preset(c.preset));
        ASSERT_TRUE(geometry);
        EXPECT_EQ(geometry->columns, c.columns);
        EXPECT_EQ(geometry->rows, c.rows);
        EXPECT_EQ(geometry->labelsPerPage(), c.columns * c.rows);
    }
}

TEST(LabelSheetGeometryTest, CustomSizeHasAFloorOfTenByEightMillimetres) {
    EXPECT_EQ(custom(5, 5).labelSizeMM(), QSizeF(10, 8));
    EXPECT_EQ(custom(12.5, 3).labelSizeMM(), QSizeF(12.5, 8));
    EXPECT_EQ(custom(-40, 30).labelSizeMM(), QSizeF(10, 30));
    EXPECT_EQ(preset(LabelSizePreset::qr35).labelSizeMM(), QSizeF(35, 35));
    // The custom fields only count for the custom preset.
    LabelPrintConfiguration standard = custom(5, 5);
    standard.sizePreset = LabelSizePreset::standard381x212;
    EXPECT_EQ(standard.labelSizeMM(), QSizeF(38.1, 21.2));

    const auto geometry = LabelSheetGeometry::make(custom(5, 5));
    ASSERT_TRUE(geometry);
    EXPECT_NEAR(geometry->labelSize.width(), 10 / 25.4 * 72, 1e-9);
    EXPECT_NEAR(geometry->labelSize.height(), 8 / 25.4 * 72, 1e-9);
    EXPECT_EQ(geometry->columns, 16); // floor((210 - 16 + 2) / (10 + 2))
    EXPECT_EQ(geometry->rows, 28);    // floor((297 - 16 + 2) / (8 + 2))
}

TEST(LabelSheetGeometryTest, LabelsFillRowByRowFromTheTopLeftMarginAndWrapToTheNextPage) {
    const auto geometry = LabelSheetGeometry::make(preset(LabelSizePreset::standard381x212));
    ASSERT_TRUE(geometry);
    const double mm = 72 / 25.4;
    struct Case {
        qint64 index;
        qint64 page;
        double left;
        double top;
    };
    for (const Case& c :
         {Case{0, 0, 8, 8}, Case{1, 0, 8 + 40.1, 8}, Case{3, 0, 8 + 3 * 40.1, 8}, Case{4, 0, 8, 8 + 23.2},
          Case{47, 0, 8 + 3 * 40.1, 8 + 11 * 23.2}, Case{48, 1, 8, 8}}) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(geometry->pageIndex(c.index), c.page);
        const QRectF rect = geometry->labelRect(c.index);
        EXPECT_NEAR(rect.left(), c.left * mm, 1e-9);
        EXPECT_NEAR(rect.top(), c.top * mm, 1e-9);
        EXPECT_NEAR(rect.width(), 38.1 * mm, 1e-9);
        EXPECT_NEAR(rect.height(), 21.2 * mm, 1e-9);
    }
}

TEST(LabelSheetGeometryTest, ConfigurationsThatMakeNoSensibleGridAreRejected) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        double margin;
        double horizontalGap;
        double verticalGap;
        double width;
        double height;
    };
    for (const Case& c : {
             Case{"margin of 110 mm leaves no column", 110, 2, 2, 38.1, 21.2},
             Case{"label wider than the page", 8, 2, 2, 300, 21.2},
             Case{"gap equal to minus the label width", 8, -38.1, 2, 38.1, 21.2},
             Case{"gap equal to minus the label height", 8, 2, -21.2, 38.1, 21.2},
             Case{"gap beyond minus the label", 8, -100, 2, 38.1, 21.2},
             Case{"gap making an absurd number of columns", 0, -38.0999999, 2, 38.1, 21.2},
             Case{"negative margin", -5, 2, 2, 38.1, 21.2},
             Case{"huge negative margin", -1e300, 2, 2, 38.1, 21.2},
             Case{"not a number margin", nan, 2, 2, 38.1, 21.2},
             Case{"not a number gap", 8, nan, 2, 38.1, 21.2},
             Case{"not a number width", 8, 2, 2, nan, 21.2},
             Case{"not a number height", 8, 2, 2, 38.1, nan},
             Case{"infinite width", 8, 2, 2, inf, 21.2},
             Case{"infinite gap", 8, inf, 2, 38.1, 21.2},
             Case{"minus infinite gap", 8, -inf, 2, 38.1, 21.2},
             Case{"infinite margin", inf, 2, 2, 38.1, 21.2},
             Case{"huge width", 8, 2, 2, 1e308, 21.2},
             Case{"huge gap", 8, 1e308, 2, 38.1, 21.2},
         }) {
        SCOPED_TRACE(c.name);
        LabelPrintConfiguration configuration = custom(c.width, c.height);
        configuration.marginMM = c.margin;
        configuration.horizontalGapMM = c.horizontalGap;
        configuration.verticalGapMM = c.verticalGap;
        EXPECT_FALSE(LabelSheetGeometry::make(configuration));
    }
}

TEST(LabelSheetGeometryTest, AcceptedOddConfigurationsKeepEveryLabelOnThePage) {
    struct Case {
        const char* name;
        double margin;
        double horizontalGap;
        double verticalGap;
    };
    for (const Case& c : {Case{"no margin, no gap", 0, 0, 0}, Case{"overlapping labels", 8, -20, -10},
                          Case{"large gaps", 8, 100, 200}}) {
        SCOPED_TRACE(c.name);
        LabelPrintConfiguration configuration = preset(LabelSizePreset::standard381x212);
        configuration.marginMM = c.margin;
        configuration.horizontalGapMM = c.horizontalGap;
        configuration.verticalGapMM = c.verticalGap;
        const auto geometry = LabelSheetGeometry::make(configuration);
        ASSERT_TRUE(geometry);
        const QRectF page(QPointF(0, 0), geometry->pageSize);
        for (qint64 i = 0; i < geometry->labelsPerPage(); ++i) {
            const QRectF rect = geometry->labelRect(i);
            EXPECT_TRUE(page.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(rect)) << i;
        }
    }
}
