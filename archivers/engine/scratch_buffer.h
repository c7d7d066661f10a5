// A reusable work buffer for bytes that are always written before they are
// read: it grows without zero-filling and without keeping old contents, so a
// run over many members neither clears nor copies memory it will overwrite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace arc {

class ScratchBuffer {
public:
    // At least n bytes of unspecified contents; valid until the next call.
    uint8_t* room(size_t n) {
        if (n > capacity_) {
            data_.reset();  // give the old block back before taking a larger one
            data_.reset(new uint8_t[n]);
            capacity_ = n;
        }
        return data_.get();
    }
    size_t capacity() const { return capacity_; }

private:
    std::unique_ptr<uint8_t[]> data_;
    size_t capacity_ = 0;
};

}  // namespace arc
