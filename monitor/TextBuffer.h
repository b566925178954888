// TTextBuffer: a text made of many small pieces (the cells of a CSV file of
// ten thousand rows) at the pace of a plain copy: pieces gather in a small
// stage inside the object and go on to the string in blocks, so a piece
// costs a few instructions rather than a string append. It can look out for
// bytes its owner names while it copies, so a text is read only once.
// Portable.
#pragma once

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>

class TTextBuffer {
public:
    using TByteSet = std::array<bool, 256>;

    explicit TTextBuffer(std::size_t expectedBytes = 0) { text_.reserve(expectedBytes); }
    // Room for this many bytes in all, so that a long text is not moved as it grows.
    void Reserve(std::size_t bytes) { text_.reserve(bytes); }
    // Text known to hold no watched byte (digits, an ISO time): copied unread.
    void AppendPlain(std::string_view text)
    {
        if (text.size() > kStage - staged_)
            return AppendLong(text);
        char* to = stage_ + staged_;
        for (char c : text)
            *to++ = c;
        staged_ += text.size();
    }

    // Texts and characters appended from now on are looked at for bytes of
    // `bytes` (which must outlive the buffer); numbers are not, as their
    // digits and sign are never among them.
    void Watch(const TByteSet& bytes) { watched_ = &bytes; }
    // Whether a watched byte came since the last call.
    bool TakeWatchedSeen() { return std::exchange(seen_, false); }

    void Append(char c)
    {
        if (staged_ == kStage)
            Flush();
        seen_ |= (*watched_)[static_cast<unsigned char>(c)];
        stage_[staged_++] = c;
    }
    void Append(std::string_view text)
    {
        if (text.size() > kStage - staged_)
            return AppendLong(text);
        // Byte by byte: a call of the C library's memcpy costs more than
        // copying a cell of a few bytes (under Wine some 10 ns a call). Two
        // loops with locals: one keeps all it needs in the few registers of
        // a 32-bit build, and a char store could alias any member.
        const TByteSet& watched = *watched_;
        bool seen = false;
        for (unsigned char c : text)
            seen |= watched[c];
        seen_ |= seen;
        char* to = stage_ + staged_;
        for (char c : text)
            *to++ = c;
        staged_ += text.size();
    }
    template <class Integer>
    void AppendDecimal(Integer value)
    {
        if (kStage - staged_ < kMaxDigits)
            Flush();
        staged_ = static_cast<std::size_t>(std::to_chars(stage_ + staged_, stage_ + kStage, value).ptr - stage_);
    }

    std::size_t Size() const { return text_.size() + staged_; }
    // The bytes appended since `start`: still in the stage mostly, else
    // moved on to the string first.
    std::string_view From(std::size_t start)
    {
        if (start >= text_.size())
            return {stage_ + (start - text_.size()), Size() - start};
        Flush();
        return std::string_view(text_).substr(start);
    }
    // Drops what was appended after the first `size` bytes.
    void Truncate(std::size_t size)
    {
        if (size < text_.size()) {
            text_.resize(size);
            staged_ = 0;
        } else {
            staged_ = std::min(staged_, size - text_.size());
        }
    }
    std::string Take()
    {
        Flush();
        return std::move(text_);
    }
    // All bytes so far, valid until the next append; Clear() starts anew
    // and keeps the room.
    std::string_view Whole()
    {
        Flush();
        return text_;
    }
    void Clear()
    {
        text_.clear();
        staged_ = 0;
    }

private:
    static constexpr std::size_t kStage = 512;
    static constexpr std::size_t kMaxDigits = 11; // "-2147483648"
    static constexpr TByteSet kNone{};

    void Flush()
    {
        text_.append(stage_, staged_);
        staged_ = 0;
    }
    void AppendLong(std::string_view text)
    {
        Flush();
        for (unsigned char c : text)
            seen_ |= (*watched_)[c];
        text_ += text;
    }

    std::string text_;
    char stage_[kStage];
    std::size_t staged_ = 0;
    const TByteSet* watched_ = &kNone;
    bool seen_ = false;
};
