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
  for (const char* name : test::kHeaderExports) {
    EXPECT_NE(library.Find(name), nullptr) << name;
    bool hasCommand = false;
    for (const Command& command : Commands())
      hasCommand = hasCommand || (command.exportName != nullptr && std::string(command.exportName) == name);
    EXPECT_TRUE(hasCommand) << "no front-end command calls " << name;
  }
}

TEST(FrontEnd, CommandsCallOnlyDeclaredExportsAndHaveUniqueNames) {
  const std::set<std::string> declared(std::begin(test::kHeaderExports), std::end(test::kHeaderExports));
  std::set<std::string> names;
  for (const Command& command : Commands()) {
    EXPECT_TRUE(names.insert(command.name).second) << "duplicate command " << command.name;
    if (command.exportName != nullptr) {
      EXPECT_TRUE(declared.count(command.exportName)) << command.exportName;
    }
  }
}

TEST(FrontEnd, MissingExportIsReportedNotCalled) {
  LoadedLibrary library;
  ASSERT_TRUE(library.Open(LoadedLibrary::DefaultPath())) << library.Error();
  EXPECT_EQ(library.Find("VEL_NoSuchExport"), nullptr);
  EXPECT_EQ(library.Find("_VEL_MD_GetOS@0"), nullptr);
  const Invocation invocation(&library, {});
  EXPECT_THROW(invocation.Export<void (*)()>("VEL_NoSuchExport"), std::runtime_error);
}

}  // namespace
}  // namespace velinst::cli
