// Owner of one COM interface reference: released exactly once.
#pragma once

#include <memory>

namespace velinst::platform {

struct ComReleaser {
  template <typename Interface>
  void operator()(Interface* object) const {
    object->Release();
  }
};

template <typename Interface>
using ComOwner = std::unique_ptr<Interface, ComReleaser>;

}  // namespace velinst::platform
