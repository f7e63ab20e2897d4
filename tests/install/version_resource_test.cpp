// Installers compare the version resource of the DLL they carry with the
// one on the machine (GetFileVersionInfo); both the numbers and the texts
// must be there and agree with the project's version.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

TEST(VersionResource, ReadsBackAsAnInstallerReadsIt) {
  const std::string path = velinst::test::ProgramDir() + "velinst.dll";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << path << " has no version resource (error " << GetLastError() << ")";
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(VELINST_VERSION_MAJOR << 16 | VELINST_VERSION_MINOR));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(VELINST_VERSION_PATCH << 16));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

  const struct {
    const char* name;
    std::string expected;
  } texts[] = {
      {"FileVersion", VELINST_VERSION},   {"ProductVersion", VELINST_VERSION},
      {"OriginalFilename", "velinst.dll"}, {"CompanyName", "Corvane"},
      {"ProductName", "velinst"},          {"FileDescription", ""},
  };
  for (const auto& text : texts) {
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + text.name;
    ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << text.name;
    EXPECT_TRUE(text.expected.empty() ? *value != '\0' : value == text.expected) << text.name << ": " << value;
  }
}

}  // namespace
