#include "engine/core/XmlWriter.h"

#include <tinyxml.h>

#include <cstring>

#include "engine/core/AGLog.h"
#include "engine/core/NumberText.h"

namespace GameServices::Utilities {

XmlWriter::~XmlWriter() {
    delete m_document;
}

bool XmlWriter::WriteText(ISerializable& record, char* output, u32& size) {
    delete m_document;
    m_document = new TiXmlDocument();
    TiXmlElement* root = new TiXmlElement("root");
    m_document->LinkEndChild(root);
    m_current = root;
    m_attributeMode = 0;
    record.Serialize(*this);
    m_current = nullptr;

    TiXmlPrinter printer;
    printer.SetIndent("");
    printer.SetLineBreak("");
    m_document->Accept(&printer);
    const size_t length = strlen(printer.CStr());
    if (length > size || !output) {
        AGReport("The result of the serialization is greater than allowed size");
        return false;
    }
    memcpy(output, printer.CStr(), length);
    size = u32(length);
    return true;
}

void XmlWriter::AddElement(const char* name, const char* text) {
    if (!m_current || !name || !*name)
        return;
    TiXmlElement* element = new TiXmlElement(name);
    element->LinkEndChild(new TiXmlText(text));
    m_current->LinkEndChild(element);
}

void XmlWriter::AddField(const char* name, const TString<char>& text) {
    if (m_attributeMode) {
        if (m_current && name && *name)
            m_current->SetAttribute(name, text.c_str());
        return;
    }
    AddElement(name, text.c_str());
}

void XmlWriter::AddVector(const char* name, const f32* value, u32 count) {
    TString<char> text;
    for (u32 i = 0; i < count; ++i) {
        if (i > 0)
            text += ",";
        text += FormatFixed(value[i]);
    }
    AddField(name, text);
}

void XmlWriter::SerializeItem(ISerializable& container) {
    TString<char> itemName;
    container.GetItemName(itemName);
    // Without an item name the items are children of the current element, as they are read.
    if (itemName.IsEmpty())
        container.Serialize(*this);
    else
        SerializeObject(itemName.c_str(), container, true);
}

void XmlWriter::SerializeVec4(const char* name, f32 (&value)[4], const f32 (&)[4]) {
    AddVector(name, value, 4);
}

void XmlWriter::SerializeVec3(const char* name, AGVec3& value, const AGVec3&) {
    const f32 v[3] = {value.x, value.y, value.z};
    AddVector(name, v, 3);
}

void XmlWriter::SerializeVec2(const char* name, AGVec2& value, const AGVec2&) {
    const f32 v[2] = {value.x, value.y};
    AddVector(name, v, 2);
}

void XmlWriter::SerializeBool(const char* name, bool& value, bool) {
    AddField(name, TString<char>(value ? "true" : "false"));
}

void XmlWriter::SerializeInt(const char* name, i32& value, i32) {
    AddField(name, FormatInt(value));
}

void XmlWriter::SerializeDouble(const char* name, double& value, double) {
    // Always an element: the reader takes doubles from elements only.
    AddElement(name, FormatFixed(value).c_str());
}

void XmlWriter::SerializeUInt(const char* name, u32& value, u32) {
    AddField(name, FormatUInt(value));
}

void XmlWriter::SerializeLong(const char* name, i32& value, i32) {
    AddField(name, FormatInt(value));
}

void XmlWriter::SerializeFloat(const char* name, f32& value, f32) {
    AddField(name, FormatFixed(value));
}

void XmlWriter::SerializeObject(const char* name, ISerializable& object, bool) {
    if (!m_current || !name || !*name)
        return;
    TiXmlElement* element = new TiXmlElement(name);
    m_current->LinkEndChild(element);
    TiXmlElement* previous = m_current;
    m_current = element;
    object.Serialize(*this);
    m_current = previous;
}

void XmlWriter::SerializeString(const char* name, TString<char>& value, const TString<char>&) {
    if (!name || !*name) {
        if (m_current)
            m_current->LinkEndChild(new TiXmlText(value.c_str()));
        return;
    }
    AddField(name, value);
}

void XmlWriter::GetElementName(TString<char>& out) const {
    out = m_current ? m_current->Value() : "";
}

}  // namespace GameServices::Utilities
