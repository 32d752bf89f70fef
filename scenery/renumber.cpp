#include "scenery/renumber.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;
constexpr std::size_t kHeadSize = 5; // only a line's first five characters decide its kind
constexpr char kCtrlZ = 26;
constexpr char kLineEnd[] = {'\r', '\n'};

const char* FindByte(const char* begin, const char* end, char byte) {
    const void* found = std::memchr(begin, byte, static_cast<std::size_t>(end - begin));
    return found ? static_cast<const char*>(found) : end;
}

class OutputBuffer {
public:
    explicit OutputBuffer(ByteSink& sink) : sink_(sink), data_(new char[kBlockSize]) {}

    void Append(const char* bytes, std::size_t size) {
        if (size > kBlockSize - used_) {
            Flush();
            if (size >= kBlockSize) {
                sink_.Write(bytes, size);
                return;
            }
        }
        std::memcpy(data_.get() + used_, bytes, size);
        used_ += size;
    }
    void Append(const std::string& text) { Append(text.data(), text.size()); }
    void AppendLineEnd() { Append(kLineEnd, sizeof kLineEnd); }

    void Flush() {
        if (used_ != 0) {
            const std::size_t size = used_;
            used_ = 0;
            sink_.Write(data_.get(), size);
        }
    }

private:
    ByteSink& sink_;
    std::unique_ptr<char[]> data_;
    std::size_t used_ = 0;
};

// The line-by-line rewrite as a state machine over input blocks, so that neither a file nor a
// line is ever held whole.
class Renumberer {
public:
    explicit Renumberer(OutputBuffer& out) : out_(out) {}

    // Returns false once a Ctrl-Z has ended the input.
    bool Process(const char* p, const char* end) {
        const char* ctrlZ = FindByte(p, end, kCtrlZ);
        const bool endsInput = ctrlZ != end;
        end = ctrlZ;

        const char* nextLf = FindByte(p, end, '\n');
        const char* nextCr = FindByte(p, end, '\r');
        while (p < end) {
            if (nextLf < p)
                nextLf = FindByte(p, end, '\n');
            if (nextCr < p)
                nextCr = FindByte(p, end, '\r');
            const char* special = std::min(nextLf, nextCr);

            if (mode_ == Mode::Head) {
                if (headSize_ == 0 && static_cast<std::size_t>(special - p) > kHeadSize) {
                    // The whole head is here: decide without copying it.
                    if (WriteReplacement(p)) {
                        mode_ = Mode::Skip;
                        p = special;
                    } else {
                        mode_ = Mode::Copy;
                    }
                    continue;
                }
                p = CollectHead(p, end);
                continue;
            }

            if (mode_ == Mode::Copy) {
                if (special != end && *special == '\r' && special + 1 < end && special[1] == '\n') {
                    // The usual CR LF line end: copy it with the line.
                    out_.Append(p, static_cast<std::size_t>(special + 2 - p));
                    p = special + 2;
                    StartLine();
                    continue;
                }
                out_.Append(p, static_cast<std::size_t>(special - p));
            }
            p = special;
            if (p == end)
                break;
            if (*p == '\n')
                EndLine();
            ++p; // a LF ends the line; a CR is dropped
        }
        if (endsInput)
            Finish();
        return !endsInput;
    }

    // Ends an unterminated last line.
    void Finish() {
        if (mode_ != Mode::Head || headSize_ != 0)
            EndLine();
    }

private:
    enum class Mode { Head, Copy, Skip };

    // Takes head bytes one at a time, for lines whose head is split by a CR or a block boundary.
    const char* CollectHead(const char* p, const char* end) {
        for (; p < end; ++p) {
            const char c = *p;
            if (c == '\r')
                continue;
            if (c == '\n') {
                EndLine();
                return p + 1;
            }
            head_[headSize_++] = c;
            if (headSize_ > kHeadSize) {
                if (WriteReplacement(head_)) {
                    mode_ = Mode::Skip;
                } else {
                    out_.Append(head_, headSize_);
                    mode_ = Mode::Copy;
                }
                return p + 1;
            }
        }
        return p;
    }

    // Writes the new area header or layer line when the head, of a line longer than five
    // characters, names one; returns false for any other line.
    bool WriteReplacement(const char* head) {
        char upper[kHeadSize];
        for (std::size_t i = 0; i < kHeadSize; ++i) {
            const char c = head[i];
            upper[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        if (std::memcmp(upper, "[AREA", kHeadSize) == 0) {
            ++areaCounter_;
            out_.Append("[Area." + ZeroPadNumber(areaCounter_, 3) + "]");
            return true;
        }
        if (std::memcmp(upper, "LAYER", kHeadSize) == 0) {
            out_.Append("Layer=" + std::to_string(areaCounter_));
            return true;
        }
        return false;
    }

    void EndLine() {
        if (mode_ == Mode::Head)
            out_.Append(head_, headSize_); // a line of five characters or fewer, as it stands
        out_.AppendLineEnd();
        StartLine();
    }

    void StartLine() {
        mode_ = Mode::Head;
        headSize_ = 0;
    }

    OutputBuffer& out_;
    Mode mode_ = Mode::Head;
    char head_[kHeadSize + 1] = {};
    std::size_t headSize_ = 0;
    std::int64_t areaCounter_ = 0;
};

} // namespace

void RenumberAreas(ByteSource& source, ByteSink& target) {
    OutputBuffer out(target);
    Renumberer renumberer(out);
    const std::unique_ptr<char[]> block(new char[kBlockSize]);
    for (;;) {
        std::size_t size = 0;
        try {
            size = source.Read(block.get(), kBlockSize);
        } catch (...) {
            out.Flush(); // the lines before a failed read stay written
            throw;
        }
        if (size == 0) {
            renumberer.Finish();
            break;
        }
        if (!renumberer.Process(block.get(), block.get() + size))
            break;
    }
    out.Flush();
}

std::string ZeroPadNumber(std::int64_t value, std::size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}
