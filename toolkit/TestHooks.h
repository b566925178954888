// Failure points for the test build of the program (ZV_TEST_HOOKS). The
// shipped executable is built without them: the macros expand to nothing.
#pragma once

#ifdef ZV_TEST_HOOKS

#include <windows.h>

#include <string>

namespace zvtest {
// Throws when the environment variable ZV_FAIL_AT names this point.
void FailPoint(const char* where);
// The registered message "ZentVorlumo.Test.Throw" makes the window procedure
// throw; its wParam is a global atom holding the message text.
bool ThrowOnRequest(UINT message, WPARAM wParam);
// True for the registered message of that name; `text` is then what the
// global atom in wParam held (its UTF-16 text in the ANSI code page).
bool TextOnRequest(UINT message, WPARAM wParam, const char* name, std::string& text);
} // namespace zvtest

#define ZV_FAIL_POINT(where) ::zvtest::FailPoint(where)
#define ZV_THROW_ON_REQUEST(message, wParam) ::zvtest::ThrowOnRequest(message, wParam)
#define ZV_TEXT_ON_REQUEST(message, wParam, name, text) ::zvtest::TextOnRequest(message, wParam, name, text)

#else

#define ZV_FAIL_POINT(where) ((void)0)
#define ZV_THROW_ON_REQUEST(message, wParam) false
#define ZV_TEXT_ON_REQUEST(message, wParam, name, text) false

#endif
