#pragma once
// Loads resources from an exactly sized heap copy of their bytes, so that a read past the
// end is a sanitizer report rather than a read of neighbouring test data; and the checks of
// bounded readers built on it: every cut of a file, and seeded random damage; and a check of
// the vectors the loaded resources compute.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/TrackWriter.h"

using authoring::Track;

class ExactBytes {
public:
    explicit ExactBytes(const std::string& bytes) : m_data(new u8[bytes.size() ? bytes.size() : 1]) {
        if (!bytes.empty())
            std::memcpy(m_data.get(), bytes.data(), bytes.size());
        m_buffer.SetWindow(m_data.get(), u32(bytes.size()));
    }
    AGMemBuffer& Buffer() { return m_buffer; }

private:
    std::unique_ptr<u8[]> m_data;
    AGMemBuffer m_buffer;
};

// Each component of v within the tolerance of expected's.
inline void ExpectNear(const AGVec3& v, const AGVec3& expected, const char* what = "", f32 tolerance = 1e-4f) {
    for (auto [got, want] : {std::pair{v.x, expected.x}, {v.y, expected.y}, {v.z, expected.z}})
        EXPECT_NEAR(got, want, tolerance) << what;
}

template <typename T>
void LoadBytes(T& resource, const std::string& bytes, bool inPlace = false, bool shared = true) {
    ExactBytes exact(bytes);
    resource.Load(&exact.Buffer(), 0, inPlace, shared);
}

// A resource loaded from bytes as it is made.
template <typename T>
struct Loaded : T {
    explicit Loaded(const std::string& bytes) { LoadBytes<T>(*this, bytes); }
};

// Every cut of the file, loaded into a resource that held the whole file before (as a pooled
// one does), leaves it empty, as empty(resource) says, with one log line.
template <typename T, typename Empty>
void ExpectEveryCutEmpty(const std::string& bytes, Empty empty) {
    for (size_t n = 0; n < bytes.size(); ++n) {
        Loaded<T> resource(bytes);
        LogCapture log;
        LoadBytes(resource, bytes.substr(0, n));
        EXPECT_TRUE(empty(resource)) << "cut at " << n;
        EXPECT_EQ(log.Lines().size(), 1u) << "cut at " << n;
    }
}

// 5,000 loads of the file with one to three random changes each, each load then used; some
// damage must be reported. Out-of-bounds accesses are the sanitizer build's to find. Returns
// the number of loads that wrote no log line.
template <typename T, typename Use>
int Damage(const std::string& original, u32 seed, Use use) {
    std::mt19937 rng(seed);
    LogCapture log;
    int quiet = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string bytes = original;
        DamageBytes(bytes, rng, 1 + int(rng() % 3));
        const size_t before = log.Lines().size();
        Loaded<T> resource(bytes);
        quiet += log.Lines().size() == before;
        use(resource);
    }
    EXPECT_GT(log.Lines().size(), 0u);
    return quiet;
}
