#include "toolkit/DriverProtocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(GraphicQuery, TheAnswerCarriesTheBoundsStateAndText)
{
    tk::GraphicQuery query{};
    std::strcpy(query.name, "lbAVG");
    tk::FillGraphicQuery(query, 328, 151, 129, 13, true, false, "0,00 [ms] / 0 [err]");
    EXPECT_STREQ(query.name, "lbAVG");
    EXPECT_EQ(query.left, 328);
    EXPECT_EQ(query.top, 151);
    EXPECT_EQ(query.width, 129);
    EXPECT_EQ(query.height, 13);
    EXPECT_EQ(query.visible, 1);
    EXPECT_EQ(query.enabled, 0);
    EXPECT_STREQ(query.text, "0,00 [ms] / 0 [err]");
}

TEST(GraphicQuery, ATextIsCutToFitAndAlwaysEnds)
{
    constexpr std::size_t room = sizeof(tk::GraphicQuery{}.text) - 1;
    for (std::size_t length : {std::size_t{0}, room - 1, room, room + 1, 3 * room}) {
        tk::GraphicQuery query;
        std::memset(&query, 'x', sizeof query);
        tk::FillGraphicQuery(query, 0, 0, 0, 0, true, true, std::string(length, 'a'));
        std::size_t kept = std::min(length, room);
        EXPECT_EQ(std::strlen(query.text), kept) << length;
        EXPECT_EQ(std::string(query.text), std::string(kept, 'a')) << length;
    }
}

} // namespace

namespace {

TEST(GraphicQuery, ARequestNamesOneControlThatFitsTheAnswer)
{
    const std::string longest(sizeof(tk::GraphicQuery{}.name) - 1, 'n');
    const struct {
        std::string data;
        bool valid;
    } cases[] = {
        {"lbAVG", true}, {longest, true}, {"", false}, {longest + "n", false}, {std::string("lb\0AVG", 6), false},
    };
    for (const auto& c : cases) {
        auto name = tk::GraphicQueryName(c.data.data(), c.data.size());
        EXPECT_EQ(name.has_value(), c.valid) << c.data.size();
        if (name) {
            EXPECT_EQ(*name, c.data);
        }
    }
    EXPECT_FALSE(tk::GraphicQueryName(nullptr, 5).has_value());
}

} // namespace
