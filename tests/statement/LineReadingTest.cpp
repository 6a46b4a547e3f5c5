// The reader's block reads of a file (LineReader) against ReadLine's reads
// of the same file: the same results and lines, in text and in binary mode,
// for lines on both sides of the length limit and across the reads' blocks.
#include "LineReading.h"

#include "StatementTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>
#include <string>

namespace {

// Lines of the lengths that matter (empty, short, up to and past the
// limit, far past it), ended by LF, CR LF, or nothing at the very end, some
// holding a zero byte or a lone carriage return; 300 KB of them, so that
// lines fall across the 64 KB blocks at many places.
std::string FileOfLines(unsigned seed, bool lastLineEnded) {
    const size_t lengths[] = {0, 1, 7, 80, 2045, 2046, 2047, 2048, 2049, 5000, 70000};
    std::mt19937 random(seed);
    std::string bytes;
    while (bytes.size() < 300 * 1024) {
        std::string line(lengths[random() % std::size(lengths)], 'x');
        if (!line.empty() && random() % 8 == 0) line[random() % line.size()] = '\0';
        if (!line.empty() && random() % 8 == 0) line[random() % line.size()] = '\r';
        bytes += line + (random() % 2 ? "\r\n" : "\n");
    }
    bytes += "last line";
    if (lastLineEnded) bytes += "\n";
    return bytes;
}

}  // namespace

TEST(LineReading, BlockReadsGiveTheLinesReadLineGives) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        const ScratchFile scratch(FileOfLines(seed, seed % 2 == 0));
        for (const auto mode : {std::ios::in, std::ios::in | std::ios::binary}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ((mode & std::ios::binary) ? ", binary" : ", text"));
            std::ifstream blockStream(scratch.Path(), mode), lineStream(scratch.Path(), mode);
            LineReader reader(blockStream);
            LineBuffer fromBlocks, fromLines;
            int lines = 0;
            for (LineRead expected = LineRead::Complete; expected != LineRead::End; ++lines) {
                expected = ReadLine(lineStream, fromLines);
                ASSERT_EQ(expected, reader.Read(fromBlocks)) << "line " << lines;
                ASSERT_STREQ(fromLines, fromBlocks) << "line " << lines;
                if (expected == LineRead::Complete) {
                    ASSERT_LE(std::strlen(fromBlocks), reader.Length());
                }
            }
            EXPECT_GT(lines, 20);
            EXPECT_EQ(LineRead::End, reader.Read(fromBlocks)) << "and at the end it stays";
        }
    }
}

// After the stream is moved back to its start, what was read ahead is let go.
TEST(LineReading, DiscardAfterRewindReadsFromTheStart) {
    const ScratchFile scratch("first\nsecond\nthird\n");
    std::ifstream stream(scratch.Path(), std::ios::in | std::ios::binary);
    LineReader reader(stream);
    LineBuffer line;
    ASSERT_EQ(LineRead::Complete, reader.Read(line));
    ASSERT_EQ(LineRead::Complete, reader.Read(line));
    EXPECT_STREQ("second", line);
    Rewind(stream);
    reader.Discard();
    ASSERT_EQ(LineRead::Complete, reader.Read(line));
    EXPECT_STREQ("first", line);
    EXPECT_EQ(5u, reader.Length());
}
