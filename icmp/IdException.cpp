#include "icmp/IdException.h"

std::string FormatMessageText(const char* pattern, const std::string& arg)
{
    std::string text = pattern;
    auto at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, arg);
    return text;
}

static std::string StubMessage(const std::string& context, std::int32_t code, const std::string& osText)
{
    return code == 0 ? context : context + ": " + osText;
}

EIdWS2StubError::EIdWS2StubError(const std::string& context, std::int32_t osErrorCode,
                                 const std::string& osErrorText)
    : EIdException(StubMessage(context, osErrorCode, osErrorText)),
      osErrorCode_(osErrorCode),
      osErrorText_(osErrorCode == 0 ? std::string() : osErrorText),
      context_(context)
{
}
