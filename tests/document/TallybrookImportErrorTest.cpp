#include "document/TallybrookImportError.h"

#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace tallybrook::test;
using namespace Qt::StringLiterals;

TEST(TallybrookImportErrorTest, DescriptionFollowsTheLanguageWhenRead) {
    struct Case {
        TallybrookImportError error;
        QString french;
        QString english;
    };
    const Case cases[] = {
        {TallybrookImportError::invalidFormat(u"détail"_s), u"Format Tallybrook invalide: détail"_s,
         u"Invalid Tallybrook format: détail"_s},
        {TallybrookImportError::unsupportedFormatVersion(12345),
         u"Version de format Tallybrook non supportée: 12345."_s,
         u"Unsupported Tallybrook format version: 12345."_s},
        {TallybrookImportError::unsupportedFormatVersion(-2),
         u"Version de format Tallybrook non supportée: -2."_s,
         u"Unsupported Tallybrook format version: -2."_s},
        {TallybrookImportError::missingSession(),
         u"Le fichier ne contient pas de session d'inventaire valide."_s,
         u"The file does not contain a valid inventory session."_s},
        {TallybrookImportError::inconsistentSessionId(),
         u"Le fichier contient des lignes rattachées à une autre session."_s,
         u"The file contains rows attached to another session."_s},
    };
    for (const Case& c : cases) {
        useLanguage(AppLanguage::french);
        EXPECT_EQ(c.error.localizedDescription(), c.french);
        useLanguage(AppLanguage::english);
        EXPECT_EQ(c.error.localizedDescription(), c.english);
        EXPECT_EQ(c.error.localizedDescription(AppLanguage::french), c.french);
    }
}

TEST(TallybrookImportErrorTest, EqualWhenCaseAndPayloadAreEqual) {
    EXPECT_EQ(TallybrookImportError::invalidFormat(u"a"_s), TallybrookImportError::invalidFormat(u"a"_s));
    EXPECT_NE(TallybrookImportError::invalidFormat(u"a"_s), TallybrookImportError::invalidFormat(u"b"_s));
    EXPECT_NE(TallybrookImportError::unsupportedFormatVersion(0),
              TallybrookImportError::unsupportedFormatVersion(2));
    EXPECT_NE(TallybrookImportError::missingSession(), TallybrookImportError::inconsistentSessionId());
    EXPECT_NE(TallybrookImportError::invalidFormat(QString()), TallybrookImportError::missingSession());
    EXPECT_EQ(TallybrookImportError::unsupportedFormatVersion(3).errorCase(),
              TallybrookImportError::Case::unsupportedFormatVersion);
}
