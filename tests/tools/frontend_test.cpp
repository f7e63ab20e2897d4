#include <gtest/gtest.h>

#include <set>
#include <string>

#include "command.h"
#include "header_exports.h"
#include "loaded_library.h"

namespace velinst::cli {
namespace {

// Every header export resolves by its plain name and has a command; commands
// call only declared exports and have names of their own.
TEST(FrontEnd, HeaderExportsAndCommandsMatch) {
  LoadedLibrary library;
  ASSERT_TRUE(library.Open(LoadedLibrary::DefaultPath())) << library.Error();
  const std::set<std::string> declared(std::begin(test::kHeaderExports), std::end(test::kHeaderExports));
  std::set<std::string> called, names;
  for (const Command& command : Commands()) {
    EXPECT_TRUE(names.insert(command.name).second) << "duplicate command " << command.name;
    if (command.exportName != nullptr) called.insert(command.exportName);
  }
  for (const std::string& name : called) EXPECT_TRUE(declared.count(name)) << name;
  for (const char* name : test::kHeaderExports) {
    EXPECT_NE(library.Find(name), nullptr) << name;
    EXPECT_TRUE(called.count(name)) << "no front-end command calls " << name;
  }
  // A missing export is reported, not called; decorated names are not looked up.
  EXPECT_EQ(library.Find("VEL_NoSuchExport"), nullptr);
  EXPECT_EQ(library.Find("_VEL_MD_GetOS@0"), nullptr);
  const Invocation invocation(&library, {});
  EXPECT_THROW(invocation.Export<void (*)()>("VEL_NoSuchExport"), std::runtime_error);
}

}  // namespace
}  // namespace velinst::cli
