#include "scenery/renumber.h"

#include <algorithm>
#include <charconv>
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

// The first CR that is not directly followed by LF, or `end`. A CR in the last byte counts, as
// its LF may not have been read yet. Such CRs are rare, so the search runs in fixed chunks
// without an early exit or short-circuit, which compilers turn into vector code.
const char* FindStrayCr(const char* p, const char* end) {
    constexpr std::ptrdiff_t kChunk = 64;
    while (end - p > kChunk) {
        unsigned stray = 0;
        for (std::ptrdiff_t i = 0; i < kChunk; ++i)
            stray |= static_cast<unsigned>(p[i] == '\r') & static_cast<unsigned>(p[i + 1] != '\n');
        if (stray != 0)
            break;
        p += kChunk;
    }
    for (; p < end; ++p) {
        if (*p == '\r' && (p + 1 == end || p[1] != '\n'))
            return p;
    }
    return end;
}

// Writes the text of ZeroPadNumber(value, width) at `out`, which has room for the larger of
// `width` and 20 characters, and returns its end. It runs for every header and layer line, so it
// keeps off the heap.
char* PutZeroPadded(char* out, std::int64_t value, std::size_t width) {
    char digits[20];
    char* digitsEnd = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto size = static_cast<std::size_t>(digitsEnd - digits);
    if (size < width)
        out = std::fill_n(out, width - size, '0');
    return std::copy(digits, digitsEnd, out);
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

        strayCr_ = FindStrayCr(p, end); // a block's stray CRs are few: found once, used per line
        const char* nextLf = FindByte(p, end, '\n');
        const char* nextCr = FindByte(p, end, '\r');
        while (p < end) {
            if (mode_ == Mode::Head && headSize_ == 0) {
                p = CopyPlainLines(p, end);
                if (p == end)
                    break;
            }
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

    // The fast path for the usual lines, whole in this block and free of stray CRs: unchanged
    // lines, their CR LF included, are passed on in runs, one copy per run. Returns the start of
    // the first line that needs the byte-wise path in Process, or `end`.
    const char* CopyPlainLines(const char* p, const char* end) {
        if (strayCr_ < p)
            strayCr_ = FindStrayCr(p, end);
        const char* run = p;
        while (p < strayCr_) {
            const char* lf = FindByte(p, strayCr_, '\n');
            if (lf == strayCr_)
                break; // the line goes on past a stray CR or past the block
            const char* textEnd = (lf != p && lf[-1] == '\r') ? lf - 1 : lf;
            const Kind kind =
                static_cast<std::size_t>(textEnd - p) > kHeadSize ? Classify(p) : Kind::Other;
            if (kind != Kind::Other) {
                out_.Append(run, static_cast<std::size_t>(p - run));
                WriteReplacement(kind);
            } else if (textEnd == lf) {
                out_.Append(run, static_cast<std::size_t>(lf - run)); // LF alone becomes CR LF
            } else {
                p = lf + 1; // unchanged: the line joins the run
                continue;
            }
            out_.AppendLineEnd();
            p = lf + 1;
            run = p;
        }
        out_.Append(run, static_cast<std::size_t>(p - run));
        return p;
    }

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

    enum class Kind { Other, AreaHeader, LayerLine };

    // What a line longer than five characters is, from its first five.
    static Kind Classify(const char* head) {
        if (HeadIs(head, "[AREA"))
            return Kind::AreaHeader;
        if (HeadIs(head, "LAYER"))
            return Kind::LayerLine;
        return Kind::Other;
    }

    // Compares character by character, so that most lines are told apart by their first byte
    // (an upper-cased copy compared whole costs a store-forwarding stall on every line).
    static bool HeadIs(const char* head, const char (&prefix)[kHeadSize + 1]) {
        for (std::size_t i = 0; i < kHeadSize; ++i) {
            const char c = head[i];
            if (((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c) != prefix[i])
                return false;
        }
        return true;
    }

    // Writes the new area header or layer line, without its line end.
    void WriteReplacement(Kind kind) {
        char line[32];
        char* end = line;
        if (kind == Kind::AreaHeader) {
            end = std::copy_n("[Area.", 6, end);
            end = PutZeroPadded(end, ++areaCounter_, 3);
            *end++ = ']';
        } else {
            end = std::copy_n("Layer=", 6, end);
            end = PutZeroPadded(end, areaCounter_, 0);
        }
        out_.Append(line, static_cast<std::size_t>(end - line));
    }

    // Writes the replacement when the head names an area header or layer line.
    bool WriteReplacement(const char* head) {
        const Kind kind = Classify(head);
        if (kind == Kind::Other)
            return false;
        WriteReplacement(kind);
        return true;
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
    const char* strayCr_ = nullptr; // FindStrayCr's last answer in the current block
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
    std::string text(std::max<std::size_t>(width, 20), '0');
    text.resize(static_cast<std::size_t>(PutZeroPadded(text.data(), value, width) - text.data()));
    return text;
}
