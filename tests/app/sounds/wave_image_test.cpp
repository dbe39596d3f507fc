#include <gtest/gtest.h>

#include "app/sounds/wave_image.h"
#include "tests/app/sounds/wave_bytes.h"

using namespace tandemora;
using namespace wave_test;

namespace {

struct Expected {
    SampleType type;
    int channels;
    int rate;
    Bytes samples;
};

TEST(WaveImage, FindsTheSamplesOfPlayableImagesAndRefusesTheRest) {
    const Bytes stereo16 = {1, 0, 2, 0, 3, 0, 4, 0};
    const struct {
        const char* name;
        Bytes image;
        std::optional<Expected> expected;
    } cases[] = {
        {"8-bit mono", riff({chunk("fmt ", format(1, 1, 8000, 8)), chunk("data", {0x80, 0x81, 0x82})}),
         Expected{SampleType::kUnsigned8, 1, 8000, {0x80, 0x81, 0x82}}},
        {"16-bit stereo", riff({chunk("fmt ", format(1, 2, 44100, 16)), chunk("data", stereo16)}),
         Expected{SampleType::kSigned16, 2, 44100, stereo16}},
        {"24-bit", riff({chunk("fmt ", format(1, 1, 48000, 24)), chunk("data", {1, 2, 3})}),
         Expected{SampleType::kSigned24, 1, 48000, {1, 2, 3}}},
        {"float", riff({chunk("fmt ", format(3, 1, 22050, 32)), chunk("data", {0, 0, 0x80, 0x3f})}),
         Expected{SampleType::kFloat32, 1, 22050, {0, 0, 0x80, 0x3f}}},
        {"extensible PCM", riff({chunk("fmt ", extensibleFormat(1, 2, 44100, 16)), chunk("data", stereo16)}),
         Expected{SampleType::kSigned16, 2, 44100, stereo16}},
        {"extensible float", riff({chunk("fmt ", extensibleFormat(3, 2, 8000, 32)), chunk("data", stereo16)}),
         Expected{SampleType::kFloat32, 2, 8000, stereo16}},
        {"odd chunks padded, data before format",
         riff({chunk("LIST", {7, 7, 7}), chunk("data", {5, 6, 7}), chunk("junk", {9}), chunk("fmt ", format(1, 1, 8000, 8))}),
         Expected{SampleType::kUnsigned8, 1, 8000, {5, 6, 7}}},
        {"half a frame left out", riff({chunk("fmt ", format(1, 2, 8000, 16)), chunk("data", {1, 0, 2, 0, 3})}),
         Expected{SampleType::kSigned16, 2, 8000, {1, 0, 2, 0}}},
        {"data cut off", riff({chunk("fmt ", format(1, 1, 8000, 16)), chunk("data", {1, 0, 2, 0, 3, 0}, 1000)}),
         Expected{SampleType::kSigned16, 1, 8000, {1, 0, 2, 0, 3, 0}}},
        {"only the first data counts",
         riff({chunk("fmt ", format(1, 1, 8000, 8)), chunk("data", {1}), chunk("data", {2, 2})}),
         Expected{SampleType::kUnsigned8, 1, 8000, {1}}},

        {"empty", {}, std::nullopt},
        {"not RIFF", join({tag("RIFX"), le32(4), tag("WAVE")}), std::nullopt},
        {"not WAVE", riff({chunk("fmt ", format(1, 1, 8000, 8)), chunk("data", {1})}, "AVI "), std::nullopt},
        {"chunk before format lies about its size",
         riff({chunk("LIST", {1, 2}, 0xfffffff0), chunk("fmt ", format(1, 1, 8000, 8)), chunk("data", {1})}),
         std::nullopt},
        {"format longer than the image", riff({chunk("data", {1, 2}), chunk("fmt ", format(1, 1, 8000, 8), 400)}),
         std::nullopt},
        {"format too short", riff({chunk("fmt ", le16(1)), chunk("data", {1})}), std::nullopt},
        {"no data", riff({chunk("fmt ", format(1, 1, 8000, 8))}), std::nullopt},
        {"empty data", riff({chunk("fmt ", format(1, 1, 8000, 8)), chunk("data", {})}), std::nullopt},
        {"less than a frame", riff({chunk("fmt ", format(1, 2, 8000, 16)), chunk("data", {1, 2, 3})}), std::nullopt},
        {"compressed", riff({chunk("fmt ", format(2, 1, 8000, 4, 256)), chunk("data", {1, 2})}), std::nullopt},
        {"extensible, compressed", riff({chunk("fmt ", extensibleFormat(0x55, 1, 8000, 16)), chunk("data", {1, 2})}),
         std::nullopt},
        {"no channels", riff({chunk("fmt ", format(1, 0, 8000, 8, 1)), chunk("data", {1})}), std::nullopt},
        {"no sample rate", riff({chunk("fmt ", format(1, 1, 0, 8)), chunk("data", {1})}), std::nullopt},
        {"12-bit", riff({chunk("fmt ", format(1, 1, 8000, 12, 2)), chunk("data", {1, 2})}), std::nullopt},
        {"64-bit float", riff({chunk("fmt ", format(3, 1, 8000, 64)), chunk("data", Bytes(8))}), std::nullopt},
        {"block size lies", riff({chunk("fmt ", format(1, 2, 8000, 16, 2)), chunk("data", {1, 2, 3, 4})}),
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sound = parseWave(c.image);
        ASSERT_EQ(sound.has_value(), c.expected.has_value());
        if (!sound) continue;
        EXPECT_EQ(sound->sampleType, c.expected->type);
        EXPECT_EQ(sound->channels, c.expected->channels);
        EXPECT_EQ(sound->sampleRate, c.expected->rate);
        EXPECT_EQ(Bytes(sound->samples.begin(), sound->samples.end()), c.expected->samples);
    }
}

TEST(WaveImage, EveryCutOfAnImageStaysWithinIt) {
    const Bytes image = riff({chunk("LIST", {1, 2, 3}), chunk("fmt ", extensibleFormat(1, 2, 8000, 16)),
                              chunk("data", Bytes(64, 9))});
    for (size_t length = 0; length <= image.size(); ++length) {
        const std::span<const unsigned char> cut(image.data(), length);
        const auto sound = parseWave(cut);
        if (!sound) continue;
        EXPECT_GE(sound->samples.data(), cut.data());
        EXPECT_LE(sound->samples.data() + sound->samples.size(), cut.data() + cut.size());
        EXPECT_EQ(sound->samples.size() % 4, 0u);
    }
    EXPECT_TRUE(parseWave(image).has_value());
}

TEST(WaveImage, TwentyFourBitSamplesWidenIntoTheUpperBytes) {
    EXPECT_EQ(widen24To32(Bytes{0x01, 0x02, 0x03, 0xff, 0xff, 0xff, 0x07}),
              (Bytes{0, 0x01, 0x02, 0x03, 0, 0xff, 0xff, 0xff}));
}

}  // namespace
