#pragma once

#include "document/TallybrookDecodedInventory.h"
#include "export/InventoryCSVDialect.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace tallybrook {

class PreferencesStore;

namespace cli {

/// Exit codes of the command-line tool.
enum ExitCode { success = 0, failure = 1, usageError = 2 };

/// Thrown by argument handling for a usage error; main prints it with the usage and exits 2.
struct UsageError {
    QString message;
};

/// The parsed arguments of one command: positional arguments, options with a value and flags.
class Arguments {
public:
    /// Parses `args` (after the command name). `valueOptions` take one value ("--search S"),
    /// `flags` take none ("--json"). Anything else starting with "--" is a usage error.
    Arguments(const QStringList& args, const QStringList& valueOptions, const QStringList& flags);

    const QStringList& positional() const { return positional_; }
    /// The one positional argument every command takes (FILE); a usage error otherwise.
    QString file() const;
    std::optional<QString> option(const QString& name) const;
    bool flag(const QString& name) const;
    /// A numeric option (millimetres and the like); a usage error when it is not a number.
    std::optional<double> numberOption(const QString& name) const;

private:
    QStringList positional_;
    QHash<QString, QString> options_;
    QStringList flags_;
};

/// Writes text to standard output / standard error as UTF-8.
void printOut(const QString& text);
void printErr(const QString& text);
/// Writes raw bytes to standard output.
void writeOut(const QByteArray& bytes);

/// Writes `bytes` to PATH atomically, or to standard output when PATH is "-".
/// Returns false (and prints the reason on stderr) when the file cannot be written.
bool writeBytes(const QString& path, const QByteArray& bytes);

/// The CSV dialect of `--dialect french|standard` (french when absent); a usage error otherwise.
InventoryCSVDialect dialectFrom(const Arguments& arguments);

/// Writes the CSV bytes that `makeBytes` builds to PATH or standard output ("-"). Returns false
/// (the reason printed on stderr, as the window words it) when they cannot be encoded or written.
bool writeCsv(const QString& path, const std::function<QByteArray()>& makeBytes);

/// Reads, decodes and validates an inventory file. On failure prints the error text on stderr
/// (a file that cannot be read after its path) and returns none; the caller exits with `failure`.
std::optional<TallybrookDecodedInventory> readInventory(const QString& path);
/// The document of readInventory, shared; null on failure.
std::shared_ptr<const InventoryExportDocument> loadDocument(const QString& path);

/// The user's saved preferences, read only: values written during the run stay in memory.
std::shared_ptr<PreferencesStore> savedPreferences();

/// One command of the tool.
struct Command {
    QString usage;
    std::function<int(const QStringList& args)> run;
};

/// Commands by name; filled by the static registrations of each command's source file.
std::map<QString, Command>& commandRegistry();

struct CommandRegistration {
    CommandRegistration(const QString& name, const QString& usage,
                        std::function<int(const QStringList&)> run) {
        commandRegistry()[name] = Command{usage, std::move(run)};
    }
};

} // namespace cli
} // namespace tallybrook
