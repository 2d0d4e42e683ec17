// `check FILE`: decodes and validates an inventory file and prints what the import would show.

#include "CliSupport.h"
#include "core/TextRules.h"

namespace tallybrook::cli {

namespace {

int runCheck(const QStringList& args) {
    const Arguments arguments(args, {}, {});
    const std::optional<TallybrookDecodedInventory> decoded = readInventory(arguments.file());
    if (!decoded) {
        return failure;
    }
    const InventoryExportDocument& document = decoded->document;
    QString text = QStringLiteral("format: ") + document.format + QStringLiteral(" v") +
                   QString::number(document.formatVersion) + u'\n';
    text +=
        QStringLiteral("session: ") + trimmedText(document.session.id) + u' ' + document.session.name + u'\n';
    text += QStringLiteral("rows: ") + QString::number(document.rows.size()) + u'\n';
    for (const TallybrookValidationWarning& warning : decoded->validation.warnings) {
        text += QStringLiteral("warning: ") + warning.message() + u'\n';
    }
    printOut(text);
    return success;
}

const CommandRegistration checkCommand(QStringLiteral("check"), QStringLiteral("check FILE"), runCheck);

} // namespace

} // namespace tallybrook::cli
