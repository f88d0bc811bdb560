#include "gameservices/game/sLevel.h"

namespace GameServices::KorvoGame {

using Utilities::ISerialization;

sComponentLevelContents::sComponentLevelContents() {
    Packages.SetItemName("Package");
}

void sComponentLevelContents::SerializeContents(ISerialization& s) {
    s.SerializeObject("Packages", Packages, false);
    s.SerializeObject("Cameras", Cameras, true);
    s.SerializeObject("SetElements", SetElements, false);
    s.SerializeObject("Lights", Lights, false);
    s.SerializeObject("Props", Props, false);
    s.SerializeObject("Characters", Characters, false);
}

void sComponentLevel::Serialize(ISerialization& s) {
    s.SetAttributeMode(true);
    s.SerializeString("filename", FileName, TString<char>());
    s.SerializeString("name", Name, TString<char>());
    s.SerializeString("loadingMode", LoadingMode, TString<char>());
    s.SerializeUInt("zIndex", ZIndex, 0);
    s.SetAttributeMode(false);
    if (s.IsReading())
        LoadingMode.ToLower();
    if (FileName.IsEmpty())
        SerializeContents(s);
}

void sComponentLevelFile::Serialize(ISerialization& s) {
    SerializeContents(s);
}

sLevel::sLevel() {
    Packages.SetItemName("Package");
    ComponentLevels.SetItemName("ComponentLevel");
}

void sLevel::Serialize(ISerialization& s) {
    s.SerializeObject("Packages", Packages, false);
    s.SerializeObject("SetElements", SetElements, false);
    s.SerializeObject("Cameras", Cameras, false);
    s.SerializeObject("Lights", Lights, false);
    s.SerializeObject("Props", Props, false);
    s.SerializeObject("Characters", Characters, false);
    s.SerializeObject("ComponentLevels", ComponentLevels, false);
    s.SerializeObject("AudioAssets", AudioAssets, false);
    s.SerializeObject("VideoAssets", VideoAssets, false);
    SerializeApplicationData(s, ApplicationData::kLevel, AppData);
}

}  // namespace GameServices::KorvoGame
