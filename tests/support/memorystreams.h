#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "scenery/stream.h"

// Serves a string in pieces of at most `pieceSize` bytes, to put block boundaries anywhere.
class StringSource : public ByteSource {
public:
    explicit StringSource(std::string_view data, size_t pieceSize = SIZE_MAX)
        : data_(data), pieceSize_(pieceSize) {}
    size_t Read(char* buffer, size_t capacity) override {
        const size_t size = std::min({capacity, pieceSize_, data_.size() - offset_});
        std::memcpy(buffer, data_.data() + offset_, size);
        offset_ += size;
        return size;
    }

private:
    std::string_view data_;
    size_t pieceSize_;
    size_t offset_ = 0;
};

class StringSink : public ByteSink {
public:
    void Write(const char* data, size_t size) override { text.append(data, size); }
    std::string text;
};
