#pragma once
// Named values of four types kept with a profile or the settings ("item" lists of
// {Name, Value}), and the registry of the attribute names the game declares.
#include <map>
#include <string>
#include <type_traits>

#include "engine/core/ISerializable.h"
#include "engine/core/SerializableVector.h"
#include "engine/core/TString.h"

namespace GameShow {

template <typename T>
class CustomAttribute : public GameServices::Utilities::ISerializable {
public:
    CustomAttribute() = default;
    CustomAttribute(const TString<char>& name, const T& value) : Name(name), Value(value) {}

    void Serialize(GameServices::Utilities::ISerialization& serialization) override {
        serialization.SerializeString("Name", Name, TString<char>());
        GameServices::Utilities::SerializeField(serialization, "Value", Value, T{});
    }

    // Compared exactly (case-sensitive).
    TString<char> Name;
    T Value{};
};

template <typename T>
using AttributeList = GameServices::Utilities::SerializableVector<CustomAttribute<T>>;

// The value of the first attribute of that name; false, with value untouched, when none has
// it (so the caller's initial value is the default).
template <typename T>
bool GetAttributeValue(const TString<char>& name, const AttributeList<T>& list, T& value) {
    for (const CustomAttribute<T>& attribute : list) {
        if (attribute.Name == name) {
            value = attribute.Value;
            return true;
        }
    }
    return false;
}

// Sets the first attribute of that name, or appends {name, value}: the list keeps the order
// in which names were first set.
template <typename T>
void SetAttributeValue(AttributeList<T>& list, const TString<char>& name, const T& value) {
    for (CustomAttribute<T>& attribute : list) {
        if (attribute.Name == name) {
            attribute.Value = value;
            return;
        }
    }
    list.push_back(CustomAttribute<T>(name, value));
}

// Flags are only ever set: the first flag of that name becomes true, or {name, true} is
// appended.
inline void SetAttributeValue(AttributeList<bool>& list, const TString<char>& name) {
    SetAttributeValue(list, name, true);
}

// The four attribute lists of a record: integer, float, boolean, string.
class CustomAttributeDecorator {
public:
    // "CustomAttributesInt", "CustomAttributesFloat", "CustomAttributesBool" and
    // "CustomAttributesString", each mandatory.
    void SerializeAttributes(GameServices::Utilities::ISerialization& serialization);
    void ClearAttributes();

    template <typename T>
    bool GetAttribute(const TString<char>& name, T& value) const {
        return GetAttributeValue(name, List<T>(), value);
    }
    template <typename T>
    void SetAttribute(const TString<char>& name, const T& value) {
        SetAttributeValue(List<T>(), name, value);
    }

    // The list of one type: int, float, bool or TString<char>.
    template <typename T>
    AttributeList<T>& List() {
        if constexpr (std::is_same_v<T, int>)
            return IntAttributes;
        else if constexpr (std::is_same_v<T, float>)
            return FloatAttributes;
        else if constexpr (std::is_same_v<T, bool>)
            return BoolAttributes;
        else {
            static_assert(std::is_same_v<T, TString<char>>, "attributes are int, float, bool or string");
            return StringAttributes;
        }
    }
    template <typename T>
    const AttributeList<T>& List() const {
        return const_cast<CustomAttributeDecorator*>(this)->List<T>();
    }

    AttributeList<int> IntAttributes;
    AttributeList<float> FloatAttributes;
    AttributeList<bool> BoolAttributes;
    AttributeList<TString<char>> StringAttributes;
};

// The declared attribute names, ordered by text.
class CustomAttributeDecoratorManager {
public:
    // Declaring a name twice keeps one entry.
    void AddAttribute(const TString<char>& name);
    // Exact, case-sensitive test of the whole name.
    bool HasAttribute(const TString<char>& name) const;
    const std::map<std::string, int>& GetAttributes() const { return m_Attributes; }

private:
    std::map<std::string, int> m_Attributes;
};

}  // namespace GameShow
