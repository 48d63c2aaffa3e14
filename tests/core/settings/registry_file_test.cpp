#include "core/settings/registry_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "core/settings/settings_store.h"
#include "core/settings/settings_table.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using namespace std::string_literals;

const std::string kAlice = "HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\alice";
const std::string kBob = "HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\bob";

std::string Dw(uint32_t v) {
  std::string d(4, '\0');
  for (int i = 0; i < 4; ++i) d[i] = static_cast<char>(v >> (8 * i));
  return d;
}

// alice's section is in the form the writer produces; bob's is hand-edited (comment, spaces, a hex
// value continued over lines, upper-case digits, a removed value).
const std::string kTwoKeys =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\alice]\r\n"
    "\"check_menu\"=dword:0000001e\r\n"
    "\"check_font_size\"=hex:12,00,00,00\r\n"
    R"("check_path"="C:\\)"
    "\x83"
    R"(\\\"q\"\\")"
    "\r\n"  // the text C:\ソ"q"\ with the trail byte 5c of ソ escaped like any other backslash
    "\"check_editer\"=hex(1):61,0d,0a,62,00\r\n"
    "\"check_shi_kagi\"=hex:b8,1e,85,eb,51,b8,9e,3f\r\n"
    "\"odd\"=hex(7):61,00,00\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\bob]\r\n"
    "; kept as it stands\r\n"
    "\"check_code\" = dword:00001B58\r\n"
    "\"rbBand00\" = hex:50,00,00,00,\\\r\n"
    "  71,01,00,00\r\n"
    "\"gone\"=dword:00000001\r\n"
    "\"gone\"=-\r\n"
    "\r\n";

TEST(RegistryFileTest, HandWrittenFileIsReadAndWrittenBackByteForByte) {
  test::TempDir dir;
  const std::string path = dir / "Sorano.reg";
  test::WriteBytes(path, kTwoKeys);
  RegistryFile reg(path);
  EXPECT_FALSE(reg.garbled());
  ASSERT_TRUE(reg.OpenKey(kAlice));

  EXPECT_EQ(reg.Read(kAlice, "check_menu"), (RegValue{RegType::Dword, Dw(0x1e)}));
  EXPECT_EQ(reg.Read(kAlice, "CHECK_MENU"), (RegValue{RegType::Dword, Dw(0x1e)}));  // names ignore case
  EXPECT_EQ(reg.Read(kAlice, "check_font_size"), (RegValue{RegType::Binary, Dw(0x12)}));
  EXPECT_EQ(reg.Read(kAlice, "check_path"), (RegValue{RegType::Sz, std::string("C:\\\x83"
                                                                               "\\\"q\"\\") +
                                                                       '\0'}));
  EXPECT_EQ(reg.Read(kAlice, "check_editer"), (RegValue{RegType::Sz, std::string("a\r\nb\0", 5)}));
  EXPECT_EQ(reg.Read(kAlice, "odd"), (RegValue{static_cast<RegType>(7), std::string("a\0\0", 3)}));
  EXPECT_EQ(reg.Read(kBob, "check_code"), (RegValue{RegType::Dword, Dw(7000)}));
  EXPECT_EQ(reg.Read(kBob, "rbBand00"),
            (RegValue{RegType::Binary, std::string("\x50\0\0\0\x71\x01\0\0", 8)}));
  EXPECT_EQ(reg.Read(kBob, "gone"), std::nullopt);
  EXPECT_EQ(reg.Read(kBob, "check_menu"), std::nullopt);
  EXPECT_EQ(reg.Read("HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\carol", "check_code"), std::nullopt);

  // Writing alice's values again leaves the file as it was, bob's lines included.
  for (const char* name :
       {"check_menu", "check_font_size", "check_path", "check_editer", "check_shi_kagi", "odd"})
    ASSERT_TRUE(reg.Write(kAlice, name, *reg.Read(kAlice, name)));
  ASSERT_TRUE(reg.Flush());
  EXPECT_EQ(test::ReadBytes(path), kTwoKeys);

  // A changed and a new value: only alice's lines change.
  ASSERT_TRUE(reg.Write(kAlice, "check_menu", {RegType::Dword, Dw(0xFFFFFFFF)}));
  ASSERT_TRUE(reg.Write(kAlice, "check_new", {RegType::Sz, std::string("x\0", 2)}));
  ASSERT_TRUE(reg.Flush());
  std::string expected = kTwoKeys;
  expected.replace(expected.find("dword:0000001e"), 14, "dword:ffffffff");
  expected.insert(expected.find("\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\bob]") + 2,
                  "\"check_new\"=\"x\"\r\n");
  EXPECT_EQ(test::ReadBytes(path), expected);
  EXPECT_EQ(reg.bad_path(), "");
}

TEST(RegistryFileTest, NewFileIsCreatedWithItsFolders) {
  test::TempDir dir;
  const std::string path = dir / "config/Vantor/Sorano.reg";
  RegistryFile reg(path);
  EXPECT_FALSE(reg.garbled());
  EXPECT_EQ(reg.Read(kAlice, "check_menu"), std::nullopt);
  ASSERT_TRUE(reg.Write(kAlice, "check_start2", {RegType::Dword, Dw(0)}));
  ASSERT_TRUE(reg.Write(kAlice, "check_path", {RegType::Sz, std::string("/home/a b/\0", 11)}));
  ASSERT_TRUE(reg.Write(kAlice, "rbBand00", {RegType::Binary, std::string("\x50\0\x01", 3)}));
  ASSERT_TRUE(reg.Write(kAlice, "empty", {RegType::Binary, ""}));
  ASSERT_TRUE(reg.Write(kAlice, "short_dword", {RegType::Dword, std::string("\x01", 1)}));
  ASSERT_TRUE(reg.Write(kAlice, "", {RegType::Sz, std::string("default\0", 8)}));
  ASSERT_TRUE(reg.Flush());
  const std::string expected =
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\alice]\r\n"
      "\"check_start2\"=dword:00000000\r\n"
      "\"check_path\"=\"/home/a b/\"\r\n"
      "\"rbBand00\"=hex:50,00,01\r\n"
      "\"empty\"=hex:\r\n"
      "\"short_dword\"=hex(4):01\r\n"
      "@=\"default\"\r\n"
      "\r\n";
  EXPECT_EQ(test::ReadBytes(path), expected);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);  // it holds the proxy password
  RegistryFile again(path);
  EXPECT_FALSE(again.garbled());
  EXPECT_EQ(again.Read(kAlice, "short_dword"), (RegValue{RegType::Dword, "\x01"}));
  EXPECT_EQ(again.Read(kAlice, "empty"), (RegValue{RegType::Binary, ""}));
  EXPECT_EQ(again.Read(kAlice, ""), (RegValue{RegType::Sz, std::string("default\0", 8)}));
}

TEST(RegistryFileTest, GarbledFileIsReadLineByLineAndKeptAsBadBeforeTheNextSave) {
  test::TempDir dir;
  const std::string path = dir / "Sorano.reg";
  const std::string garbled =
      "REGEDIT4\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\alice]\n"
      "\"check_menu\"=dword:00000000\n"
      "this line means nothing\n"
      "\"check_tool\"=dword:0000000\n"     // seven digits
      "\"check_status\"=hex:1,00,00,00\n"  // one-digit byte
      "\"check_task\"=dword:00000001\n"
      "\"check_path\"=\"/no/closing/quote\\\n"  // a cut text ending in a backslash
      "\"check_editer\"=\"vi\"\n"
      "\"check_bview\"=\x01\x02\x00\xff\n"                   // binary garbage
      "[HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\bob\n"  // section line without ']'
      "\"check_code\"=dword:00000001\n"                      // belongs to no readable key
      "[HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\carol]\n"
      "\"check_code\"=dword:00000002\n"s;
  test::WriteBytes(path, garbled);
  RegistryFile reg(path);
  EXPECT_TRUE(reg.garbled());
  EXPECT_EQ(reg.Read(kAlice, "check_menu"), (RegValue{RegType::Dword, Dw(0)}));
  EXPECT_EQ(reg.Read(kAlice, "check_task"), (RegValue{RegType::Dword, Dw(1)}));
  EXPECT_EQ(reg.Read(kAlice, "check_editer"), (RegValue{RegType::Sz, std::string("vi\0", 3)}));
  for (const char* name : {"check_tool", "check_status", "check_path", "check_bview", "check_code"})
    EXPECT_EQ(reg.Read(kAlice, name), std::nullopt) << name;
  EXPECT_EQ(reg.Read(kBob, "check_code"), std::nullopt);
  EXPECT_EQ(reg.Read("HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\carol", "check_code"),
            (RegValue{RegType::Dword, Dw(2)}));

  // A store loads what could be read and keeps the initial values of the rest.
  SettingsStore s;
  ASSERT_TRUE(s.load(reg, kAlice));
  EXPECT_EQ(s.check_menu, 0);
  EXPECT_EQ(s.check_tool, 1);
  EXPECT_EQ(s.check_status, 1);
  EXPECT_EQ(s.check_task, 1);

  // The first write (here: the first-start record) moved the old bytes aside, untouched.
  EXPECT_EQ(reg.bad_path(), path + ".bad");
  EXPECT_EQ(test::ReadBytes(path + ".bad"), garbled);
  ASSERT_TRUE(s.save(reg, kAlice));
  RegistryFile fresh(path);
  EXPECT_FALSE(fresh.garbled());
  EXPECT_EQ(fresh.Read(kAlice, "check_task"), (RegValue{RegType::Dword, Dw(1)}));
  EXPECT_EQ(fresh.Read("HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\carol", "check_code"),
            (RegValue{RegType::Dword, Dw(2)}));
  EXPECT_EQ(test::ReadBytes(path + ".bad"), garbled);

  // A second garbled file does not replace the first .bad.
  test::WriteBytes(path, "\x00\x01garbage"s);
  RegistryFile again(path);
  EXPECT_TRUE(again.garbled());
  ASSERT_TRUE(again.Write(kAlice, "check_menu", {RegType::Dword, Dw(1)}));
  ASSERT_TRUE(again.Flush());
  EXPECT_EQ(again.bad_path(), path + ".bad.1");
  EXPECT_EQ(test::ReadBytes(path + ".bad"), garbled);
  EXPECT_EQ(test::ReadBytes(path + ".bad.1"), std::string("\x00\x01garbage", 9));
}

TEST(RegistryFileTest, EveryCutOfAFileGivesTheOriginalValueOrNone) {
  test::TempDir dir;
  const std::string path = dir / "Sorano.reg";
  {
    RegistryFile reg(path);
    ASSERT_TRUE(reg.Write(kAlice, "a", {RegType::Dword, Dw(0x1234abcd)}));
    ASSERT_TRUE(reg.Write(kAlice, "b", {RegType::Binary, std::string("\x01\x02\x03\x04", 4)}));
    ASSERT_TRUE(reg.Write(kAlice, "c", {RegType::Sz, std::string("text\0", 5)}));
    ASSERT_TRUE(reg.Write(kAlice, "d", {RegType::Sz, std::string("two\nlines\0", 10)}));
    ASSERT_TRUE(reg.Flush());
  }
  const std::string whole = test::ReadBytes(path);
  RegistryFile full(path);
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    test::WriteBytes(path, whole.substr(0, cut));
    RegistryFile reg(path);
    for (const char* name : {"a", "b", "c", "d"}) {
      std::optional<RegValue> v = reg.Read(kAlice, name);
      if (v) {
        EXPECT_EQ(*v, *full.Read(kAlice, name)) << "cut at " << cut << ", value " << name;
      }
    }
  }
}

TEST(RegistryFileTest, RandomBytesNeverStopTheLoad) {
  test::TempDir dir;
  const std::string path = dir / "Sorano.reg";
  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    std::string bytes(1 + rng() % 4000, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    if (round % 2) bytes = "REGEDIT4\r\n\r\n[" + kAlice + "]\r\n" + bytes;
    test::WriteBytes(path, bytes);
    RegistryFile reg(path);
    SettingsStore s;
    EXPECT_TRUE(s.load(reg, kAlice));
    EXPECT_EQ(s.para_shi_sma02, 25);
    std::remove((path + ".bad").c_str());
  }
}

TEST(RegistryFileTest, OversizedValueInTheFileCountsAsMissing) {
  test::TempDir dir;
  const std::string path = dir / "Sorano.reg";
  std::string longText(1100, 'p');
  test::WriteBytes(path, "REGEDIT4\r\n\r\n[" + kAlice + "]\r\n\"sorano_first_start\"=dword:00000001\r\n" +
                             "\"check_path\"=\"" + longText + "\"\r\n\"check_editer\"=\"" +
                             std::string(1023, 'e') + "\"\r\n\"check_code\"=dword:00001b58\r\n");
  RegistryFile reg(path);
  EXPECT_FALSE(reg.garbled());
  SettingsStore s;
  ASSERT_TRUE(s.load(reg, kAlice));
  EXPECT_EQ(s.check_path[0], '\0');
  EXPECT_EQ(std::string(s.check_editer), std::string(1023, 'e'));
  EXPECT_EQ(s.check_code, 7000);
}

TEST(RegistryFileTest, UnusablePathReadsAndWritesNothing) {
  test::TempDir dir;
  RegistryFile folder(dir.path());  // a folder, not a file
  EXPECT_TRUE(folder.unavailable());
  EXPECT_FALSE(folder.OpenKey(kAlice));
  EXPECT_FALSE(folder.Write(kAlice, "a", {RegType::Dword, Dw(1)}));
  EXPECT_FALSE(folder.Flush());
  SettingsStore s;
  EXPECT_TRUE(s.load(folder, kAlice));
  EXPECT_EQ(s.check_path[0], '\0');  // no first start without a key
  EXPECT_FALSE(s.save(folder, kAlice));
  RegistryFile none("");
  EXPECT_FALSE(none.OpenKey(kAlice));
}

TEST(RegistryFileTest, DefaultPathFollowsTheEnvironment) {
  auto with = [](const char* reg, const char* xdg, const char* home) {
    std::optional<std::string> saved[3];
    const char* names[3] = {"SORANO_REGISTRY", "XDG_CONFIG_HOME", "HOME"};
    const char* values[3] = {reg, xdg, home};
    for (int i = 0; i < 3; ++i) {
      if (const char* v = std::getenv(names[i])) saved[i] = v;
      if (values[i])
        ::setenv(names[i], values[i], 1);
      else
        ::unsetenv(names[i]);
    }
    std::string path = RegistryFile::DefaultPath();
    for (int i = 0; i < 3; ++i) {
      if (saved[i])
        ::setenv(names[i], saved[i]->c_str(), 1);
      else
        ::unsetenv(names[i]);
    }
    return path;
  };
  EXPECT_EQ(with("/tmp/x.reg", "/cfg", "/home/a"), "/tmp/x.reg");
  EXPECT_EQ(with(nullptr, "/cfg", "/home/a"), "/cfg/Vantor/Sorano.reg");
  EXPECT_EQ(with("", "/cfg/", "/home/a"), "/cfg/Vantor/Sorano.reg");
  EXPECT_EQ(with(nullptr, nullptr, "/home/a"), "/home/a/.config/Vantor/Sorano.reg");
  EXPECT_EQ(with(nullptr, "rel", "/home/a/"), "/home/a/.config/Vantor/Sorano.reg");
}

TEST(RegistryFileTest, KeysWrittenByAnotherProcessMeanwhileAreKept) {
  test::TempDir dir;
  const std::string path = dir / "Sorano.reg";
  RegistryFile alice(path);  // read while the file does not exist yet
  {
    RegistryFile bob(path);
    ASSERT_TRUE(bob.Write(kBob, "check_code", {RegType::Dword, Dw(1301)}));
    ASSERT_TRUE(bob.Flush());
  }
  ASSERT_TRUE(alice.Write(kAlice, "check_code", {RegType::Dword, Dw(7203)}));
  ASSERT_TRUE(alice.Flush());
  EXPECT_EQ(test::ReadBytes(path), "REGEDIT4\r\n\r\n[" + kBob +
                                       "]\r\n\"check_code\"=dword:00000515\r\n\r\n[" + kAlice +
                                       "]\r\n\"check_code\"=dword:00001c23\r\n\r\n");
  EXPECT_EQ(alice.Read(kBob, "check_code"), (RegValue{RegType::Dword, Dw(1301)}));
}

TEST(RegistryFileTest, DuplicateAndDeletedKeysAreReadInOrder) {
  test::TempDir dir;
  const std::string path = dir / "Sorano.reg";
  const std::string text =
      "REGEDIT4\r\n\r\n[" + kAlice + "]\r\n\"a\"=dword:00000001\r\n\"b\"=dword:00000002\r\n\r\n[-" + kAlice +
      "]\r\n\r\n[" + kAlice + "]\r\n\"b\"=dword:00000003\r\n\r\n[" + kBob + "]\r\n\"z\"=\"bob\"\r\n\r\n";
  test::WriteBytes(path, text);
  RegistryFile reg(path);
  EXPECT_FALSE(reg.garbled());
  EXPECT_EQ(reg.Read(kAlice, "a"), std::nullopt);
  EXPECT_EQ(reg.Read(kAlice, "b"), (RegValue{RegType::Dword, Dw(3)}));
  ASSERT_TRUE(reg.Write(kAlice, "c", {RegType::Dword, Dw(4)}));
  ASSERT_TRUE(reg.Flush());
  EXPECT_EQ(test::ReadBytes(path), "REGEDIT4\r\n\r\n[" + kAlice +
                                       "]\r\n\"b\"=dword:00000003\r\n\"c\"=dword:00000004\r\n\r\n[" + kBob +
                                       "]\r\n\"z\"=\"bob\"\r\n\r\n");
}

}  // namespace
}  // namespace sorano
