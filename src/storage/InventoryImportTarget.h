#pragma once

#include <QString>
#include <optional>

namespace tallybrook {

struct TallybrookDecodedInventory;

/// Where a replayed import goes: the application's control store. Declared here so that the
/// import history can reopen an entry without knowing the application layer above it.
class InventoryImportTarget {
public:
    virtual ~InventoryImportTarget() = default;

    virtual bool hasDocument() const = 0;
    virtual void importInventory(const TallybrookDecodedInventory& decoded,
                                 const std::optional<QString>& fileName) = 0;
};

} // namespace tallybrook
