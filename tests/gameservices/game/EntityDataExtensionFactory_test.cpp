#include "gameservices/game/EntityDataExtensionFactory.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/core/XmlReader.h"
#include "tests/gameservices/game/TestExtension.h"

using namespace GameServices::KorvoGame;
using GameServices::Utilities::ISerialization;
using GameServices::Utilities::XmlReader;

namespace {

// A set-element record that reads its extension through the factory.
struct ElementRecord : GameServices::Utilities::ISerializable {
    void Serialize(ISerialization& s) override {
        extension.reset(EntityDataExtensionFactory::Instance()->Create(s));
    }
    std::unique_ptr<sEntityDataExtension> extension;
};

}  // namespace

TEST(EntityDataExtensionFactoryTest, FirstPresentPrototypeGivesAFreshCopy) {
    TestExtension spawner("EntitySpawner");
    EntityDataExtensionFactory* factory = EntityDataExtensionFactory::Instance();
    factory->Register(&spawner);

    XmlReader reader;
    ElementRecord first;
    ASSERT_EQ(reader.ReadText("<root><EntitySpawner><Values><item><value>1</value></item><item>"
                              "<value>2</value></item></Values></EntitySpawner></root>",
                              "root", first),
              XmlReader::ReadOk);
    auto* made = dynamic_cast<TestExtension*>(first.extension.get());
    ASSERT_NE(made, nullptr);
    EXPECT_NE(made, &spawner);
    ASSERT_EQ(made->m_Values.size(), 2u);
    EXPECT_EQ(made->m_Values[1].value, 2);

    // The next spawner record has no list: it must not inherit the previous one.
    ElementRecord second;
    ASSERT_EQ(reader.ReadText("<root><EntitySpawner/></root>", "root", second), XmlReader::ReadOk);
    made = dynamic_cast<TestExtension*>(second.extension.get());
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->m_Values.empty());
    EXPECT_FALSE(made->IsValid());
    factory->Unregister(&spawner);
}
