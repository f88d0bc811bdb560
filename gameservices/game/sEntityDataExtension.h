#pragma once
// Base of the records that a set-element record of a level file may carry to become an
// entity of another kind. The record is read from a child element named by its kind name.
#include "engine/core/ISerializable.h"
#include "engine/core/TString.h"

namespace GameServices::Entities {
class Entity;
class Set;
}  // namespace GameServices::Entities

namespace GameServices::KorvoGame {

class sLevel;

class sEntityDataExtension : public Utilities::ISerializable {
public:
    sEntityDataExtension() = default;
    explicit sEntityDataExtension(const TString<char>& kindName) : m_KindName(kindName) {}
    sEntityDataExtension(const sEntityDataExtension&) = default;
    sEntityDataExtension& operator=(const sEntityDataExtension&) = default;
    ~sEntityDataExtension() override = default;

    // A new copy of this record.
    virtual sEntityDataExtension* Clone() const = 0;
    virtual bool IsValid() const = 0;
    // Builds the entity of the record's kind into the set being filled.
    virtual Entities::Entity* CreateEntity(const sLevel& level, Entities::Set& set) = 0;
    // A new record copying source.
    virtual sEntityDataExtension* CreateCopy(const sEntityDataExtension& source) const = 0;

    TString<char> GetKind() const { return m_KindName; }

protected:
    TString<char> m_KindName;
};

}  // namespace GameServices::KorvoGame
