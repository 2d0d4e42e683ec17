#pragma once

#include "export/LabelCodeKind.h"
#include "export/LabelSizePreset.h"

#include <QSizeF>

namespace tallybrook {

/// What the options page edits: code kind, label size, page and spacing (lengths in
/// millimetres). Any number may come in, including zero, negative and non-finite ones; the
/// grid geometry decides whether they make a sheet. Default values are the ones the options
/// page starts with.
struct LabelPrintConfiguration {
    LabelCodeKind codeKind = LabelCodeKind::barcode;
    LabelSizePreset sizePreset = LabelSizePreset::standard381x212;
    double customWidthMM = 38.1;
    double customHeightMM = 21.2;
    double pageWidthMM = 210.0;
    double pageHeightMM = 297.0;
    double marginMM = 8.0;
    double horizontalGapMM = 2.0;
    double verticalGapMM = 2.0;
    bool drawsLabelBorder = true;

    /// The effective label size: the preset's, or for `custom` the custom size with a floor of
    /// 10 mm wide and 8 mm high (a non-finite custom value stays non-finite).
    QSizeF labelSizeMM() const;

    bool operator==(const LabelPrintConfiguration&) const = default;
};

} // namespace tallybrook
