// The installer's file-system and drive service. Every operation behaves as
// a free function (the object holds nothing); failures are reported by the
// result alone (false, 0 or null), never thrown. Paths are narrow texts of at
// most 255 characters: a longer one is refused, never cut.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/drive_inventory.h"
#include "platform/drive_query.h"
#include "platform/file_time.h"
#include "platform/path_buffer.h"
#include "platform/volume_control.h"

namespace velinst {

class CDOS {
 public:
  CDOS() = default;
  CDOS(const CDOS&) = default;
  CDOS& operator=(const CDOS&) = default;
  virtual ~CDOS() = default;

  // Drive kinds: bit sets. Bit 1 asks for the medium test with critical
  // errors suppressed (floppy), bit 2 for a medium test before use.
  static constexpr int kDriveNone = 0;
  static constexpr int kDriveFixed = 4;
  static constexpr int kDriveRemovable = 8;
  static constexpr int kDriveFloppy = 9;
  static constexpr int kDriveNetwork = 16;
  static constexpr int kDriveCdRom = 42;
  static constexpr std::size_t kLabelCapacity = 32;

  // ---- Drives (the host has none: every letter answers as a missing drive)
  static bool IsFloppyLetter(char letter);
  int DriveKind(char letter, const platform::DriveQuery& drives = platform::SystemDrives()) const;
  bool IsMediumPresent(char letter, const platform::DriveQuery& drives = platform::SystemDrives()) const;
  bool IsDriveReady(char letter, const platform::DriveQuery& drives = platform::SystemDrives()) const;
  // The current folder's drive letter in upper case; 0 when there is none.
  char CurrentDrive(const platform::DriveQuery& drives = platform::SystemDrives()) const;
  bool SetCurrentDrive(char letter, const platform::DriveQuery& drives = platform::SystemDrives()) const;
  // The first drive (in letter order) that needs a medium test, a CD-ROM
  // drive as a rule; 0 when there is none.
  char FirstCdDrive(const platform::DriveQuery& drives = platform::SystemDrives()) const;
  // Free and used bytes, saturated at 0xFFFFFFFF; 0 when unknown.
  std::uint32_t FreeSpace(char letter, const platform::DriveQuery& drives = platform::SystemDrives()) const;
  std::uint32_t UsedSpace(char letter, const platform::DriveQuery& drives = platform::SystemDrives()) const;
  // The volume label into `buffer` (kLabelCapacity bytes): whether the drive
  // is ready and has a non-empty label. On failure the buffer is empty.
  bool VolumeLabel(char letter, char* buffer, const platform::DriveQuery& drives = platform::SystemDrives()) const;

  // ---- Volumes (the host has no drive letters: every letter gets the drive
  // type message and 0, and the inventory is empty)
  static constexpr int kVolumeLockAttempts = 20;
  static constexpr std::chrono::milliseconds kVolumeLockDelay{50};
  // Opens the volume of a removable or CD-ROM drive; otherwise, or when it
  // cannot be opened, writes the reason to standard output and returns false.
  bool OpenVolume(char letter, const platform::DriveQuery& drives, platform::IVolumeControl& volume) const;
  // Locks (20 attempts, 50 ms apart), dismounts, releases and ejects the
  // medium, then closes the volume: 1 when it was locked and dismounted
  // (whether or not the medium came out), 0 otherwise or when closing fails.
  int Eject(char letter) const;
  int Eject(char letter, const platform::DriveQuery& drives, platform::IVolumeControl& volume) const;
  // Appends one record per drive of the machine, in the system's order.
  void ListDrives(std::vector<DriveInventoryRecord>& records) const;
  void ListDrives(std::vector<DriveInventoryRecord>& records, platform::IDriveInventoryQuery& query) const;

  // ---- Folders
  // GetCurrentDirectoryA into `buffer` (kPathCapacity bytes): the length, or
  // the size needed when the folder does not fit.
  std::uint32_t CurrentFolder(PathBuffer& buffer) const;
  // Creates the folder and every missing parent; true when it is a folder
  // afterwards (false when a file has the name).
  bool CreateFolderPath(const char* path) const;
  // Copies the files and folders below `source` into `destination`,
  // replacing files there. Single failures are passed over; always true.
  // Links to files are copied as files, links to folders are not followed.
  bool CopyTree(const char* destination, const char* source) const;
  // Deletes the folder with everything in it. Refuses (false, nothing
  // deleted) ".", "..", drive roots and system folders. A link inside is
  // removed itself, never followed. After the first failure the rest is
  // kept and the result is false.
  bool DeleteTree(const char* path) const;
  bool RemoveFolder(const char* path) const;  // an empty one
  bool IsFolder(const char* path) const;
  // The sizes of all entries matching the pattern (one folder level),
  // saturated at 0xFFFFFFFF; 0 when nothing matches.
  std::uint32_t PatternSize(const char* pattern) const;
  // The first match's name into `buffer` of `size` bytes; false, with the
  // buffer unchanged, when nothing matches.
  bool FirstMatchName(const char* pattern, char* buffer, std::size_t size) const;

  // ---- Files
  bool MoveSingleFile(const char* destination, const char* source) const;  // fails when destination exists
  bool CopySingleFile(const char* destination, const char* source) const;  // replaces destination
  bool DeleteSingleFile(const char* path) const;
  // The low 32 bits of the size; 0 on failure or when they are 0xFFFFFFFF.
  std::uint32_t FileSize(const char* path) const;
  bool Exists(const char* path) const;
  // Creation time in seconds since 1970; 0 when the file cannot be examined.
  std::int64_t CreationTime(const char* path) const;
  // The earlier of the creation and modification times; 0 as above.
  std::int64_t EarliestTime(const char* path) const;
  // The three times of a file (each output may be null). A file that another
  // program holds open for writing is read with shared write access.
  bool GetFileTimes(const char* path, FileTime* creation, FileTime* access, FileTime* write) const;
  // Sets the times that are not null (the host ignores the creation time).
  bool SetFileTimes(const char* path, const FileTime* creation, const FileTime* access, const FileTime* write) const;
  // A temporary file name into `name` (kPathCapacity bytes): in `folder`
  // (at most 245 characters) or the user's temporary folder when null, with
  // `prefix` or "TMP" when null. With `unique` 0 the file is created
  // exclusively; otherwise only the name is formed. Returns the unique
  // number used, 0 on failure.
  std::uint32_t TemporaryFileName(PathBuffer& name, const char* folder, const char* prefix, std::uint32_t unique) const;

  // ---- Texts
  // "X:" or "X:\" with X an upper-case letter (on the host also "/").
  static bool IsDriveRootText(const char* text);
  // The text after the last '.' of the last path element into `buffer`
  // (kPathCapacity bytes); false when that element has no '.'.
  static bool Extension(const char* path, PathBuffer& buffer);
  static bool EqualIgnoringCase(const char* a, const char* b);
  // The first place where `part` occurs in `text`, letter case ignored; null when none.
  static const char* FindIgnoringCase(const char* text, const char* part);

  static constexpr std::size_t kTemporaryFolderLimit = 245;
};

}  // namespace velinst
