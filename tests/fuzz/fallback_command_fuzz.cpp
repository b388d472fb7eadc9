// The fallback command line of the link control, from an arbitrary registered command and
// target: it is built in storage of exactly the size it needs (the sanitizer sees every write
// past it), it keeps the registered command up to its placeholder, and the program it starts
// gets the registered arguments followed by exactly the target, split by the command-line
// rules; after a bare %1 the raw target ends the line. Through the link control's open, values
// longer than 259 bytes are refused and nothing starts.
//
// Input: a first byte of flags, then the command, the target and the class name, separated by
// NUL bytes. Flags: bit 0 shapes the texts as GBK from a command-line alphabet, bit 1 goes
// through OpenTarget and the registry, bit 2 makes the heap refuse the command line.
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_support.h"
#include "launch/hyper_linker.h"
#include "stand_in_platform.h"

namespace {

using Arguments = std::vector<std::string>;

struct Split {
  Arguments arguments;
  bool openQuote = false;  // the line ends inside a quoted part
  bool loneLead = false;   // the line ends in a lead byte without its trail
};

// The command-line rules (CommandLineToArgvW) over code-page characters: a lead byte and the
// byte after it are one character that never separates, quotes or escapes. The program name
// ends at the next quote when it starts with one, else at the first space or tab; it has no
// escapes. After it: whitespace outside quotes separates; 2n backslashes and a quote give n
// backslashes and toggle quoting, 2n+1 give n and a literal quote; a third quote in a row
// gives a literal quote; other backslashes stand as they are.
Split SplitCommandLine(std::string_view line) {
  Split split;
  std::size_t i = 0;
  const std::size_t n = line.size();
  auto takeCharacter = [&](std::string* out) {
    if (fuzz::IsLead(static_cast<unsigned char>(line[i])) && i + 1 < n) {
      out->append(line.substr(i, 2));
      i += 2;
      return;
    }
    if (fuzz::IsLead(static_cast<unsigned char>(line[i]))) split.loneLead = true;
    *out += line[i++];
  };

  std::string program;
  if (i < n && line[i] == '"') {
    ++i;
    split.openQuote = true;
    while (i < n) {
      if (line[i] == '"') {
        ++i;
        split.openQuote = false;
        break;
      }
      takeCharacter(&program);
    }
  } else {
    while (i < n && line[i] != ' ' && line[i] != '\t') takeCharacter(&program);
  }
  split.arguments.push_back(program);

  std::string current;
  bool inArgument = false;
  std::size_t quotes = 0, backslashes = 0;
  while (i < n) {
    const char c = line[i];
    if ((c == ' ' || c == '\t') && quotes == 0) {
      if (inArgument) split.arguments.push_back(current);
      current.clear();
      inArgument = false;
      backslashes = 0;
      ++i;
      continue;
    }
    inArgument = true;
    split.loneLead = false;
    if (c == '\\') {
      current += c;
      ++backslashes;
      ++i;
    } else if (c == '"') {
      if (backslashes % 2 == 0) {
        current.resize(current.size() - backslashes / 2);
        ++quotes;
      } else {
        current.resize(current.size() - backslashes / 2 - 1);
        current += '"';
      }
      backslashes = 0;
      for (++i; i < n && line[i] == '"'; ++i) {
        if (++quotes == 3) {
          current += '"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    } else {
      takeCharacter(&current);
      backslashes = 0;
    }
  }
  if (inArgument) split.arguments.push_back(current);
  split.openQuote = split.openQuote || quotes != 0;
  return split;
}

// Where the registered command is cut, found the plain way: the first character boundary
// where the quoted placeholder starts, else the bare one, else the end.
ulmora::CommandCut ExpectedCut(std::string_view command) {
  std::vector<std::size_t> boundaries;
  fuzz::ForEachCharacter(command, [&](std::size_t at, std::size_t) { boundaries.push_back(at); });
  for (const auto& [needle, kind] :
       {std::pair{std::string_view("\"%1\""), ulmora::Placeholder::Quoted},
        std::pair{std::string_view("%1"), ulmora::Placeholder::Bare}}) {
    for (std::size_t at : boundaries) {
      if (command.substr(at, needle.size()) == needle) {
        return {static_cast<std::uint32_t>(at), kind};
      }
    }
  }
  return {static_cast<std::uint32_t>(command.size()), ulmora::Placeholder::None};
}

std::string Show(const Arguments& arguments) {
  std::string out;
  for (const std::string& a : arguments) out += "[" + fuzz::Escaped(a) + "]";
  return out;
}

// What every fallback line must be, for this command and target.
void CheckLine(std::string_view command, std::string_view target, std::string_view line) {
  const ulmora::CommandCut cut = ExpectedCut(command);
  const std::string where = "command \"" + fuzz::Escaped(command) + "\", target \"" +
                            fuzz::Escaped(target) + "\", line \"" + fuzz::Escaped(line) + "\": ";
  const std::string_view registered = command.substr(0, cut.length);
  FUZZ_REQUIRE(line.size() > registered.size() && line.substr(0, registered.size()) == registered &&
                   line[registered.size()] == ' ',
               where + "does not start with the registered part and one space");
  const std::string_view after = line.substr(registered.size() + 1);
  if (cut.placeholder == ulmora::Placeholder::Bare) {
    FUZZ_REQUIRE(after == target, where + "the raw target does not end the line");
    return;
  }
  // A registered part that leaves a quote open, or ends in half a character, takes the space
  // with it whatever follows; the line is still built whole, but it cannot be split apart.
  const Split alone = SplitCommandLine(registered);
  if (alone.openQuote || alone.loneLead) return;
  const Split whole = SplitCommandLine(line);
  Arguments expected = alone.arguments;
  const Split lastOnly = SplitCommandLine(target);
  if (lastOnly.loneLead) {
    // A lead byte at the very end takes the closing quote as its trail: one argument still.
    FUZZ_REQUIRE(whole.arguments.size() == expected.size() + 1,
                 where + "split into " + Show(whole.arguments));
    return;
  }
  expected.emplace_back(target);
  FUZZ_REQUIRE(whole.arguments == expected,
               where + "split into " + Show(whole.arguments) + " instead of " + Show(expected));
}

std::string Report(std::size_t size) {
  return "运行时出错!\r\n\r\n错误信息：分配 " + std::to_string(size) + " 字节内存失败!\r\n";
}

// The argument on its own: the length it announces is exactly what it writes.
void CheckQuotedArgument(const std::string& target) {
  const std::uint64_t length = ulmora::QuotedArgumentLength(target.c_str());
  FUZZ_REQUIRE(length >= target.size() + 2 && length <= 2 * target.size() + 2,
               "argument length " + std::to_string(length));
  auto exact = std::make_unique<char[]>(length);
  ulmora::WriteQuotedArgument(target.c_str(), exact.get());
  const std::string line = "p " + std::string(exact.get(), length);
  const Split split = SplitCommandLine(line);
  if (!SplitCommandLine(target).loneLead) {
    FUZZ_REQUIRE(split.arguments == (Arguments{"p", target}),
                 "\"" + fuzz::Escaped(target) + "\" written as \"" + fuzz::Escaped(line) + "\"");
  }
}

void ThroughBuilder(const std::string& command, const std::string& target, bool heapRefuses) {
  stand_in::Reset();
  stand_in::Get().heap.failAll = heapRefuses;
  const ulmora::CommandCut cut = ulmora::CutRegisteredCommand(command.c_str());
  const ulmora::CommandCut expected = ExpectedCut(command);
  FUZZ_REQUIRE(cut.length == expected.length && cut.placeholder == expected.placeholder,
               "cut of \"" + fuzz::Escaped(command) + "\" at " + std::to_string(cut.length));
  ulmora::Text line = nullptr;
  try {
    line = ulmora::BuildFallbackCommand(command.c_str(), target.c_str());
  } catch (const stand_in::ProcessEnded& ended) {
    const auto& heap = stand_in::Get().heap;
    FUZZ_REQUIRE(heapRefuses && ended.exitCode == -1, "ended without a refusal");
    FUZZ_REQUIRE(stand_in::Get().errorBoxes.back().text == Report(heap.requestSizes.back()),
                 "report " + fuzz::Escaped(stand_in::Get().errorBoxes.back().text));
    return;
  }
  const auto& heap = stand_in::Get().heap;
  FUZZ_REQUIRE(!heapRefuses && heap.requestSizes.size() == 1, "not one allocation");
  const std::string_view built(line);
  FUZZ_REQUIRE(built.size() + 1 == heap.requestSizes[0],
               "a line of " + std::to_string(built.size()) + " bytes in a block of " +
                   std::to_string(heap.requestSizes[0]));
  CheckLine(command, target, built);
  ulmora::ReleaseText(line);
}

void ThroughOpenTarget(const std::string& command, const std::string& target,
                       const std::string& className) {
  stand_in::Reset();
  stand_in::State& s = stand_in::Get();
  s.shellResult = 31;
  s.registry[".htm"] = className;
  s.registry[className + "\\shell\\open\\command"] = command;
  ulmora::HyperLinker link{};
  link.linkKind = ulmora::link_kind::kWeb;
  link.webAddress = const_cast<char*>(target.c_str());
  const std::int32_t opened = ulmora::OpenTarget(link, ulmora::kShowNormal);
  const std::string where =
      "class \"" + fuzz::Escaped(className) + "\", command \"" + fuzz::Escaped(command) + "\": ";
  FUZZ_REQUIRE(s.keysOpen == 0, where + "a key stays open");
  FUZZ_REQUIRE(s.heap.live.empty(), where + "blocks left");
  const bool starts = !target.empty() && className.size() <= 259 && command.size() <= 259;
  FUZZ_REQUIRE(opened == (starts ? 1 : 0), where + "OpenTarget gave " + std::to_string(opened));
  FUZZ_REQUIRE(s.commandStarts.size() == (starts ? 1u : 0u), where + "starts differ");
  if (starts) CheckLine(command, target, s.commandStarts[0].commandLine);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  std::string fields[3];
  std::size_t field = 0;
  const std::uint8_t* start = data + 1;
  for (const std::uint8_t* p = start;; ++p) {
    if (p == data + size || (*p == 0 && field < 2)) {
      fields[field] = (flags & 1) != 0
                          ? fuzz::ShapeGbk(start, p - start, " \t\"\\%1a.:/-\"\\%1")
                          : std::string(reinterpret_cast<const char*>(start), p - start);
      // A text ends at its first NUL byte.
      fields[field].resize(strnlen(fields[field].c_str(), fields[field].size()));
      if (p == data + size) break;
      ++field;
      start = p + 1;
    }
  }
  const std::string& command = fields[0];
  const std::string& target = fields[1];

  CheckQuotedArgument(target);
  if ((flags & 2) != 0) {
    ThroughOpenTarget(command, target, fields[2]);
  } else {
    ThroughBuilder(command, target, (flags & 4) != 0);
  }
  stand_in::Reset();
  return 0;
}
