#include "toolkit/ErrorText.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace tk {

std::string WithFullStop(std::string message)
{
    // Compared as unsigned: letters of the upper half of a code page are above '.' too.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        message += '.';
    return message;
}

std::string ExceptionKind(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

std::string FatalErrorText(const std::string& kind, const std::string& message)
{
    return "Exception " + kind + ":\n" + WithFullStop(message);
}

} // namespace tk
