#pragma once
// Many short texts (names, relative paths) stored end to end in blocks, each
// named by a 32-bit reference: no allocation of its own per text, and growing
// never moves what is stored. Blocks grow from 4 KiB to 1 MiB, so a handful of
// texts costs little and millions cost a few bytes over their length.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

class TextArena {
public:
    // Stores the text (at most kLargestText bytes) and returns its reference.
    uint32_t Store(std::string_view text) {
        if (used_ + text.size() > capacity_) {
            if (blocks_.size() == kMostBlocks)
                throw std::length_error("more than 4 GiB of text");
            capacity_ = std::max(BlockSize(blocks_.size()), text.size());
            blocks_.push_back(std::make_unique<char[]>(capacity_));
            used_ = 0;
        }
        uint32_t reference = static_cast<uint32_t>((blocks_.size() - 1) << kOffsetBits | used_);
        std::memcpy(blocks_.back().get() + used_, text.data(), text.size());
        used_ += text.size();
        return reference;
    }
    std::string_view At(uint32_t reference, size_t length) const {
        return std::string_view(blocks_[reference >> kOffsetBits].get() + (reference & kOffsetMask),
                                length);
    }

    static constexpr size_t kLargestText = size_t(1) << 20;

private:
    static constexpr unsigned kOffsetBits = 20;
    static constexpr uint32_t kOffsetMask = (1u << kOffsetBits) - 1;
    static constexpr size_t kMostBlocks = size_t(1) << (32 - kOffsetBits);
    static size_t BlockSize(size_t block) {
        return block < 8 ? size_t(4096) << block : size_t(1) << kOffsetBits;
    }

    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t capacity_ = 0; // of the last block
    size_t used_ = 0;
};
