// The lab scripts read lab-addresses.env and the C++ tests LabAddresses.h: a
// value changed in one file only would send a test to the wrong behaviour.
#include "tests/lab/LabAddresses.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

std::map<std::string, std::string> ReadEnv()
{
    std::map<std::string, std::string> values;
    std::ifstream in(ZV_LAB_ENV_FILE);
    EXPECT_TRUE(in.good()) << ZV_LAB_ENV_FILE;
    for (std::string line; std::getline(in, line);) {
        auto eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) {
            continue;
        }
        std::string value = line.substr(eq + 1);
        if (!value.empty() && value[0] == '"') {
            value = value.substr(1, value.find('"', 1) - 1);
        } else {
            value = value.substr(0, value.find_first_of(" \t"));
        }
        values[line.substr(0, eq)] = value;
    }
    return values;
}

TEST(LabAddresses, HeaderAgreesWithTheScriptsFile)
{
    auto env = ReadEnv();
    const std::pair<const char*, std::string> pairs[] = {
        {"LAB_CLIENT", lab::Client},
        {"LAB_ROUTER", lab::Router},
        {"LAB_ROUTER_HOSTS_SIDE", lab::RouterHostsSide},
        {"LAB_KERNEL_ECHO", lab::KernelEcho},
        {"LAB_KERNEL_UNREACHABLE", lab::KernelUnreachable},
        {"LAB_KERNEL_PROHIBIT", lab::KernelProhibit},
        {"LAB_KERNEL_REJECT", lab::KernelReject},
        {"LAB_KERNEL_LOOP", lab::KernelLoop},
        {"LAB_KERNEL_BLACKHOLE", lab::KernelBlackhole},
        {"LAB_KERNEL_NO_NEIGHBOUR", lab::KernelNoNeighbour},
        {"LAB_REPLY_NOW", lab::ReplyNow},
        {"LAB_REPLY_20MS", lab::Reply20Ms},
        {"LAB_REPLY_200MS", lab::Reply200Ms},
        {"LAB_REPLY_700MS", lab::Reply700Ms},
        {"LAB_FOREIGN_SEQ_FIRST", lab::ForeignSeqFirst},
        {"LAB_UNREACHABLE", lab::Unreachable},
        {"LAB_TIME_EXCEEDED", lab::TimeExceeded},
        {"LAB_REDIRECT", lab::Redirect},
        {"LAB_BIG_REPLY", lab::BigReply},
        {"LAB_SILENT", lab::Silent},
        {"LAB_UNREACHABLE_OPTIONS", lab::UnreachableOptions},
        {"LAB_FOREIGN_FLOOD", lab::ForeignFlood},
        {"LAB_UNRELATED", lab::Unrelated},
        {"LAB_LOSSY", lab::Lossy},
        {"LAB_LOSSY_PERIOD", std::to_string(lab::LossyPeriod)},
        {"LAB_LOSSY_COUNT", std::to_string(lab::LossyCount)},
        {"LAB_STEPPING", lab::Stepping},
        {"LAB_STEPPING_PERIOD", std::to_string(lab::SteppingPeriod)},
        {"LAB_STEPPING_COUNT", std::to_string(lab::SteppingCount)},
        {"LAB_STEPPING_FAST_MS", std::to_string(lab::SteppingFastMs)},
        {"LAB_STEPPING_SLOW_MS", std::to_string(lab::SteppingSlowMs)},
        {"LAB_REPORTER", lab::Reporter},
        {"LAB_FOREIGN_SEQ_GAP_MS", std::to_string(lab::ForeignSeqGapMs)},
        {"LAB_BIG_REPLY_BYTES", std::to_string(lab::BigReplyBytes)},
        {"LAB_UNREACHABLE_OPTION_BYTES", std::to_string(lab::UnreachableOptionBytes)},
        {"LAB_FLOOD_GAP_MS", std::to_string(lab::FloodGapMs)},
        {"LAB_FLOOD_COUNT", std::to_string(lab::FloodCount)},
        {"LAB_UNRELATED_GAP_MS", std::to_string(lab::UnrelatedGapMs)},
        {"LAB_UNKNOWN_NAME", lab::UnknownName},
    };
    for (const auto& [key, value] : pairs) {
        ASSERT_TRUE(env.count(key)) << key;
        EXPECT_EQ(env[key], value) << key;
    }
    std::string names;
    for (const auto& n : lab::Names) {
        names += (names.empty() ? "" : " ") + std::string(n.name) + "=" + n.address;
    }
    EXPECT_EQ(env["LAB_NAMES"], names);
}

TEST(LabAddresses, StayInsideTheLabRanges)
{
    auto env = ReadEnv();
    for (const auto& [key, value] : env) {
        if (value.find_first_not_of("0123456789.") != std::string::npos || value.find('.') == std::string::npos) {
            continue;
        }
        bool inLab = value.rfind("198.51.100.", 0) == 0 || value.rfind("203.0.113.", 0) == 0;
        EXPECT_TRUE(inLab) << key << "=" << value;
    }
    for (const auto& n : lab::Names) {
        std::string a = n.address;
        EXPECT_TRUE(a.rfind("198.51.100.", 0) == 0 || a.rfind("203.0.113.", 0) == 0) << n.name;
    }
}

}  // namespace
