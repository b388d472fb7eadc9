// The port's Win32 side where its contract depends on the system: code page, program path,
// registry values.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "launch/hyper_linker.h"
#include "platform/platform.h"

namespace {

TEST(BackendTest, LeadBytesFollowTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 936u);
  EXPECT_TRUE(platform::IsLeadByte(0x81));
  EXPECT_TRUE(platform::IsLeadByte(0xFE));
  EXPECT_FALSE(platform::IsLeadByte(0x80));
  EXPECT_FALSE(platform::IsLeadByte('\\'));
  EXPECT_FALSE(platform::IsLeadByte('A'));
}

TEST(BackendTest, AProgramPathThatDoesNotFitIsReportedCut) {
  char full[4096];
  const std::uint32_t length = platform::ProgramFilePath(full, sizeof full);
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, sizeof full);
  EXPECT_EQ(std::strlen(full), length);
  for (std::uint32_t capacity : {1u, 5u, length}) {
    std::string cut(capacity + 8, '#');
    EXPECT_EQ(platform::ProgramFilePath(cut.data(), capacity), capacity);
    EXPECT_EQ(cut.substr(capacity), std::string(8, '#')) << "written past the capacity";
  }
  char exact[4096];
  EXPECT_EQ(platform::ProgramFilePath(exact, length + 1), length);
  EXPECT_STREQ(exact, full);
}

// A key of this test's own under the root of document classes, deleted at the end.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = "UlmoraBackendTest" + std::to_string(GetCurrentProcessId());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, path_.c_str());
  }
  void SetDefault(const std::string& value, DWORD type = REG_SZ) {
    ASSERT_EQ(RegSetValueExA(key_, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
  }
  std::string path_;
  HKEY key_ = nullptr;
};

TEST_F(RegistryTest, DefaultValuesUpTo259BytesAreReadWhole) {
  for (std::size_t length : {0u, 1u, 258u, 259u, 260u, 600u}) {
    SetDefault(std::string(length, 'v'));
    char out[ulmora::kClassValueCapacity + 16];
    std::memset(out, '#', sizeof out);
    const std::int32_t result = ulmora::ReadClassDefault(path_.c_str(), out);
    if (length <= 259) {
      EXPECT_EQ(result, 0) << length;
      EXPECT_EQ(std::string(out), std::string(length, 'v'));
    } else {
      EXPECT_NE(result, 0) << length;
      EXPECT_EQ(out[0], '#') << "the output is left untouched";
    }
    EXPECT_EQ(out[ulmora::kClassValueCapacity], '#');
  }
}

TEST_F(RegistryTest, AbsentOrNonTextValuesAndMissingKeysAreFailedLookups) {
  char out[ulmora::kClassValueCapacity];
  EXPECT_NE(ulmora::ReadClassDefault(path_.c_str(), out), 0);  // no default value yet
  const DWORD number = 7;
  ASSERT_EQ(RegSetValueExA(key_, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                           sizeof number),
            ERROR_SUCCESS);
  EXPECT_NE(ulmora::ReadClassDefault(path_.c_str(), out), 0);
  EXPECT_EQ(ulmora::ReadClassDefault((path_ + "\\no\\such\\key").c_str(), out),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, GbkValuesAreReadAsBytes) {
  const std::string value = "\"C:\\\xe4\xaf\xc0\xc0\xc6\xf7\\b.exe\" \"%1\"";  // 浏览器 in GBK
  SetDefault(value);
  char out[ulmora::kClassValueCapacity];
  ASSERT_EQ(ulmora::ReadClassDefault(path_.c_str(), out), 0);
  EXPECT_EQ(std::string(out), value);
}

// The port itself, below ReadClassDefault: registry data need not end with a terminator, and the
// value must never be read or written past the buffer.
TEST_F(RegistryTest, QueryDefaultValueFitsTheTextAndItsTerminatorIntoTheCapacity) {
  constexpr std::uint32_t kCapacity = 260;
  struct Case {
    std::size_t length;
    bool terminated;  // stored with its terminator, as RegSetValueExA is meant to be called
    DWORD type;
    bool fits;
  };
  const Case cases[] = {
      {0, true, REG_SZ, true},         {258, true, REG_SZ, true},
      {259, true, REG_SZ, true},       {260, true, REG_SZ, false},
      {600, true, REG_SZ, false},      {0, false, REG_SZ, true},
      {259, false, REG_SZ, true},      {260, false, REG_SZ, false},
      {12, true, REG_EXPAND_SZ, true}, {4, true, REG_BINARY, false},
      {3, true, REG_MULTI_SZ, false},
  };
  for (const Case& c : cases) {
    const std::string value(c.length, 'v');
    ASSERT_EQ(RegSetValueExA(key_, nullptr, 0, c.type, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(c.length + (c.terminated ? 1 : 0))),
              ERROR_SUCCESS);
    platform::RegistryKey key = nullptr;
    ASSERT_EQ(platform::OpenClassKey(path_.c_str(), &key), 0);
    std::string out(kCapacity + 16, '#');
    const std::int32_t result = platform::QueryDefaultValue(key, out.data(), kCapacity);
    platform::CloseClassKey(key);
    const std::string label = std::to_string(c.length) + (c.terminated ? "" : " unterminated") +
                              " type " + std::to_string(c.type);
    if (c.fits) {
      EXPECT_EQ(result, 0) << label;
      EXPECT_EQ(std::string(out.c_str()), value) << label;
    } else {
      EXPECT_NE(result, 0) << label;
    }
    EXPECT_EQ(out.substr(kCapacity), std::string(16, '#')) << label << ": written past the buffer";
  }
}

TEST_F(RegistryTest, QueryDefaultValueFailsWithoutAValueOrARoom) {
  platform::RegistryKey key = nullptr;
  ASSERT_EQ(platform::OpenClassKey(path_.c_str(), &key), 0);
  char out[8] = "#######";
  EXPECT_EQ(platform::QueryDefaultValue(key, out, sizeof out), ERROR_FILE_NOT_FOUND);
  SetDefault("");
  EXPECT_NE(platform::QueryDefaultValue(key, out, 0), 0);
  EXPECT_EQ(out[0], '#') << "no capacity, nothing written";
  EXPECT_EQ(platform::QueryDefaultValue(key, out, 1), 0);
  EXPECT_EQ(out[0], '\0');
  SetDefault("abc");
  EXPECT_NE(platform::QueryDefaultValue(key, out, 3), 0) << "three bytes and no terminator";
  EXPECT_NE(platform::QueryDefaultValue(key, nullptr, 8), 0);
  EXPECT_NE(platform::QueryDefaultValue(nullptr, out, sizeof out), 0);
  platform::CloseClassKey(key);
  platform::CloseClassKey(nullptr);
}

TEST(DesktopTest, AMissingClassKeyIsTheSystemsNotFound) {
  platform::RegistryKey key = reinterpret_cast<platform::RegistryKey>(1);
  EXPECT_EQ(platform::OpenClassKey("UlmoraNoSuchClass\\shell\\open\\command", &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_NE(platform::OpenClassKey(nullptr, &key), 0);
  EXPECT_NE(platform::OpenClassKey("x", nullptr), 0);
}

TEST(DesktopTest, FailedStartsAnswer32OrLess) {
  EXPECT_LE(platform::ShellOpen("C:\\ulmora-no-such-folder\\no-such-file.txt", SW_SHOW), 32);
  EXPECT_LE(platform::ShellOpen(nullptr, SW_SHOW), 32);
  EXPECT_LE(platform::StartCommandLine("C:\\ulmora-no-such-folder\\none.exe x", SW_SHOW), 32u);
  EXPECT_LE(platform::StartCommandLine(nullptr, SW_SHOW), 32u);
}

TEST(ProcessTest, ComponentServicesStartTwiceAndStopAsOften) {
  EXPECT_TRUE(platform::StartComponentServices());
  EXPECT_TRUE(platform::StartComponentServices()) << "already started counts as started";
  platform::StopComponentServices();
  platform::StopComponentServices();
}

TEST(ProcessTest, NoBufferGetsNoPath) {
  char out[4] = "###";
  EXPECT_EQ(platform::ProgramFilePath(out, 0), 0u);
  EXPECT_EQ(out[0], '#');
  EXPECT_EQ(platform::ProgramFilePath(nullptr, 100), 0u);
}


}  // namespace
