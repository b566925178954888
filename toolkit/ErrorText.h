// Texts of the two error boxes. Portable.
#pragma once

#include <exception>
#include <string>
#include <typeinfo>

namespace tk {

// The handler error box's text: a full stop is added when the last
// character's code is above that of '.', so "...!" and "...)" stay as they are.
std::string WithFullStop(std::string message);

// The readable name of an exception's type, e.g. "std::runtime_error".
std::string ExceptionKind(const std::type_info& type);

// The fatal start-up box's text: the kind of error and its message.
std::string FatalErrorText(const std::string& kind, const std::string& message);

} // namespace tk
