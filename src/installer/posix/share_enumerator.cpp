#include "installer/share_path.h"

namespace velinst::platform {

namespace {

// The host shares nothing through this interface: an empty list.
class NoShares final : public IShareEnumerator {
 public:
  std::uint32_t NextPage(const std::wstring&, std::uint32_t&, std::vector<ShareRecord>&) override { return 0; }
};

}  // namespace

std::unique_ptr<IShareEnumerator> SystemShareEnumerator() { return std::make_unique<NoShares>(); }

}  // namespace velinst::platform
