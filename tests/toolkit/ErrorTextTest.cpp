#include "toolkit/ErrorText.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct StopCase {
    const char* message;
    const char* shown;
};

TEST(FullStopRule, AddsAFullStopOnlyAfterACharacterAboveTheFullStop)
{
    const StopCase cases[] = {
        {"Host not found", "Host not found."},
        {"Error 10065", "Error 10065."},
        {"Already.", "Already."},
        {"Stop!", "Stop!"},
        {"(none)", "(none)"},
        {"minus -", "minus -"},        // '-' is 0x2D, just below
        {"slash /", "slash /."},       // '/' is 0x2F, just above
        {"space ", "space "},
        {"", ""},
        {".", "."},
        {"x", "x."},
        {"accent \xE9", "accent \xE9."}, // upper half of a code page: above, not negative
        {"del \x7F", "del \x7F."},
    };
    for (const StopCase& c : cases)
        EXPECT_EQ(tk::WithFullStop(c.message), c.shown) << c.message;
}

TEST(ExceptionKind, NamesTheTypeReadably)
{
    struct EIdSocketError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    EXPECT_EQ(tk::ExceptionKind(typeid(std::runtime_error)), "std::runtime_error");
    EXPECT_EQ(tk::ExceptionKind(typeid(std::bad_alloc)), "std::bad_alloc");
    EXPECT_NE(tk::ExceptionKind(typeid(EIdSocketError)).find("EIdSocketError"), std::string::npos);
}

TEST(FatalErrorText, GivesTheKindAndTheMessage)
{
    EXPECT_EQ(tk::FatalErrorText("std::runtime_error", "Resource not found"),
              "Exception std::runtime_error:\nResource not found.");
    EXPECT_EQ(tk::FatalErrorText("EFOpenError", "Cannot open file."), "Exception EFOpenError:\nCannot open file.");
}

} // namespace
