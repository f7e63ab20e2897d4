#include "installer/autoplay.h"

// The host's desktops have no shell autoplay to hold off: nothing is taken,
// there is no loop to run and nothing to revoke.
namespace velinst::platform {

bool StartAutoplaySuppression(std::wstring_view) { return false; }

std::int32_t StopAutoplaySuppression() { return 0; }

}  // namespace velinst::platform
