/*
 * velinst: services for the installers of the desktop mapping products.
 *
 * Every export takes narrow NUL-terminated texts (the ANSI code page on
 * Windows, UTF-8 elsewhere), writes text only into buffers the caller owns
 * and returns a 32-bit integer. Installer helpers return 1 for success and 0
 * for failure (or a count or code where noted) and leave detail in the
 * thread's last-error value (GetLastError on Windows, errno elsewhere).
 */
#ifndef VELINST_H
#define VELINST_H

#if defined(_WIN32) && !defined(_WIN64)
#define VELAPI __stdcall
#else
#define VELAPI
#endif

#if defined(VELINST_BUILDING) && !defined(_WIN32)
#define VELINST_EXPORT __attribute__((visibility("default")))
#else
#define VELINST_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Installer helpers ------------------------------------------------ */

/* Starts PROGRAM with ARGUMENTS and waits for it to end: 1 when it ran, 0 when it could not start. */
VELINST_EXPORT int VELAPI VEL_ShellExec(const char* program, const char* arguments);

/* Hands FILE (a program, document or URL) with PARAMETERS to the shell and returns at once: 1 when started. */
VELINST_EXPORT int VELAPI VEL_ShellExecNoWait(const char* file, const char* parameters);

/* Sets the calling thread's last-error value. */
VELINST_EXPORT void VELAPI VEL_SetLastError(unsigned int code);

/* The operating-system family: 3, 2, 4 or 5 (5 for every current Windows). */
VELINST_EXPORT int VELAPI VEL_MD_GetOS(void);

/* The system's default language identifier (LANGID, 0 to 65535): 1033 for English (United States). */
VELINST_EXPORT int VELAPI VEL_GetLanguageID(void);

/* Holds off the shell's autoplay for the first CD-ROM drive, then pumps this thread's messages until a
   quit message arrives after VEL_AutoplayStop: 1 when a drive was taken. Call it on a thread of its own. */
VELINST_EXPORT int VELAPI VEL_AutoplayStart(void);

/* Ends the autoplay hold (post the quit message to the start thread afterwards): not negative on success. */
VELINST_EXPORT int VELAPI VEL_AutoplayStop(void);

/* Ejects the medium of the removable or CD-ROM drive whose letter is DRIVE's first character:
   1 when the volume was locked and dismounted. */
VELINST_EXPORT int VELAPI VEL_Eject(const char* drive);

/* Writes the local path behind SERVER's share SHARE into BUFFER of SIZE bytes: 1 when written. */
VELINST_EXPORT int VELAPI VEL_UNCtoLocal(const char* server, const char* share, char* buffer, int size);

/* Writes the name of the TrueType font in PATH into BUFFER (at most SIZE characters and a terminator,
   so SIZE + 1 bytes): 1 when the font names its family. */
VELINST_EXPORT int VELAPI VEL_FontNameFile(const char* path, char* buffer, int size);

/* ---- Map pack lists --------------------------------------------------- */

/* Writes the 1:24,000 cells of REGION's series SCALE to LIST: lines written, 0 (no list left) or -1. */
VELINST_EXPORT int VELAPI VEL_MakePackList24K(const char *region, const char *list, int scale);

/* VEL_MakePackList24K under its second name. */
VELINST_EXPORT int VELAPI VEL_MakePackList(const char *region, const char *list, int scale);

/* Writes the 1:100,000 sheets of REGION's series SCALE to LIST: as VEL_MakePackList24K; -2 for SCALE 24000. */
VELINST_EXPORT int VELAPI VEL_MakePackList100K(const char *region, const char *list, int scale);

/* ---- Account service ---------------------------------------------------- */
/* Each returns 0 on success, the account service's error code (4 to 42) of the first call that failed, or 3 for
   a failure inside the library (no answer, a malformed answer, a null argument, a token that does not fit).
   Text outputs are buffers of 1024 bytes; names and addresses longer than 1023 bytes are cut. The service host is
   the default value of HKEY_LOCAL_MACHINE\Software\Corvane\Ridgeline Professional\6.00\URL\RidgelineMobile\server. */

/* Writes the number of users of the account of PRODUCT_ID into USER_COUNT. */
VELINST_EXPORT int VELAPI VEL_RDB_GetUserCount(const char* authToken, const char* productId, int* userCount);

/* Writes the id of the user at INDEX (0 to the user count less one; else 34) of PRODUCT_ID's account. */
VELINST_EXPORT int VELAPI VEL_RDB_GetUserID(const char* authToken, const char* productId, int index, int* userId);

/* Writes the contact of PRODUCT_ID's account into the three buffers and its id into ACCOUNT_ID. */
VELINST_EXPORT int VELAPI VEL_RDB_GetAccount(const char* authToken, const char* productId, char* contactName,
                                             char* contactEmail, char* contactPhone, int* accountId);

/* Writes the details of user USER_ID into the five buffers. */
VELINST_EXPORT int VELAPI VEL_RDB_GetUserInfo(const char* authToken, int userId, char* firstName, char* lastName,
                                              char* userName, char* email, char* phone);

/* Creates the account of PRODUCT_ID with USER_NAME (new, or an existing user who proves PASSWORD) as its
   administrator and writes that user's auth token into AUTH_TOKEN_OUT. */
VELINST_EXPORT int VELAPI VEL_RDB_CreateUserAccount(const char* authToken, const char* productId, const char* userName,
                                                    const char* password, const char* accountName,
                                                    const char* address1, const char* address2, const char* city,
                                                    const char* state, const char* zip, const char* contactName,
                                                    const char* contactEmail, const char* contactPhone,
                                                    const char* firstName, const char* lastName, const char* email,
                                                    const char* phone, char* authTokenOut);

/* Signs USER_NAME in: the auth token into AUTH_TOKEN, the user's id into USER_ID (may be null). */
VELINST_EXPORT int VELAPI VEL_RDB_Login(const char* userName, const char* password, char* authToken, int* userId);

/* Changes user USER_ID's names, e-mail address, phone (an empty text empties it) and the two flags. */
VELINST_EXPORT int VELAPI VEL_RDB_SetUserInfo(const char* authToken, int userId, const char* firstName,
                                              const char* lastName, const char* email, const char* phone,
                                              int receiveNewsletter, int receiveUpdates);

/* Writes the id of PRODUCT_ID's account into ACCOUNT_ID; the second argument is not used. */
VELINST_EXPORT int VELAPI VEL_RDB_FindAccount(const char* authToken, int unused, const char* productId,
                                              int* accountId);

/* Writes 1 into EXISTS when USER_NAME is taken, else 0. */
VELINST_EXPORT int VELAPI VEL_RDB_UserNameExists(const char* userName, int* exists);

/* Writes 1 into EXISTS when EMAIL_ADDRESS is taken, else 0. */
VELINST_EXPORT int VELAPI VEL_RDB_EmailAddressExists(const char* emailAddress, int* exists);
#ifdef __cplusplus
}
#endif

#endif /* VELINST_H */
