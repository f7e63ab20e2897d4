#include <gtest/gtest.h>

#include <set>
#include <string>

#include "command.h"
#include "header_exports.h"
#include "loaded_library.h"

namespace velinst::cli {
namespace {

TEST(FrontEnd, EveryHeaderExportResolvesByPlainNameAndHasACommand) {
  LoadedLibrary library;
  ASSERT_TRUE(library.Open(LoadedLibrary::DefaultPath())) << library.Error();
  std::set<std::string> called;
  for (const Command& command : Commands())
    if (command.exportName != nullptr) called.insert(command.exportName);
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

TEST(FrontEnd, CommandsCallOnlyDeclaredExportsAndHaveUniqueNames) {
  const std::set<std::string> declared(std::begin(test::kHeaderExports), std::end(test::kHeaderExports));
  std::set<std::string> names;
  for (const Command& command : Commands()) {
    EXPECT_TRUE(names.insert(command.name).second) << "duplicate command " << command.name;
    EXPECT_TRUE(command.exportName == nullptr || declared.count(command.exportName)) << command.exportName;
  }
}

}  // namespace
}  // namespace velinst::cli
