/*
 * Writes every pack list of each region file through the loaded DLL, as an
 * installer calls it: the 1:24,000 lists at the three scales and the
 * 1:100,000 lists at the two scales it accepts, into
 * OUTPUT_FOLDER/<region file name>.<family>.<scale>.lst, and prints each
 * result as "<region file name> <family> <scale> <result>".
 * Usage: write_pack_lists OUTPUT_FOLDER REGION_FILE...
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "velinst.h"

int main(int argc, char** argv) {
  if (argc < 3) return printf("usage: write_pack_lists OUTPUT_FOLDER REGION_FILE...\n"), 2;
  HMODULE module = LoadLibraryA("velinst.dll");
  if (module == NULL) return printf("velinst.dll not loaded (error %lu)\n", GetLastError()), 1;
  __typeof__(VEL_MakePackList24K)* const list24k =
      (__typeof__(VEL_MakePackList24K)*)(void (*)(void))GetProcAddress(module, "VEL_MakePackList24K");
  __typeof__(VEL_MakePackList100K)* const list100k =
      (__typeof__(VEL_MakePackList100K)*)(void (*)(void))GetProcAddress(module, "VEL_MakePackList100K");
  if (list24k == NULL || list100k == NULL) return printf("the pack-list exports are missing\n"), 1;
  static const struct {
    const char* family;
    int scale;
  } lists[] = {{"24k", 24000}, {"24k", 100000}, {"24k", 250000}, {"100k", 100000}, {"100k", 250000}};
  for (int i = 2; i < argc; ++i) {
    const char* name = argv[i] + strcspn(argv[i], "");
    while (name > argv[i] && name[-1] != '/' && name[-1] != '\\') --name;
    for (size_t j = 0; j < sizeof lists / sizeof lists[0]; ++j) {
      char path[MAX_PATH];
      snprintf(path, sizeof path, "%s/%s.%s.%d.lst", argv[1], name, lists[j].family, lists[j].scale);
      const int result = lists[j].family[1] == '4' ? list24k(argv[i], path, lists[j].scale)
                                                   : list100k(argv[i], path, lists[j].scale);
      printf("%s %s %d %d\n", name, lists[j].family, lists[j].scale, result);
    }
  }
  FreeLibrary(module);
  return 0;
}
