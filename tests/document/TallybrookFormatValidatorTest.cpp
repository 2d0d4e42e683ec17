#include "document/TallybrookFormatValidator.h"

#include "support/TestLanguage.h"

#include <functional>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

namespace {

const QString session = u"6F1C2B7A-0D3E-4B8A-9C51-2E7F4A6B8D90"_s;

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
    item.id = id, item.sessionId = std::move(sessionId);
    return item;
}

using TallybrookFormatValidatorTest = LanguageTest<>;

} // namespace

TEST_F(TallybrookFormatValidatorTest, ChecksIdentityInOrder) {
    using Error = TallybrookImportError;
    const std::tuple<const char*, std::function<void(InventoryExportDocument&)>, std::optional<Error>> cases[] = {
        {"export format", [](auto&) {}, std::nullopt},
        {"session format", [](auto& d) { d.format = u"com.tallybrook.inventory-session"_s; }, std::nullopt},
        {"format with a space", [](auto& d) { d.format += u' '; }, Error::invalidFormat(u"com.tallybrook.inventory-export "_s)},
        {"format in capitals", [](auto& d) { d.format = d.format.toUpper(); }, Error::invalidFormat(u"COM.TALLYBROOK.INVENTORY-EXPORT"_s)},
        {"empty format", [](auto& d) { d.format.clear(); }, Error::invalidFormat(u"Missing format identifier."_s)},
        {"wrong format and version", [](auto& d) { d.format = u"other"_s, d.formatVersion = 2; }, Error::invalidFormat(u"other"_s)},
        {"version 0", [](auto& d) { d.formatVersion = 0; }, Error::unsupportedFormatVersion(0)},
        {"version before session", [](auto& d) { d.formatVersion = 2, d.session.id = u"abc"_s; }, Error::unsupportedFormatVersion(2)},
        {"session id abc", [](auto& d) { d.session.id = u"abc"_s; }, Error::missingSession()},
        {"blank session id", [](auto& d) { d.session.id = u" \n"_s; }, Error::missingSession()},
        {"braced session id", [](auto& d) { d.session.id = u'{' + session + u'}'; }, Error::missingSession()},
        {"session id with spaces, rows with the trimmed id", [](auto& d) {
             d.session.id = u"  "_s + session + u"\n"_s;
             d.rows = {rowOf(session), rowOf(std::nullopt), rowOf(u""_s)};
         }, std::nullopt},
        {"row with the untrimmed id", [](auto& d) {
             d.session.id = u" "_s + session;
             d.rows = {rowOf(d.session.id)};
         }, Error::inconsistentSessionId()},
        {"row id in lower case", [](auto& d) { d.rows = {rowOf(session), rowOf(session.toLower())}; }, Error::inconsistentSessionId()},
        {"session before rows", [](auto& d) { d.session.id = u"abc"_s, d.rows = {rowOf(u"other"_s)}; }, Error::missingSession()},
        {"unknown code of another session", [](auto& d) {
             d.unknownCodes = {InventoryExportUnknownCode(), InventoryExportUnknownCode()};
             d.unknownCodes[1].sessionId = u"other"_s;
         }, Error::inconsistentSessionId()},
        {"foreign temporary items and aliases never fail", [](auto& d) {
             d.temporaryItems = {itemOf(u"T"_s, u"other"_s)}, d.scanAliasesCreated = {InventoryExportScanAlias()};
             d.scanAliasesCreated[0].itemLocalId = u"x"_s;
             d.summary.totalRows = -4;
         }, std::nullopt},
    };
    for (const auto& [name, edit, expected] : cases) {
        InventoryExportDocument document;
        document.format = u"com.tallybrook.inventory-export"_s, document.formatVersion = 1;
        document.session.id = session;
        edit(document);
        EXPECT_EQ(validationError(document), expected) << name;
    }
}

TEST_F(TallybrookFormatValidatorTest, TemporaryItemWarningsInFileOrderAndBothLanguages) {
    InventoryExportDocument document;
    document.format = u"com.tallybrook.inventory-export"_s, document.formatVersion = 1;
    document.session.id = u" "_s + session + u" "_s;
    const QString other = u"8A2E0F11-2B3C-4D5E-8F90-123456789ABC"_s;
    document.temporaryItems = {itemOf(u"T1"_s, std::nullopt), itemOf(u"T2"_s, session), itemOf(u"T3"_s, other),
                               itemOf(u"T4"_s, u""_s)};
    const QList<TallybrookValidationWarning> warnings = TallybrookFormatValidator().validate(document).warnings;
    EXPECT_EQ(warnings, (QList<TallybrookValidationWarning>{
                            TallybrookValidationWarning::legacyTemporaryItemWithoutSession(u"T1"_s),
                            TallybrookValidationWarning::ignoredTemporaryItemForOtherSession(u"T3"_s, other),
                            TallybrookValidationWarning::legacyTemporaryItemWithoutSession(u"T4"_s)}));
    ASSERT_EQ(warnings.size(), 3);
    EXPECT_EQ(warnings[1].id(), u"foreign-temporary-T3-"_s + other);
    EXPECT_EQ(warnings[2].id(), u"legacy-temporary-T4"_s);
    EXPECT_EQ(document.temporaryItems.size(), 4); // validation leaves the document as it is

    EXPECT_EQ(warnings[0].message(AppLanguage::french),
              u"Ancien article provisoire sans session. Il est conservé dans une section séparée."_s);
    useLanguage(AppLanguage::french);
    EXPECT_EQ(warnings[1].message(),
              u"Article provisoire rattaché à une autre session. Il ne sera pas affiché dans la session importée."_s);
}
