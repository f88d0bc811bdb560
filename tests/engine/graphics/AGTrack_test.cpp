#include "engine/graphics/AGTrack.h"

#include <cmath>

#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tools/authoring/ByteWriter.h"

namespace {

// Reads one record followed by a marker word; the marker proves where the record ended.
template <typename T>
void ExpectRecordLength(const Track& track, size_t expected) {
    ASSERT_EQ(track.RecordSize(), expected);
    ExactBytes bytes(track.Bytes() + ByteWriter().U32(0xA5A5A5A5u).Str());
    AGTrack<T> read;
    // Package bytes may go right after a load: even an in-place read copies.
    ASSERT_TRUE(read.Read(bytes.Buffer(), /*inPlace=*/true));
    EXPECT_TRUE(bytes.Buffer().ReadU32() == 0xA5A5A5A5u && read.KeyCount() == track.KeyCount());
    EXPECT_FALSE(read.Times().Borrowed() || read.Values().Borrowed());
}

template <typename T>
AGTrack<T> Keys(std::initializer_list<std::pair<u16, T>> keys) {
    std::vector<u16> times;
    std::vector<T> values;
    for (auto [t, v] : keys) {
        times.push_back(t);
        values.push_back(v);
    }
    AGTrack<T> track;
    track.SetKeys(times.data(), values.data(), u32(times.size()));
    return track;
}

}  // namespace

TEST(AGTrack, RecordsConsumeExactlyTheirBytesAndCutOrOversizedOnesLeaveItEmpty) {
    ExpectRecordLength<f32>(Track::Float(), 8);
    ExpectRecordLength<f32>(Track::Float().Key(0, {1}).Key(5, {2}).Key(9, {3}), 8 + 6 + 2 + 12);
    ExpectRecordLength<AGVec3>(Track::Vec3().Key(0, {1, 2, 3}).Key(1, {}).Key(2, {}).Key(3, {}), 8 + 8 + 48);
    ExpectRecordLength<AGUVKey>(Track::UV().UVKey(4, 2, 1, 1, 0.5f, 0, 0), 8 + 2 + 2 + 24);

    const std::string full = Track::Vec2().Key(0, {1, 2}).Key(3, {4, 5}).Bytes();
    for (size_t n = 0; n < full.size(); ++n) {
        ExactBytes bytes(full.substr(0, n));
        AGTrack<AGVec2> track;
        EXPECT_FALSE(track.Read(bytes.Buffer())) << n;
        EXPECT_TRUE(track.Empty() && bytes.Buffer().Failed()) << n;
    }
    ExactBytes huge(ByteWriter().U32(AGInterpolation::Lerp).U32(0xFFFFFFF0u).Zeros(64).Str());
    AGTrack<AGVec2> track;
    EXPECT_TRUE(!track.Read(huge.Buffer()) && track.Empty());
}

TEST(AGTrack, EvaluationBlendsBetweenKeysClampsOutsideAndNeverDividesByZero) {
    AGTrack<f32> track = Keys<f32>({{0, 100.0f}, {10, 200.0f}});
    f32 out = -1.0f;
    ASSERT_TRUE(track.Evaluate(2.5f, out));
    EXPECT_EQ(std::make_pair(track.Blend(), out), std::make_pair(0.25f, 125.0f));

    // Outside the keys (and for NaN) the end values; back from the last key, or from a later
    // span, the cached key search starts over; on repeated times one of the two keys.
    track = Keys<f32>({{2, 1.0f}, {4, 3.0f}, {4, 5.0f}, {8, 9.0f}});
    for (auto [time, expected] : {std::pair{-50.0f, 1.0f}, {1.5f, 1.0f}, {std::nanf(""), 1.0f}, {100.0f, 9.0f},
                                  {6.0f, 7.0f}, {3.0f, 2.0f}}) {
        track.Evaluate(time, out);
        EXPECT_FLOAT_EQ(out, expected) << time;
    }
    track.Evaluate(4.0f, out);
    EXPECT_TRUE(out == 3.0f || out == 5.0f) << out;
    // Frames truncate toward zero: just before a last key at or below 0 is on it, none after.
    track = Keys<f32>({{u16(-10), 0.0f}, {u16(-2), 8.0f}});
    EXPECT_TRUE(track.Evaluate(-2.5f, out) && out == 8.0f && track.NextKey() == 0u) << out;

    // Keys without times or values make an empty track; more than a record can hold are refused.
    const std::vector<u16> times(0x10000);
    const std::vector<f32> values(0x10000);
    EXPECT_TRUE(track.SetKeys(times.data(), nullptr, 2) && track.Empty());
    EXPECT_TRUE(track.SetKeys(nullptr, values.data(), 2) && track.Empty());
    EXPECT_TRUE(!track.SetKeys(times.data(), values.data(), 0x10000) && track.Empty());
    // An empty track leaves the output unchanged; its current key is the first.
    AGTrack<AGQuat> empty;
    AGQuat q{0.1f, 0.2f, 0.3f, 0.4f};
    EXPECT_TRUE(!empty.Evaluate(0.0f, q) && q.w == 0.4f && empty.CurrentKey() == 0);
}

// The arrays under tracks destroy each owned entry once, on a resize as on a release.
TEST(AGOwnedBuffer, ReleaseDestroysEachOwnedEntryOnce) {
    static int alive = 0;
    struct Counted { Counted() { ++alive; } Counted(const Counted&) { ++alive; } ~Counted() { --alive; } };
    AGOwnedBuffer<Counted> entries;
    EXPECT_TRUE(entries.Resize(3) && entries.Resize(2) && alive == 2);
    EXPECT_TRUE(entries.Resize(0) && alive == 0);  // a release
    entries.Resize(3);
    AGOwnedBuffer<Counted> taken(std::move(entries));  // a move leaves nothing behind
    EXPECT_EQ(std::tuple(entries.Count(), taken.Count(), alive), std::tuple(0u, 3u, 3));
}

TEST(AGQuat, SlerpTakesTheShortArcAndIsLinearWhenClose) {
    const f32 h = std::sqrt(0.5f);
    // Identity toward a quarter turn about z, given negated: the short arc is the eighth turn.
    // dot > 0.99: plain component blend, not renormalised. Toward its own negation: it stays.
    const std::tuple<AGQuat, AGQuat, f32, AGQuat> cases[] = {
        {{0, 0, 0, 1}, {0, 0, -h, -h}, 0.5f, {0, 0, std::sin(0.3926991f), std::cos(0.3926991f)}},
        {{0, 0, 0, 1}, {0.1f, 0, 0, 0.995f}, 0.5f, {0.05f, 0, 0, 0.9975f}},
        {{0, h, 0, h}, {0, -h, 0, -h}, 0.7f, {0, h, 0, h}}};
    for (auto [q, toward, t, want] : cases) {
        AGQuat::Slerp(q, toward, t);
        for (auto [got, expected] : {std::pair{q.x, want.x}, {q.y, want.y}, {q.z, want.z}, {q.w, want.w}})
            EXPECT_NEAR(got, expected, 1e-5f) << t;
    }
}

TEST(AGPrscAnimation, ColourValuesAreFourBytesBlendedPerChannelAndTruncated) {
    const Track color = Track::Color().ColorKey(0, 0xFF102030u).ColorKey(6, 0x80FFFFFFu).ColorKey(11, 0);
    const std::string bytes = authoring::PrscAnimationBytes(
        12, 30, Track::Vec2().Key(0, {5, 6}), Track::Float().Key(0, {90}), Track::Vec2(), color,
        Track::UV().UVKey(0, 3, 2, 2, 0.25f, 0.5f, 0));
    Loaded<AGPrscAnimation> anim(bytes);
    ExpectEveryCutEmpty<AGPrscAnimation>(bytes, [](const AGPrscAnimation& a) {
        return a.m_position.Empty() && a.m_rotation.Empty() && a.m_scale.Empty() && a.m_color.Empty() &&
               a.m_uv.Empty() && a.m_frameCount == 0.0f && a.m_frameRate == 0.0f;
    });
    // Halfway, each channel truncated: 191.5, 135.5, 143.5, 151.5 and 64, 127.5 (down).
    for (auto [time, expected] : {std::pair{3.0f, 0xBF878F97u}, {8.5f, 0x407F7F7Fu}, {6.0f, 0x80FFFFFFu}}) {
        AGColor c = 0;
        ASSERT_TRUE(anim.m_color.Evaluate(time, c));
        EXPECT_EQ(c, expected) << time;
    }

    // UV keys: lerp blends the five floats and keeps the current key's frame; step takes the key.
    AGTrack<AGUVKey> uv = Keys<AGUVKey>({{0, AGUVKey{1, 1, 2, 0, 0.5f, 0}}, {10, AGUVKey{3, 3, 4, 1, 1.5f, 2}}});
    AGUVKey k;
    ASSERT_TRUE(uv.EvaluateLerp(5.0f, k));
    EXPECT_EQ((std::vector<f32>{k.scaleU, k.scaleV, k.offsetU, k.offsetV, k.rotation}),
              (std::vector<f32>{2, 3, 0.5f, 1, 1}));
    EXPECT_EQ(k.frame, 1u);
    uv.EvaluateStep(5.0f, k);
    EXPECT_EQ(k.scaleV, 2.0f);
    EXPECT_TRUE(anim.m_uv.KeyCount() == 1u && anim.m_uv.Values()[0].frame == 3u &&
                anim.m_uv.Values()[0].offsetV == 0.5f);
}

TEST(AGAnimated, CopyOwnsItsOwnControllerAndKeepsAForeignOne) {
    AGAnimated source;
    source.EnsureController();
    source.SetController(nullptr);
    source.GetOwnedController()->SetFrameRate(12.0f);
    AGAnimated copy(source);
    EXPECT_NE(copy.GetOwnedController(), source.GetOwnedController());
    EXPECT_EQ(copy.GetOwnedController()->GetFrameRate(), 12.0f);  // a copy of its state
    EXPECT_EQ(copy.GetController(), copy.GetOwnedController());

    AGController shared;
    source.SetController(&shared);
    AGAnimated second(source);
    EXPECT_EQ(second.GetController(), &shared);
}

TEST(AGAnimated, BoundTimingFromFilesNeverStallsOrSpinsAController) {
    AGController c;
    AGBindAnimation(c, 31.0f, 30.0f, 1.0f);
    EXPECT_FLOAT_EQ(c.GetEndTime(), 31.0f * 1000.0f / 30.0f);
    c.SetMode(AGController::kLoop);
    c.UpdateBy(1000.0f);
    EXPECT_LT(c.GetTime(), c.GetEndTime());

    // Frame count 0 and rate 0: one frame at 30 per second; the loop stands still.
    AGController z;
    AGBindAnimation(z, 0.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(z.GetFrameRate(), 30.0f);
    EXPECT_GT(z.GetEndTime(), z.GetStartTime());
    z.UpdateBy(50.0f);
    EXPECT_TRUE(std::isfinite(z.GetTime()));
    EXPECT_EQ(std::make_pair(AGSafeFrameCount(std::nanf("")), AGSafeFrameRate(-5.0f)), std::pair(1.0f, 30.0f));
}
