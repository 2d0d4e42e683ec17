#pragma once

#include "document/TallybrookDecodedInventory.h"
#include "localization/LocalizedError.h"

#include <QByteArray>
#include <QString>

namespace tallybrook {

/// A file that could not be read; its description is the platform's own message.
class InventoryFileReadError : public LocalizedError {
public:
    explicit InventoryFileReadError(QString reason)
        : reason_(std::move(reason)) {}

    QString localizedDescription() const override { return reason_; }

private:
    QString reason_;
};

/// An inventory file as read from disk and what it decodes to.
struct InventoryFile {
    /// The file's bytes exactly as read (the import history keeps them).
    QByteArray bytes;
    TallybrookDecodedInventory decoded;
};

/// Reads and decodes inventory files: the one way from a file to a validated document, for the
/// window's import, its history and the command-line tool.
///
/// Stateless; any thread. Reading leaves room after the bytes so that the decoder parses them
/// where they are: a large file is held once while it is decoded, not twice.
class InventoryFileReader {
public:
    /// Reads the whole file at `path` and decodes and validates it. Throws
    /// InventoryFileReadError when the file cannot be read, TallybrookImportError when its
    /// bytes are not an accepted document.
    static InventoryFile read(const QString& path);
    /// Decodes and validates bytes that were read earlier (an entry of the import history),
    /// exactly as a fresh read would. Throws TallybrookImportError.
    static TallybrookDecodedInventory decode(const QByteArray& bytes);
};

} // namespace tallybrook
