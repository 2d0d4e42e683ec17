#include "export/LabelFileName.h"

#include <gtest/gtest.h>

using namespace tallybrook;
using namespace Qt::StringLiterals;

TEST(LabelFileNameTest, DefaultFileNames) {
    struct Case {
        std::optional<QString> location;
        QString fileName;
    };
    const std::vector<Case> cases{
        {std::nullopt, u"tallybrook-etiquettes.pdf"_s},
        {u"Réserve"_s, u"tallybrook-etiquettes-Réserve.pdf"_s},
        {u"  Aisle 3  "_s, u"tallybrook-etiquettes-Aisle 3.pdf"_s},
        {u"Rayon 1/Étagère 2"_s, u"tallybrook-etiquettes-Rayon 1-Étagère 2.pdf"_s},
        {u"a/b:c\\d?e%f*g|h\"i<j>k"_s, u"tallybrook-etiquettes-a-b-c-d-e-f-g-h-i-j-k.pdf"_s},
        {u"Front\nBack\r\nStore"_s, u"tallybrook-etiquettes-Front-Back--Store.pdf"_s},
        {u"/Shelf/"_s, u"tallybrook-etiquettes--Shelf-.pdf"_s},
        {u" / Shelf "_s, u"tallybrook-etiquettes-- Shelf.pdf"_s},
        {u"../../etc/passwd"_s, u"tallybrook-etiquettes-..-..-etc-passwd.pdf"_s},
        {u"Tab\there\u0000nul"_s, u"tallybrook-etiquettes-Tab-here-nul.pdf"_s},
        {u"   "_s, u"tallybrook-etiquettes.pdf"_s},
        {u""_s, u"tallybrook-etiquettes.pdf"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location.value_or(u"(none)"_s).toStdString());
        EXPECT_EQ(labelSheetDefaultFileName(c.location), c.fileName);
    }
}

TEST(LabelFileNameTest, ALongLocationIsShortenedWithoutSplittingACharacter) {
    const QString longName = u"A"_s.repeated(99) + u"\U0001F4E6"_s + u"tail"_s;
    const QString safe = safeLabelFileLocation(longName);
    EXPECT_EQ(safe, u"A"_s.repeated(99));
    EXPECT_EQ(safeLabelFileLocation(u"B"_s.repeated(500)).size(), 100);
}
