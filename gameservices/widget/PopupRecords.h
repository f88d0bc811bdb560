#pragma once
// The records of a popups file ("Root" > "Popups" > "Popup"): each popup's layout, name,
// title and text, priority, option buttons and message labels.
#include "engine/core/SerializableVector.h"
#include "gameservices/bridge/LocalizationTables.h"

namespace GameServices::Widget {

struct sLocalizedString : Utilities::ISerializable {
    void Serialize(Utilities::ISerialization& s) override {
        s.SetAttributeMode(true);
        s.SerializeString("StringId", m_StringId, TString<char>());
        s.SerializeString("Value", m_Value, TString<char>());
        s.SetAttributeMode(false);
    }
    TString<char> Localized() const { return Bridge::GetLocalizedTextOr(m_StringId, m_Value); }
    TString<char> m_StringId;
    TString<char> m_Value;
};

struct sPopupOptions : Utilities::ISerializable {
    void Serialize(Utilities::ISerialization& s) override {
        s.SetAttributeMode(true);
        s.SerializeString("Name", m_Name, TString<char>());
        s.SerializeString("Text", m_Text, TString<char>());
        s.SerializeString("StringId", m_StringId, TString<char>());
        s.SerializeBool("AutoClose", m_AutoClose, false);
        s.SetAttributeMode(false);
    }
    TString<char> m_Name;
    TString<char> m_Text;
    TString<char> m_StringId;
    bool m_AutoClose = false;
};

struct sPopupMessages : Utilities::ISerializable {
    void Serialize(Utilities::ISerialization& s) override {
        s.SetAttributeMode(true);
        s.SerializeString("Name", m_Name, TString<char>());
        s.SerializeString("Text", m_Text, TString<char>());
        s.SerializeString("StringId", m_StringId, TString<char>());
        s.SetAttributeMode(false);
    }
    TString<char> m_Name;
    TString<char> m_Text;
    TString<char> m_StringId;
};

struct sPopupInfo : Utilities::ISerializable {
    sPopupInfo() {
        m_Options.SetItemName("Option");
        m_Messages.SetItemName("Message");
    }
    void Serialize(Utilities::ISerialization& s) override {
        s.SerializeString("Layout", m_Layout, TString<char>());
        s.SerializeString("Name", m_Name, TString<char>());
        s.SerializeObject("Title", m_Title, true);
        s.SerializeObject("Text", m_Text, false);
        s.SerializeUInt("Priority", m_Priority, 0);
        s.SerializeObject("Options", m_Options, false);
        s.SerializeObject("Messages", m_Messages, false);
    }
    TString<char> m_Layout;
    TString<char> m_Name;
    sLocalizedString m_Title;
    sLocalizedString m_Text;
    u32 m_Priority = 0;
    Utilities::SerializableVector<sPopupOptions> m_Options;
    Utilities::SerializableVector<sPopupMessages> m_Messages;
};

struct sPopups : Utilities::ISerializable {
    sPopups() { m_Popups.SetItemName("Popup"); }
    void Serialize(Utilities::ISerialization& s) override { s.SerializeObject("Popups", m_Popups, true); }
    Utilities::SerializableVector<sPopupInfo> m_Popups;
};

}  // namespace GameServices::Widget
