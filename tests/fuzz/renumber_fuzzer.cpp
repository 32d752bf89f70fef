// Checks the streaming renumbering against the plain model on arbitrary input, with the input
// served in pieces of arbitrary size.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/renumber_model.h"
#include "scenery/renumber.h"
#include "support/memorystreams.h"

namespace {

std::string Renumber(std::string_view input, size_t pieceSize) {
    StringSource source(input, pieceSize);
    StringSink sink;
    RenumberAreas(source, sink);
    return sink.text;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "renumber_fuzzer: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks how the input is cut into reads; 0 means all at once.
    const size_t pieceSize = data[0] == 0 ? SIZE_MAX : data[0];
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::string output = Renumber(input, pieceSize);
    Check(output == RenumberModel(input), "output differs from the model");
    Check(Renumber(output, pieceSize) == output, "renumbering the output changed it");
    return 0;
}
