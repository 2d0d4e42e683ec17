#include "document/TallybrookFormatValidator.h"

#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

const QString session = u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s;

InventoryExportDocument validDocument() {
    InventoryExportDocument document;
    document.format = u"com.tallybrook.inventory-export"_s;
    document.formatVersion = 1;
    document.session.id = session;
    return document;
}

std::optional<TallybrookImportError> validationError(const InventoryExportDocument& document) {
    try {
        TallybrookFormatValidator().validate(document);
    } catch (const TallybrookImportError& error) {
        return error;
    }
    return std::nullopt;
}

InventoryExportRow rowOf(std::optional<QString> sessionId) {
    InventoryExportRow row;
    row.sessionId = std::move(sessionId);
    return row;
}

InventoryExportTemporaryItem itemOf(const QString& id, std::optional<QString> sessionId) {
    InventoryExportTemporaryItem item;
    item.id = id;
    item.sessionId = std::move(sessionId);
    return item;
}

} // namespace

TEST(TallybrookFormatValidatorTest, ChecksIdentityInOrder) {
    using Edit = std::function<void(InventoryExportDocument&)>;
    struct Case {
        const char* name;
        Edit edit;
        std::optional<TallybrookImportError> expected;
    };
    const auto missingFormat = [] {
        useLanguage(AppLanguage::english);
        return TallybrookImportError::invalidFormat(u"Missing format identifier."_s);
    }();
    const Case cases[] = {
        {"export format", [](auto&) {}, std::nullopt},
        {"session format", [](auto& d) { d.format = u"com.tallybrook.inventory-session"_s; }, std::nullopt},
        {"format with trailing space", [](auto& d) { d.format = u"com.tallybrook.inventory-export "_s; },
         TallybrookImportError::invalidFormat(u"com.tallybrook.inventory-export "_s)},
        {"format in other case", [](auto& d) { d.format = u"COM.TALLYBROOK.INVENTORY-EXPORT"_s; },
         TallybrookImportError::invalidFormat(u"COM.TALLYBROOK.INVENTORY-EXPORT"_s)},
        {"empty format", [](auto& d) { d.format.clear(); }, missingFormat},
        {"wrong format and version reports the format",
         [](auto& d) {
             d.format = u"other"_s;
             d.formatVersion = 2;
         },
         TallybrookImportError::invalidFormat(u"other"_s)},
        {"version 0", [](auto& d) { d.formatVersion = 0; },
         TallybrookImportError::unsupportedFormatVersion(0)},
        {"version 2 before session",
         [](auto& d) {
             d.formatVersion = 2;
             d.session.id = u"abc"_s;
         },
         TallybrookImportError::unsupportedFormatVersion(2)},
        {"session id abc", [](auto& d) { d.session.id = u"abc"_s; }, TallybrookImportError::missingSession()},
        {"empty session id", [](auto& d) { d.session.id = u" \n"_s; },
         TallybrookImportError::missingSession()},
        {"braced session id", [](auto& d) { d.session.id = u'{' + session + u'}'; },
         TallybrookImportError::missingSession()},
        {"session id with spaces, rows with the trimmed id",
         [](auto& d) {
             d.session.id = u"  "_s + session + u"\n"_s;
             d.rows = {rowOf(session), rowOf(std::nullopt), rowOf(u""_s)};
         },
         std::nullopt},
        {"session id with spaces, row with the untrimmed id",
         [](auto& d) {
             d.session.id = u" "_s + session;
             d.rows = {rowOf(d.session.id)};
         },
         TallybrookImportError::inconsistentSessionId()},
        {"row id in lower case",
         [](auto& d) {
             d.rows = {rowOf(session), rowOf(session.toLower())};
         },
         TallybrookImportError::inconsistentSessionId()},
        {"session check before rows",
         [](auto& d) {
             d.session.id = u"abc"_s;
             d.rows = {rowOf(u"other"_s)};
         },
         TallybrookImportError::missingSession()},
        {"unknown code of another session",
         [](auto& d) {
             InventoryExportUnknownCode code;
             code.sessionId = u"other"_s;
             d.unknownCodes = {InventoryExportUnknownCode(), code};
         },
         TallybrookImportError::inconsistentSessionId()},
        {"foreign temporary items and aliases never fail",
         [](auto& d) {
             d.temporaryItems = {itemOf(u"T"_s, u"other"_s)};
             InventoryExportScanAlias alias;
             alias.itemLocalId = u"x"_s;
             d.scanAliasesCreated = {alias};
             d.summary.totalRows = -4;
         },
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InventoryExportDocument document = validDocument();
        c.edit(document);
        EXPECT_EQ(validationError(document), c.expected);
    }
}

TEST(TallybrookFormatValidatorTest, TemporaryItemWarningsInFileOrder) {
    InventoryExportDocument document = validDocument();
    document.session.id = u" "_s + session + u" "_s;
    document.temporaryItems = {itemOf(u"T1"_s, std::nullopt), itemOf(u"T2"_s, session),
                               itemOf(u"T3"_s, u"8A2E0F11-2B3C-4D5E-8F90-123456789ABC"_s),
                               itemOf(u"T4"_s, u""_s)};
    const TallybrookValidationResult result = TallybrookFormatValidator().validate(document);
    const QList<TallybrookValidationWarning> expected{
        TallybrookValidationWarning::legacyTemporaryItemWithoutSession(u"T1"_s),
        TallybrookValidationWarning::ignoredTemporaryItemForOtherSession(
            u"T3"_s, u"8A2E0F11-2B3C-4D5E-8F90-123456789ABC"_s),
        TallybrookValidationWarning::legacyTemporaryItemWithoutSession(u"T4"_s),
    };
    EXPECT_EQ(result.warnings, expected);
    QStringList ids;
    for (const auto& warning : result.warnings) {
        ids.append(warning.id());
    }
    EXPECT_EQ(ids, (QStringList{u"legacy-temporary-T1"_s,
                                u"foreign-temporary-T3-8A2E0F11-2B3C-4D5E-8F90-123456789ABC"_s,
                                u"legacy-temporary-T4"_s}));
    EXPECT_EQ(document.temporaryItems.size(), 4); // validation leaves the document as it is
}

TEST(TallybrookFormatValidatorTest, WarningMessagesInBothLanguages) {
    const auto legacy = TallybrookValidationWarning::legacyTemporaryItemWithoutSession(u"T"_s);
    const auto foreign = TallybrookValidationWarning::ignoredTemporaryItemForOtherSession(u"T"_s, u"S"_s);
    EXPECT_EQ(legacy.message(AppLanguage::english),
              u"Legacy temporary item without session. It is kept in a separate section."_s);
    EXPECT_EQ(legacy.message(AppLanguage::french),
              u"Ancien article provisoire sans session. Il est conservé dans une section séparée."_s);
    EXPECT_EQ(foreign.message(AppLanguage::english),
              u"Temporary item attached to another session. It will not be shown in the imported session."_s);
    useLanguage(AppLanguage::french);
    EXPECT_EQ(
        foreign.message(),
        u"Article provisoire rattaché à une autre session. Il ne sera pas affiché dans la session importée."_s);
    EXPECT_NE(legacy, TallybrookValidationWarning::legacyTemporaryItemWithoutSession(u"T2"_s));
}
