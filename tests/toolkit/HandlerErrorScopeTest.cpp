#include "toolkit/HandlerErrorScope.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// What Guarded does with an exception: true if a scope kept it.
bool Raise(const std::string& message)
{
    try {
        throw std::runtime_error(message);
    } catch (...) {
        return tk::HandlerErrorScope::KeepCurrent();
    }
}

std::string Kept(const tk::HandlerErrorScope& scope)
{
    try {
        scope.RethrowIfFailed();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(HandlerErrorScope, WithoutAScopeNothingIsKept)
{
    EXPECT_FALSE(Raise("shown by the application"));
}

TEST(HandlerErrorScope, KeepsTheFirstErrorAndRethrowsIt)
{
    tk::HandlerErrorScope scope;
    EXPECT_FALSE(scope.Failed());
    EXPECT_NO_THROW(scope.RethrowIfFailed());
    EXPECT_TRUE(Raise("first"));
    EXPECT_TRUE(Raise("second"));
    EXPECT_TRUE(scope.Failed());
    EXPECT_EQ(Kept(scope), "first");
}

TEST(HandlerErrorScope, TheInnermostScopeKeepsAndTheOuterComesBack)
{
    tk::HandlerErrorScope outer;
    {
        tk::HandlerErrorScope inner;
        EXPECT_TRUE(Raise("inner"));
        EXPECT_EQ(Kept(inner), "inner");
        EXPECT_FALSE(outer.Failed());
    }
    EXPECT_TRUE(Raise("outer"));
    EXPECT_EQ(Kept(outer), "outer");
}

TEST(HandlerErrorScope, EndingTheLastScopeStopsKeeping)
{
    {
        tk::HandlerErrorScope scope;
    }
    EXPECT_FALSE(Raise("shown again"));
}

} // namespace
