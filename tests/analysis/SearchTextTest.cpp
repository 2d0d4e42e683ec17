#include "analysis/SearchText.h"

#include "analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

namespace tallybrook {
namespace {

using namespace Qt::StringLiterals;

// The folding written the plain way: decompose the whole text, drop non-spacing and
// enclosing marks, case-fold and lower-case each code point.
QString referenceFold(const QString& text) {
    const QString decomposed = text.trimmed().normalized(QString::NormalizationForm_D);
    QString out;
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        char32_t c = decomposed[i].unicode();
        if (decomposed[i].isHighSurrogate() && i + 1 < decomposed.size() &&
            decomposed[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(decomposed[i], decomposed[i + 1]);
            ++i;
        } else if (decomposed[i].isSurrogate()) {
            out.append(decomposed[i]);
            continue;
        }
        const auto category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing) {
            continue;
        }
        out.append(
            QString::fromUcs4(std::array<char32_t, 1>{QChar::toLower(QChar::toCaseFolded(c))}.data(), 1));
    }
    return out;
}

TEST(SearchTextTest, FoldsCaseAndDiacritics) {
    const struct {
        QString text;
        QString folded;
    } cases[] = {
        {u"Écart"_s, u"ecart"_s},
        {u"ÉCART"_s, u"ecart"_s},
        {u"E\u0301cart"_s, u"ecart"_s}, // decomposed accent
        {u"  Boîte rouge\t\n"_s, u"boite rouge"_s},
        {u"Ça Œuvre Ñandú"_s, u"ca œuvre nandu"_s},
        {u"İstanbul"_s, u"istanbul"_s},
        {u"Ωμέγα"_s, u"ωμεγα"_s},
        {u"\U00010400x"_s, u"\U00010428x"_s}, // Deseret capital beyond U+FFFF
        {u"a\U0001D167b"_s, u"ab"_s},         // combining mark beyond U+FFFF
        {u"SKU-ÀB12"_s, u"sku-ab12"_s},
        {u"   "_s, u""_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(foldedSearchText(c.text), c.folded) << c.text.toStdString();
    }
}

TEST(SearchTextTest, FastPathsGiveTheSameTextAsFoldingTheWholeText) {
    // Every character below U+0250 on its own and next to marks and other scripts.
    QStringList samples;
    for (char16_t c = 0x20; c < 0x260; ++c) {
        samples.append(QString(QChar(c)));
        samples.append(QString(QChar(c)) + u"\u0301\u0327x"_s);
        samples.append(u"\u0316"_s + QChar(c) + u"\u0308"_s);
    }
    samples += {u"Crème brûlée – 東京 €5"_s,
                u"ǅemal ǈ Ǆ"_s,
                u"Ⓐ ﬁ K Å"_s,
                QChar(0xD800) + u"lone"_s,
                u"x"_s + QChar(0xDC00),
                u"한국어 ꙮ"_s,
                u"e\u0301\u0316\u0903"_s,
                u"A\u20DD"_s};
    for (const QString& sample : samples) {
        EXPECT_EQ(foldedSearchText(sample), referenceFold(sample)) << sample.toStdString();
    }
}

TEST(SearchTextTest, HaystackJoinsPresentFieldsWithSingleSpaces) {
    const std::optional<QString> absent;
    const std::optional<QString> empty = u""_s;
    EXPECT_EQ(
        foldedSearchHaystack({u"Écart"_s, searchField(absent), searchField(empty), QStringView(u"Bleu ")}),
        u"ecart  bleu"_s);
    EXPECT_EQ(foldedSearchHaystack({searchField(absent)}), u""_s);
}

TEST(SearchTextTest, EveryWordMustOccurSomewhereInAnyOrder) {
    const QString haystack = foldedSearchHaystack({u"Écart"_s, u"Pull rouge"_s, u"Taille M"_s});
    const struct {
        QString query;
        bool matches;
    } cases[] = {
        {u""_s, true},
        {u"   "_s, true},
        {u"ecart rouge"_s, true},
        {u"ROUGE   écart"_s, true},
        {u"rouge bleu"_s, false},
        {u"e m"_s, true},
        {u"pull rouge taille"_s, true},
        {u"rouge taille"_s, true},
        {u"rougetaille"_s, false},
        {u"ge ta"_s, true}, // words may straddle field boundaries
    };
    for (const auto& c : cases) {
        const SearchQuery query(c.query);
        EXPECT_EQ(query.isEmpty() || query.matches(haystack), c.matches) << c.query.toStdString();
    }
    EXPECT_EQ(SearchQuery(u"  Écart\u00A0 ROUGE "_s).words(), (QStringList{u"ecart\u00A0"_s, u"rouge"_s}));
}

TEST(SearchTextTest, FindsAWordAtEveryPositionOfALongHaystack) {
    // Words of every length, at every place, including the last
    // bytes that the eight-at-a-time screen does not reach.
    const std::string haystack = "abcabdabeabfxyzabcabcawbcaabvcabucazzabcdefghijabc";
    for (std::size_t length = 1; length <= 14; ++length) {
        for (std::size_t at = 0; at + length <= haystack.size(); ++at) {
            const std::string word = haystack.substr(at, length);
            const SearchQuery query(QString::fromStdString(word));
            const std::size_t expected = haystack.find(word);
            EXPECT_EQ(query.findLongestWord(haystack, 0), expected) << word;
            EXPECT_EQ(query.findLongestWord(haystack, at), haystack.find(word, at)) << word << " from " << at;
            EXPECT_TRUE(query.matchesBytes(haystack));
            EXPECT_EQ(query.findLongestWord(haystack, at + 1), haystack.find(word, at + 1)) << word;
        }
    }
    EXPECT_FALSE(
        SearchQuery(u"abcabdabeabfxyzabcabcawbcaabvcabucazzabcdefghijabcd"_s).matchesBytes(haystack));
    EXPECT_FALSE(SearchQuery(u"xy zq"_s).matchesBytes(haystack));
    EXPECT_EQ(SearchQuery(u"ab cdefgh"_s).longestWordSize(), 6u);
}

TEST(SearchTextTest, SearchBytesAreUtf8KeepingUnpairedSurrogates) {
    EXPECT_EQ(searchBytes(u"aé€"_s), QByteArray("a\xC3\xA9\xE2\x82\xAC"));
    EXPECT_EQ(searchBytes(u"\U0001F600"_s), QByteArray("\xF0\x9F\x98\x80"));
    EXPECT_EQ(searchBytes(QString(QChar(0xD83D) + u"x"_s)), QByteArray("\xED\xA0\xBDx"));
    EXPECT_EQ(searchBytes(QString(u"x"_s + QChar(0xDE00))), QByteArray("x\xED\xB8\x80"));

    // A haystack with a lone surrogate still finds the words around it.
    const QString haystack = u"caf"_s + QChar(0xD800) + u"e \U0001F600 fin"_s;
    EXPECT_TRUE(SearchQuery(u"caf e"_s).matches(haystack));
    EXPECT_TRUE(SearchQuery(u"\U0001F600 fin"_s).matches(haystack));
    EXPECT_FALSE(SearchQuery(u"cafe"_s).matches(haystack));
}

} // namespace
} // namespace tallybrook
