// Holding off the shell's autoplay while the installer owns a disc: the
// rules of the cancel object, written once; the shell's registration and the
// COM object are the platform's part.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace velinst {

// The shell's content flags from autorun file (0x2) to music (0x100); film
// files (0x200) are let through.
inline constexpr std::uint32_t kAutoplayContentMask = 0x1FE;

// "X:\" for a drive X whose bit is set in `logicalDrives`: the first
// character a letter (either case), the second ':', the last '\'.
bool IsAcceptableDriveRoot(std::wstring_view root, std::uint32_t logicalDrives);

// The cancel object's answer to one autoplay event: true to cancel it (the
// shell's S_FALSE), false to let it go on (S_OK). Only events on the object's
// own drive with content in its mask are cancelled, and only while suppressing.
bool CancelsAutoplay(bool suppressing, std::wstring_view ownDrive, std::wstring_view eventDrive,
                     std::uint32_t contentType, std::uint32_t contentMask);

// Takes the drive `root`, or when it is empty the first of A:\ to Z:\ that
// `take` accepts. True when a drive was taken.
bool TakeDrive(std::wstring_view root, const std::function<bool(std::wstring_view)>& take);

// The start thread's message loop ends only at a quit message that arrives
// while nothing is suppressed.
inline bool MessageLoopEnds(bool quitMessage, bool suppressing) { return quitMessage && !suppressing; }

namespace platform {
// The exports' work: registering the cancel object for a CD-ROM drive and
// pumping the thread's messages until told to end, and revoking it.
bool StartAutoplaySuppression(std::wstring_view root);
std::int32_t StopAutoplaySuppression();
}  // namespace platform

}  // namespace velinst
