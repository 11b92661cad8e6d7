#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "controls/deflated_link.h"
#include "controls/poem_link.h"

namespace versomat {
namespace {

// The table the WebAssembly core is checked against too (tests/web).
TEST(PoemLink, CraftedLinksAreTakenOrRefusedAsTheTableSays)
{
    std::ifstream file(VERSOMAT_POEM_LINKS);
    ASSERT_TRUE(file) << VERSOMAT_POEM_LINKS;
    int cases = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string expected, link;
        fields >> expected >> link;
        ASSERT_TRUE(expected == "open" || expected == "refuse") << line;
        EXPECT_EQ(readLink(link).has_value(), expected == "open") << line.substr(line.find(' ', 8));
        ++cases;
    }
    EXPECT_GT(cases, 10);
}

// A link of exactly the limit opens; one a unit longer is refused, sound as
// it is.
TEST(PoemLink, ALinkPastOneMegabyteIsRefused)
{
    PoemOrigin origin;
    origin.lists = {u"der Mann", u"der Hof", u"liebt", u""};
    origin.random = RandomSource().position();
    // Some 130 characters of the link are not the list's; one more unit
    // adds two or three.
    std::string link;
    for (std::size_t length = kMaxPoemLinkLength * 3 / 8 - 200; link.size() < kMaxPoemLinkLength; ++length) {
        origin.lists[3] = u" alt" + std::u16string(length, u'x');
        link = poemLinkOf(origin);
    }
    ASSERT_EQ(link.size(), kMaxPoemLinkLength) << "no link of the limit's length on the way";
    EXPECT_TRUE(readPoemLink(link));
    origin.lists[3] += u'x';
    EXPECT_FALSE(readPoemLink(poemLinkOf(origin)));
}

} // namespace
} // namespace versomat
