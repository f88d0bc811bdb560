#pragma once
// Records shared by the serializer tests.
#include "engine/core/ISerializable.h"
#include "engine/core/SerializableVector.h"

namespace xmltest {

using GameServices::Utilities::ISerializable;
using GameServices::Utilities::ISerialization;
using GameServices::Utilities::SerializableVector;

struct Inner : ISerializable {
    i32 number = 0;
    TString<char> label;
    void Serialize(ISerialization& s) override {
        s.SerializeInt("Number", number, -1);
        s.SerializeString("Label", label, TString<char>("none"));
    }
};

// One field of every kind, with defaults that differ from the zero values.
struct AllKinds : ISerializable {
    f32 colour[4] = {};
    AGVec3 position;
    AGVec2 size;
    bool flag = false;
    i32 count = 0;
    double ratio = 0.0;
    u32 mask = 0;
    i32 along = 0;
    f32 speed = 0.0f;
    TString<char> name;
    Inner inner;
    SerializableVector<Inner> list;

    // Typed fields as attributes of the record's element (objects stay elements).
    bool attributes = false;

    static constexpr f32 kColour[4] = {0.1f, 0.2f, 0.3f, 0.4f};

    void Serialize(ISerialization& s) override {
        s.SetAttributeMode(attributes);
        s.SerializeVec4("Colour", colour, kColour);
        s.SerializeVec3("Position", position, AGVec3{1.0f, 2.0f, 3.0f});
        s.SerializeVec2("Size", size, AGVec2{4.0f, 5.0f});
        s.SerializeBool("Flag", flag, true);
        s.SerializeInt("Count", count, 7);
        s.SerializeDouble("Ratio", ratio, 0.25);
        s.SerializeUInt("Mask", mask, 9);
        s.SerializeLong("Along", along, 11);
        s.SerializeFloat("Speed", speed, 2.5f);
        s.SerializeString("Name", name, TString<char>("nobody"));
        s.SetAttributeMode(false);
        s.SerializeObject("Inner", inner, false);
        s.SerializeObject("List", list, false);
    }
};

}  // namespace xmltest
