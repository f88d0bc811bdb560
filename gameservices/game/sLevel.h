#pragma once
// A level file ("root" > "Level") and its component levels, inline or in files of their own
// ("root" > "ComponentLevel").
#include "engine/core/SerializableVector.h"
#include "gameservices/game/LevelRecords.h"

namespace GameServices::KorvoGame {

template <typename T>
using RecordList = Utilities::SerializableVector<T>;

// The entity lists that a component level holds, inline or in its file.
class sComponentLevelContents {
public:
    sComponentLevelContents();

    // Packages, Cameras (mandatory), SetElements, Lights, Props, Characters.
    void SerializeContents(Utilities::ISerialization& serialization);

    RecordList<sPackage> Packages;
    RecordList<sCamera> Cameras;
    RecordList<sSetElement> SetElements;
    RecordList<sLight> Lights;
    RecordList<sProp> Props;
    RecordList<sCharacter> Characters;
};

// A component level; with a file name its contents come from that file and the inline
// children are not read.
class sComponentLevel : public Utilities::ISerializable, public sComponentLevelContents {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    TString<char> FileName;
    // Lower-cased: "loadinlevel", "loadin3dviewport" or "loadinlayer".
    TString<char> LoadingMode;
    u32 ZIndex = 0;
};

class sComponentLevelFile : public Utilities::ISerializable, public sComponentLevelContents {
public:
    void Serialize(Utilities::ISerialization& serialization) override;
};

class sLevel : public Utilities::ISerializable {
public:
    sLevel();
    void Serialize(Utilities::ISerialization& serialization) override;

    RecordList<sPackage> Packages;
    RecordList<sCamera> Cameras;
    RecordList<sSetElement> SetElements;
    RecordList<sLight> Lights;
    RecordList<sProp> Props;
    RecordList<sAudioAsset> AudioAssets;
    RecordList<sVideoAsset> VideoAssets;
    RecordList<sCharacter> Characters;
    RecordList<sComponentLevel> ComponentLevels;
    ClonePtr<ApplicationData> AppData;
};

}  // namespace GameServices::KorvoGame
