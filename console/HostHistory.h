// The host history's rules, apart from the combo box that shows it: reading
// and writing host.txt's lines, and how a pinged host enters the list.
// Portable: no Windows here, so the rules are tested and fuzzed natively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One entry per line: CR LF, a lone CR and a lone LF each end a line; the
// last line needs no line break. Lines are kept unchanged, blank ones too.
std::vector<std::string> SplitHostLines(std::string_view text);

// Every entry followed by CR LF; an empty list gives an empty text.
std::string JoinHostLines(const std::vector<std::string>& hosts);

// The text without the characters of codes 0 to 32 at either end.
std::string_view TrimControls(std::string_view text);

// What AddHostToHistory did to the list, so the combo box can follow.
struct HostChange {
    enum class Kind { None, Inserted, Moved, Unchanged };
    Kind kind = Kind::None;
    int removedAt = -1;       // the entry taken out before inserting at the top, if any
    bool removedLast = false; // the bottom entry dropped for the host limit
};

// Enters a pinged host into `hosts` (newest first): the trimmed text goes to
// the top, replacing a case-blind equal entry below the top; then one bottom
// entry goes if the list is longer than `maxHosts`.
HostChange AddHost(std::vector<std::string>& hosts, std::string_view text, int maxHosts);
