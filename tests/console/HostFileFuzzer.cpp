// Feeds arbitrary bytes to the host file reader: the lines hold no line
// ends, writing them back and reading again gives the same list, and
// entering a host keeps the list within one entry of its limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/HostHistory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> hosts = SplitHostLines(text);
    for (const std::string& host : hosts)
        if (host.find_first_of("\r\n") != std::string::npos)
            std::abort();
    if (SplitHostLines(JoinHostLines(hosts)) != hosts)
        std::abort();
    if (hosts.empty())
        return 0;
    const int limit = 5;
    std::size_t before = hosts.size();
    AddHost(hosts, hosts.back(), limit);
    if (hosts.size() > before + 1 || (before > limit && hosts.size() > before))
        std::abort();
    return 0;
}
