#pragma once

#include <QtGlobal>
#include <vector>

namespace tallybrook {

/// The dark and light modules of a code, quiet zones included, row by row from the top-left.
/// A linear code has one row, drawn over the full height of its area.
struct CodeModuleMatrix {
    int width = 0;
    int height = 0;
    std::vector<bool> modules; ///< width × height entries, true for a dark module

    CodeModuleMatrix() = default;
    CodeModuleMatrix(int width, int height)
        : width(width)
        , height(height)
        , modules(size_t(width) * size_t(height)) {}

    bool isDark(int x, int y) const { return modules[size_t(y) * size_t(width) + size_t(x)]; }
    void setDark(int x, int y, bool dark = true) { modules[size_t(y) * size_t(width) + size_t(x)] = dark; }

    bool operator==(const CodeModuleMatrix&) const = default;
};

} // namespace tallybrook
