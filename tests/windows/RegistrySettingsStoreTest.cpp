// The settings store on the real registry, under a key of each test's own
// below HKEY_CURRENT_USER\Software, removed again afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "settings/RegistrySettingsStore.h"

namespace pelmora {
namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        keyPath_ = "Software\\Talvessa-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
        store_.emplace(keyPath_);
        ASSERT_TRUE(store_->open());
    }
    void TearDown() override
    {
        store_.reset();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str());
    }

    // Writes a value of any type behind the store's back.
    void setRaw(const char* name, DWORD type, const void* data, DWORD bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_SET_VALUE, &key),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    DWORD rawType(const char* name)
    {
        DWORD type = REG_NONE;
        ::RegGetValueA(HKEY_CURRENT_USER, keyPath_.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                       nullptr);
        return type;
    }

    std::string keyPath_;
    std::optional<RegistrySettingsStore> store_;
};

TEST_F(RegistryStoreTest, ValuesRoundTripAsRegistryStrings)
{
    store_->WriteString("Drive1", "D");
    store_->WriteInteger("Network1", -1);
    store_->WriteString("Drive2", "");
    store_->WriteString("Label", "Z\xC3\xBCrich \xE2\x82\xAC");  // beyond the user's code page

    EXPECT_EQ(store_->ReadString("Drive1", "C"), "D");
    EXPECT_EQ(store_->ReadInteger("Network1", 7), -1);
    EXPECT_EQ(store_->ReadString("Drive2", "x"), "");  // stored empty is not missing
    EXPECT_EQ(store_->ReadString("Label", ""), "Z\xC3\xBCrich \xE2\x82\xAC");
    EXPECT_EQ(store_->ReadString("drive1", ""), "D");  // names compare without case
    EXPECT_EQ(store_->ReadString("Missing", "dflt"), "dflt");
    EXPECT_EQ(rawType("Network1"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(rawType("Drive1"), static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryStoreTest, ExpandableStringsReadUnexpanded)
{
    const char text[] = "%SystemRoot%\\x";
    setRaw("Drive1", REG_EXPAND_SZ, text, sizeof text);
    EXPECT_EQ(store_->ReadString("Drive1", ""), "%SystemRoot%\\x");
}

TEST_F(RegistryStoreTest, ValuesOfOtherTypesAreInvalidDataForBothReaders)
{
    const DWORD number = 30;
    const char multi[] = "a\0b\0";
    const BYTE bytes[] = {1, 2, 3};
    setRaw("Dword", REG_DWORD, &number, sizeof number);
    setRaw("Multi", REG_MULTI_SZ, multi, sizeof multi);
    setRaw("Binary", REG_BINARY, bytes, sizeof bytes);
    for (const char* name : {"Dword", "Multi", "Binary"}) {
        SCOPED_TRACE(name);
        const std::string expected = std::string("Invalid data type for '") + name + "'";
        try {
            store_->ReadInteger(name, 1);
            ADD_FAILURE() << "no error";
        } catch (const SettingsError& error) {
            EXPECT_EQ(error.what(), expected);
        }
        EXPECT_THROW(store_->ReadString(name, ""), SettingsError);
    }
}

TEST_F(RegistryStoreTest, LongValuesReadWhole)
{
    const std::string text(5000, 'x');
    store_->WriteString("Long", text);
    EXPECT_EQ(store_->ReadString("Long", ""), text);
}

TEST_F(RegistryStoreTest, RefusedWritesFailAndKeepTheStoredValue)
{
    store_->WriteString("Drive1", "C");
    for (const std::string& text : {std::string("\xFF\xFE"), std::string("a\0b", 3)}) {
        try {
            store_->WriteString("Drive1", text);
            ADD_FAILURE() << "written";
        } catch (const SettingsError& error) {
            EXPECT_STREQ(error.what(), "Failed to set data for 'Drive1'");
        }
    }
    EXPECT_EQ(store_->ReadString("Drive1", ""), "C");

    store_->close();
    EXPECT_THROW(store_->WriteInteger("NrDrives", 1), SettingsError);
    EXPECT_EQ(store_->ReadInteger("NrDrives", 2), 2);  // a closed key reads defaults
}

TEST_F(RegistryStoreTest, OpenCreatesTheMissingKey)
{
    store_.reset();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str());
    RegistrySettingsStore store(keyPath_);
    ASSERT_TRUE(store.open());
    HKEY key = nullptr;
    EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    if (key) ::RegCloseKey(key);
}

}  // namespace
}  // namespace pelmora
