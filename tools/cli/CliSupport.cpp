#include "CliSupport.h"

#include "document/TallybrookImportError.h"
#include "export/AtomicFileWriter.h"
#include "export/InventoryCSVExportError.h"
#include "localization/PreferencesStore.h"
#include "storage/InventoryFileReader.h"
#include "storage/SqlitePreferencesStore.h"

#include <QFileInfo>
#include <QSet>
#include <cstdio>

namespace tallybrook::cli {

Arguments::Arguments(const QStringList& args, const QStringList& valueOptions, const QStringList& flags) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg.startsWith(u"--")) {
            const QString name = arg.mid(2);
            if (valueOptions.contains(name)) {
                if (i + 1 >= args.size()) {
                    throw UsageError{arg + QStringLiteral(" needs a value")};
                }
                options_.insert(name, args.at(++i));
            } else if (flags.contains(name)) {
                flags_.append(name);
            } else {
                throw UsageError{QStringLiteral("unknown option ") + arg};
            }
        } else {
            positional_.append(arg);
        }
    }
}

QString Arguments::file() const {
    if (positional_.size() != 1) {
        throw UsageError{positional_.isEmpty() ? QStringLiteral("missing FILE")
                                               : QStringLiteral("unexpected argument ") + positional_.at(1)};
    }
    return positional_.first();
}

std::optional<QString> Arguments::option(const QString& name) const {
    const auto it = options_.constFind(name);
    if (it == options_.cend()) {
        return std::nullopt;
    }
    return *it;
}

bool Arguments::flag(const QString& name) const {
    return flags_.contains(name);
}

std::optional<double> Arguments::numberOption(const QString& name) const {
    const auto text = option(name);
    if (!text) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = text->toDouble(&ok);
    if (!ok) {
        throw UsageError{QStringLiteral("--") + name + QStringLiteral(" takes a number, found ") + *text};
    }
    return value;
}

void printOut(const QString& text) {
    writeOut(text.toUtf8());
}

void printErr(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void writeOut(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    if (path == u"-") {
        writeOut(bytes);
        return true;
    }
    try {
        writeFileAtomically(path, bytes);
        return true;
    } catch (const FileWriteError& error) {
        printErr(error.localizedDescription() + u'\n');
        return false;
    }
}

InventoryCSVDialect dialectFrom(const Arguments& arguments) {
    const QString dialect = arguments.option(QStringLiteral("dialect")).value_or(QStringLiteral("french"));
    if (dialect == u"french") {
        return InventoryCSVDialect::frenchExcel;
    }
    if (dialect == u"standard") {
        return InventoryCSVDialect::standard;
    }
    throw UsageError{QStringLiteral("--dialect takes french or standard, found ") + dialect};
}

bool writeCsv(const QString& path, const std::function<QByteArray()>& makeBytes) {
    try {
        return writeBytes(path, makeBytes());
    } catch (const InventoryCSVExportError& error) {
        printErr(error.localizedDescription() + u'\n');
        return false;
    }
}

std::optional<TallybrookDecodedInventory> readInventory(const QString& path) {
    try {
        return InventoryFileReader::read(path).decoded;
    } catch (const InventoryFileReadError& error) {
        printErr(path + QStringLiteral(": ") + error.localizedDescription() + u'\n');
    } catch (const TallybrookImportError& error) {
        printErr(error.localizedDescription() + u'\n');
    }
    return std::nullopt;
}

std::shared_ptr<const InventoryExportDocument> loadDocument(const QString& path) {
    std::optional<TallybrookDecodedInventory> decoded = readInventory(path);
    if (!decoded) {
        return nullptr;
    }
    return std::make_shared<const InventoryExportDocument>(std::move(decoded->document));
}

namespace {

// Reads through to the saved store; everything written during the run stays in memory, so
// the tool never changes the user's preferences.
class OverlayPreferencesStore final : public PreferencesStore {
public:
    explicit OverlayPreferencesStore(std::shared_ptr<PreferencesStore> base)
        : base_(std::move(base)) {}

    std::optional<QString> string(const QString& key) const override {
        if (removed_.contains(key)) {
            return std::nullopt;
        }
        if (const auto value = layer_.string(key)) {
            return value;
        }
        return layer_.data(key) || !base_ ? std::nullopt : base_->string(key);
    }
    std::optional<QByteArray> data(const QString& key) const override {
        if (removed_.contains(key)) {
            return std::nullopt;
        }
        if (const auto value = layer_.data(key)) {
            return value;
        }
        return layer_.string(key) || !base_ ? std::nullopt : base_->data(key);
    }
    void setString(const QString& key, const QString& value) override {
        removed_.remove(key);
        layer_.remove(key);
        layer_.setString(key, value);
    }
    void setData(const QString& key, const QByteArray& value) override {
        removed_.remove(key);
        layer_.remove(key);
        layer_.setData(key, value);
    }
    void remove(const QString& key) override {
        layer_.remove(key);
        removed_.insert(key);
    }

private:
    std::shared_ptr<PreferencesStore> base_;
    InMemoryPreferencesStore layer_;
    QSet<QString> removed_;
};

} // namespace

std::shared_ptr<PreferencesStore> savedPreferences() {
    std::shared_ptr<PreferencesStore> base;
    const QString path = SqlitePreferencesStore::defaultPath();
    if (QFileInfo::exists(path)) {
        base = SqlitePreferencesStore::openReadOnly(path);
    }
    return std::make_shared<OverlayPreferencesStore>(std::move(base));
}

std::map<QString, Command>& commandRegistry() {
    static std::map<QString, Command> registry;
    return registry;
}

} // namespace tallybrook::cli
