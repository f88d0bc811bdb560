#include "gameshow/CustomAttribute.h"

namespace GameShow {

void CustomAttributeDecorator::SerializeAttributes(GameServices::Utilities::ISerialization& serialization) {
    serialization.SerializeObject("CustomAttributesInt", IntAttributes, true);
    serialization.SerializeObject("CustomAttributesFloat", FloatAttributes, true);
    serialization.SerializeObject("CustomAttributesBool", BoolAttributes, true);
    serialization.SerializeObject("CustomAttributesString", StringAttributes, true);
}

void CustomAttributeDecorator::ClearAttributes() {
    IntAttributes.Clear();
    FloatAttributes.Clear();
    BoolAttributes.Clear();
    StringAttributes.Clear();
}

void CustomAttributeDecoratorManager::AddAttribute(const TString<char>& name) {
    m_Attributes.try_emplace(std::string(name.c_str(), name.Length()), 0);
}

bool CustomAttributeDecoratorManager::HasAttribute(const TString<char>& name) const {
    return m_Attributes.count(std::string(name.c_str(), name.Length())) != 0;
}

}  // namespace GameShow
