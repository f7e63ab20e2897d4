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

#ifdef __cplusplus
}
#endif

#endif /* VELINST_H */
