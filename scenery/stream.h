#pragma once

#include <cstddef>

// Sequential byte streams the renumbering reads from and writes to. Both raise Error on failure.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `capacity` bytes; returns 0 only at the end of the data.
    virtual size_t Read(char* buffer, size_t capacity) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(const char* data, size_t size) = 0;
};
