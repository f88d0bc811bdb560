#pragma once
// A resource class for package tests: records how it was loaded.
#include <string>

#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"

// Registered under the "text" type word in place of its pending class.
class ProbeResource : public AGResource {
public:
    static inline int s_alive = 0;
    ProbeResource() { ++s_alive; }
    ProbeResource(const ProbeResource& other)
        : AGResource(other), bytes(other.bytes), inPlace(other.inPlace), shared(other.shared) {
        ++s_alive;
    }
    ~ProbeResource() override { --s_alive; }
    u32 GetTypeKey() const override { return TypeKey::Text; }
    void Load(AGMemBuffer* buffer, u32, bool inPlace_, bool shared_) override {
        if (buffer && buffer->Base())
            bytes.assign(reinterpret_cast<const char*>(buffer->Cursor()), buffer->Remaining());
        inPlace = inPlace_;
        shared = shared_;
    }
    std::string bytes;
    bool inPlace = false;
    bool shared = false;
};
