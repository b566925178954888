#include "console/NewestFirstText.h"

#include <algorithm>
#include <cstring>

void TNewestFirstText::PushFront(std::string_view line)
{
    if (line.size() > head_)
        MakeRoom(line.size());
    head_ -= line.size();
    std::memcpy(block_.data() + head_, line.data(), line.size());
    lengths_.push_front(static_cast<std::uint32_t>(line.size()));
}

void TNewestFirstText::PopBack()
{
    if (lengths_.empty())
        return;
    tail_ -= lengths_.back();
    lengths_.pop_back();
}

void TNewestFirstText::Clear()
{
    block_ = {};
    head_ = tail_ = 0;
    lengths_.clear();
}

// A text that stays the same size while lines come and go moves once every
// half its size of new lines: a few bytes moved per byte added.
void TNewestFirstText::MakeRoom(std::size_t room)
{
    const std::size_t length = tail_ - head_;
    const std::size_t size = std::max<std::size_t>(length + length / 2 + room, 4096);
    if (size > block_.size()) {
        std::vector<char> larger(size);
        if (length > 0)
            std::memcpy(larger.data() + size - length, block_.data() + head_, length);
        block_.swap(larger);
    } else {
        std::memmove(block_.data() + block_.size() - length, block_.data() + head_, length);
    }
    tail_ = block_.size();
    head_ = tail_ - length;
}
