/*
 * Calls every export of the shipped DLL as a 32-bit installer does: loaded at
 * run time, each resolved by its plain name into a pointer of the type that
 * velinst.h declares (stdcall, ANSI texts). The stack pointer must be the
 * same after each call as before it: a callee that removes more or fewer
 * bytes than the header's parameters take corrupts the installer's frame.
 * Usage: typed_exports REGION_FILE OUTPUT_FOLDER SERVICE_PORT_FILE
 */
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "velinst.h"

/* The machine's key whose default value names the account service host. */
#define VELINST_SERVICE_HOST_KEY "Software\\Corvane\\Ridgeline Professional\\6.00\\URL\\RidgelineMobile\\server"

static int failures;

static void Fail(const char* what, const char* detail) {
  printf("FAILED %s: %s\n", what, detail);
  ++failures;
}

static void CheckInt(const char* name, int actual, int expected) {
  if (actual != expected) printf("FAILED %s: gave %d, not %d\n", name, actual, expected);
  failures += actual != expected;
}

#define READ_STACK_POINTER(value) __asm__ volatile("movl %%esp, %0" : "=r"(value)::"memory")

/* ASSIGN NAME(...) through a pointer typed from the header's declaration of
   NAME and resolved by its plain name, with the stack pointer read just
   before and after. */
#define CALL_AS(assign, name, ...)                                                  \
  do {                                                                              \
    __typeof__(name)* const p_ = (__typeof__(name)*)(void (*)(void))Resolve(#name); \
    uintptr_t before_, after_;                                                      \
    READ_STACK_POINTER(before_);                                                    \
    assign p_(__VA_ARGS__);                                                         \
    READ_STACK_POINTER(after_);                                                     \
    CheckInt(#name "'s stack pointer move", (int)(after_ - before_), 0);            \
  } while (0)

/* NAME(...) must give EXPECTED and keep the stack. */
#define CHECK_CALL(expected, name, ...)      \
  do {                                       \
    int result_;                             \
    CALL_AS(result_ =, name, __VA_ARGS__);   \
    CheckInt(#name, result_, expected);      \
  } while (0)

static HMODULE module;

static FARPROC Resolve(const char* name) {
  FARPROC address = GetProcAddress(module, name);
  if (address == NULL) printf("FAILED %s: not exported\n", name), ExitProcess(1);
  return address;
}

static void InstallerHelpers(const char* region, const char* folder) {
  char path[MAX_PATH];
  char text[256];

  CALL_AS(, VEL_SetLastError, 4321);
  CheckInt("VEL_SetLastError", (int)GetLastError(), 4321);
  snprintf(path, sizeof path, "%s\\no such program.exe", folder);
  CHECK_CALL(0, VEL_ShellExec, path, "a & b \"c\" %d");
  CheckInt("VEL_ShellExec's last error", (int)GetLastError(), ERROR_FILE_NOT_FOUND);
  CHECK_CALL(0, VEL_ShellExecNoWait, path, "");
  CHECK_CALL(5, VEL_MD_GetOS);
  CHECK_CALL(GetSystemDefaultLangID(), VEL_GetLanguageID);
  CHECK_CALL(0, VEL_Eject, "");
  strcpy(text, "stale");
  CHECK_CALL(0, VEL_UNCtoLocal, "", "velinst no such share", text, (int)sizeof text);
  CheckInt("VEL_UNCtoLocal's empty buffer", text[0], 0);
  CHECK_CALL(0, VEL_FontNameFile, path, text, (int)sizeof text - 1);

  snprintf(path, sizeof path, "%s\\typed.lst", folder);
  CHECK_CALL(14, VEL_MakePackList24K, region, path, 24000);
  CHECK_CALL(256, VEL_MakePackList, region, path, 250000);
  CHECK_CALL(-2, VEL_MakePackList100K, region, path, 24000);

  /* Not started: the stop has nothing to end. The start holds its thread
     while it suppresses; the autoplay tests call it. */
  CALL_AS(, VEL_AutoplayStop);
}

/* The account exports against the stand-in, in an installer's order. */
static void AccountExports(const char* port_file) {
  char host[64] = "127.0.0.1:";
  FILE* file = fopen(port_file, "r");
  const int read = file != NULL && fgets(host + strlen(host), 16, file) != NULL;
  if (file != NULL) fclose(file);
  if (!read) {
    Fail("the stand-in's port file", port_file);
    return;
  }
  host[strcspn(host, "\r\n")] = '\0';
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, VELINST_SERVICE_HOST_KEY, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
      ERROR_SUCCESS) {
    Fail("the service host value", "cannot be written");
    return;
  }
  RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)host, (DWORD)strlen(host) + 1);

  int exists = -1, user_id = -1, account_id = -1, count = -1;
  char token[1024], user_token[1024], names[5][1024];
  CHECK_CALL(0, VEL_RDB_Login, VELINST_SERVICE_ADMIN_USER, VELINST_SERVICE_ADMIN_PASSWORD, token, &user_id);
  CHECK_CALL(0, VEL_RDB_UserNameExists, VELINST_SERVICE_ADMIN_USER, &exists);
  CheckInt("VEL_RDB_UserNameExists's answer", exists, 1);
  CHECK_CALL(0, VEL_RDB_EmailAddressExists, "nobody+abi@example.com", &exists);
  CheckInt("VEL_RDB_EmailAddressExists's answer", exists, 0);
  char user[64];
  snprintf(user, sizeof user, "abi-%lu", (unsigned long)GetCurrentProcessId());
  CHECK_CALL(0, VEL_RDB_CreateUserAccount, token, "VELINST-ABI", user, "s3 cret&<x>+\"%", "ABI Co & Sons", "1 Main St", "",
       "Monterey", "CA", "93940", "Contact", "contact@example.com", "555-0100", "First", "Last", "user@example.com",
       "555-0101", user_token);
  CHECK_CALL(0, VEL_RDB_FindAccount, user_token, 7, "VELINST-ABI", &account_id);
  CHECK_CALL(0, VEL_RDB_GetAccount, user_token, "VELINST-ABI", names[0], names[1], names[2], &account_id);
  CHECK_CALL(0, VEL_RDB_GetUserCount, user_token, "VELINST-ABI", &count);
  CheckInt("VEL_RDB_GetUserCount's count", count, 1);
  CHECK_CALL(0, VEL_RDB_GetUserID, user_token, "VELINST-ABI", 0, &user_id);
  CHECK_CALL(0, VEL_RDB_SetUserInfo, user_token, user_id, "Ünïcode", "O'Brien", "new@example.com", "", 1, 0);
  CHECK_CALL(0, VEL_RDB_GetUserInfo, user_token, user_id, names[0], names[1], names[2], names[3], names[4]);
  if (strcmp(names[1], "O'Brien") != 0) Fail("VEL_RDB_GetUserInfo's last name", names[1]);

  RegDeleteValueA(key, NULL);
  RegCloseKey(key);
}

int main(int argc, char** argv) {
  if (argc != 4) return printf("usage: typed_exports REGION_FILE OUTPUT_FOLDER SERVICE_PORT_FILE\n"), 2;
  module = LoadLibraryA("velinst.dll");
  if (module == NULL) return printf("FAILED velinst.dll: not loaded (error %lu)\n", GetLastError()), 1;
  InstallerHelpers(argv[1], argv[2]);
  AccountExports(argv[3]);
  FreeLibrary(module);
  if (failures == 0) printf("every export kept the stack\n");
  return failures == 0 ? 0 : 1;
}
