// Addresses, names and conventions of the hermetic network lab (tools/lab/).
// A test that pings through the lab is declared with zv_add_lab_test
// (tests/lab/ZvLab.cmake): it runs under Wine inside the lab's client
// namespace, requires the CTest fixture "lab" and holds RESOURCE_LOCK "lab",
// because a raw socket sees every ICMP datagram of its namespace.
// Same values as tests/lab/lab-addresses.env, which the lab scripts read.
#pragma once

#include <cstdint>

namespace lab {

inline constexpr const char* Fixture = "lab";
inline constexpr const char* ResourceLock = "lab";

// Where lab programs run, and the router between them and the hosts.
inline constexpr const char* Client = "198.51.100.2";
inline constexpr const char* Router = "198.51.100.1";
inline constexpr const char* RouterHostsSide = "203.0.113.1";

// A host whose own kernel answers echo requests.
inline constexpr const char* KernelEcho = "203.0.113.2";

// Answers made by the router's kernel. Kernel reports quote the whole request.
inline constexpr const char* KernelUnreachable = "198.51.100.65";   // 3/1 from Router
inline constexpr const char* KernelProhibit = "198.51.100.66";      // 3/13 from Router
inline constexpr const char* KernelReject = "198.51.100.67";        // 3/3 from Router
inline constexpr const char* KernelLoop = "198.51.100.68";          // 11/0 from a router of the loop
inline constexpr const char* KernelBlackhole = "198.51.100.69";     // silence
inline constexpr const char* KernelNoNeighbour = "203.0.113.99";    // 3/1 from Router after about 3 s

// The scripted responder, one behaviour per address. Its error reports come
// from Reporter and quote only the request's IP header and first 8 bytes.
inline constexpr const char* ReplyNow = "203.0.113.10";
inline constexpr const char* Reply20Ms = "203.0.113.11";
inline constexpr const char* Reply200Ms = "203.0.113.12";
inline constexpr const char* Reply700Ms = "203.0.113.13";           // later than a 500 ms wait
inline constexpr const char* ForeignSeqFirst = "203.0.113.14";      // foreign sequence, then the right one
inline constexpr const char* Unreachable = "203.0.113.15";          // 3/1
inline constexpr const char* TimeExceeded = "203.0.113.16";         // 11/0
inline constexpr const char* Redirect = "203.0.113.17";             // 5/1, gateway RouterHostsSide
inline constexpr const char* BigReply = "203.0.113.18";             // echo reply in BigReplyBytes
inline constexpr const char* Silent = "203.0.113.19";
inline constexpr const char* UnreachableOptions = "203.0.113.20"; // 3/1 with UnreachableOptionBytes of IP options
inline constexpr const char* ForeignFlood = "203.0.113.21";       // FloodCount foreign replies, never the right one
inline constexpr const char* Unrelated = "203.0.113.22";         // UnrelatedCount other ICMP, then the reply
inline constexpr const char* Lossy = "203.0.113.40";              // no answer when seq % LossyPeriod < LossyCount
inline constexpr const char* Stepping = "203.0.113.41";           // slow for the last SteppingCount of every SteppingPeriod
inline constexpr const char* Reporter = "203.0.113.254";

// The foreign reply carries the request's sequence number with bit 15 of its
// little-endian value flipped (byte 7 of the ICMP message XOR 0x80); the right
// reply follows ForeignSeqGapMs later.
inline constexpr unsigned ForeignSeqGapMs = 20;
inline constexpr std::uint16_t ForeignSeqFlip = 0x8000;
inline constexpr unsigned BigReplyBytes = 2000;                     // whole IP datagram
inline constexpr unsigned UnreachableOptionBytes = 40;              // its own header: 60 bytes
// The flood answers each request with FloodCount echo replies FloodGapMs
// apart: odd ones carry the request's sequence under its identifier with
// bit 15 flipped (byte 5 XOR 0x80), even ones its identifier with the
// sequence's bit 15 flipped.
inline constexpr unsigned FloodGapMs = 50;
inline constexpr unsigned FloodCount = 18;
// Unrelated sends, UnrelatedGapMs apart, a source quench, a redirect and a
// parameter problem quoting a request of another identifier, a router
// advertisement and a timestamp request of another identifier; the right
// reply follows UnrelatedGapMs after the last.
inline constexpr unsigned UnrelatedGapMs = 10;
inline constexpr unsigned UnrelatedCount = 5;
// Lossy answers a request at once unless its sequence number (as the program
// stores it, little-endian) modulo LossyPeriod is below LossyCount.
inline constexpr unsigned LossyPeriod = 8;
inline constexpr unsigned LossyCount = 3;
// Stepping answers after SteppingFastMs, or after SteppingSlowMs when the
// sequence number modulo SteppingPeriod is SteppingPeriod - SteppingCount or more.
inline constexpr unsigned SteppingPeriod = 40;
inline constexpr unsigned SteppingCount = 10;
inline constexpr unsigned SteppingFastMs = 20;
inline constexpr unsigned SteppingSlowMs = 800;

// Names the lab's name server answers; any other name gets "no such name".
struct Name {
    const char* name;
    const char* address;
};
inline constexpr Name Names[] = {
    {"echo.lab.test", KernelEcho},
    {"now.lab.test", ReplyNow},
    {"delay20.lab.test", Reply20Ms},
    {"delay200.lab.test", Reply200Ms},
    {"delay700.lab.test", Reply700Ms},
    {"foreign.lab.test", ForeignSeqFirst},
    {"unreachable.lab.test", Unreachable},
    {"ttl.lab.test", TimeExceeded},
    {"redirect.lab.test", Redirect},
    {"big.lab.test", BigReply},
    {"silent.lab.test", Silent},
    {"flood.lab.test", ForeignFlood},
    {"kernel-unreachable.lab.test", KernelUnreachable},
    {"kernel-loop.lab.test", KernelLoop},
};
inline constexpr const char* UnknownName = "nosuchhost.lab.test";

// Environment of a program started by tools/lab/lab-wine-run.sh: the Unix path
// of the responder's log (prefix "Z:" under Wine). The log has one line per
// echo request the responder received, written as soon as it arrives:
//   dst=203.0.113.10 src=198.51.100.2 ttl=128 icmp=0800...
// icmp= is the received ICMP message in lower-case hex, IP header excluded.
inline constexpr const char* ResponderLogEnv = "ZV_LAB_RESPONDER_LOG";

}  // namespace lab
