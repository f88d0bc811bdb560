#include "engine/graphics/AGTrack.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/ByteWriter.h"
#include "tools/authoring/TrackWriter.h"

using authoring::Track;

namespace {

// Reads one record followed by a marker word; the marker proves where the record ended.
template <typename T>
void ExpectRecordLength(const Track& track, size_t expected) {
    ASSERT_EQ(track.RecordSize(), expected);
    ExactBytes bytes(track.Bytes() + ByteWriter().U32(0xA5A5A5A5u).Str());
    AGTrack<T> read;
    // Package bytes may go right after a load: even an in-place read copies.
    ASSERT_TRUE(read.Read(bytes.Buffer(), /*inPlace=*/true));
    EXPECT_EQ(bytes.Buffer().Offset(), expected);
    EXPECT_EQ(bytes.Buffer().ReadU32(), 0xA5A5A5A5u);
    EXPECT_EQ(read.KeyCount(), track.KeyCount());
    EXPECT_FALSE(read.Times().Borrowed() || read.Values().Borrowed());
}

AGTrack<f32> FloatTrack(std::initializer_list<std::pair<u16, f32>> keys) {
    std::vector<u16> times;
    std::vector<f32> values;
    for (auto [t, v] : keys) {
        times.push_back(t);
        values.push_back(v);
    }
    AGTrack<f32> track;
    track.SetKeys(times.data(), values.data(), u32(times.size()));
    return track;
}

}  // namespace

TEST(AGTrack, RecordsConsumeExactlyTheirBytes) {
    ExpectRecordLength<f32>(Track::Float(), 8);
    ExpectRecordLength<f32>(Track::Float().Key(0, {1}).Key(5, {2}).Key(9, {3}), 8 + 6 + 2 + 12);
    ExpectRecordLength<AGVec3>(
        Track::Vec3().Key(0, {1, 2, 3}).Key(1, {}).Key(2, {}).Key(3, {}), 8 + 8 + 48);
    ExpectRecordLength<AGUVKey>(Track::UV().UVKey(4, 2, 1, 1, 0.5f, 0, 0), 8 + 2 + 2 + 24);
}

TEST(AGTrack, TruncatedOrOversizedRecordLeavesTheTrackEmpty) {
    const std::string full = Track::Vec2().Key(0, {1, 2}).Key(3, {4, 5}).Bytes();
    for (size_t n = 0; n < full.size(); ++n) {
        ExactBytes bytes(full.substr(0, n));
        AGTrack<AGVec2> track;
        EXPECT_FALSE(track.Read(bytes.Buffer())) << n;
        EXPECT_TRUE(track.Empty());
        EXPECT_TRUE(bytes.Buffer().Failed());
    }
    ExactBytes huge(ByteWriter().U32(AGInterpolation::Lerp).U32(0xFFFFFFF0u).Zeros(64).Str());
    AGTrack<AGVec2> track;
    EXPECT_FALSE(track.Read(huge.Buffer()));
    EXPECT_TRUE(track.Empty());
}

TEST(AGTrack, LerpBetweenKeysAndExactValueOnAKey) {
    AGTrack<f32> track = FloatTrack({{0, 100.0f}, {10, 200.0f}});
    f32 out = -1.0f;
    ASSERT_TRUE(track.Evaluate(2.5f, out));
    EXPECT_FLOAT_EQ(track.Blend(), 0.25f);
    EXPECT_FLOAT_EQ(out, 125.0f);
    ASSERT_TRUE(track.Evaluate(10.0f, out));
    EXPECT_EQ(out, 200.0f);
    EXPECT_EQ(track.Blend(), 0.0f);
}

TEST(AGTrack, TimesOutsideTheKeysClampAndEqualTimesBlendZero) {
    AGTrack<f32> track = FloatTrack({{2, 1.0f}, {4, 3.0f}, {4, 5.0f}, {8, 9.0f}});
    f32 out = 0.0f;
    track.Evaluate(-50.0f, out);
    EXPECT_EQ(out, 1.0f);
    track.Evaluate(1.5f, out);
    EXPECT_EQ(out, 1.0f);
    track.Evaluate(100.0f, out);
    EXPECT_EQ(out, 9.0f);
    track.Evaluate(std::nanf(""), out);
    EXPECT_EQ(out, 1.0f);
    // On the repeated time 4 the value is one of the two keys, never a NaN.
    track.Evaluate(4.0f, out);
    EXPECT_TRUE(out == 3.0f || out == 5.0f) << out;
    track.Evaluate(6.0f, out);
    EXPECT_FLOAT_EQ(out, 7.0f);
}

TEST(AGTrack, ForwardPlayVisitsEachKeyAndABackwardJumpRestarts) {
    AGTrack<f32> track = FloatTrack({{0, 0}, {3, 3}, {6, 6}, {9, 9}});
    std::vector<u16> visited;
    f32 out = 0.0f;
    for (int frame = 0; frame <= 9; ++frame) {
        track.Evaluate(f32(frame) + 0.5f * (frame < 9), out);
        EXPECT_FLOAT_EQ(out, f32(frame) + 0.5f * (frame < 9));
        if (visited.empty() || visited.back() != track.CurrentKey())
            visited.push_back(track.CurrentKey());
    }
    EXPECT_EQ(visited, (std::vector<u16>{0, 1, 2, 3}));
    track.Evaluate(1.0f, out);
    EXPECT_EQ(track.CurrentKey(), 0);
    EXPECT_FLOAT_EQ(out, 1.0f);
}

TEST(AGTrack, EmptyTrackLeavesTheOutputUnchanged) {
    AGTrack<AGVec3> vec;
    AGVec3 v{1, 2, 3};
    EXPECT_FALSE(vec.Evaluate(5.0f, v));
    EXPECT_EQ(v.y, 2.0f);
    AGTrack<AGQuat> quat;
    AGQuat q{0.1f, 0.2f, 0.3f, 0.4f};
    EXPECT_FALSE(quat.Evaluate(0.0f, q));
    EXPECT_EQ(q.w, 0.4f);
}

TEST(AGTrack, ColourChannelsBlendWithTruncation) {
    const u16 times[] = {0, 2};
    const AGColor values[] = {0x80000000u, 0x800000C8u};
    AGTrack<AGColor> track;
    track.SetKeys(times, values, 2);
    AGColor out = 0;
    track.Evaluate(1.0f, out);
    EXPECT_EQ(out, 0x80000064u);

    const AGColor ramp[] = {0xFF0000FFu, 0x00FF00FFu};
    track.SetKeys(times, ramp, 2);
    track.Evaluate(1.0f, out);
    // 255 -> 0 and 0 -> 255 at half way both truncate 127.5 to 127.
    EXPECT_EQ(out, 0x7F7F00FFu);
}

TEST(AGTrack, UVKeysStepOrLerpByInterpolation) {
    const u16 times[] = {0, 10};
    AGUVKey keys[2];
    keys[0].frame = 1;
    keys[0].offsetU = 0.0f;
    keys[1].frame = 2;
    keys[1].offsetU = 1.0f;
    AGTrack<AGUVKey> track;
    track.SetKeys(times, keys, 2);
    AGUVKey out;
    track.Evaluate(5.0f, out);
    EXPECT_EQ(out.frame, 1u);
    EXPECT_FLOAT_EQ(out.offsetU, 0.5f);
    track.SetInterpolation(AGInterpolation::Step);
    track.Evaluate(5.0f, out);
    EXPECT_EQ(out.frame, 1u);
    EXPECT_EQ(out.offsetU, 0.0f);
}

TEST(AGQuat, SlerpTakesTheShortArcAndIsLinearWhenClose) {
    const f32 h = std::sqrt(0.5f);
    // Identity toward a quarter turn about z, given negated: the short arc is the eighth turn.
    AGQuat q{0, 0, 0, 1};
    AGQuat::Slerp(q, AGQuat{0, 0, -h, -h}, 0.5f);
    EXPECT_NEAR(q.z, std::sin(0.3926991f), 1e-5f);
    EXPECT_NEAR(q.w, std::cos(0.3926991f), 1e-5f);

    // dot > 0.99: plain component blend, not renormalised.
    AGQuat a{0, 0, 0, 1};
    const AGQuat b{0.1f, 0, 0, 0.995f};
    AGQuat::Slerp(a, b, 0.5f);
    EXPECT_FLOAT_EQ(a.x, 0.05f);
    EXPECT_FLOAT_EQ(a.w, 0.9975f);

    // A quaternion toward its own negation stays where it is.
    AGQuat c{0, h, 0, h};
    AGQuat::Slerp(c, AGQuat{0, -h, 0, -h}, 0.7f);
    EXPECT_NEAR(c.y, h, 1e-6f);
    EXPECT_NEAR(c.w, h, 1e-6f);
}

TEST(AGModelAnimation, FrameCountAndRateZeroFromAFileBecomeSafe) {
    AGModelAnimation anim;
    LoadBytes(anim, authoring::ModelAnimationBytes(0.0f, 0.0f, Track::Vec3().Key(0, {1, 2, 3}),
                                                   Track::Quat(), Track::Vec3()));
    EXPECT_EQ(anim.m_position.KeyCount(), 1u);
    EXPECT_EQ(anim.m_frameCount, 1.0f);
    EXPECT_EQ(anim.m_frameRate, 30.0f);
}

TEST(AGModelAnimation, TruncatedFileLeavesItEmptyWithOneLogLine) {
    const std::string full = authoring::ModelAnimationBytes(
        20, 25, Track::Vec3().Key(0, {1, 2, 3}).Key(9, {}), Track::Quat(),
        Track::Vec3().Key(0, {1, 1, 1}));
    for (size_t n = 0; n < full.size(); ++n) {
        LogCapture log;
        AGModelAnimation anim;
        LoadBytes(anim, full.substr(0, n));
        EXPECT_TRUE(anim.m_position.Empty() && anim.m_scale.Empty()) << n;
        EXPECT_EQ(anim.m_frameCount, 0.0f);
        EXPECT_EQ(log.Lines().size(), 1u) << n;
    }
    AGModelAnimation anim;
    LoadBytes(anim, full);
    EXPECT_EQ(anim.m_scale.KeyCount(), 1u);
    EXPECT_EQ(anim.m_frameRate, 25.0f);
}

TEST(AGPrscAnimation, ColourValuesAreFourBytesSoTheUVTrackFollows) {
    AGPrscAnimation anim;
    const Track color = Track::Color().ColorKey(0, 0xFF102030u).ColorKey(6, 0x80FFFFFFu).ColorKey(11, 0);
    LoadBytes(anim, authoring::PrscAnimationBytes(12, 30, Track::Vec2().Key(0, {5, 6}),
                                                  Track::Float().Key(0, {90}), Track::Vec2(), color,
                                                  Track::UV().UVKey(0, 3, 2, 2, 0.25f, 0.5f, 0)));
    ASSERT_EQ(anim.m_color.KeyCount(), 3u);
    EXPECT_EQ(anim.m_color.Values()[1], 0x80FFFFFFu);
    ASSERT_EQ(anim.m_uv.KeyCount(), 1u);
    EXPECT_EQ(anim.m_uv.Values()[0].frame, 3u);
    EXPECT_EQ(anim.m_uv.Values()[0].offsetV, 0.5f);
    EXPECT_EQ(anim.m_frameCount, 12.0f);
}
