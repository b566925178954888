#include "console/HostHistory.h"

#include <utility>

#include "text/AsciiCase.h"

std::vector<std::string> SplitHostLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinHostLines(const std::vector<std::string>& hosts)
{
    std::string text;
    for (const std::string& host : hosts) {
        text += host;
        text += "\r\n";
    }
    return text;
}

std::string_view TrimControls(std::string_view text)
{
    auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && isControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isControl(text.back()))
        text.remove_suffix(1);
    return text;
}

HostChange AddHost(std::vector<std::string>& hosts, std::string_view text, int maxHosts)
{
    HostChange change;
    // A copy: `text` may be one of the entries that are about to move.
    std::string host(TrimControls(text));
    if (host.empty())
        return change;
    std::size_t found = 0;
    while (found < hosts.size() && !txt::EqualsIgnoringCase(hosts[found], host))
        ++found;
    if (found == 0 && !hosts.empty()) {
        change.kind = HostChange::Kind::Unchanged;
    } else {
        if (found < hosts.size()) {
            hosts.erase(hosts.begin() + static_cast<std::ptrdiff_t>(found));
            change.removedAt = static_cast<int>(found);
            change.kind = HostChange::Kind::Moved;
        } else {
            change.kind = HostChange::Kind::Inserted;
        }
        hosts.insert(hosts.begin(), std::move(host));
    }
    if (maxHosts >= 0 && hosts.size() > static_cast<std::size_t>(maxHosts)) {
        hosts.pop_back();
        change.removedLast = true;
    }
    return change;
}
