#include "analysis/SearchText.h"

#include "support/TestLanguage.h"

#include <array>

using namespace tallybrook;
using namespace Qt::StringLiterals;

namespace {

// The folding written the plain way: decompose the whole text, drop non-spacing and
// enclosing marks, case-fold and lower-case each code point.
QString referenceFold(const QString& text) {
    const QString decomposed = text.trimmed().normalized(QString::NormalizationForm_D);
    QString out;
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        char32_t c = decomposed[i].unicode();
        if (decomposed[i].isHighSurrogate() && i + 1 < decomposed.size() && decomposed[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(decomposed[i], decomposed[i + 1]);
            ++i;
        } else if (decomposed[i].isSurrogate()) {
            out.append(decomposed[i]);
            continue;
        }
        const auto category = QChar::category(c);
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_Enclosing) {
            out.append(QString::fromUcs4(std::array<char32_t, 1>{QChar::toLower(QChar::toCaseFolded(c))}.data(), 1));
        }
    }
    return out;
}

} // namespace

TEST(SearchTextTest, FoldingDropsCaseAndDiacriticsLikeFoldingTheWholeText) {
    EXPECT_EQ(foldedSearchText(u"  Boîte ÉCART E\u0301 Ça\t\n"_s), u"boite ecart e ca"_s);
    EXPECT_EQ(foldedSearchText(u"\U00010400x a\U0001D167b"_s), u"\U00010428x ab"_s); // beyond U+FFFF
    // Every character below U+0260 on its own and next to marks, plus other scripts.
    QStringList samples{u"Crème brûlée – 東京 €5"_s, u"ǅemal ǈ Ǆ İstanbul Ωμέγα"_s, u"Ⓐ ﬁ K Å"_s,
                        QChar(0xD800) + u"lone"_s, u"x"_s + QChar(0xDC00),  u"한국어 ꙮ"_s,
                        u"e\u0301\u0316\u0903"_s,   u"A\u20DD"_s};
    for (char16_t c = 0x20; c < 0x260; ++c) {
        samples += {QString(QChar(c)), QString(QChar(c)) + u"\u0301\u0327x"_s, u"\u0316"_s + QChar(c) + u"\u0308"_s};
    }
    for (const QString& sample : samples) {
        EXPECT_EQ(foldedSearchText(sample), referenceFold(sample)) << sample.toStdString();
    }
}

TEST(SearchTextTest, EveryWordMustOccurSomewhereInAnyOrder) {
    const std::optional<QString> absent, empty = u""_s;
    EXPECT_EQ(foldedSearchHaystack({u"Écart"_s, searchField(absent), searchField(empty), QStringView(u"Bleu ")}),
              u"ecart  bleu"_s);
    const QString haystack = foldedSearchHaystack({u"Écart"_s, u"Pull rouge"_s, u"Taille M"_s});
    const std::pair<QString, bool> cases[] = {
        {u"   "_s, true},          {u"ROUGE   écart"_s, true}, {u"rouge bleu"_s, false}, {u"e m"_s, true},
        {u"rouge taille"_s, true}, {u"rougetaille"_s, false},  {u"ge ta"_s, true}, // across field boundaries
    };
    for (const auto& [text, matches] : cases) {
        const SearchQuery query(text);
        EXPECT_EQ(query.isEmpty() || query.matches(haystack), matches) << text.toStdString();
    }
    EXPECT_FALSE(SearchQuery(u"ecart"_s).isEmpty());
    EXPECT_EQ(SearchQuery(u"  Écart\u00A0 ROUGE "_s).words(), (QStringList{u"ecart\u00A0"_s, u"rouge"_s}));
}

TEST(SearchTextTest, FindsAWordAtEveryPositionOfALongHaystack) {
    // Words of every length, at every place, including the last bytes that the
    // eight-at-a-time screen does not reach.
    const std::string haystack = "abcabdabeabfxyzabcabcawbcaabvcabucazzabcdefghijabc";
    for (std::size_t length = 1; length <= 14; ++length) {
        for (std::size_t at = 0; at + length <= haystack.size(); ++at) {
            const std::string word = haystack.substr(at, length);
            const SearchQuery query(QString::fromStdString(word));
            EXPECT_EQ(query.findLongestWord(haystack, 0), haystack.find(word)) << word;
            EXPECT_EQ(query.findLongestWord(haystack, at), haystack.find(word, at)) << word << " from " << at;
            EXPECT_EQ(query.findLongestWord(haystack, at + 1), haystack.find(word, at + 1)) << word;
            EXPECT_TRUE(query.matchesBytes(haystack));
        }
    }
    EXPECT_FALSE(SearchQuery(QString::fromStdString(haystack + "d")).matchesBytes(haystack));
    EXPECT_FALSE(SearchQuery(u"xy zq"_s).matchesBytes(haystack));
    EXPECT_EQ(SearchQuery(u"ab cdefgh"_s).longestWordSize(), 6u);
}

TEST(SearchTextTest, SearchBytesAreUtf8KeepingUnpairedSurrogates) {
    EXPECT_EQ(searchBytes(u"aé€\U0001F600"_s), QByteArray("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_EQ(searchBytes(QString(QChar(0xD83D) + u"x"_s)), QByteArray("\xED\xA0\xBDx"));
    EXPECT_EQ(searchBytes(QString(u"x"_s + QChar(0xDE00))), QByteArray("x\xED\xB8\x80"));
    const QString haystack = u"caf"_s + QChar(0xD800) + u"e \U0001F600 fin"_s;
    EXPECT_TRUE(SearchQuery(u"caf e"_s).matches(haystack));
    EXPECT_TRUE(SearchQuery(u"\U0001F600 fin"_s).matches(haystack));
    EXPECT_FALSE(SearchQuery(u"cafe"_s).matches(haystack));
}
