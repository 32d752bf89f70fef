#include "scenery/renumber.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/memorystreams.h"

namespace {

std::string Renumber(std::string_view input, size_t pieceSize = SIZE_MAX) {
    StringSource source(input, pieceSize);
    StringSink sink;
    RenumberAreas(source, sink);
    return sink.text;
}

struct Case {
    const char* name;
    std::string input;
    std::string expected;
};

std::string Repeat(std::string_view text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

// Named rows; each is checked with every block boundary the reader can meet.
const Case kCases[] = {
    {"Empty", "", ""},
    {"LfBecomesCrLf", "a\nb\n", "a\r\nb\r\n"},
    {"CrLfKept", "a\r\nb\r\n", "a\r\nb\r\n"},
    {"LastLineWithoutEnd", "a\r\nb", "a\r\nb\r\n"},
    {"BlankLinesKept", "\n\r\n\n", "\r\n\r\n\r\n"},
    {"ShortLinesCopied", "[Area\nLayer\n[AREA\n", "[Area\r\nLayer\r\n[AREA\r\n"},
    {"HeadersNumberedInOrder", "[Area.005]\n[Area.005]\n[Area.999]\n",
     "[Area.001]\r\n[Area.002]\r\n[Area.003]\r\n"},
    {"HeaderPrefixAnyCaseAnyRest", "[area.7]\n[AREAS]\n[ArEa.012] ; old\n",
     "[Area.001]\r\n[Area.002]\r\n[Area.003]\r\n"},
    {"LayerTakesItsAreaNumber", "[Area.010]\nLayer=10\nLAYER =3\n[Area.002]\nlayers\nLayer=99\n",
     "[Area.001]\r\nLayer=1\r\nLayer=1\r\n[Area.002]\r\nLayer=2\r\nLayer=2\r\n"},
    {"LayerBeforeAnyHeaderIsZero", "Layer=5\n", "Layer=0\r\n"},
    {"LeadingBlanksNotRecognised", "  Layer=5\n\t[Area.001]\n", "  Layer=5\r\n\t[Area.001]\r\n"},
    {"OtherLinesUntouched", "Title=Ärea 51 [Area.1]\nLocal=Scenery\\World\n",
     "Title=Ärea 51 [Area.1]\r\nLocal=Scenery\\World\r\n"},
    {"HighBytesNotUpperCased", "l\xe1yer=1\n[\xe1rea.1]\n", "l\xe1yer=1\r\n[\xe1rea.1]\r\n"},
    {"CtrlZAfterLineEndEndsInput", "[Area.1]\r\n\x1a[Area.2]\r\n", "[Area.001]\r\n"},
    {"CtrlZInsideLineEndsLineAndInput",
     "Title=A\x1a"
     "B\r\n[Area.1]\r\n",
     "Title=A\r\n"},
    {"CtrlZInsideLongHeaderEndsInput", "[Area.1\x1a]\r\n", "[Area.001]\r\n"},
    {"DoubledCrMakesNoExtraLine", "a\r\r\nb\r\n", "a\r\nb\r\n"},
    {"LoneCrDropped", "one\rtwo\r\n", "onetwo\r\n"},
    {"LoneCrInsideHeadStillMatches", "LA\rYER=5\r\n[Ar\rea.9]\r\n", "Layer=0\r\n[Area.001]\r\n"},
    {"CrOnlyTailIsNoLine", "a\n\r", "a\r\n"},
    {"CrBeforeCtrlZ", "a\r\x1a", "a\r\n"},
    {"SixCharactersAreEnoughToMatch", "LAYERX\n[AREA]\n", "Layer=0\r\n[Area.001]\r\n"},
    // Odd lines amid runs of plain CR LF lines long enough to be skimmed in bulk.
    {"OddLineEndsAmidLongPlainRuns",
     Repeat("Title=plain line\r\n", 8) + "Title=a\rb\r\n[area.9]\nLayer=3\r\r\n" +
         Repeat("Title=plain line\r\n", 8),
     Repeat("Title=plain line\r\n", 8) + "Title=ab\r\n[Area.001]\r\nLayer=1\r\n" +
         Repeat("Title=plain line\r\n", 8)},
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class RenumberCases : public testing::TestWithParam<Case> {};

TEST_P(RenumberCases, MatchesAtEveryBlockBoundary) {
    const Case& c = GetParam();
    for (const size_t pieceSize : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, SIZE_MAX}) {
        EXPECT_EQ(Renumber(c.input, pieceSize), c.expected) << "pieces of " << pieceSize;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, RenumberCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(RenumberAreas, ThousandthHeaderHasFourDigits) {
    std::string input;
    for (int i = 0; i < 1000; ++i)
        input += "[Area.001]\nLayer=1\n";
    const std::string output = Renumber(input);
    EXPECT_TRUE(output.ends_with("[Area.999]\r\nLayer=999\r\n[Area.1000]\r\nLayer=1000\r\n"));
}

TEST(RenumberAreas, LongLinesPassWholeAcrossBlocks) {
    // Longer than the transform's own blocks, so a line spans several reads.
    const std::string longTitle = "Title=" + std::string(600 * 1024, 'x');
    const std::string longHeader = "[Area.5" + std::string(600 * 1024, 'y') + "]";
    const std::string input = longTitle + "\n" + longHeader + "\nLayer=" + std::string(1000, '9');
    EXPECT_EQ(Renumber(input), longTitle + "\r\n[Area.001]\r\nLayer=1\r\n");
    EXPECT_EQ(Renumber(input, 4093), longTitle + "\r\n[Area.001]\r\nLayer=1\r\n");
}

TEST(RenumberAreas, ReadFailureKeepsWhatWasWrittenAndPropagates) {
    class FailingSource : public ByteSource {
    public:
        size_t Read(char* buffer, size_t capacity) override {
            if (served_)
                RaiseIoError(5);
            served_ = true;
            const std::string_view first = "[Area.7]\r\nTitle=x\r\n";
            const size_t size = std::min(capacity, first.size());
            std::memcpy(buffer, first.data(), size);
            return size;
        }

    private:
        bool served_ = false;
    } source;
    StringSink sink;
    try {
        RenumberAreas(source, sink);
        FAIL() << "no error raised";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
    EXPECT_EQ(sink.text, "[Area.001]\r\nTitle=x\r\n");
}

TEST(ZeroPadNumber, FillsButNeverCuts) {
    EXPECT_EQ(ZeroPadNumber(0, 3), "000");
    EXPECT_EQ(ZeroPadNumber(7, 3), "007");
    EXPECT_EQ(ZeroPadNumber(123, 3), "123");
    EXPECT_EQ(ZeroPadNumber(1000, 3), "1000");
    EXPECT_EQ(ZeroPadNumber(42, 0), "42");
}

TEST(IoErrors, NamedByNumber) {
    EXPECT_EQ(IoErrorMessage(2), "File not found");
    EXPECT_EQ(IoErrorMessage(3), "Invalid filename");
    EXPECT_EQ(IoErrorMessage(4), "Too many open files");
    EXPECT_EQ(IoErrorMessage(5), "File access denied");
    EXPECT_EQ(IoErrorMessage(32), "I/O error 32");
    EXPECT_EQ(IoErrorMessage(112), "I/O error 112");
}

} // namespace
