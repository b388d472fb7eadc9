// The fallback's command line as the started program sees it: split by the system's own rules.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "launch/hyper_linker.h"

namespace ulmora {
namespace {

std::wstring Widen(const std::string& bytes) {
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return wide;
}

std::string Narrow(const wchar_t* wide) {
  const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, bytes.data(), n, nullptr, nullptr);
  bytes.resize(bytes.size() - 1);  // the terminator
  return bytes;
}

std::vector<std::string> Split(const std::string& line) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(Widen(line).c_str(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return args;
}

TEST(CommandLineTest, TheQuotedTargetIsExactlyOneArgument) {
  ASSERT_EQ(GetACP(), 936u) << "the tests run in the GBK code page";
  const std::string targets[] = {
      "http://h/?q=a b&c=d",
      " leading and trailing ",
      "say \"hi\" now",
      "\"",
      "\"\"",
      "dir\\",
      "dir\\\\",
      "a\\\"b",
      "a\\\\\"b\\",
      "%1 \"%1\" %%1",
      "tab\there",
      "http://www.baidu.com/baidu?word=\xb0\xd9\xb6\xc8 \xc9\xcf\\",  // GBK, a trailing backslash
      "\x81\x5c\"x\x81\x5c",  // a double-byte character whose trail byte is the backslash's code
      "http://h/#q=\xd6\xd0 \"\\\" &fp=1",
  };
  const std::string commands[] = {"\"C:\\b r\\b.exe\" -x \"%1\"", "C:\\b.exe", "b.exe -new "};
  for (const std::string& command : commands) {
    const std::vector<std::string> base = Split(std::string(command.c_str(), CutRegisteredCommand(command.c_str()).length));
    for (const std::string& target : targets) {
      Text line = BuildFallbackCommand(command.c_str(), target.c_str());
      std::vector<std::string> args = Split(line);
      ReleaseText(line);
      ASSERT_EQ(args.size(), base.size() + 1) << command << " | " << target;
      EXPECT_EQ(args.back(), target) << command;
      args.pop_back();
      EXPECT_EQ(args, base);
    }
  }
}

TEST(CommandLineTest, ABarePlaceholderTakesTheTargetRaw) {
  Text line = BuildFallbackCommand("b.exe --single-argument %1 --extra", "http://h/?q=a b");
  EXPECT_STREQ(line, "b.exe --single-argument  http://h/?q=a b");
  ReleaseText(line);
}

}  // namespace
}  // namespace ulmora
