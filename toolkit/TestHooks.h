// Failure points for the test build of the program (ZV_TEST_HOOKS). The
// shipped executable is built without them: the macros expand to nothing.
#pragma once

#ifdef ZV_TEST_HOOKS

#include <windows.h>

namespace zvtest {
// Throws when the environment variable ZV_FAIL_AT names this point.
void FailPoint(const char* where);
// The registered message "ZentVorlumo.Test.Throw" makes the window procedure
// throw; its wParam is a global atom holding the message text.
bool ThrowOnRequest(UINT message, WPARAM wParam);
} // namespace zvtest

#define ZV_FAIL_POINT(where) ::zvtest::FailPoint(where)
#define ZV_THROW_ON_REQUEST(message, wParam) ::zvtest::ThrowOnRequest(message, wParam)

#else

#define ZV_FAIL_POINT(where) ((void)0)
#define ZV_THROW_ON_REQUEST(message, wParam) false

#endif
