// TNewestFirstText: lines kept newest first in one block of memory, so that
// the whole text is one span to write out. A new line goes in front of the
// others and the oldest leaves from the end, as rows do in the console's
// lists. The block keeps room in front; when that runs out, the text moves
// to the end of a block half as large again as the text. Portable.
#pragma once

#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

class TNewestFirstText {
public:
    void PushFront(std::string_view line);
    // Drops the oldest line, if any.
    void PopBack();
    // Drops every line and the block.
    void Clear();
    std::size_t Lines() const { return lengths_.size(); }
    std::string_view Text() const { return {block_.data() + head_, tail_ - head_}; }

private:
    void MakeRoom(std::size_t room);

    // The text is block_[head_, tail_).
    std::vector<char> block_;
    std::size_t head_ = 0;
    std::size_t tail_ = 0;
    std::deque<std::uint32_t> lengths_; // newest first
};
