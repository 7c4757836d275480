#include <gtest/gtest.h>

#include <cstring>

#include "fakes/fake_platform.h"
#include "settings/settings_store.h"

namespace qmx::testing {
namespace {

using platform::RegistryRoot;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
const std::string kKey = "Software\\Korwen's Software\\Velto Volume Controller\\4.0";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { fake.registry.createKey(kUser, kKey); }
    fakes::FakeRegistry::Value* value(const std::string& name) {
        auto* key = fake.registry.find(kUser, kKey);
        auto it = key->find(name);
        return it == key->end() ? nullptr : &it->second;
    }
    void setRaw(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data) {
        fake.registry.keys[{kUser, kKey}][name] = {type, std::move(data)};
    }

    fakes::FakePlatform fake;
    settings::SettingsStore store{fake.registry, fake.messageBoxes};
};

TEST_F(SettingsStoreTest, FlagsRoundTripAsFourByteDwords) {
    store.setOnTopOn();
    store.setShadowOn();
    EXPECT_EQ(store.GetOnTopStat(), 1);
    EXPECT_EQ(store.GetShadowStat(), 1);
    ASSERT_NE(value("ontopstat"), nullptr);
    EXPECT_EQ(value("ontopstat")->type, platform::kRegDword);
    EXPECT_EQ(value("ontopstat")->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    store.setOnTopOff();
    store.setShadowOff();
    EXPECT_EQ(store.GetOnTopStat(), 0);
    EXPECT_EQ(store.GetShadowStat(), 0);
    EXPECT_EQ(value("shadow")->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(fake.registry.openKeys, 0);
}

TEST_F(SettingsStoreTest, SkinIsWrittenWithoutATerminatingNul) {
    store.setSkinClassic();
    EXPECT_EQ(value("skin")->type, platform::kRegSz);
    EXPECT_EQ(value("skin")->data.size(), 7u);
    EXPECT_EQ(store.GetSkin(), "classic");
    store.setSkinVista();
    EXPECT_EQ(value("skin")->data.size(), 5u);
    EXPECT_EQ(store.GetSkin(), "vista");
    EXPECT_EQ(store.skinName(), "vista");
}

TEST_F(SettingsStoreTest, MissingValuesReadAsDefaults) {
    EXPECT_EQ(store.GetOnTopStat(), 0);
    EXPECT_EQ(store.GetShadowStat(), 0);
    EXPECT_EQ(store.GetSkin(), "");
    EXPECT_FALSE(settings::isVistaSkin(store.GetSkin()));
}

// A user other than the one who installed has no settings key yet: the first choice creates it.
TEST_F(SettingsStoreTest, WithoutTheKeyReadsGiveDefaultsAndTheFirstWriteCreatesIt) {
    fake.registry.keys.clear();
    EXPECT_EQ(store.GetSkin(), "");
    EXPECT_EQ(store.GetOnTopStat(), 0);
    store.setSkinVista();
    store.setOnTopOn();
    store.setShadowOn();
    EXPECT_EQ(store.GetSkin(), "vista");
    EXPECT_EQ(store.GetOnTopStat(), 1);
    EXPECT_EQ(store.GetShadowStat(), 1);
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

TEST_F(SettingsStoreTest, WhereTheKeyCannotBeCreatedNothingIsStoredAndNothingIsShown) {
    fake.registry.keys.clear();
    fake.registry.readOnlyRoots.insert(platform::RegistryRoot::CurrentUser);
    store.setOnTopOn();
    store.setSkinVista();
    EXPECT_TRUE(fake.registry.keys.empty());
    EXPECT_EQ(store.GetOnTopStat(), 0);
    EXPECT_EQ(store.GetSkin(), "");
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

TEST_F(SettingsStoreTest, OddStoredDataReadsTheDocumentedWay) {
    setRaw("skin", platform::kRegSz, {'V', 'i', 's', 't', 'a'});
    EXPECT_FALSE(settings::isVistaSkin(store.GetSkin()));

    setRaw("skin", platform::kRegSz, {'v', 'i', 's', 't', 'a', 0});
    EXPECT_EQ(store.GetSkin(), std::string("vista") + '\0');
    EXPECT_TRUE(settings::isVistaSkin(store.GetSkin()));

    setRaw("skin", platform::kRegSz, {'v', 'i', 's', 't', 'a', 'X', 'P'});
    EXPECT_TRUE(settings::isVistaSkin(store.GetSkin()));

    setRaw("skin", platform::kRegSz, std::vector<std::uint8_t>(300, 'v'));
    EXPECT_EQ(store.GetSkin(), "");

    setRaw("skin", platform::kRegSz, std::vector<std::uint8_t>(255, 'a'));
    EXPECT_EQ(store.GetSkin(), std::string(255, 'a'));

    setRaw("ontopstat", platform::kRegDword, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(store.GetOnTopStat(), 0);

    setRaw("shadow", platform::kRegSz, {'1', 0, 0, 0});  // the stored type is not checked
    EXPECT_EQ(store.GetShadowStat(), 0x31);

    setRaw("ontopstat", platform::kRegDword, {7, 0, 0, 0});
    EXPECT_EQ(store.GetOnTopStat(), 7);
}

}  // namespace
}  // namespace qmx::testing
