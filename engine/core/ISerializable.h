#pragma once
// The symmetric serialization interface of every XML record. A record names each of its
// fields once in Serialize; an XmlReader fills them (a field absent from the document takes
// the default passed with it), an XmlWriter prints them.
#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "engine/core/TString.h"

namespace GameServices::Utilities {

class ISerialization;

class ISerializable {
public:
    virtual void Serialize(ISerialization& serialization) = 0;
    // A container reads one item per Serialize call (see SerializableVector).
    virtual bool IsContainer() const { return false; }
    virtual void GetItemName(TString<char>& out) const { out = "item"; }
    virtual void Clear() {}
    virtual ~ISerializable() = default;
};

class ISerialization {
public:
    // False after SerializeObject found no element of its name.
    virtual bool WasFound() const = 0;
    // Reading: every child element of the current element, starting at the first one of the
    // container's item name (any name when it is empty), is handed to the container's
    // Serialize in turn. Writing: one child element of the item name holds the container
    // (without an item name the container writes into the current element).
    virtual void SerializeItem(ISerializable& container) = 0;
    virtual void SerializeVec4(const char* name, f32 (&value)[4], const f32 (&defaultValue)[4]) = 0;
    virtual void SerializeVec3(const char* name, AGVec3& value, const AGVec3& defaultValue) = 0;
    virtual void SerializeVec2(const char* name, AGVec2& value, const AGVec2& defaultValue) = 0;
    virtual void SerializeBool(const char* name, bool& value, bool defaultValue) = 0;
    virtual void SerializeInt(const char* name, i32& value, i32 defaultValue) = 0;
    // Always an element, also in attribute mode.
    virtual void SerializeDouble(const char* name, double& value, double defaultValue) = 0;
    virtual void SerializeUInt(const char* name, u32& value, u32 defaultValue) = 0;
    virtual void SerializeLong(const char* name, i32& value, i32 defaultValue) = 0;
    virtual void SerializeFloat(const char* name, f32& value, f32 defaultValue) = 0;
    // A child element named name holding the object's own fields. A container is cleared and
    // refilled from the element's items. A missing mandatory object is reported; a missing
    // object is left as it was.
    virtual void SerializeObject(const char* name, ISerializable& object, bool mandatory) = 0;
    // An empty name stands for the current element's own text.
    virtual void SerializeString(const char* name, TString<char>& value,
                                 const TString<char>& defaultValue) = 0;
    virtual bool IsReading() const = 0;
    // The current element's tag; empty when there is none.
    virtual void GetElementName(TString<char>& out) const = 0;
    // While on, numbers and vectors are attributes of the current element (and strings and
    // booleans too when reading).
    virtual void SetAttributeMode(bool on) = 0;
    virtual ~ISerialization() = default;
};

}  // namespace GameServices::Utilities
