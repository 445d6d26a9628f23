// The chunk sizes of hand-made WAVE images: what the decoder corrects and
// trusts before the sound library sees a file from the exchange.
#include "MediaTestSupport.h"

#include "media/WaveHeader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace mediatest;

namespace {

struct Chunk {
    std::string id;
    uint32_t declared;
    std::vector<uint8_t> body;
};

// "RIFF", the true RIFF size, "WAVE", then the chunks with the sizes they
// declare; an odd body is padded to an even length, as RIFF wants.
std::vector<uint8_t> Wave(const std::vector<Chunk>& chunks) {
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Chunk& c : chunks) {
        b.insert(b.end(), c.id.begin(), c.id.end());
        b.resize(b.size() + 4);
        PutLe32(b, b.size() - 4, c.declared);
        b.insert(b.end(), c.body.begin(), c.body.end());
        if (c.body.size() % 2 != 0) b.push_back(0);
    }
    PutLe32(b, 4, uint32_t(b.size() - 8));
    return b;
}

Chunk Sized(const std::string& id, std::vector<uint8_t> body) {
    const auto n = uint32_t(body.size());
    return {id, n, std::move(body)};
}

// A format chunk of a block-coded format: tag, block size, samples per block.
Chunk BlockFormat(uint16_t tag, uint16_t blockAlign, uint16_t extraBytes, uint16_t samplesPerBlock) {
    std::vector<uint8_t> f(20, 0);
    f[0] = uint8_t(tag);
    f[1] = uint8_t(tag >> 8);
    f[2] = 1;  // mono
    f[12] = uint8_t(blockAlign);
    f[13] = uint8_t(blockAlign >> 8);
    f[16] = uint8_t(extraBytes);
    f[18] = uint8_t(samplesPerBlock);
    f[19] = uint8_t(samplesPerBlock >> 8);
    return Sized("fmt ", f);
}

}  // namespace

TEST(WaveHeader, RepairsOnlyAnEmptyOrOverlongDataChunk) {
    const std::vector<uint8_t> audio(10, 0x55);
    // Declared exactly as long as what follows: left alone.
    auto exact = Wave({Sized("LIST", {1, 2, 3}), Sized("data", audio)});
    const auto before = exact;
    EXPECT_FALSE(RepairWaveSizes(exact));
    EXPECT_EQ(exact, before);

    // Declared empty, behind an odd-sized chunk and its pad byte: both sizes
    // are set to what the image holds.
    for (uint32_t declared : {0u, 1000u}) {
        SCOPED_TRACE(declared);
        auto image = Wave({Sized("LIST", {1, 2, 3}), {"data", declared, audio}});
        PutLe32(image, 4, 4);
        ASSERT_TRUE(RepairWaveSizes(image));
        EXPECT_EQ(Le32(image, 4), image.size() - 8);
        EXPECT_EQ(Le32(image, 12 + 12 + 4), audio.size());
    }

    // An empty data chunk with nothing after it is an empty recording, not damage.
    auto empty = Wave({{"data", 0, {}}});
    EXPECT_FALSE(RepairWaveSizes(empty));
    auto notWave = Wave({{"data", 0, audio}});
    notWave[8] = 'X';
    EXPECT_FALSE(RepairWaveSizes(notWave));
}

TEST(WaveHeader, TheFactCountIsReadOnlyWhereItIsWhole) {
    const Chunk data = Sized("data", std::vector<uint8_t>(8, 0));
    EXPECT_EQ(FactSampleCount(Wave({Sized("fact", {0x40, 0x1F, 0, 0}), data})), 8000);
    EXPECT_EQ(FactSampleCount(Wave({Sized("fact", {0x40, 0x1F}), data})), -1);        // too short to hold a count
    EXPECT_EQ(FactSampleCount(Wave({data, Sized("fact", {0x40, 0x1F, 0, 0})})), -1);  // after the audio
    EXPECT_EQ(FactSampleCount(Wave({data})), -1);
}

TEST(WaveHeader, WholeBlocksCountForEveryBlockCodedFormat) {
    const Chunk data = {"data", 65 * 3 + 30, std::vector<uint8_t>(65 * 3 + 30, 0)};
    for (uint16_t tag : {uint16_t(0x0031), uint16_t(0x0002), uint16_t(0x0011)}) {
        SCOPED_TRACE(tag);
        EXPECT_EQ(WholeBlockFrames(Wave({BlockFormat(tag, 65, 2, 320), data})), 3 * 320);
    }
    EXPECT_EQ(WholeBlockFrames(Wave({BlockFormat(0x0001, 65, 2, 320), data})), -1);  // PCM has no blocks
    // Without the samples per block in the format, nothing can be counted.
    EXPECT_EQ(WholeBlockFrames(Wave({BlockFormat(0x0031, 65, 0, 320), data})), -1);
    EXPECT_EQ(WholeBlockFrames(Wave({BlockFormat(0x0031, 65, 2, 0), data})), -1);
    auto shortFormat = BlockFormat(0x0031, 65, 2, 320);
    shortFormat.body.resize(16);  // the plain format, without the extra bytes
    shortFormat.declared = 16;
    EXPECT_EQ(WholeBlockFrames(Wave({shortFormat, data})), -1);
}
