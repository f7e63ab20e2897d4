#include <windows.h>
// After windows.h, whose types it uses.
#include <lm.h>

#include <memory>

#include "installer/share_path.h"

namespace velinst::platform {

namespace {

struct NetBufferFreer {
  void operator()(void* buffer) const { ::NetApiBufferFree(buffer); }
};

class SystemShares final : public IShareEnumerator {
 public:
  std::uint32_t NextPage(const std::wstring& server, std::uint32_t& resume, std::vector<ShareRecord>& page) override {
    BYTE* raw = nullptr;
    DWORD read = 0;
    DWORD total = 0;
    DWORD resumeHandle = resume;
    // An empty name is the local machine.
    LPWSTR serverName = server.empty() ? nullptr : const_cast<LPWSTR>(server.c_str());
    const NET_API_STATUS status =
        ::NetShareEnum(serverName, 502, &raw, MAX_PREFERRED_LENGTH, &read, &total, &resumeHandle);
    const std::unique_ptr<void, NetBufferFreer> owned(raw);
    resume = resumeHandle;
    if (status != NERR_Success && status != ERROR_MORE_DATA) return status;
    const auto* records = reinterpret_cast<const SHARE_INFO_502*>(raw);
    for (DWORD i = 0; records != nullptr && i < read; ++i) {
      ShareRecord record;
      if (records[i].shi502_netname != nullptr) record.name = records[i].shi502_netname;
      record.type = records[i].shi502_type;
      if (records[i].shi502_path != nullptr) record.localPath = records[i].shi502_path;
      page.push_back(std::move(record));
    }
    return status;
  }
};

}  // namespace

std::unique_ptr<IShareEnumerator> SystemShareEnumerator() { return std::make_unique<SystemShares>(); }

}  // namespace velinst::platform
