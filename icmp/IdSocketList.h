// TIdSocketList: the sockets handed to one select call, at most 64 of them
// (the size of a Windows fd_set). Portable; sockets are kept as plain values.
#pragma once

#include <cstdint>
#include <vector>

#include "icmp/IdException.h"

class TIdSocketList {
public:
    static constexpr std::size_t MaxSockets = 64;

    virtual ~TIdSocketList() = default;

    void Add(std::uintptr_t socket)
    {
        if (sockets_.size() >= MaxSockets)
            throw EIdStackSetSizeExceeded();
        sockets_.push_back(socket);
    }
    void Clear() { sockets_.clear(); }
    std::size_t Count() const { return sockets_.size(); }
    std::uintptr_t Items(std::size_t index) const { return sockets_.at(index); }

private:
    std::vector<std::uintptr_t> sockets_;
};
