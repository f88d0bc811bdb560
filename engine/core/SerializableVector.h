#pragma once
// List and single-value records for the XML serializer.
#include <utility>
#include <vector>

#include "engine/core/ISerializable.h"

namespace GameServices::Utilities {

// A container of T records, one child element per item ("item" unless the owner sets another
// name). Reading clears the list and appends one T per item element.
template <typename T>
class SerializableVector : public ISerializable {
public:
    SerializableVector() : m_itemName("item") {}

    void Serialize(ISerialization& serialization) override {
        if (serialization.IsReading()) {
            T item{};
            item.Serialize(serialization);
            m_items.push_back(std::move(item));
            return;
        }
        for (T& item : m_items)
            serialization.SerializeObject(m_itemName.c_str(), item, true);
    }
    bool IsContainer() const override { return true; }
    void GetItemName(TString<char>& out) const override { out = m_itemName; }
    void Clear() override { m_items.clear(); }

    void SetItemName(const TString<char>& name) { m_itemName = name; }

    std::vector<T>& Items() { return m_items; }
    const std::vector<T>& Items() const { return m_items; }
    size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    T& operator[](size_t i) { return m_items[i]; }
    const T& operator[](size_t i) const { return m_items[i]; }
    void push_back(const T& item) { m_items.push_back(item); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
    TString<char> m_itemName;
};

// The typed field operation for a value type, so that templates can name a field generically.
inline void SerializeField(ISerialization& s, const char* name, bool& v, const bool& d) { s.SerializeBool(name, v, d); }
inline void SerializeField(ISerialization& s, const char* name, i32& v, const i32& d) { s.SerializeInt(name, v, d); }
inline void SerializeField(ISerialization& s, const char* name, u32& v, const u32& d) { s.SerializeUInt(name, v, d); }
inline void SerializeField(ISerialization& s, const char* name, f32& v, const f32& d) { s.SerializeFloat(name, v, d); }
inline void SerializeField(ISerialization& s, const char* name, double& v, const double& d) { s.SerializeDouble(name, v, d); }
inline void SerializeField(ISerialization& s, const char* name, AGVec2& v, const AGVec2& d) { s.SerializeVec2(name, v, d); }
inline void SerializeField(ISerialization& s, const char* name, AGVec3& v, const AGVec3& d) { s.SerializeVec3(name, v, d); }
inline void SerializeField(ISerialization& s, const char* name, TString<char>& v, const TString<char>& d) { s.SerializeString(name, v, d); }

// One value serialized as the field "value" (for lists of plain values).
template <typename T>
class SerializableValue : public ISerializable {
public:
    SerializableValue() = default;
    SerializableValue(const T& v) : value(v) {}

    void Serialize(ISerialization& serialization) override {
        SerializeField(serialization, "value", value, T{});
    }

    T value{};
};

}  // namespace GameServices::Utilities
