#pragma once
// Loads resources from an exactly sized heap copy of their bytes, so that a read past the
// end is a sanitizer report rather than a read of neighbouring test data.
#include <cstring>
#include <memory>
#include <string>

#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGTypes.h"

class ExactBytes {
public:
    explicit ExactBytes(const std::string& bytes)
        : m_size(bytes.size()), m_data(new u8[bytes.size() ? bytes.size() : 1]) {
        if (!bytes.empty())
            std::memcpy(m_data.get(), bytes.data(), bytes.size());
        m_buffer.SetWindow(m_data.get(), u32(m_size));
    }
    AGMemBuffer& Buffer() { return m_buffer; }

private:
    size_t m_size;
    std::unique_ptr<u8[]> m_data;
    AGMemBuffer m_buffer;
};

template <typename T>
void LoadBytes(T& resource, const std::string& bytes, bool inPlace = false) {
    ExactBytes exact(bytes);
    resource.Load(&exact.Buffer(), 0, inPlace, true);
}
